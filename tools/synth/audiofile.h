// PCM as the sound tools make it, and its WAV and MP3 files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Pcm16 {
  int rate = 22050;
  int channels = 1;
  std::vector<int16_t> samples;  // interleaved

  int Frames() const { return channels > 0 ? static_cast<int>(samples.size()) / channels : 0; }
};

// Converts float samples (nominally -1 .. 1, interleaved) to 16 bits,
// clipping anything beyond full scale.
Pcm16 ToPcm16(const std::vector<float>& samples, int rate, int channels);

// A canonical 44-byte-header PCM WAV file. False when it cannot be written.
bool WriteWav(const std::string& path, const Pcm16& pcm);

// A constant-bit-rate MP3 carrying a LAME tag with the encoder delay and
// padding, so that a gapless decoder returns exactly pcm.Frames() frames.
bool WriteMp3(const std::string& path, const Pcm16& pcm, int kilobitsPerSecond);
