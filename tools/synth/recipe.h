// Sound-effect recipes: a text file of layers, each a voice playing one
// swept tone or a short sequence of notes, summed, given an optional echo and
// normalised. The format, one setting a line:
//
//   length 0.4            whole effect in seconds (default: until the last tone ends)
//   peak 0.9              level of the loudest sample after normalising
//   echo 0.09 0.35        delay in seconds and feedback
//   layer square          starts a layer: sine, square, triangle, saw or noise
//     at 0.05             start in seconds
//     duration 0.2        how long each tone is held before its release
//     pitch 880 220       start and end pitch (hertz or note names; noise: rate of new values)
//     notes 0.07 C5 E5 .  a sequence instead: seconds per step, notes, "." rests,
//                         "x" a tone at the layer's own pitch
//     repeat 4 0.12       the layer again 4 times in all, 0.12 s apart
//     seed 7              noise seed
//     ... and every voice setting of synth.h (duty, envelope, vibrato, ...)
#pragma once

#include <string>
#include <vector>

#include "synth.h"

struct RecipeLayer {
  Voice voice;
  double at = 0.0;
  double duration = 0.1;
  double pitchFrom = 440.0;
  double pitchTo = 440.0;
  double noteStep = 0.0;
  std::vector<double> notes;  // hertz; 0 is a rest, -1 the layer's own pitch
  int repeat = 1;
  double every = 0.0;
  uint32_t seed = 1;
};

struct Recipe {
  std::vector<RecipeLayer> layers;
  double length = 0.0;
  double peak = 0.9;
  double echoDelay = 0.0;
  double echoFeedback = 0.0;
};

bool ReadRecipe(const std::string& path, Recipe& recipe);
// Mono samples, normalised to the recipe's peak.
std::vector<float> RenderRecipe(const Recipe& recipe, int rate);

// Adds a feedback echo to interleaved samples, extending them by its tail.
void ApplyEcho(std::vector<float>& samples, int channels, int rate, double delay, double feedback);
// Scales the samples so that the loudest has the given level.
void Normalise(std::vector<float>& samples, double peak);
