#include <SDL/SDL.h>

#include "input.h"

namespace Orvix {

bool InputSDL::Update() {
  m_keyState = SDL_GetKeyState(nullptr);
  ReadButtonMask(SDL_GetMouseState(&m_mouse.x, &m_mouse.y), &m_mouse);
  return true;
}

void InputSDL::ReadButtonMask(unsigned mask, MouseState* mouse) {
  mouse->left = (mask & SDL_BUTTON(SDL_BUTTON_LEFT)) != 0;
  mouse->middle = (mask & SDL_BUTTON(SDL_BUTTON_MIDDLE)) != 0;
  mouse->right = (mask & SDL_BUTTON(SDL_BUTTON_RIGHT)) != 0;
}

// SDL's table covers the key symbols below SDLK_LAST; anything beyond is not a
// key and reads as released.
bool InputSDL::GetKeyState(unsigned key) {
  if (m_keyState == nullptr || m_disabled || key >= SDLK_LAST) return false;
  return m_keyState[key] != 0;
}

}  // namespace Orvix
