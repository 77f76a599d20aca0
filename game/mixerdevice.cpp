#include "mixerdevice.h"

#include <SDL/SDL.h>

#include <cstdio>
#include <cstring>

namespace {

// About 46 ms at 22,050 Hz: short enough that an effect starts with its
// action, long enough that the mix is never starved on a busy frame.
constexpr Uint16 kDeviceFrames = 1024;

}  // namespace

CMixerDeviceSDL::~CMixerDeviceSDL() { Close(); }

bool CMixerDeviceSDL::Open(int rate, char* error, size_t errorSize) {
  Close();
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
    std::snprintf(error, errorSize, "no audio: %s", SDL_GetError());
    return false;
  }
  SDL_AudioSpec desired;
  std::memset(&desired, 0, sizeof desired);
  desired.freq = rate;
  desired.format = AUDIO_S16SYS;
  desired.channels = 2;
  desired.samples = kDeviceFrames;
  desired.callback = &CMixerDeviceSDL::Fill;
  desired.userdata = this;

  // The device's own rate and channel count are taken when it offers
  // 16-bit samples, so that the mixer converts once, at load time; anything
  // else is left to SDL's conversion of our requested format.
  SDL_AudioSpec obtained;
  bool opened = SDL_OpenAudio(&desired, &obtained) == 0;
  if (opened && (obtained.format != AUDIO_S16SYS || obtained.channels < 1 || obtained.channels > 2)) {
    SDL_CloseAudio();
    opened = SDL_OpenAudio(&desired, nullptr) == 0;
    obtained = desired;
  }
  if (!opened) {
    std::snprintf(error, errorSize, "cannot open the audio device: %s", SDL_GetError());
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  m_format.rate = obtained.freq;
  m_format.channels = obtained.channels;
  m_open = true;
  return true;
}

void CMixerDeviceSDL::Start(CMixer* mixer) {
  if (!m_open) return;
  Lock();
  m_mixer = mixer;
  Unlock();
  mixer->SetGuard(this);
  SDL_PauseAudio(0);
}

void CMixerDeviceSDL::Close() {
  if (!m_open) return;
  // Closing waits for the audio thread, after which the mixer is ours alone.
  SDL_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  if (m_mixer != nullptr) m_mixer->SetGuard(nullptr);
  m_mixer = nullptr;
  m_open = false;
}

void CMixerDeviceSDL::Lock() { SDL_LockAudio(); }

void CMixerDeviceSDL::Unlock() { SDL_UnlockAudio(); }

void CMixerDeviceSDL::Fill(void* userdata, unsigned char* stream, int bytes) {
  CMixerDeviceSDL* device = static_cast<CMixerDeviceSDL*>(userdata);
  const int frameBytes = static_cast<int>(sizeof(int16_t)) * device->m_format.channels;
  if (device->m_mixer == nullptr) {
    std::memset(stream, 0, static_cast<size_t>(bytes));
    return;
  }
  device->m_mixer->Render(reinterpret_cast<int16_t*>(stream), bytes / frameBytes);
}
