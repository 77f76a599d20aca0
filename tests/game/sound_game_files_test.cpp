// The game's own 28 sounds, built into the run folder, loaded the way the
// game's start-up loads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/mixer.h"
#include "game/sound.h"
#include "game/soundtable.h"

namespace {

constexpr int kOverworld = kMusicOverworld;
constexpr int kDungeon = kMusicDungeon;

TEST(GameSounds, TableNamesTheFilesTheGamePlaysByNumber) {
  const struct {
    int index;
    const char* file;
  } spotChecks[] = {{0, "sounds/TEV_Arrow.wav"},      {9, "sounds/TEV_Get_Dralm.wav"},
                    {10, "sounds/TEV_Hit.wav"},       {11, "sounds/TEV_Hurt.wav"},
                    {14, "sounds/TEV_LowHealth.wav"}, {19, "sounds/TEV_Sword.wav"},
                    {22, "sounds/TEV_Text.wav"},      {25, "sounds/TEV_Fire.wav"},
                    {26, "sounds/Overworld.mp3"},     {27, "sounds/dungeon1.mp3"}};
  for (const auto& check : spotChecks) EXPECT_STREQ(kGameSoundFiles[check.index], check.file);
  EXPECT_EQ(kGameSoundCount, 28);
  EXPECT_TRUE(GameSoundLoops(26) && GameSoundLoops(27) && !GameSoundLoops(25));
}

TEST(GameSounds, AllLoadInTableOrderWithTheMusicLooping) {
  ASSERT_TRUE(SoundInit()) << GetSoundError();
  for (int index = 0; index < kGameSoundCount; ++index)
    EXPECT_EQ(LoadSound(kGameSoundFiles[index], GameSoundLoops(index)), 1)
        << kGameSoundFiles[index] << ": " << GetSoundError();
  ASSERT_EQ(GetSoundCount(), 28);
  EXPECT_TRUE(SetSoundLoopPoints(kOverworld, 7000, 0)) << GetSoundError();
  EXPECT_TRUE(PlaySound(kOverworld));
  const float volumes[][2] = {{26, 0.8f}, {0, 1.5f},   {22, 0.5f}, {19, 1.5f},
                              {11, 2.0f}, {10, 0.75f}, {14, 2.0f}};
  for (const auto& volume : volumes) SetSoundVolume(static_cast<int>(volume[0]), volume[1]);
  EXPECT_STREQ(GetSoundError(), "");

  const CMixer& mixer = *GetSoundMixer();
  const double rate = mixer.Format().rate;
  for (int index = 0; index < kOverworld; ++index) {
    const MixerSample& effect = *mixer.GetSample(index);
    EXPECT_FALSE(effect.looping) << kGameSoundFiles[index];
    EXPECT_GT(effect.frameCount / rate, 0.02) << kGameSoundFiles[index];
    EXPECT_LT(effect.frameCount / rate, 3.5) << kGameSoundFiles[index];
  }
  for (int index : {kOverworld, kDungeon}) {
    const MixerSample& music = *mixer.GetSample(index);
    EXPECT_TRUE(music.looping) << kGameSoundFiles[index];
    EXPECT_EQ(music.loopEnd, music.frameCount) << kGameSoundFiles[index];
    EXPECT_GE(music.frameCount / rate, 40.0) << kGameSoundFiles[index];
    EXPECT_LE(music.frameCount / rate, 120.0) << kGameSoundFiles[index];
  }
  EXPECT_EQ(mixer.GetSample(kOverworld)->loopStart, 7000);
  EXPECT_EQ(mixer.GetSample(kDungeon)->loopStart, 0);
  EXPECT_TRUE(mixer.IsPlaying(kOverworld));
  EXPECT_FLOAT_EQ(mixer.GetVolume(11), 2.0f);
  SoundShutdown();
}

// Where the music wraps from its loop end back to its loop start, the wave
// goes on as smoothly as anywhere inside it: no click.
TEST(GameSounds, MusicLoopsWithoutAJump) {
  for (int index : {kOverworld, kDungeon}) {
    SCOPED_TRACE(kGameSoundFiles[index]);
    MixerFormat format;
    format.channels = 1;
    CMixer mixer(format);
    ASSERT_TRUE(mixer.LoadSample(0, kGameSoundFiles[index], true)) << mixer.GetError();
    if (index == kOverworld) {
      ASSERT_TRUE(mixer.SetLoopPoints(0, 7000, 0));
    }
    const MixerSample& music = *mixer.GetSample(0);
    std::vector<int> steps;
    for (int i = 1; i < music.frameCount; ++i) steps.push_back(std::abs(music.data[i] - music.data[i - 1]));
    std::sort(steps.begin(), steps.end());
    const int commonStep = steps[steps.size() * 99 / 100];  // 99 of 100 steps inside are smaller
    const int seamStep = std::abs(music.data[music.loopStart] - music.data[music.loopEnd - 1]);
    EXPECT_LT(seamStep, commonStep) << "the wrap jumps by " << seamStep;
  }
}

}  // namespace
