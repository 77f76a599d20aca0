// WAV files through SDL's own reader, which knows the PCM variants a WAV may
// hold and checks their chunk sizes against the file.
#include <SDL/SDL.h>

#include <cstdio>

#include "mixersample.h"

bool LoadWavSample(const char* path, const MixerFormat& format, MixerSample& sample, char* error,
                   size_t errorSize) {
  SDL_RWops* file = SDL_RWFromFile(path, "rb");
  if (file == nullptr) {
    std::snprintf(error, errorSize, "cannot open %s", path);
    return false;
  }
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
