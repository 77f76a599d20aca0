#include <SDL/SDL.h>

#include "input.h"

namespace Orvix {

bool InputSDL::Update() {
  m_keyState = SDL_GetKeyState(nullptr);
  const Uint8 buttons = SDL_GetMouseState(&m_mouse.x, &m_mouse.y);
  m_mouse.left = (buttons & 1) != 0;
  m_mouse.middle = (buttons & 2) != 0;
  m_mouse.right = (buttons & 4) != 0;
  return true;
}

// SDL's table covers the key symbols below SDLK_LAST; anything beyond is not a
// key and reads as released.
bool InputSDL::GetKeyState(unsigned key) {
  if (m_keyState == nullptr || m_disabled || key >= SDLK_LAST) return false;
  return m_keyState[key] != 0;
}

}  // namespace Orvix
