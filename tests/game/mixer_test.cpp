// The mixer rendered offline, without an audio device.
#include "game/mixer.h"

#include <gtest/gtest.h>

#include "sound_fixtures.h"
#include "tests/common/temp_dir.h"

namespace {

constexpr int kRate = 22050;

MixerFormat Mono() {
  MixerFormat format;
  format.rate = kRate;
  format.channels = 1;
  return format;
}

// Two short bursts, at frame 0 and at frame 1000 of a 2000-frame sound.
std::string WriteTwoBursts(const std::string& name) {
  return WriteWavFixture(
      name, MakePcm(kRate, 1, 2000, [](int i) -> int16_t { return (i % 1000) < 40 ? 20000 : 0; }));
}

TEST(Mixer, PlayingASoundAgainRestartsItInsteadOfAddingACopy) {
  ScopedTempDir dir;
  CMixer mixer(Mono());
  ASSERT_TRUE(mixer.LoadSample(0, WriteTwoBursts("bursts.wav").c_str(), false)) << mixer.GetError();

  ASSERT_EQ(mixer.Play(0, 0), 0);
  std::vector<int16_t> signal = RenderMono(mixer, 500);
  ASSERT_EQ(mixer.Play(0, 0), 0);
  std::vector<int16_t> rest = RenderMono(mixer, 3000);
  signal.insert(signal.end(), rest.begin(), rest.end());

  // A copy would have added the first play's second burst at 1000.
  EXPECT_EQ(FindOnsets(signal, 1000, 100), (std::vector<int>{0, 500, 1500}));
  EXPECT_FALSE(mixer.IsPlaying(0));
}

TEST(Mixer, DifferentSoundsPlayTogether) {
  ScopedTempDir dir;
  CMixer mixer(Mono());
  ASSERT_TRUE(mixer.LoadSample(0, WriteTwoBursts("a.wav").c_str(), false));
  ASSERT_TRUE(mixer.LoadSample(1, WriteTwoBursts("b.wav").c_str(), false));

  mixer.Play(0, 0);
  std::vector<int16_t> signal = RenderMono(mixer, 250);
  mixer.Play(1, 1);
  std::vector<int16_t> rest = RenderMono(mixer, 2500);
  signal.insert(signal.end(), rest.begin(), rest.end());

  EXPECT_EQ(FindOnsets(signal, 1000, 100), (std::vector<int>{0, 250, 1000, 1250}));
}

TEST(Mixer, LoopingSoundRepeatsBetweenItsLoopPoints) {
  ScopedTempDir dir;
  // Frame i holds 2 * (i + 1): at the unity gain the mix halves it, so every
  // output value names the frame it came from.
  const std::string path = WriteWavFixture(
      "ramp.wav", MakePcm(kRate, 1, 1000, [](int i) { return static_cast<int16_t>(2 * (i + 1)); }));
  struct Case {
    int start, end, expectedStart, expectedEnd;
  } cases[] = {
      {200, 600, 200, 600},  {200, 0, 200, 1000},  // an end of 0 loops to the end
      {200, 100, 200, 1000},                       // so does an end not above the start
      {0, 0, 0, 1000},       {900, 5000, 900, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "loop " << c.start << " to " << c.end);
    CMixer mixer(Mono());
    ASSERT_TRUE(mixer.LoadSample(3, path.c_str(), true));
    ASSERT_TRUE(mixer.SetLoopPoints(3, c.start, c.end)) << mixer.GetError();
    mixer.Play(3, 3);
    std::vector<int16_t> signal = RenderMono(mixer, 3000);
    for (int n = 0; n < 3000; ++n) {
      const int length = c.expectedEnd - c.expectedStart;
      const int frame = n < c.expectedEnd ? n : c.expectedStart + (n - c.expectedEnd) % length;
      if (signal[n] != frame + 1) {
        ADD_FAILURE() << "output frame " << n << " is " << signal[n] << ", expected frame " << frame;
        break;
      }
    }
    EXPECT_TRUE(mixer.IsPlaying(3));
  }
}

TEST(Mixer, SoundWithoutLoopEndsAndFallsSilent) {
  ScopedTempDir dir;
  CMixer mixer(Mono());
  ASSERT_TRUE(mixer.LoadSample(
      0, WriteWavFixture("s.wav", MakePcm(kRate, 1, 300, [](int) { return 6000; })).c_str(), false));
  mixer.Play(0, 0);
  std::vector<int16_t> signal = RenderMono(mixer, 600);
  EXPECT_EQ(signal[299], 3000);
  EXPECT_EQ(signal[300], 0);
  EXPECT_EQ(signal[599], 0);
  EXPECT_FALSE(mixer.IsPlaying(0));
}

// A full-scale square wave: +32767 and -32767 in alternating runs of 50.
std::string WriteFullScaleSquare(const std::string& name) {
  return WriteWavFixture(
      name, MakePcm(kRate, 1, 2000, [](int i) -> int16_t { return (i / 50) % 2 == 0 ? 32767 : -32767; }));
}

TEST(Mixer, GainScalesTheLevelWithoutWrapAround) {
  ScopedTempDir dir;
  const std::string path = WriteFullScaleSquare("square.wav");
  struct Case {
    float gain;
    int expectedPeak;
  } cases[] = {{0.5f, 8192}, {1.0f, 16383}, {2.0f, 32767}, {0.0f, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "gain " << c.gain);
    CMixer mixer(Mono());
    ASSERT_TRUE(mixer.LoadSample(0, path.c_str(), false));
    mixer.SetVolume(0, c.gain);
    mixer.Play(0, 0);
    std::vector<int16_t> signal = RenderMono(mixer, 2000);
    EXPECT_NEAR(PeakLevel(signal), c.expectedPeak, 1);
    // The output keeps the sign of the sound everywhere.
    for (int n = 0; n < 2000 && c.gain > 0.0f; ++n)
      ASSERT_EQ(signal[n] > 0, (n / 50) % 2 == 0) << "at frame " << n;
  }
}

TEST(Mixer, ManyLoudVoicesSaturateInsteadOfWrapping) {
  ScopedTempDir dir;
  CMixer mixer(Mono());
  const std::string path = WriteFullScaleSquare("square.wav");
  for (int channel = 0; channel < CMixer::kChannelCount; ++channel) {
    ASSERT_TRUE(mixer.LoadSample(channel, path.c_str(), false));
    mixer.SetVolume(channel, CMixer::kMaxGain);
    ASSERT_EQ(mixer.Play(channel, channel), channel);
  }
  std::vector<int16_t> signal = RenderMono(mixer, 2000);
  for (int n = 0; n < 2000; ++n)
    ASSERT_EQ(signal[n], (n / 50) % 2 == 0 ? INT16_MAX : INT16_MIN) << "at frame " << n;
}

TEST(Mixer, ChannelKeepsItsVolumeAcrossRestarts) {
  ScopedTempDir dir;
  CMixer mixer(Mono());
  ASSERT_TRUE(mixer.LoadSample(5, WriteFullScaleSquare("square.wav").c_str(), false));
  mixer.SetVolume(5, 2.0f);
  mixer.Play(5, 5);
  RenderMono(mixer, 100);
  mixer.Play(5, 5);
  EXPECT_EQ(PeakLevel(RenderMono(mixer, 100)), 32767);
  EXPECT_FLOAT_EQ(mixer.GetVolume(5), 2.0f);
}

TEST(Mixer, StopSilencesOnlyItsChannel) {
  ScopedTempDir dir;
  CMixer mixer(Mono());
  const std::string path = WriteFullScaleSquare("square.wav");
  ASSERT_TRUE(mixer.LoadSample(0, path.c_str(), false));
  ASSERT_TRUE(mixer.LoadSample(1, path.c_str(), false));
  mixer.Play(0, 0);
  mixer.Play(1, 1);
  mixer.Stop(0);
  EXPECT_FALSE(mixer.IsPlaying(0));
  EXPECT_TRUE(mixer.IsPlaying(1));
  EXPECT_NEAR(PeakLevel(RenderMono(mixer, 100)), 16383, 1);
}

TEST(Mixer, RefusesWhatItCannotDo) {
  ScopedTempDir dir;
  CMixer mixer(Mono());
  WriteFileText("notes.txt", "this is neither a WAV nor an MP3 file\n");
  WriteFileText("short.wav", std::string("RIFF\x10\0\0\0WAVEfmt ", 16));

  EXPECT_FALSE(mixer.LoadSample(0, "missing.wav", false));
  EXPECT_NE(std::string(mixer.GetError()).find("missing.wav"), std::string::npos) << mixer.GetError();
  EXPECT_FALSE(mixer.LoadSample(0, "notes.txt", false));
  EXPECT_FALSE(mixer.LoadSample(0, "short.wav", false));
  EXPECT_EQ(mixer.GetSample(0), nullptr);
  EXPECT_FALSE(mixer.LoadSample(CMixer::kSlotCount, "missing.wav", false));
  EXPECT_FALSE(mixer.LoadSample(-1, "missing.wav", false));

  EXPECT_EQ(mixer.Play(0, 0), -1);  // empty slot
  EXPECT_EQ(mixer.Play(CMixer::kChannelCount, 0), -1);
  EXPECT_FALSE(mixer.SetLoopPoints(0, 0, 0));

  ASSERT_TRUE(mixer.LoadSample(0, WriteFullScaleSquare("square.wav").c_str(), false));
  EXPECT_FALSE(mixer.SetLoopPoints(0, 2000, 0));  // the start lies past the last frame
  EXPECT_FALSE(mixer.SetLoopPoints(0, -1, 0));
}

TEST(Mixer, ReplacingAPlayingSampleSilencesItsChannel) {
  ScopedTempDir dir;
  CMixer mixer(Mono());
  const std::string path = WriteFullScaleSquare("square.wav");
  ASSERT_TRUE(mixer.LoadSample(0, path.c_str(), false));
  mixer.Play(0, 0);
  ASSERT_TRUE(mixer.LoadSample(0, path.c_str(), false));
  EXPECT_FALSE(mixer.IsPlaying(0));
  mixer.Play(0, 0);
  mixer.FreeSample(0);
  EXPECT_FALSE(mixer.IsPlaying(0));
  EXPECT_EQ(PeakLevel(RenderMono(mixer, 100)), 0);
}

}  // namespace
