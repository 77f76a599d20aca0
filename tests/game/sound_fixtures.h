// Small sounds written by the tests themselves, and measurements of what
// the mixer renders from them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audiofile.h"
#include "game/mixer.h"

// PCM whose every channel of frame i holds value(i).
Pcm16 MakePcm(int rate, int channels, int frames, const std::function<int16_t(int)>& value);
// Writes `pcm` as a WAV file named `name` in the current folder and returns the name.
std::string WriteWavFixture(const std::string& name, const Pcm16& pcm);

// Renders `frames` frames of `mixer` offline, first channel only.
std::vector<int16_t> RenderMono(CMixer& mixer, int frames);
// Frames where the signal rises to `threshold` after at least `quietFrames` below it.
std::vector<int> FindOnsets(const std::vector<int16_t>& signal, int threshold, int quietFrames);
int PeakLevel(const std::vector<int16_t>& signal);
