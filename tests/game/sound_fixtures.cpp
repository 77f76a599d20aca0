#include "sound_fixtures.h"

#include <cstdlib>

Pcm16 MakePcm(int rate, int channels, int frames, const std::function<int16_t(int)>& value) {
  Pcm16 pcm;
  pcm.rate = rate;
  pcm.channels = channels;
  for (int i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) pcm.samples.push_back(value(i));
  return pcm;
}

std::string WriteWavFixture(const std::string& name, const Pcm16& pcm) {
  WriteWav(name, pcm);
  return name;
}

std::vector<int16_t> RenderMono(CMixer& mixer, int frames) {
  const int width = mixer.Format().channels;
  std::vector<int16_t> mixed(static_cast<size_t>(frames) * width);
  mixer.Render(mixed.data(), frames);
  std::vector<int16_t> mono;
  for (int i = 0; i < frames; ++i) mono.push_back(mixed[static_cast<size_t>(i) * width]);
  return mono;
}

std::vector<int> FindOnsets(const std::vector<int16_t>& signal, int threshold, int quietFrames) {
  std::vector<int> onsets;
  int quiet = quietFrames;  // the start counts as after a silence
  for (size_t i = 0; i < signal.size(); ++i) {
    if (std::abs(signal[i]) < threshold) {
      ++quiet;
      continue;
    }
    if (quiet >= quietFrames) onsets.push_back(static_cast<int>(i));
    quiet = 0;
  }
  return onsets;
}

int PeakLevel(const std::vector<int16_t>& signal) {
  int peak = 0;
  for (int16_t value : signal) peak = std::max(peak, std::abs(static_cast<int>(value)));
  return peak;
}
