#include "mixer.h"

#include <cstdio>

namespace {

// Frames mixed per pass: the sum of one block stays on the stack.
constexpr int kBlockFrames = 256;
constexpr int kMaxOutputChannels = 2;

int16_t Saturate(int32_t value) {
  if (value > INT16_MAX) return INT16_MAX;
  if (value < INT16_MIN) return INT16_MIN;
  return static_cast<int16_t>(value);
}

}  // namespace

CMixer::CMixer(const MixerFormat& format) : m_format(format) {
  if (m_format.channels < 1) m_format.channels = 1;
  if (m_format.channels > kMaxOutputChannels) m_format.channels = kMaxOutputChannels;
}

CMixer::~CMixer() {
  for (MixerSample& sample : m_slots) FreeMixerSample(sample);
}

bool CMixer::ValidSlot(int slot, const char* operation) {
  if (slot >= 0 && slot < kSlotCount) return true;
  std::snprintf(m_error, sizeof m_error, "%s: no sample slot %d (0 to %d)", operation, slot, kSlotCount - 1);
  return false;
}

bool CMixer::LoadSample(int slot, const char* path, bool loop) {
  if (!ValidSlot(slot, "LoadSample")) return false;
  // Decoding runs outside the guard so that the output never waits for it.
  MixerSample loaded;
  if (!LoadMixerSample(path, m_format, loaded, m_error, sizeof m_error)) return false;
  loaded.looping = loop;

  MixerSample replaced;
  Lock();
  StopChannelsPlaying(&m_slots[slot]);
  replaced = m_slots[slot];
  m_slots[slot] = loaded;
  Unlock();
  FreeMixerSample(replaced);
  return true;
}

void CMixer::FreeSample(int slot) {
  if (slot < 0 || slot >= kSlotCount) return;
  MixerSample freed;
  Lock();
  StopChannelsPlaying(&m_slots[slot]);
  freed = m_slots[slot];
  m_slots[slot] = MixerSample{};
  Unlock();
  FreeMixerSample(freed);
}

bool CMixer::SetLoopPoints(int slot, int start, int end) {
  if (!ValidSlot(slot, "SetLoopPoints")) return false;
  MixerSample& sample = m_slots[slot];
  if (sample.data == nullptr) {
    std::snprintf(m_error, sizeof m_error, "SetLoopPoints: slot %d holds no sample", slot);
    return false;
  }
  // Loop points count frames of the file; the sample may have been resampled.
  auto toMixerFrames = [&](int fileFrame) {
    return static_cast<int>(static_cast<int64_t>(fileFrame) * m_format.rate / sample.sourceRate);
  };
  int loopStart = start < 0 ? -1 : toMixerFrames(start);
  if (loopStart < 0 || loopStart >= sample.frameCount) {
    std::snprintf(m_error, sizeof m_error, "SetLoopPoints: start %d lies outside slot %d's %d frames", start,
                  slot, sample.frameCount);
    return false;
  }
  int loopEnd = end <= start ? sample.frameCount : toMixerFrames(end);
  if (loopEnd > sample.frameCount || loopEnd <= loopStart) loopEnd = sample.frameCount;

  Lock();
  sample.loopStart = loopStart;
  sample.loopEnd = loopEnd;
  Unlock();
  return true;
}

const MixerSample* CMixer::GetSample(int slot) const {
  if (slot < 0 || slot >= kSlotCount || m_slots[slot].data == nullptr) return nullptr;
  return &m_slots[slot];
}

int CMixer::Play(int channel, int slot) {
  if (channel < 0 || channel >= kChannelCount) {
    std::snprintf(m_error, sizeof m_error, "Play: no channel %d (0 to %d)", channel, kChannelCount - 1);
    return -1;
  }
  if (!ValidSlot(slot, "Play")) return -1;
  if (m_slots[slot].data == nullptr) {
    std::snprintf(m_error, sizeof m_error, "Play: slot %d holds no sample", slot);
    return -1;
  }
  Lock();
  m_channels[channel].sample = &m_slots[slot];
  m_channels[channel].position = 0;
  Unlock();
  return channel;
}

void CMixer::Stop(int channel) {
  if (channel < 0 || channel >= kChannelCount) return;
  Lock();
  m_channels[channel].sample = nullptr;
  Unlock();
}

void CMixer::SetVolume(int channel, float gain) {
  if (channel < 0 || channel >= kChannelCount) return;
  if (!(gain > 0.0f)) gain = 0.0f;  // also catches NaN
  if (gain > kMaxGain) gain = kMaxGain;
  int fixedGain = static_cast<int>(gain * kUnityGain + 0.5f);
  Lock();
  m_channels[channel].gain = fixedGain;
  Unlock();
}

float CMixer::GetVolume(int channel) const {
  if (channel < 0 || channel >= kChannelCount) return 0.0f;
  Lock();
  const int gain = m_channels[channel].gain;
  Unlock();
  return static_cast<float>(gain) / kUnityGain;
}

bool CMixer::IsPlaying(int channel) const {
  if (channel < 0 || channel >= kChannelCount) return false;
  // The output ends a sound on its own thread.
  Lock();
  const bool playing = m_channels[channel].sample != nullptr;
  Unlock();
  return playing;
}

void CMixer::StopChannelsPlaying(const MixerSample* sample) {
  for (Channel& channel : m_channels)
    if (channel.sample == sample) channel.sample = nullptr;
}

void CMixer::MixChannel(Channel& channel, int32_t* sum, int frames) {
  const MixerSample& sample = *channel.sample;
  const int width = m_format.channels;
  while (frames > 0) {
    const int end = sample.looping ? sample.loopEnd : sample.frameCount;
    if (channel.position >= end) {
      if (!sample.looping) {
        channel.sample = nullptr;
        return;
      }
      channel.position = sample.loopStart;
    }
    const int run = end - channel.position < frames ? end - channel.position : frames;
    const int16_t* source = sample.data + static_cast<size_t>(channel.position) * width;
    const int values = run * width;
    for (int i = 0; i < values; ++i) sum[i] += (source[i] * channel.gain) >> kGainShift;
    sum += values;
    frames -= run;
    channel.position += run;
  }
}

void CMixer::Render(int16_t* out, int frames) {
  const int width = m_format.channels;
  int32_t sum[kBlockFrames * kMaxOutputChannels];
  while (frames > 0) {
    const int block = frames < kBlockFrames ? frames : kBlockFrames;
    const int values = block * width;
    for (int i = 0; i < values; ++i) sum[i] = 0;
    // A silenced channel still advances, so that it keeps its place in time.
    for (Channel& channel : m_channels)
      if (channel.sample != nullptr) MixChannel(channel, sum, block);
    for (int i = 0; i < values; ++i) out[i] = Saturate(sum[i]);
    out += values;
    frames -= block;
  }
}
