#include "mixersample.h"

#include <SDL/SDL.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "orvix/memtrack.h"

namespace {

bool StartsWithRiffWave(const char* path, bool& isWave, char* error, size_t errorSize) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) {
    std::snprintf(error, errorSize, "cannot open %s", path);
    return false;
  }
  unsigned char head[12] = {};
  size_t got = std::fread(head, 1, sizeof head, file);
  std::fclose(file);
  isWave = got == sizeof head && std::memcmp(head, "RIFF", 4) == 0 && std::memcmp(head + 8, "WAVE", 4) == 0;
  return true;
}

}  // namespace

bool LoadMixerSample(const char* path, const MixerFormat& format, MixerSample& sample, char* error,
                     size_t errorSize) {
  bool isWave = false;
  if (!StartsWithRiffWave(path, isWave, error, errorSize)) return false;
  return isWave ? LoadWavSample(path, format, sample, error, errorSize)
                : LoadMp3Sample(path, format, sample, error, errorSize);
}

bool ConvertToMixerSample(const uint8_t* pcm, size_t bytes, uint16_t sourceFormat, int sourceChannels,
                          int sourceRate, const MixerFormat& format, MixerSample& sample, char* error,
                          size_t errorSize) {
  SDL_AudioCVT cvt;
  if (sourceChannels < 1 || sourceChannels > 2 || sourceRate <= 0 ||
      SDL_BuildAudioCVT(&cvt, sourceFormat, static_cast<Uint8>(sourceChannels), sourceRate, AUDIO_S16SYS,
                        static_cast<Uint8>(format.channels), format.rate) < 0) {
    std::snprintf(error, errorSize, "unsupported audio format %#x, %d channels, %d Hz", sourceFormat,
                  sourceChannels, sourceRate);
    return false;
  }
  // A trailing partial frame is dropped rather than read past.
  const size_t sourceFrameBytes = static_cast<size_t>((sourceFormat & 0xFF) / 8) * sourceChannels;
  bytes -= bytes % sourceFrameBytes;
  const size_t multiplier = cvt.len_mult > 0 ? static_cast<size_t>(cvt.len_mult) : 1;
  if (bytes == 0 || bytes > static_cast<size_t>(INT_MAX) / multiplier) {
    std::snprintf(error, errorSize, bytes == 0 ? "no audio data" : "audio data too long");
    return false;
  }

  Uint8* buffer = static_cast<Uint8*>(OX_MALLOC(bytes * multiplier));
  std::memcpy(buffer, pcm, bytes);
  size_t converted = bytes;
  if (cvt.needed) {
    cvt.buf = buffer;
    cvt.len = static_cast<int>(bytes);
    if (SDL_ConvertAudio(&cvt) < 0) {
      OX_FREE(buffer);
      std::snprintf(error, errorSize, "conversion failed: %s", SDL_GetError());
      return false;
    }
    converted = static_cast<size_t>(cvt.len_cvt);
  }

  const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(format.channels);
  const size_t frames = converted / frameBytes;
  if (frames == 0) {
    OX_FREE(buffer);
    std::snprintf(error, errorSize, "no audio data after conversion");
    return false;
  }
  sample.data = static_cast<int16_t*>(OX_REALLOC(buffer, frames * frameBytes));
  sample.frameCount = static_cast<int>(frames);
  sample.sourceRate = sourceRate;
  sample.loopStart = 0;
  sample.loopEnd = sample.frameCount;
  return true;
}

void FreeMixerSample(MixerSample& sample) {
  OX_FREE(sample.data);
  sample = MixerSample{};
}
