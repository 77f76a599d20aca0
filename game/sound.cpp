#include "sound.h"

#include <cstdio>
#include <cstring>

#include "mixer.h"
#include "mixerdevice.h"
#include "orvix/logging.h"
#include "orvix/memtrack.h"

namespace {

constexpr int kMixRate = 22050;

int g_soundCount = 0;
char g_soundError[512];
CMixer* g_mixer = nullptr;            // owned
CMixerDeviceSDL* g_device = nullptr;  // owned

bool Loaded(int index) { return g_mixer != nullptr && index >= 0 && index < g_soundCount; }

}  // namespace

bool SoundInit() {
  SoundShutdown();
  std::memset(g_soundError, 0, sizeof g_soundError);

  g_device = OX_NEW CMixerDeviceSDL;
  MixerFormat format;
  format.rate = kMixRate;
  format.channels = 2;
  char reason[256] = {};
  bool deviceOpen = g_device->Open(kMixRate, reason, sizeof reason);
  if (deviceOpen) format = g_device->Format();
  g_mixer = OX_NEW CMixer(format);
  if (!deviceOpen) {
    std::snprintf(g_soundError, sizeof g_soundError, "SoundInit: %s; the game plays without sound", reason);
    return false;
  }
  g_device->Start(g_mixer);
  return true;
}

void SoundShutdown() {
  if (g_device != nullptr) g_device->Close();
  OX_DELETE g_mixer;
  OX_DELETE g_device;
  g_mixer = nullptr;
  g_device = nullptr;
  g_soundCount = 0;
}

int LoadSound(const char* path, bool loop) {
  if (g_mixer != nullptr && g_mixer->LoadSample(g_soundCount, path, loop)) {
    ++g_soundCount;
    return 1;
  }
  Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log(
      "LoadSound: %s", g_mixer != nullptr ? g_mixer->GetError() : "SoundInit has not run");
  std::snprintf(g_soundError, sizeof g_soundError, "FMOD error! Failed to load %s\n", path);
  return -1;
}

bool PlaySound(int index) { return Loaded(index) && g_mixer->Play(index, index) != -1; }

void StopSound(int index) {
  if (Loaded(index)) g_mixer->Stop(index);
}

void SetSoundVolume(int index, float volume) {
  if (g_mixer != nullptr) g_mixer->SetVolume(index, volume);
}

bool SetSoundLoopPoints(int index, int start, int end) {
  if (!Loaded(index)) {
    std::snprintf(g_soundError, sizeof g_soundError, "SetSoundLoopPoints: no sound %d (%d loaded)", index,
                  g_soundCount);
    return false;
  }
  if (g_mixer->SetLoopPoints(index, start, end)) return true;
  std::snprintf(g_soundError, sizeof g_soundError, "SetSoundLoopPoints: %.480s", g_mixer->GetError());
  return false;
}

char* GetSoundError() { return g_soundError; }

int GetSoundCount() { return g_soundCount; }

CMixer* GetSoundMixer() { return g_mixer; }
