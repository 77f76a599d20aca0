// The sound tools' synthesizer: one voice description (wave shape, pulse
// width, envelope, vibrato, tremolo, filters) and the rendering of single
// tones from it. Effects layer tones; music plays them as notes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "textreader.h"

enum class Wave { Sine, Square, Triangle, Saw, Noise };

// Attack, decay and release in seconds; sustain as a level of the peak.
struct Envelope {
  double attack = 0.002;
  double decay = 0.05;
  double sustain = 0.8;
  double release = 0.03;
};

struct Voice {
  Wave wave = Wave::Square;
  double dutyStart = 0.5;  // pulse width of Square, swept to dutyEnd over the tone
  double dutyEnd = 0.5;
  Envelope envelope;
  bool linearSweep = false;   // pitch sweeps move in hertz rather than in octaves
  double vibratoRate = 0.0;   // Hz
  double vibratoDepth = 0.0;  // fraction of the pitch
  double vibratoDelay = 0.0;  // seconds before vibrato fades in
  double tremoloRate = 0.0;   // Hz
  double tremoloDepth = 0.0;  // 0 .. 1
  double cutoffStart = 0.0;   // low-pass cutoff in Hz, swept to cutoffEnd; 0 = open
  double cutoffEnd = 0.0;
  double resonance = 0.0;  // 0 .. 0.9
  bool bandPass = false;   // the filter keeps a band around the cutoff rather than all below it
  double highpass = 0.0;   // high-pass cutoff in Hz; 0 = none
  double detune = 0.0;     // cents: a second oscillator this far up thickens the tone
  double volume = 1.0;
};

// The noise source: a fixed seed gives the same noise on every build.
class Rng {
 public:
  explicit Rng(uint32_t seed) : m_state(seed != 0 ? seed : 1) {}
  // Uniform in -1 .. 1.
  double Next() {
    m_state ^= m_state << 13;
    m_state ^= m_state >> 17;
    m_state ^= m_state << 5;
    return static_cast<double>(m_state) / 2147483648.0 - 1.0;
  }

 private:
  uint32_t m_state;
};

// Adds one tone to `out` from index `offset` on (growing `out` as needed):
// the envelope's attack and decay into its sustain for `hold` seconds, then
// its release. The pitch moves from `from` to `to` hertz over the whole
// tone (for Noise it is the rate at which new values are drawn; 0 = every
// sample). `level` scales the voice's own volume.
void RenderTone(const Voice& voice, double from, double to, double hold, int rate, Rng& rng,
                std::vector<float>& out, size_t offset, double level = 1.0);

// A note name ("A4" = 440 Hz, "C#5", "Eb3") or a number of hertz.
bool ParsePitch(const std::string& word, double& hertz);
bool ParseWave(const std::string& name, Wave& wave);

// Reads one voice setting ("duty 0.25 0.5", "envelope a d s r", "vibrato
// rate depth [delay]", ...) into `voice`; false when the key is not one.
bool ParseVoiceSetting(TextReader& reader, const TextLine& line, Voice& voice);
