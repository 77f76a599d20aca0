// WAV files through SDL's own reader, which knows the PCM variants a WAV may
// hold and checks their chunk sizes against the file.
#include <SDL/SDL.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "mixersample.h"
#include "orvix/logging.h"

namespace {

// SDL takes a WAV whose data ends early and plays what there is. A file
// shorter than its RIFF header says is damaged, though, so the log says so.
void LogIfCutShort(SDL_RWops* file, const char* path) {
  uint8_t header[8];
  const int length = SDL_RWseek(file, 0, RW_SEEK_END);
  SDL_RWseek(file, 0, RW_SEEK_SET);
  const bool read = SDL_RWread(file, header, sizeof header, 1) == 1;
  SDL_RWseek(file, 0, RW_SEEK_SET);
  if (!read || length < 0 || std::memcmp(header, "RIFF", 4) != 0) return;
  const uint64_t declared =
      8u + (static_cast<uint64_t>(header[4]) | static_cast<uint64_t>(header[5]) << 8 |
            static_cast<uint64_t>(header[6]) << 16 | static_cast<uint64_t>(header[7]) << 24);
  if (static_cast<uint64_t>(length) < declared) {
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log(
        "LoadSound: %s is cut short: %d of its %llu bytes; it plays what there is", path, length,
        static_cast<unsigned long long>(declared));
  }
}

}  // namespace

bool LoadWavSample(const char* path, const MixerFormat& format, MixerSample& sample, char* error,
                   size_t errorSize) {
  SDL_RWops* file = SDL_RWFromFile(path, "rb");
  if (file == nullptr) {
    std::snprintf(error, errorSize, "cannot open %s", path);
    return false;
  }
  LogIfCutShort(file, path);
  SDL_AudioSpec spec;
  Uint8* pcm = nullptr;
  Uint32 bytes = 0;
  if (SDL_LoadWAV_RW(file, 1, &spec, &pcm, &bytes) == nullptr) {
    std::snprintf(error, errorSize, "%s is not a readable WAV file: %s", path, SDL_GetError());
    return false;
  }
  bool converted = ConvertToMixerSample(pcm, bytes, spec.format, spec.channels, spec.freq, format, sample,
                                        error, errorSize);
  SDL_FreeWAV(pcm);
  return converted;
}
