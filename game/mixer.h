// CMixer: the game's software mixer. Numbered sample slots hold sounds
// converted to the output format; numbered channels play them. A channel
// plays one sample at a time, so starting a sample on a busy channel
// restarts it there; different channels sound together.
//
// The mixer owns no output. Whoever pulls the mix from another thread (the
// SDL audio device) hands in a guard that is held around every change of the
// playing state; without one the mixer can be rendered offline by hand.
#pragma once

#include <cstdint>

#include "mixersample.h"

class IMixerGuard {
 public:
  virtual void Lock() = 0;
  virtual void Unlock() = 0;

 protected:
  ~IMixerGuard() = default;
};

class CMixer {
 public:
  static constexpr int kChannelCount = 64;
  static constexpr int kSlotCount = 64;
  // A channel's volume is a gain relative to the sample's own level. The
  // mix runs 6 dB below full scale, so that a full-scale sample played at
  // twice its level still fits; louder sums saturate instead of wrapping.
  static constexpr float kMaxGain = 4.0f;
  static constexpr float kHeadroom = 0.5f;

  explicit CMixer(const MixerFormat& format);
  ~CMixer();
  CMixer(const CMixer&) = delete;
  CMixer& operator=(const CMixer&) = delete;

  const MixerFormat& Format() const { return m_format; }
  void SetGuard(IMixerGuard* guard) { m_guard = guard; }  // borrowed; null for offline use

  // Loads a WAV or MP3 file into `slot`, replacing (and silencing) what was
  // there; `loop` makes it repeat between its loop points.
  bool LoadSample(int slot, const char* path, bool loop);
  void FreeSample(int slot);
  // Loop points in frames of the file as it was stored. An end of 0, or one
  // not above the start, means the end of the sample.
  bool SetLoopPoints(int slot, int start, int end);
  const MixerSample* GetSample(int slot) const;

  // Starts `slot` from its beginning on `channel`; the channel, or -1.
  int Play(int channel, int slot);
  void Stop(int channel);
  // Kept by the channel across restarts; clamped to 0 .. kMaxGain.
  void SetVolume(int channel, float gain);
  float GetVolume(int channel) const;
  bool IsPlaying(int channel) const;

  // Mixes the next `frames` frames of every playing channel into `out`
  // (frames * channels values). Called by the output with its guard held.
  void Render(int16_t* out, int frames);

  // The reason of the last failed call.
  const char* GetError() const { return m_error; }

 private:
  struct Channel {
    const MixerSample* sample = nullptr;  // borrowed from m_slots while playing
    int position = 0;                     // next frame to mix
    int gain = kUnityGain;                // fixed point, kGainShift bits
  };
  static constexpr int kGainShift = 14;
  static constexpr int kUnityGain = static_cast<int>(kHeadroom * (1 << kGainShift));

  void MixChannel(Channel& channel, int32_t* sum, int frames);
  void StopChannelsPlaying(const MixerSample* sample);
  bool ValidSlot(int slot, const char* operation);
  void Lock() const {
    if (m_guard != nullptr) m_guard->Lock();
  }
  void Unlock() const {
    if (m_guard != nullptr) m_guard->Unlock();
  }

  MixerFormat m_format;
  IMixerGuard* m_guard = nullptr;
  MixerSample m_slots[kSlotCount];
  Channel m_channels[kChannelCount];
  char m_error[512] = {};
};
