// A sound as the mixer keeps it: decoded and converted once, at load time, to
// the output's own format, so that mixing is only additions.
#pragma once

#include <cstddef>
#include <cstdint>

// The format every sample is converted to: signed 16-bit native-endian
// frames at the output's rate and channel count.
struct MixerFormat {
  int rate = 22050;  // frames per second
  int channels = 2;  // 1 or 2, interleaved
};

struct MixerSample {
  int16_t* data = nullptr;  // owned (OX_MALLOC); frameCount * channels values
  int frameCount = 0;
  int sourceRate = 0;  // the file's rate: loop points are given in its frames
  bool looping = false;
  int loopStart = 0;  // in mixer frames
  int loopEnd = 0;    // in mixer frames, exclusive; loopStart < loopEnd <= frameCount
};

// Fills `sample` from a WAV or MP3 file (told apart by their first bytes),
// converted to `format`. On failure `sample` stays empty and `error` holds
// the reason.
bool LoadMixerSample(const char* path, const MixerFormat& format, MixerSample& sample, char* error,
                     size_t errorSize);

// Converts decoded PCM (an SDL audio format, interleaved) into `format` and
// stores it in `sample`; the loop covers the whole sample until set otherwise.
bool ConvertToMixerSample(const uint8_t* pcm, size_t bytes, uint16_t sourceFormat, int sourceChannels,
                          int sourceRate, const MixerFormat& format, MixerSample& sample, char* error,
                          size_t errorSize);

// Decoders, one per file kind (mixerwav.cpp, mixermp3.cpp).
bool LoadWavSample(const char* path, const MixerFormat& format, MixerSample& sample, char* error,
                   size_t errorSize);
bool LoadMp3Sample(const char* path, const MixerFormat& format, MixerSample& sample, char* error,
                   size_t errorSize);

void FreeMixerSample(MixerSample& sample);
