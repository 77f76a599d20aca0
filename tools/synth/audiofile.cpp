#include "audiofile.h"

#include <cmath>
#include <cstdio>

namespace {

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

}  // namespace

Pcm16 ToPcm16(const std::vector<float>& samples, int rate, int channels) {
  Pcm16 pcm;
  pcm.rate = rate;
  pcm.channels = channels;
  pcm.samples.reserve(samples.size());
  for (float value : samples) {
    long scaled = std::lround(value * 32767.0f);
    if (scaled > 32767) scaled = 32767;
    if (scaled < -32768) scaled = -32768;
    pcm.samples.push_back(static_cast<int16_t>(scaled));
  }
  return pcm;
}

// Layout: "RIFF", size, "WAVE"; "fmt " chunk of 16 bytes (format 1 = PCM,
// channels, rate, bytes per second, block align, 16 bits); "data" chunk.
// All numbers little-endian.
bool WriteWav(const std::string& path, const Pcm16& pcm) {
  const uint32_t dataBytes = static_cast<uint32_t>(pcm.samples.size() * 2);
  std::vector<uint8_t> file;
  file.reserve(44 + dataBytes);
  file.insert(file.end(), {'R', 'I', 'F', 'F'});
  PutLittleEndian(file, 36 + dataBytes, 4);
  file.insert(file.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLittleEndian(file, 16, 4);
  PutLittleEndian(file, 1, 2);
  PutLittleEndian(file, static_cast<uint32_t>(pcm.channels), 2);
  PutLittleEndian(file, static_cast<uint32_t>(pcm.rate), 4);
  PutLittleEndian(file, static_cast<uint32_t>(pcm.rate * pcm.channels * 2), 4);
  PutLittleEndian(file, static_cast<uint32_t>(pcm.channels * 2), 2);
  PutLittleEndian(file, 16, 2);
  file.insert(file.end(), {'d', 'a', 't', 'a'});
  PutLittleEndian(file, dataBytes, 4);
  for (int16_t sample : pcm.samples) PutLittleEndian(file, static_cast<uint16_t>(sample), 2);

  FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  return std::fclose(out) == 0 && written;
}
