// Keyboard and mouse input: snapshots of SDL's state taken once per frame.
#pragma once

#include "orvixapi.h"

namespace Orvix {

struct MouseState {
  int x;
  int y;
  bool left;
  bool middle;
  bool right;
};

class ORVIX_API IInputHandler {
 public:
  virtual ~IInputHandler() = default;
  virtual bool Update() = 0;
  virtual bool GetKeyState(unsigned key) = 0;
  virtual bool GetJoyState(unsigned, unsigned) = 0;
  virtual bool OnKeyDown(int, void*) = 0;
  virtual void DisableInput(bool disabled) { m_disabled = disabled; }
  virtual MouseState GetMouseState() { return m_mouse; }
  virtual unsigned char* GetEntireKeyState() { return m_keyState; }

 protected:
  bool m_disabled = false;
  MouseState m_mouse = {};
  unsigned char* m_keyState = nullptr;  // SDL's array, owned by SDL; null until the first Update
};

class ORVIX_API InputSDL : public IInputHandler {
 public:
  bool Update() override;
  bool GetKeyState(unsigned key) override;
  bool GetJoyState(unsigned, unsigned) override { return false; }
  bool OnKeyDown(int, void*) override { return true; }

  // Sets the three buttons from SDL's button mask (bit 0 left, bit 1 middle,
  // bit 2 right).
  static void ReadButtonMask(unsigned mask, MouseState* mouse);
};

}  // namespace Orvix
