// CMixerDeviceSDL: the sound output. Starts SDL's audio subsystem itself
// (sounds are loaded before the renderer starts SDL) and pulls the mix from
// SDL's audio thread.
#pragma once

#include <cstddef>

#include "mixer.h"

class CMixerDeviceSDL final : public IMixerGuard {
 public:
  CMixerDeviceSDL() = default;
  ~CMixerDeviceSDL();
  CMixerDeviceSDL(const CMixerDeviceSDL&) = delete;
  CMixerDeviceSDL& operator=(const CMixerDeviceSDL&) = delete;

  // Opens the output, asking for `rate` and stereo; the format actually
  // granted is in Format(). False with the reason in `error`.
  bool Open(int rate, char* error, size_t errorSize);
  const MixerFormat& Format() const { return m_format; }

  // Feeds the output from `mixer` (borrowed; it must outlive Close) and
  // hands it this device as its guard.
  void Start(CMixer* mixer);
  // Stops the output and leaves SDL's audio subsystem; safe to repeat.
  void Close();

  void Lock() override;
  void Unlock() override;

 private:
  static void Fill(void* device, unsigned char* stream, int bytes);

  MixerFormat m_format;
  CMixer* m_mixer = nullptr;  // borrowed
  bool m_open = false;
};
