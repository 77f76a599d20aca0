#include "recipe.h"

#include <algorithm>
#include <cmath>

namespace {

// In a note sequence: a tone at the layer's own pitch (and sweep).
constexpr double kLayerPitch = -1.0;
// Below half of a 16-bit step.
constexpr float kInaudible = 1.0f / 65536.0f;

bool ReadLayerSetting(TextReader& reader, const TextLine& line, RecipeLayer& layer) {
  const std::string& key = line.words[0];
  double value = 0.0;
  if (key == "at") {
    if (reader.Arguments(line, 1)) reader.Number(line, 1, layer.at);
  } else if (key == "duration") {
    if (reader.Arguments(line, 1)) reader.Number(line, 1, layer.duration);
  } else if (key == "pitch") {
    if (line.words.size() < 2 || line.words.size() > 3) return reader.Arguments(line, 2), true;
    if (!ParsePitch(line.words[1], layer.pitchFrom))
      reader.Error(line, "'" + line.words[1] + "' is no pitch");
    layer.pitchTo = layer.pitchFrom;
    if (line.words.size() == 3 && !ParsePitch(line.words[2], layer.pitchTo))
      reader.Error(line, "'" + line.words[2] + "' is no pitch");
  } else if (key == "notes") {
    if (!reader.Number(line, 1, layer.noteStep)) return true;
    layer.notes.clear();
    for (size_t i = 2; i < line.words.size(); ++i) {
      double hertz = 0.0;
      if (line.words[i] == "x")
        hertz = kLayerPitch;
      else if (line.words[i] != "." && !ParsePitch(line.words[i], hertz))
        reader.Error(line, "'" + line.words[i] + "' is no note");
      layer.notes.push_back(hertz);
    }
  } else if (key == "repeat") {
    if (reader.Arguments(line, 2) && reader.Number(line, 1, value) && reader.Number(line, 2, layer.every))
      layer.repeat = std::max(1, static_cast<int>(value));
  } else if (key == "seed") {
    if (reader.Arguments(line, 1) && reader.Number(line, 1, value)) layer.seed = static_cast<uint32_t>(value);
  } else {
    return ParseVoiceSetting(reader, line, layer.voice);
  }
  return true;
}

bool ReadGlobalSetting(TextReader& reader, const TextLine& line, Recipe& recipe) {
  const std::string& key = line.words[0];
  if (key == "length") {
    if (reader.Arguments(line, 1)) reader.Number(line, 1, recipe.length);
  } else if (key == "peak") {
    if (reader.Arguments(line, 1)) reader.Number(line, 1, recipe.peak);
  } else if (key == "echo") {
    if (reader.Arguments(line, 2) && reader.Number(line, 1, recipe.echoDelay))
      reader.Number(line, 2, recipe.echoFeedback);
  } else {
    return false;
  }
  return true;
}

void RenderLayer(const RecipeLayer& layer, int rate, std::vector<float>& out) {
  Rng rng(layer.seed);
  for (int round = 0; round < layer.repeat; ++round) {
    const double start = layer.at + round * layer.every;
    if (layer.notes.empty()) {
      RenderTone(layer.voice, layer.pitchFrom, layer.pitchTo, layer.duration, rate, rng, out,
                 static_cast<size_t>(start * rate));
      continue;
    }
    for (size_t i = 0; i < layer.notes.size(); ++i) {
      if (layer.notes[i] == 0.0) continue;
      const bool own = layer.notes[i] == kLayerPitch;
      RenderTone(layer.voice, own ? layer.pitchFrom : layer.notes[i], own ? layer.pitchTo : layer.notes[i],
                 layer.duration, rate, rng, out, static_cast<size_t>((start + i * layer.noteStep) * rate));
    }
  }
}

}  // namespace

bool ReadRecipe(const std::string& path, Recipe& recipe) {
  TextReader reader;
  if (!reader.Open(path)) return false;
  for (const TextLine& line : reader.Lines()) {
    if (line.words[0] == "layer") {
      RecipeLayer layer;
      layer.seed = static_cast<uint32_t>(recipe.layers.size() + 1);
      if (reader.Arguments(line, 1) && !ParseWave(line.words[1], layer.voice.wave))
        reader.Error(line, "unknown wave '" + line.words[1] + "'");
      // Noise draws a new value every sample unless given a pitch.
      if (layer.voice.wave == Wave::Noise) layer.pitchFrom = layer.pitchTo = 0.0;
      recipe.layers.push_back(layer);
    } else if (recipe.layers.empty() ? !ReadGlobalSetting(reader, line, recipe)
                                     : !ReadLayerSetting(reader, line, recipe.layers.back())) {
      reader.Error(line, "unknown setting '" + line.words[0] + "'");
    }
  }
  if (recipe.layers.empty() && !reader.Failed())
    reader.Error(reader.Lines().empty() ? TextLine{} : reader.Lines().back(), "no layer");
  return !reader.Failed();
}

std::vector<float> RenderRecipe(const Recipe& recipe, int rate) {
  std::vector<float> samples;
  for (const RecipeLayer& layer : recipe.layers) RenderLayer(layer, rate, samples);
  if (recipe.echoDelay > 0.0) ApplyEcho(samples, 1, rate, recipe.echoDelay, recipe.echoFeedback);
  if (recipe.length > 0.0) {
    const size_t length = static_cast<size_t>(recipe.length * rate);
    // A cut through a ringing tail fades over 10 ms instead of clicking.
    const size_t fade = std::min(length, static_cast<size_t>(rate / 100));
    if (samples.size() > length)
      for (size_t i = 0; i < fade; ++i) samples[length - fade + i] *= static_cast<float>(fade - i) / fade;
    samples.resize(length, 0.0f);
  }
  Normalise(samples, recipe.peak);
  // An echo's last repeats and a release's end fall below what 16 bits hold.
  while (!samples.empty() && std::fabs(samples.back()) < kInaudible) samples.pop_back();
  return samples;
}

void ApplyEcho(std::vector<float>& samples, int channels, int rate, double delay, double feedback) {
  const size_t lag = static_cast<size_t>(delay * rate) * channels;
  if (lag == 0 || feedback <= 0.0 || feedback >= 1.0) return;
  // The tail lasts until the echoes have fallen 60 dB.
  const size_t repeats = static_cast<size_t>(std::ceil(std::log(0.001) / std::log(feedback)));
  samples.resize(samples.size() + lag * repeats, 0.0f);
  for (size_t i = lag; i < samples.size(); ++i) samples[i] += static_cast<float>(feedback) * samples[i - lag];
}

void Normalise(std::vector<float>& samples, double peak) {
  float loudest = 0.0f;
  for (float value : samples) loudest = std::max(loudest, std::fabs(value));
  if (loudest <= 0.0f) return;
  const float scale = static_cast<float>(peak) / loudest;
  for (float& value : samples) value *= scale;
}
