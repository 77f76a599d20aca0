#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Band-limited step correction: rounds off the jump of a saw or pulse over
// one sample, so that high notes do not fold back as harsh aliases.
double PolyBlep(double phase, double step) {
  if (phase < step) {
    double t = phase / step;
    return t + t - t * t - 1.0;
  }
  if (phase > 1.0 - step) {
    double t = (phase - 1.0) / step;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

double Oscillate(Wave wave, double phase, double step, double duty) {
  switch (wave) {
    case Wave::Sine:
      return std::sin(2.0 * kPi * phase);
    case Wave::Triangle:
      return 4.0 * std::fabs(phase - 0.5) - 1.0;
    case Wave::Saw:
      return 2.0 * phase - 1.0 - PolyBlep(phase, step);
    case Wave::Square: {
      double value = phase < duty ? 1.0 : -1.0;
      value += PolyBlep(phase, step);
      value -= PolyBlep(std::fmod(phase + 1.0 - duty, 1.0), step);
      return value - (2.0 * duty - 1.0);  // a narrow pulse would otherwise carry an offset
    }
    case Wave::Noise:
      break;
  }
  return 0.0;
}

// Envelope level at `time` seconds into a tone held for `hold` seconds.
// Decay and release curve like a struck string rather than a ramp.
double EnvelopeLevel(const Envelope& envelope, double time, double hold) {
  auto held = [&](double t) {
    if (t < envelope.attack) return t / envelope.attack;
    double u = (t - envelope.attack) / envelope.decay;
    if (u >= 1.0) return envelope.sustain;
    double rest = 1.0 - u;
    return envelope.sustain + (1.0 - envelope.sustain) * rest * rest * rest;
  };
  if (time < hold) return held(time);
  double u = (time - hold) / envelope.release;
  if (u >= 1.0) return 0.0;
  double rest = 1.0 - u;
  return held(hold) * rest * rest;
}

// Chamberlin state-variable filter: cheap, and resonant when asked to be.
// It runs twice per sample, which keeps it stable up to a quarter of the
// sample rate even without resonance.
struct StateVariableFilter {
  double low = 0.0;
  double band = 0.0;
  double Process(double input, double cutoff, double resonance, bool bandPass, int rate) {
    cutoff = std::min(cutoff, rate / 4.0);
    const double frequency = 2.0 * std::sin(kPi * cutoff / (2.0 * rate));
    const double damping = std::clamp(2.0 * (1.0 - resonance), 0.3, 2.0);
    for (int pass = 0; pass < 2; ++pass) {
      low += frequency * band;
      const double high = input - low - damping * band;
      band += frequency * high;
    }
    return bandPass ? band * damping : low;  // unity gain at the centre of the band
  }
};

}  // namespace

void RenderTone(const Voice& voice, double from, double to, double hold, int rate, Rng& rng,
                std::vector<float>& out, size_t offset, double level) {
  Envelope envelope = voice.envelope;
  envelope.attack = std::max(envelope.attack, 0.001);  // an instant start clicks
  envelope.decay = std::max(envelope.decay, 0.001);
  envelope.release = std::max(envelope.release, 0.002);
  const double length = hold + envelope.release;
  const size_t samples = static_cast<size_t>(length * rate);
  if (out.size() < offset + samples) out.resize(offset + samples, 0.0f);

  const double detuneRatio = std::pow(2.0, voice.detune / 1200.0);
  const double highpassKeep = voice.highpass > 0.0 ? 1.0 / (1.0 + 2.0 * kPi * voice.highpass / rate) : 0.0;
  double phase = 0.0, detunedPhase = 0.25, noiseValue = rng.Next();
  double highpassIn = 0.0, highpassOut = 0.0;
  StateVariableFilter filter, secondFilter;
  for (size_t i = 0; i < samples; ++i) {
    const double time = static_cast<double>(i) / rate;
    const double progress = time / length;
    double frequency = voice.linearSweep          ? from + (to - from) * progress
                       : (from > 0.0 && to > 0.0) ? from * std::pow(to / from, progress)
                                                  : from;
    if (voice.vibratoDepth > 0.0 && time > voice.vibratoDelay) {
      double fadeIn = std::min(1.0, (time - voice.vibratoDelay) / 0.15);
      frequency *= 1.0 + fadeIn * voice.vibratoDepth * std::sin(2.0 * kPi * voice.vibratoRate * time);
    }
    const double step = std::min(frequency / rate, 0.5);

    double value;
    if (voice.wave == Wave::Noise) {
      phase += frequency > 0.0 && frequency < rate ? frequency / rate : 1.0;
      if (phase >= 1.0) {
        phase -= std::floor(phase);
        noiseValue = rng.Next();
      }
      value = noiseValue;
    } else {
      const double duty = voice.dutyStart + (voice.dutyEnd - voice.dutyStart) * progress;
      value = Oscillate(voice.wave, phase, step, duty);
      phase = std::fmod(phase + step, 1.0);
      if (voice.detune != 0.0) {
        const double detunedStep = std::min(step * detuneRatio, 0.5);
        value = 0.5 * (value + Oscillate(voice.wave, detunedPhase, detunedStep, duty));
        detunedPhase = std::fmod(detunedPhase + detunedStep, 1.0);
      }
    }

    if (voice.cutoffStart > 0.0) {
      double cutoff =
          voice.cutoffStart * std::pow(std::max(voice.cutoffEnd, 1.0) / voice.cutoffStart, progress);
      value = filter.Process(value, cutoff, voice.resonance, voice.bandPass, rate);
      // A band is taken twice, so that its sides fall steeply enough to hear it as one pitch of air.
      if (voice.bandPass) value = secondFilter.Process(value, cutoff, voice.resonance, true, rate);
    }
    if (voice.highpass > 0.0) {
      highpassOut = highpassKeep * (highpassOut + value - highpassIn);
      highpassIn = value;
      value = highpassOut;
    }
    double amplitude = EnvelopeLevel(envelope, time, hold) * voice.volume * level;
    if (voice.tremoloDepth > 0.0)
      amplitude *= 1.0 - voice.tremoloDepth * (0.5 + 0.5 * std::sin(2.0 * kPi * voice.tremoloRate * time));
    out[offset + i] += static_cast<float>(value * amplitude);
  }
}

bool ParsePitch(const std::string& word, double& hertz) {
  static const int kSemitones[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
  if (!word.empty() && word[0] >= 'A' && word[0] <= 'G') {
    int semitone = kSemitones[word[0] - 'A'];
    size_t at = 1;
    if (at < word.size() && word[at] == '#')
      semitone += 1, ++at;
    else if (at < word.size() && word[at] == 'b')
      semitone -= 1, ++at;
    if (at + 1 != word.size() || word[at] < '0' || word[at] > '8') return false;
    int midi = 12 * (word[at] - '0' + 1) + semitone;
    hertz = 440.0 * std::pow(2.0, (midi - 69) / 12.0);
    return true;
  }
  char* end = nullptr;
  hertz = std::strtod(word.c_str(), &end);
  return !word.empty() && *end == '\0' && hertz >= 0.0;
}

bool ParseWave(const std::string& name, Wave& wave) {
  static const struct {
    const char* name;
    Wave wave;
  } kWaves[] = {{"sine", Wave::Sine},
                {"square", Wave::Square},
                {"triangle", Wave::Triangle},
                {"saw", Wave::Saw},
                {"noise", Wave::Noise}};
  for (const auto& entry : kWaves)
    if (name == entry.name) {
      wave = entry.wave;
      return true;
    }
  return false;
}

bool ParseVoiceSetting(TextReader& reader, const TextLine& line, Voice& voice) {
  const std::string& key = line.words[0];
  const size_t count = line.words.size() - 1;
  // A setting of one or two numbers: the second, when given, is where the
  // value sweeps to.
  auto range = [&](double& start, double& end) {
    if (count < 1 || count > 2) return reader.Arguments(line, 2);
    if (!reader.Number(line, 1, start)) return false;
    end = start;
    return count == 1 || reader.Number(line, 2, end);
  };
  if (key == "wave") {
    if (reader.Arguments(line, 1) && !ParseWave(line.words[1], voice.wave))
      reader.Error(line, "unknown wave '" + line.words[1] + "'");
  } else if (key == "duty") {
    range(voice.dutyStart, voice.dutyEnd);
  } else if (key == "envelope") {
    Envelope& e = voice.envelope;
    if (reader.Arguments(line, 4) && reader.Number(line, 1, e.attack) && reader.Number(line, 2, e.decay) &&
        reader.Number(line, 3, e.sustain))
      reader.Number(line, 4, e.release);
  } else if (key == "sweep") {
    if (reader.Arguments(line, 1)) {
      voice.linearSweep = line.words[1] == "linear";
      if (!voice.linearSweep && line.words[1] != "octaves")
        reader.Error(line, "sweep is 'linear' or 'octaves'");
    }
  } else if (key == "vibrato") {
    if (count < 2 || count > 3) return reader.Arguments(line, 3), true;
    if (reader.Number(line, 1, voice.vibratoRate) && reader.Number(line, 2, voice.vibratoDepth) && count == 3)
      reader.Number(line, 3, voice.vibratoDelay);
  } else if (key == "tremolo") {
    if (reader.Arguments(line, 2) && reader.Number(line, 1, voice.tremoloRate))
      reader.Number(line, 2, voice.tremoloDepth);
  } else if (key == "filter" || key == "bandpass") {
    voice.bandPass = key == "bandpass";
    range(voice.cutoffStart, voice.cutoffEnd);
  } else if (key == "resonance") {
    if (reader.Arguments(line, 1)) reader.Number(line, 1, voice.resonance);
  } else if (key == "highpass") {
    if (reader.Arguments(line, 1)) reader.Number(line, 1, voice.highpass);
  } else if (key == "detune") {
    if (reader.Arguments(line, 1)) reader.Number(line, 1, voice.detune);
  } else if (key == "volume") {
    if (reader.Arguments(line, 1)) reader.Number(line, 1, voice.volume);
  } else {
    return false;
  }
  return true;
}
