// The debug window. Until the window toolkit backend exists there is no
// window; the dialog still knows what it would show.
#include <cstring>

#include "logging.h"

namespace Orvix {

COrvixFltkDebugDialog::COrvixFltkDebugDialog(HWND, const char* text) : m_text(text) {}

COrvixFltkDebugDialog::~COrvixFltkDebugDialog() = default;

const char* COrvixFltkDebugDialog::ShownText() const {
  if (m_text == nullptr) return "";
  const size_t length = std::strlen(m_text);
  return length > kShownCharacters ? m_text + (length - kShownCharacters) : m_text;
}

bool COrvixFltkDebugDialog::Update() { return m_window != nullptr; }

}  // namespace Orvix
