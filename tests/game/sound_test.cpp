// The sound module as the game uses it: loads by index, plays by index.
#include "game/sound.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "game/mixer.h"
#include "sound_fixtures.h"
#include "tests/common/temp_dir.h"

namespace {

// Starts the module on SDL's dummy audio and shuts it down at the end.
class SoundModule : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SoundInit()) << GetSoundError(); }
  void TearDown() override { SoundShutdown(); }

  static std::string WriteBlip(const std::string& name, int frames) {
    return WriteWavFixture(
        name, MakePcm(22050, 1, frames, [](int i) -> int16_t { return i % 20 < 10 ? 9000 : -9000; }));
  }
};

TEST_F(SoundModule, IndicesBelowTheCountPlayAndOthersDoNot) {
  ScopedTempDir dir;
  const std::string blip = WriteBlip("blip.wav", 500);
  for (int i = 0; i < 28; ++i) ASSERT_EQ(LoadSound(blip.c_str(), false), 1) << GetSoundError();
  EXPECT_EQ(GetSoundCount(), 28);
  EXPECT_FALSE(PlaySound(28));
  EXPECT_FALSE(PlaySound(-1));
  EXPECT_TRUE(PlaySound(27));
  EXPECT_TRUE(PlaySound(0));
  StopSound(28);  // nothing to stop; must not reach the mixer's channel 28
  StopSound(0);
  EXPECT_FALSE(GetSoundMixer()->IsPlaying(0));
}

TEST_F(SoundModule, AFailedLoadLeavesItsIndexToTheNextFile) {
  ScopedTempDir dir;
  ASSERT_EQ(LoadSound(WriteBlip("first.wav", 100).c_str(), false), 1);
  EXPECT_EQ(LoadSound("sounds/missing.wav", false), -1);
  EXPECT_STREQ(GetSoundError(), "FMOD error! Failed to load sounds/missing.wav\n");
  EXPECT_EQ(GetSoundCount(), 1);
  EXPECT_FALSE(PlaySound(1));

  ASSERT_EQ(LoadSound(WriteBlip("second.wav", 333).c_str(), false), 1);
  EXPECT_EQ(GetSoundCount(), 2);
  ASSERT_NE(GetSoundMixer()->GetSample(1), nullptr);
  EXPECT_EQ(GetSoundMixer()->GetSample(1)->frameCount, 333);
  EXPECT_TRUE(PlaySound(1));
}

TEST_F(SoundModule, VolumeIsAGainKeptForTheSound) {
  ScopedTempDir dir;
  ASSERT_EQ(LoadSound(WriteBlip("blip.wav", 100).c_str(), false), 1);
  SetSoundVolume(0, 2.0f);
  PlaySound(0);
  PlaySound(0);
  EXPECT_FLOAT_EQ(GetSoundMixer()->GetVolume(0), 2.0f);
  SetSoundVolume(0, 0.5f);
  EXPECT_FLOAT_EQ(GetSoundMixer()->GetVolume(0), 0.5f);
}

TEST_F(SoundModule, LoopPointsReportWhatTheyCannotSet) {
  ScopedTempDir dir;
  ASSERT_EQ(LoadSound(WriteBlip("loop.wav", 1000).c_str(), true), 1);
  EXPECT_TRUE(SetSoundLoopPoints(0, 100, 0));
  EXPECT_EQ(GetSoundMixer()->GetSample(0)->loopEnd, 1000);
  EXPECT_FALSE(SetSoundLoopPoints(0, 1000, 0));
  EXPECT_NE(std::string(GetSoundError()).find("SetSoundLoopPoints"), std::string::npos);
  EXPECT_FALSE(SetSoundLoopPoints(1, 0, 0));
  EXPECT_STREQ(GetSoundError(), "SetSoundLoopPoints: no sound 1 (1 loaded)");
}

TEST(SoundWithoutDevice, MissingAudioDeviceIsAnErrorAndSoundsStillLoad) {
  ScopedTempDir dir;
  const char* previous = std::getenv("SDL_AUDIODRIVER");
  const std::string saved = previous != nullptr ? previous : "";
  setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
  const bool started = SoundInit();
  setenv("SDL_AUDIODRIVER", saved.c_str(), 1);

  EXPECT_FALSE(started);
  EXPECT_NE(std::string(GetSoundError()).find("SoundInit"), std::string::npos) << GetSoundError();
  ASSERT_TRUE(WriteWav("blip.wav", MakePcm(22050, 1, 100, [](int) { return 1000; })));
  EXPECT_EQ(LoadSound("blip.wav", false), 1);
  EXPECT_TRUE(PlaySound(0));
  SoundShutdown();
  EXPECT_EQ(GetSoundMixer(), nullptr);
  EXPECT_EQ(LoadSound("blip.wav", false), -1);
}

}  // namespace
