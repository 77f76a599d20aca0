#include "render.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Stereo {
  std::vector<float> left, right;
  void Fit(size_t frames) {
    if (left.size() < frames) left.resize(frames, 0.0f), right.resize(frames, 0.0f);
  }
};

// One channel's notes as mono samples. The song is played twice in a row, so
// that the second period starts with the tails of the first, as it will when
// the game loops it.
std::vector<float> RenderChannel(const Song& song, const SongChannel& channel, size_t period, uint32_t seed) {
  std::vector<float> out(2 * period, 0.0f);
  Rng rng(seed);
  const double stepFrames = song.StepFrames();
  const double stepSeconds = stepFrames / song.rate;
  for (size_t pass = 0; pass < 2; ++pass) {
    for (const NoteEvent& note : channel.notes) {
      const size_t offset = pass * period + static_cast<size_t>(std::llround(note.step * stepFrames));
      for (double pitch : note.pitches)
        RenderTone(channel.voice, pitch, pitch, note.length * stepSeconds * channel.gate, song.rate, rng, out,
                   offset);
      for (int drum : note.drums) {
        const DrumSound& sound = channel.kit[static_cast<size_t>(drum)];
        if (out.size() < offset + sound.samples.size()) out.resize(offset + sound.samples.size(), 0.0f);
        const double level = sound.level * channel.voice.volume;
        for (size_t i = 0; i < sound.samples.size(); ++i)
          out[offset + i] += static_cast<float>(sound.samples[i] * level);
      }
    }
  }
  return out;
}

// Echoes that bounce between the left and the right.
void AddPingPongEcho(const std::vector<float>& send, int delay, double feedback, Stereo& mix) {
  if (delay <= 0 || feedback <= 0.0) return;
  std::vector<float> left(send.size(), 0.0f), right(send.size(), 0.0f);
  for (size_t n = static_cast<size_t>(delay); n < send.size(); ++n) {
    left[n] = static_cast<float>(send[n - delay] + feedback * right[n - delay]);
    right[n] = static_cast<float>(feedback * left[n - delay]);
  }
  mix.Fit(send.size());
  for (size_t n = 0; n < send.size(); ++n) mix.left[n] += left[n], mix.right[n] += right[n];
}

}  // namespace

Pcm16 RenderSong(const Song& song) {
  const size_t period = static_cast<size_t>(std::llround(song.lengthInSteps * song.StepFrames()));
  Stereo mix;
  std::vector<float> send(2 * period, 0.0f);
  for (size_t c = 0; c < song.channels.size(); ++c) {
    const SongChannel& channel = song.channels[c];
    std::vector<float> mono = RenderChannel(song, channel, period, static_cast<uint32_t>(c + 1));
    mono.resize(2 * period);  // tails past the second period are the start's, already there
    // Equal-power panning: a voice keeps its loudness wherever it is placed.
    const double angle = (channel.pan + 1.0) * kPi / 4.0;
    const float toLeft = static_cast<float>(std::cos(angle) * std::sqrt(2.0));
    const float toRight = static_cast<float>(std::sin(angle) * std::sqrt(2.0));
    mix.Fit(mono.size());
    for (size_t n = 0; n < mono.size(); ++n) {
      mix.left[n] += mono[n] * toLeft;
      mix.right[n] += mono[n] * toRight;
      send[n] += static_cast<float>(mono[n] * channel.send);
    }
  }
  AddPingPongEcho(send, static_cast<int>(std::lround(song.echoDelay * song.rate)), song.echoFeedback, mix);

  // The file: the last loopStart frames of the period, then the period.
  const size_t lead = static_cast<size_t>(song.loopStart) % period;
  std::vector<float> interleaved;
  interleaved.reserve(2 * (lead + period));
  for (size_t n = 0; n < lead + period; ++n) {
    const size_t frame = period + (n + period - lead) % period;
    interleaved.push_back(mix.left[frame]);
    interleaved.push_back(mix.right[frame]);
  }
  Normalise(interleaved, song.peak);
  // The lead-in starts mid-phrase: a short fade keeps that first start from
  // clicking. It lies before the loop, which stays untouched.
  const size_t fade = std::min(lead, static_cast<size_t>(song.rate / 100));
  for (size_t n = 0; n < fade; ++n)
    for (size_t side = 0; side < 2; ++side) interleaved[2 * n + side] *= static_cast<float>(n) / fade;
  return ToPcm16(interleaved, song.rate, 2);
}
