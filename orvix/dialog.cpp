// The state side of dialogs: every control's text, check mark, visibility and
// enabled flag live here, and the window (if any) follows.
#include "dialog.h"

#include <cstring>

#include "dialog_internal.h"
#include "memtrack.h"

namespace Orvix {

namespace {

// Makes room for length characters and a terminating zero; false when the
// text would not fit an int.
bool StoreText(DialogControlState* state, const char* text) {
  const size_t length = text != nullptr ? std::strlen(text) : 0;
  if (length >= static_cast<size_t>(INT32_MAX)) return false;
  if (static_cast<int>(length) >= state->textCapacity) {
    const int capacity = static_cast<int>(length) + 1;
    char* grown = OX_NEW char[static_cast<size_t>(capacity)];
    OX_DELETE[] state->text;
    state->text = grown;
    state->textCapacity = capacity;
  }
  if (length > 0) std::memcpy(state->text, text, length);
  state->text[length] = '\0';
  state->textLength = static_cast<int>(length);
  return true;
}

bool IsButton(ControlKind kind) { return kind == ControlKind::PushButton || kind == ControlKind::CheckBox; }

}  // namespace

COrvixDialog* COrvixDialog::Create(const DialogTemplate* dialogTemplate, HWND, DialogProc procedure,
                                   intptr_t param) {
  if (dialogTemplate == nullptr || procedure == nullptr || dialogTemplate->controlCount < 0 ||
      (dialogTemplate->controlCount > 0 && dialogTemplate->controls == nullptr))
    return nullptr;
  COrvixDialog* dialog = OX_NEW COrvixDialog(dialogTemplate, procedure, param);
  if (!dialog->LoadControls()) {
    Free(dialog);
    return nullptr;
  }
  if (!IsHeadless()) dialog->m_view = CreateFltkDialogView(dialog);
  dialog->SendDialogMessage(WM_INITDIALOG, 0, param);
  return dialog;
}

void COrvixDialog::Free(COrvixDialog* dialog) { OX_DELETE dialog; }

COrvixDialog::COrvixDialog(const DialogTemplate* dialogTemplate, DialogProc procedure, intptr_t param)
    : m_template(dialogTemplate), m_procedure(procedure), m_param(param) {}

COrvixDialog::~COrvixDialog() {
  OX_DELETE m_view;
  if (m_controls != nullptr) {
    for (int i = 0; i < m_template->controlCount; ++i) {
      OX_DELETE[] m_controls[i].text;
      OX_DELETE[] m_controls[i].pixels;
    }
  }
  OX_DELETE[] m_controls;
  OX_DELETE[] m_iconPixels;
}

bool COrvixDialog::LoadControls() {
  const int count = m_template->controlCount;
  m_controls = OX_NEW DialogControlState[static_cast<size_t>(count > 0 ? count : 1)];
  std::memset(m_controls, 0, sizeof(DialogControlState) * static_cast<size_t>(count > 0 ? count : 1));
  for (int i = 0; i < count; ++i) {
    DialogControlState& state = m_controls[i];
    state.control = &m_template->controls[i];
    state.visible = true;
    state.enabled = true;
    if (state.control->kind == ControlKind::Picture) {
      if (state.control->text != nullptr)
        state.pixels = LoadBitmapRgb(state.control->text, &state.imageWidth, &state.imageHeight);
      if (!StoreText(&state, "")) return false;
    } else if (!StoreText(&state, state.control->text)) {
      return false;
    }
  }
  if (m_template->iconFile != nullptr)
    m_iconPixels = LoadBitmapRgb(m_template->iconFile, &m_iconWidth, &m_iconHeight);
  return true;
}

int COrvixDialog::FindControl(int id) const {
  if (id == IDC_STATIC) return -1;
  for (int i = 0; i < m_template->controlCount; ++i)
    if (m_controls[i].control->id == id) return i;
  return -1;
}

const DialogControlState& COrvixDialog::GetControlState(int index) const { return m_controls[index]; }

const unsigned char* COrvixDialog::GetIconPixels(int* width, int* height) const {
  *width = m_iconWidth;
  *height = m_iconHeight;
  return m_iconPixels;
}

void COrvixDialog::ControlChanged(int index) {
  if (m_view != nullptr) m_view->ControlChanged(index);
}

void COrvixDialog::Show(bool visible) {
  if (m_windowDestroyed) return;
  m_visible = visible;
  if (visible) m_ended = false;
  if (m_view != nullptr) m_view->SetVisible(visible);
}

void COrvixDialog::End(intptr_t result) {
  m_result = result;
  Show(false);
  m_ended = true;
}

void COrvixDialog::DestroyWindow() {
  Show(false);
  m_windowDestroyed = true;
}

int COrvixDialog::GetItemText(int id, char* out, int maxCount) const {
  if (out == nullptr || maxCount <= 0) return 0;
  out[0] = '\0';
  const int index = FindControl(id);
  if (index < 0) return 0;
  const DialogControlState& state = m_controls[index];
  const int copied = state.textLength < maxCount - 1 ? state.textLength : maxCount - 1;
  std::memcpy(out, state.text, static_cast<size_t>(copied));
  out[copied] = '\0';
  return copied;
}

bool COrvixDialog::SetItemText(int id, const char* text) {
  const int index = FindControl(id);
  if (index < 0 || !StoreText(&m_controls[index], text)) return false;
  ControlChanged(index);
  return true;
}

bool COrvixDialog::IsButtonChecked(int id) const {
  const int index = FindControl(id);
  return index >= 0 && m_controls[index].checked;
}

bool COrvixDialog::CheckButton(int id, bool checked) {
  const int index = FindControl(id);
  if (index < 0 || m_controls[index].control->kind != ControlKind::CheckBox) return false;
  m_controls[index].checked = checked;
  ControlChanged(index);
  return true;
}

bool COrvixDialog::ShowItem(int id, bool visible) {
  const int index = FindControl(id);
  if (index < 0) return false;
  m_controls[index].visible = visible;
  ControlChanged(index);
  return true;
}

bool COrvixDialog::IsItemVisible(int id) const {
  const int index = FindControl(id);
  return index >= 0 && m_controls[index].visible;
}

bool COrvixDialog::EnableItem(int id, bool enabled) {
  const int index = FindControl(id);
  if (index < 0) return false;
  m_controls[index].enabled = enabled;
  ControlChanged(index);
  return true;
}

bool COrvixDialog::IsItemEnabled(int id) const {
  const int index = FindControl(id);
  return index >= 0 && m_controls[index].enabled;
}

bool COrvixDialog::HasItemImage(int id) const {
  const int index = FindControl(id);
  return index >= 0 && m_controls[index].pixels != nullptr;
}

bool COrvixDialog::ScrollItemToEnd(int id) {
  const int index = FindControl(id);
  if (index < 0) return false;
  if (m_view != nullptr) m_view->ScrollToEnd(index);
  return true;
}

bool COrvixDialog::UserCanReach(int index) const {
  return index >= 0 && m_visible && m_controls[index].visible && m_controls[index].enabled;
}

// The window already shows what was typed, so only the state follows.
void COrvixDialog::UserEditedText(int id, const char* text) {
  const int index = FindControl(id);
  if (!UserCanReach(index) || m_controls[index].control->kind != ControlKind::Edit) return;
  if (m_controls[index].control->style & kStyleReadOnly) return;
  StoreText(&m_controls[index], text);
}

// An automatic check box flips its mark before it reports the click, as
// Win32's BS_AUTOCHECKBOX does.
void COrvixDialog::UserClicked(int id) {
  const int index = FindControl(id);
  if (!UserCanReach(index) || !IsButton(m_controls[index].control->kind)) return;
  if (m_controls[index].control->kind == ControlKind::CheckBox) {
    m_controls[index].checked = !m_controls[index].checked;
    ControlChanged(index);
  }
  SendDialogMessage(WM_COMMAND, static_cast<uintptr_t>(static_cast<uint16_t>(id)), 0);
}

void COrvixDialog::UserPressedCloseBox() {
  if (!m_visible) return;
  SendDialogMessage(WM_CLOSE, 0, 0);
}

intptr_t COrvixDialog::SendDialogMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return m_procedure(this, message, wParam, lParam);
}

}  // namespace Orvix
