// sfxsynth RECIPE OUTPUT.wav [RATE]
// Renders a sound-effect recipe (see tools/synth/recipe.h) to a 16-bit mono
// WAV file, by default at 22,050 Hz. The same recipe always gives the same
// bytes.
#include <cstdio>
#include <cstdlib>

#include "audiofile.h"
#include "recipe.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: sfxsynth RECIPE OUTPUT.wav [RATE]\n");
    return 2;
  }
  const int rate = argc == 4 ? std::atoi(argv[3]) : 22050;
  if (rate < 8000 || rate > 96000) {
    std::fprintf(stderr, "sfxsynth: rate %s is not between 8000 and 96000\n", argv[3]);
    return 2;
  }
  Recipe recipe;
  if (!ReadRecipe(argv[1], recipe)) return 1;
  if (!WriteWav(argv[2], ToPcm16(RenderRecipe(recipe, rate), rate, 1))) {
    std::fprintf(stderr, "sfxsynth: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
