// MP3 encoding through libmp3lame.
#include <lame/lame.h>

#include <algorithm>
#include <cstdio>

#include "audiofile.h"

namespace {

// Owns one encoder.
class LameEncoder {
 public:
  LameEncoder() : m_flags(lame_init()) {}
  ~LameEncoder() {
    if (m_flags != nullptr) lame_close(m_flags);
  }
  LameEncoder(const LameEncoder&) = delete;
  LameEncoder& operator=(const LameEncoder&) = delete;
  lame_global_flags* Flags() const { return m_flags; }

 private:
  lame_global_flags* m_flags;
};

}  // namespace

bool WriteMp3(const std::string& path, const Pcm16& pcm, int kilobitsPerSecond) {
  LameEncoder encoder;
  lame_global_flags* flags = encoder.Flags();
  if (flags == nullptr || pcm.channels < 1 || pcm.channels > 2) return false;
  lame_set_in_samplerate(flags, pcm.rate);
  lame_set_out_samplerate(flags, pcm.rate);
  lame_set_num_channels(flags, pcm.channels);
  lame_set_mode(flags, pcm.channels == 1 ? MONO : JOINT_STEREO);
  lame_set_brate(flags, kilobitsPerSecond);
  lame_set_quality(flags, 2);
  // The LAME tag tells decoders the delay and padding to drop.
  lame_set_bWriteVbrTag(flags, 1);
  if (lame_init_params(flags) < 0) return false;

  const int frames = pcm.Frames();
  std::vector<unsigned char> mp3(static_cast<size_t>(frames) * 5 / 4 + 7200 + 16384);
  int written = 0;
  // lame_encode_buffer takes at most an int's worth of frames per call;
  // blocks keep its output bound small.
  constexpr int kBlock = 8192;
  for (int first = 0; first < frames; first += kBlock) {
    const int count = frames - first < kBlock ? frames - first : kBlock;
    const short* block = pcm.samples.data() + static_cast<size_t>(first) * pcm.channels;
    int bytes = pcm.channels == 2 ? lame_encode_buffer_interleaved(flags, const_cast<short*>(block), count,
                                                                   mp3.data() + written,
                                                                   static_cast<int>(mp3.size()) - written)
                                  : lame_encode_buffer(flags, block, block, count, mp3.data() + written,
                                                       static_cast<int>(mp3.size()) - written);
    if (bytes < 0) return false;
    written += bytes;
  }
  int bytes = lame_encode_flush(flags, mp3.data() + written, static_cast<int>(mp3.size()) - written);
  if (bytes < 0) return false;
  written += bytes;

  // The tag frame replaces the empty first frame the encoder reserved for it.
  unsigned char tag[2880];
  size_t tagBytes = lame_get_lametag_frame(flags, tag, sizeof tag);
  if (tagBytes == 0 || tagBytes > static_cast<size_t>(written)) return false;
  std::copy(tag, tag + tagBytes, mp3.begin());

  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool ok = std::fwrite(mp3.data(), 1, static_cast<size_t>(written), out) == static_cast<size_t>(written);
  return std::fclose(out) == 0 && ok;
}
