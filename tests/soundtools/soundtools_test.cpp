// The sound tools: the synthesizer's text sources, effect recipes and songs.
#include <gtest/gtest.h>

#include <cmath>

#include "recipe.h"
#include "render.h"
#include "song.h"
#include "synth.h"
#include "tests/common/temp_dir.h"

namespace {

TEST(SoundTools, PitchesAreNoteNamesOrHertz) {
  const struct {
    const char* word;
    double hertz;
  } cases[] = {{"A4", 440.0},    {"A5", 880.0},  {"C4", 261.626}, {"C#5", 554.365},
               {"Db5", 554.365}, {"B1", 61.735}, {"440", 440.0},  {"0", 0.0}};
  for (const auto& c : cases) {
    double hertz = -1.0;
    EXPECT_TRUE(ParsePitch(c.word, hertz)) << c.word;
    EXPECT_NEAR(hertz, c.hertz, 0.01) << c.word;
  }
  double ignored = 0.0;
  for (const char* wrong : {"H4", "C", "C#", "A9", "loud", ""})
    EXPECT_FALSE(ParsePitch(wrong, ignored)) << wrong;
}

TEST(SoundTools, AHashStartsACommentOnlyAtTheStartOfAWord) {
  ScopedTempDir dir;
  WriteFileText("text", "# a comment line\nnotes 0.1 C#5 Eb5  # a comment\n\n   # indented comment\n");
  TextReader reader;
  ASSERT_TRUE(reader.Open("text"));
  ASSERT_EQ(reader.Lines().size(), 1u);
  EXPECT_EQ(reader.Lines()[0].number, 2);
  EXPECT_EQ(reader.Lines()[0].words, (std::vector<std::string>{"notes", "0.1", "C#5", "Eb5"}));
}

TEST(SoundTools, RecipeRendersTheSameSamplesEveryTime) {
  ScopedTempDir dir;
  WriteFileText("hit.sfx",
                "peak 0.5\nlayer noise\n  duration 0.05\n  filter 3000 500\n"
                "layer square\n  pitch 300 80\n  duration 0.05\n");
  Recipe recipe;
  ASSERT_TRUE(ReadRecipe("hit.sfx", recipe));
  const std::vector<float> first = RenderRecipe(recipe, 22050);
  EXPECT_EQ(RenderRecipe(recipe, 22050), first);
  float peak = 0.0f;
  for (float value : first) peak = std::max(peak, std::fabs(value));
  EXPECT_NEAR(peak, 0.5f, 1e-6);

  recipe.layers[0].seed = 99;  // other noise, other samples
  EXPECT_NE(RenderRecipe(recipe, 22050), first);
}

TEST(SoundTools, RecipeErrorsFailTheRecipe) {
  ScopedTempDir dir;
  const char* wrongRecipes[] = {
      "layer kazoo\n",                     // no such wave
      "layer sine\n  pitch Q4\n",          // no such note
      "layer sine\n  envelope 0.1 0.2\n",  // too few numbers
      "layer sine\n  duration soon\n",     // not a number
      "loudness 3\nlayer sine\n",          // no such setting
      "peak 0.9\n",                        // nothing to play
  };
  for (const char* text : wrongRecipes) {
    WriteFileText("wrong.sfx", text);
    Recipe recipe;
    EXPECT_FALSE(ReadRecipe("wrong.sfx", recipe)) << text;
  }
  Recipe missing;
  EXPECT_FALSE(ReadRecipe("missing.sfx", missing));
}

const char* const kSong =
    "tempo 120\nsteps 4\nbar 8\nloopstart %d\npeak 0.8\necho 0.1 0.3\n"
    "channel lead square\n  volume 0.5\n  send 0.4\n"
    "channel drums drums\n  drum k kick.sfx 1.0\n"
    "pattern A\n  lead C5:2 E5:2 G5:4 |\n  drums k:4 k:4 |\n"
    "pattern B\n  lead A4+C5+E5:6 -:2 |\n  drums k:8 |\n"
    "song A B A\n";

Song ReadTestSong(int loopStart) {
  WriteFileText("kick.sfx", "layer sine\n  pitch 120 40\n  duration 0.05\n");
  char text[1024];
  std::snprintf(text, sizeof text, kSong, loopStart);
  WriteFileText("test.song", text);
  Song song;
  EXPECT_TRUE(ReadSong("test.song", song));
  return song;
}

TEST(SoundTools, SongReadsItsPatternsInPlayingOrder) {
  ScopedTempDir dir;
  const Song song = ReadTestSong(0);
  EXPECT_EQ(song.lengthInSteps, 24);
  ASSERT_EQ(song.channels.size(), 2u);
  const SongChannel& lead = song.channels[0];
  ASSERT_EQ(lead.notes.size(), 7u);
  EXPECT_EQ(lead.notes[3].step, 8);
  EXPECT_EQ(lead.notes[3].length, 8);  // the "-" holds the chord on
  EXPECT_EQ(lead.notes[3].pitches.size(), 3u);
  EXPECT_EQ(lead.notes[4].step, 16);
  EXPECT_EQ(song.channels[1].notes.size(), 5u);
}

TEST(SoundTools, SongMistakesAreFound) {
  ScopedTempDir dir;
  WriteFileText("kick.sfx", "layer sine\n");
  const char* wrongSongs[] = {
      "bar 8\nchannel a square\npattern P\n  a C5:9 |\nsong P\n",                          // bar too long
      "bar 8\nchannel a square\nchannel b sine\npattern P\n  a C5:8\n  b C5:4\nsong P\n",  // lengths differ
      "bar 8\nchannel a square\npattern P\n  a - C5:7\nsong P\n",                          // nothing to hold
      "bar 8\nchannel a square\npattern P\n  z C5:8\nsong P\n",                            // no such channel
      "bar 8\nchannel a square\npattern P\n  a C5:8\nsong Q\n",                            // no such pattern
      "bar 8\nchannel a drums\n  drum k kick.sfx 1\npattern P\n  a s:8\nsong P\n",         // no such drum
      "bar 8\nchannel a square\npattern P\n  a C5:8\n",                                    // no song
  };
  for (const char* text : wrongSongs) {
    WriteFileText("wrong.song", text);
    Song song;
    EXPECT_FALSE(ReadSong("wrong.song", song)) << text;
  }
}

// The file is the song's period turned so that it starts loopStart frames
// before the period's start: looping from loopStart to the end replays the
// period exactly, and the lead-in is the period's own end.
TEST(SoundTools, SongFileLoopsFromItsLoopStart) {
  ScopedTempDir dir;
  const Pcm16 plain = RenderSong(ReadTestSong(0));
  const Pcm16 turned = RenderSong(ReadTestSong(3000));
  const int period = static_cast<int>(std::lround(24 * 22050 * 60.0 / 120 / 4));
  ASSERT_EQ(plain.Frames(), period);
  ASSERT_EQ(turned.Frames(), 3000 + period);
  for (int frame = 0; frame < period; ++frame)
    ASSERT_EQ(turned.samples[2 * (3000 + frame)], plain.samples[2 * frame]) << "loop frame " << frame;
  const int fade = 22050 / 100;  // the very first start fades in
  for (int frame = fade; frame < 3000; ++frame)
    ASSERT_EQ(turned.samples[2 * frame], plain.samples[2 * (period - 3000 + frame)])
        << "lead-in frame " << frame;
  EXPECT_EQ(turned.samples[0], 0);
}

}  // namespace
