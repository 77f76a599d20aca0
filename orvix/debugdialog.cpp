// The debug window: dialog 101 of the engine, one read-only multi-line edit
// that shows the end of the log.
#include <cstring>

#include "dialog.h"
#include "logging.h"
#include "orvix.h"

namespace Orvix {

namespace {

const DialogControl kDebugControls[] = {
    {COrvixFltkDebugDialog::kTextControlId, ControlKind::Edit, "", 7, 7, 362, 246,
     kStyleMultiline | kStyleReadOnly},
};

const DialogTemplate kDebugTemplate = {"Debug", 376, 260, nullptr, kDebugControls, 1};

// The close box destroys the window; the logger keeps the dialog object and
// its Update reports false from then on.
intptr_t DebugDialogProc(COrvixDialog* dialog, uint32_t message, uintptr_t wParam, intptr_t) {
  switch (message) {
    case WM_INITDIALOG:
      return 1;
    case WM_CLOSE:
      dialog->DestroyWindow();
      return 0;
    case WM_COMMAND:
      if ((wParam & 0xFFFF) == IDOK) {
        dialog->End(0);
        return 1;
      }
      return 0;
    default:
      return 0;
  }
}

}  // namespace

COrvixFltkDebugDialog::COrvixFltkDebugDialog(HWND parent, const char* text, const size_t* length)
    : m_text(text), m_textLength(length) {
  m_dialog = COrvixDialog::Create(&kDebugTemplate, parent, DebugDialogProc, 0);
  if (m_dialog == nullptr) {
    MessageBoxA(nullptr, "The debug window could not be made.", "Error", MB_ICONINFORMATION);
    if (g_orvix != nullptr) g_orvix->Message("Failed to create debug dialog");
    return;
  }
  m_dialog->Show(true);
}

COrvixFltkDebugDialog::~COrvixFltkDebugDialog() { COrvixDialog::Free(m_dialog); }

bool COrvixFltkDebugDialog::HasWindow() const {
  return m_dialog != nullptr && !m_dialog->IsWindowDestroyed();
}

bool COrvixFltkDebugDialog::Update() {
  if (!HasWindow()) return false;
  const char* shown = "";
  if (m_text != nullptr) {
    const size_t length = m_textLength != nullptr ? *m_textLength : std::strlen(m_text);
    shown = length > kShownCharacters ? m_text + (length - kShownCharacters) : m_text;
  }
  m_dialog->SetItemText(kTextControlId, shown);
  m_dialog->ScrollItemToEnd(kTextControlId);
  return true;
}

}  // namespace Orvix
