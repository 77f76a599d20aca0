// MP3 files through libmpg123. Gapless decoding drops the encoder's delay and
// padding (told by the stream's LAME tag), so frame n of the decoded sample
// is frame n of the music as it was composed and loop points fall where
// they were meant to.
#include <SDL/SDL.h>
#include <mpg123.h>

#include <cstdio>

#include "mixersample.h"
#include "orvix/memtrack.h"

namespace {

// Refuses streams that would decode to more than this (about 25 minutes of
// 44.1 kHz stereo): no sound of the game comes near it.
constexpr size_t kMaxDecodedBytes = size_t{256} << 20;

// Owns a decoder handle for one file.
class Mp3Decoder {
 public:
  Mp3Decoder() { m_handle = mpg123_new(nullptr, nullptr); }
  ~Mp3Decoder() {
    if (m_handle == nullptr) return;
    mpg123_close(m_handle);
    mpg123_delete(m_handle);
  }
  Mp3Decoder(const Mp3Decoder&) = delete;
  Mp3Decoder& operator=(const Mp3Decoder&) = delete;

  mpg123_handle* Handle() const { return m_handle; }

  // Opens `path` for signed 16-bit output at the stream's own rate.
  bool Open(const char* path) {
    if (m_handle == nullptr) return false;
    mpg123_param(m_handle, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    mpg123_format_none(m_handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
      mpg123_format(m_handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    return mpg123_open(m_handle, path) == MPG123_OK;
  }

 private:
  mpg123_handle* m_handle = nullptr;  // owned
};

// Decodes the whole stream into a growing buffer; null when it cannot.
uint8_t* DecodeAll(mpg123_handle* handle, size_t frameBytes, size_t& bytes) {
  off_t announced = mpg123_length(handle);
  size_t capacity = announced > 0 ? static_cast<size_t>(announced) * frameBytes + 4096 : 1 << 20;
  if (capacity > kMaxDecodedBytes) capacity = kMaxDecodedBytes;
  uint8_t* buffer = static_cast<uint8_t*>(OX_MALLOC(capacity));
  bytes = 0;
  for (;;) {
    if (bytes == capacity) {
      if (capacity == kMaxDecodedBytes) break;
      capacity = capacity * 2 > kMaxDecodedBytes ? kMaxDecodedBytes : capacity * 2;
      buffer = static_cast<uint8_t*>(OX_REALLOC(buffer, capacity));
    }
    size_t done = 0;
    int result = mpg123_read(handle, buffer + bytes, capacity - bytes, &done);
    bytes += done;
    if (result == MPG123_DONE) return buffer;
    // A change of format in mid-stream is not something a game sound has.
    if (result != MPG123_OK) break;
  }
  OX_FREE(buffer);
  return nullptr;
}

}  // namespace

bool LoadMp3Sample(const char* path, const MixerFormat& format, MixerSample& sample, char* error,
                   size_t errorSize) {
  Mp3Decoder decoder;
  long rate = 0;
  int channels = 0;
  int encoding = 0;
  if (!decoder.Open(path) || mpg123_getformat(decoder.Handle(), &rate, &channels, &encoding) != MPG123_OK) {
    std::snprintf(error, errorSize, "%s is neither a WAV nor a readable MP3 file", path);
    return false;
  }
  // Fixing the format keeps the decoder from switching it in mid-stream.
  mpg123_format_none(decoder.Handle());
  mpg123_format(decoder.Handle(), rate, channels, encoding);

  const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(channels);
  size_t bytes = 0;
  uint8_t* pcm = DecodeAll(decoder.Handle(), frameBytes, bytes);
  if (pcm == nullptr) {
    std::snprintf(error, errorSize, "%s: MP3 decoding failed: %s", path, mpg123_strerror(decoder.Handle()));
    return false;
  }
  bool converted = ConvertToMixerSample(pcm, bytes, AUDIO_S16SYS, channels, static_cast<int>(rate), format,
                                        sample, error, errorSize);
  OX_FREE(pcm);
  return converted;
}
