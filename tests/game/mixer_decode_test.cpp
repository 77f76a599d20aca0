// Files of every kind the game uses decode to the frames they hold, converted
// to the output's format.
#include <gtest/gtest.h>

#include <cmath>

#include "game/mixer.h"
#include "sound_fixtures.h"
#include "tests/common/temp_dir.h"

namespace {

// A 440 Hz tone at half scale.
Pcm16 Tone(int rate, int channels, int frames) {
  return MakePcm(rate, channels, frames, [rate](int i) {
    return static_cast<int16_t>(16000 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate));
  });
}

TEST(MixerDecoding, FilesDecodeToTheExpectedNumberOfFrames) {
  ScopedTempDir dir;
  struct Case {
    const char* name;
    int rate, channels, frames;
    bool mp3;
    int expectedFrames;  // at the mixer's 22,050 Hz
  } cases[] = {
      {"mono.wav", 22050, 1, 12345, false, 12345},
      {"stereo.wav", 22050, 2, 12345, false, 12345},
      {"half_rate.wav", 11025, 1, 5000, false, 10000},
      {"double_rate.wav", 44100, 2, 20000, false, 10000},
      // Gapless decoding drops the encoder's delay and padding exactly.
      {"mono.mp3", 22050, 1, 30001, true, 30001},
      {"stereo.mp3", 22050, 2, 22050, true, 22050},
      {"double_rate.mp3", 44100, 2, 44100, true, 22050},
  };
  MixerFormat format;  // stereo 22,050 Hz, as the game asks of the device
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Pcm16 pcm = Tone(c.rate, c.channels, c.frames);
    ASSERT_TRUE(c.mp3 ? WriteMp3(c.name, pcm, 64) : WriteWav(c.name, pcm));
    CMixer mixer(format);
    ASSERT_TRUE(mixer.LoadSample(0, c.name, false)) << mixer.GetError();
    const MixerSample* sample = mixer.GetSample(0);
    ASSERT_NE(sample, nullptr);
    EXPECT_NEAR(sample->frameCount, c.expectedFrames, c.rate == format.rate ? 0 : 2);
    EXPECT_EQ(sample->sourceRate, c.rate);
    // The tone survives: its level is near what was written.
    int peak = 0;
    for (int i = 0; i < sample->frameCount * format.channels; ++i)
      peak = std::max(peak, std::abs(static_cast<int>(sample->data[i])));
    EXPECT_NEAR(peak, 16000, 1600);
  }
}

// A device may insist on its own rate; every sound is then resampled to it.
TEST(MixerDecoding, SoundsFollowTheOutputRate) {
  ScopedTempDir dir;
  ASSERT_TRUE(WriteWav("effect.wav", Tone(22050, 1, 22050)));
  ASSERT_TRUE(WriteMp3("music.mp3", Tone(22050, 2, 22050), 64));
  MixerFormat deviceFormat;
  deviceFormat.rate = 48000;
  CMixer mixer(deviceFormat);
  ASSERT_TRUE(mixer.LoadSample(0, "effect.wav", false)) << mixer.GetError();
  ASSERT_TRUE(mixer.LoadSample(1, "music.mp3", true)) << mixer.GetError();
  EXPECT_NEAR(mixer.GetSample(0)->frameCount, 48000, 48);
  EXPECT_NEAR(mixer.GetSample(1)->frameCount, 48000, 48);
  ASSERT_TRUE(mixer.SetLoopPoints(1, 7000, 0));
  EXPECT_EQ(mixer.GetSample(1)->loopStart, 7000 * 48000 / 22050);
}

TEST(MixerDecoding, LoopPointsCountFramesOfTheFile) {
  ScopedTempDir dir;
  ASSERT_TRUE(WriteWav("half_rate.wav", Tone(11025, 1, 4000)));
  CMixer mixer(MixerFormat{});
  ASSERT_TRUE(mixer.LoadSample(0, "half_rate.wav", true));
  ASSERT_TRUE(mixer.SetLoopPoints(0, 1000, 3000));
  EXPECT_EQ(mixer.GetSample(0)->loopStart, 2000);
  EXPECT_EQ(mixer.GetSample(0)->loopEnd, 6000);
}

}  // namespace
