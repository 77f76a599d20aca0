// Dialogs built from templates, the platform layer's counterpart of Win32
// dialog resources. A template lists controls by identifier, kind, text and
// rectangle in dialog units; the dialog keeps every control's state (text,
// check mark, visibility, enabled) itself, and where a display exists an FLTK
// window mirrors that state and reports what the user does. Button presses
// and the close box reach the dialog procedure as WM_COMMAND and WM_CLOSE, so
// a procedure behaves the same on screen and when a test drives it headless.
#pragma once

#include <cstdint>

#include "orvixapi.h"
#include "platform.h"

namespace Orvix {

// The messages a dialog procedure receives, with their Win32 values.
enum DialogMessage : uint32_t {
  WM_CLOSE = 0x0010,       // the close box; wParam and lParam 0
  WM_INITDIALOG = 0x0110,  // once, before Create returns; lParam is the creation parameter
  WM_COMMAND = 0x0111,     // low word of wParam: the control pressed
};

// Identifiers of the usual buttons, and of controls nothing addresses.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDC_STATIC = -1;

enum class ControlKind : uint8_t { StaticText, Edit, CheckBox, GroupBox, Picture, PushButton };

// Style bits of a control; most controls need none.
enum ControlStyle : uint32_t {
  kStyleNone = 0,
  kStyleDefaultButton = 1u << 0,  // a push button that Enter presses
  kStyleMultiline = 1u << 1,      // an edit of several lines with a vertical scroll bar
  kStyleReadOnly = 1u << 2,       // an edit the user cannot change
};

struct DialogControl {
  int id;            // IDC_STATIC for labels and frames
  ControlKind kind;  // what the control is
  // The caption, the initial text, or for a picture the file name of a
  // 24-bit BMP in the working folder (a missing file leaves the picture empty).
  const char* text;
  int x, y, width, height;  // dialog units
  uint32_t style;           // ControlStyle bits
};

// Templates are static data: the dialog borrows the template for its lifetime.
struct DialogTemplate {
  const char* caption;
  int width, height;     // dialog units
  const char* iconFile;  // BMP for the window icon, or null
  const DialogControl* controls;
  int controlCount;
};

// Dialog units in pixels, for the 8-point dialog font the templates assume.
constexpr int DialogUnitsToPixelsX(int units) { return units * 3 / 2; }
constexpr int DialogUnitsToPixelsY(int units) { return units * 13 / 8; }

class COrvixDialog;
class IDialogView;
struct DialogControlState;

// Returns what the message's handler returns (TRUE or FALSE in Win32 terms).
using DialogProc = intptr_t (*)(COrvixDialog* dialog, uint32_t message, uintptr_t wParam, intptr_t lParam);

class ORVIX_API COrvixDialog {
 public:
  // Builds the dialog hidden, with an FLTK window unless headless, and sends
  // WM_INITDIALOG. Null when the template is unusable or memory runs out.
  // The owner is accepted for the Win32 shape and not used.
  static COrvixDialog* Create(const DialogTemplate* dialogTemplate, HWND owner, DialogProc procedure,
                              intptr_t param);
  // Releases a dialog made by Create (its window is destroyed); null is fine.
  static void Free(COrvixDialog* dialog);

  COrvixDialog(const COrvixDialog&) = delete;
  COrvixDialog& operator=(const COrvixDialog&) = delete;

  // ShowWindow for the whole dialog; ignored once the window is destroyed.
  void Show(bool visible);
  bool IsVisible() const { return m_visible; }
  // EndDialog: hides the dialog and remembers the result.
  void End(intptr_t result);
  bool IsEnded() const { return m_ended; }
  intptr_t GetResult() const { return m_result; }
  // DestroyWindow: the window is gone for good; the object stays until Free.
  void DestroyWindow();
  bool IsWindowDestroyed() const { return m_windowDestroyed; }
  intptr_t GetParam() const { return m_param; }
  const DialogTemplate* GetTemplate() const { return m_template; }

  // Operations by control identifier; false for an unknown identifier.
  // GetItemText copies at most maxCount - 1 characters and a terminating zero
  // (GetDlgItemText's rule) and returns the number of characters copied; an
  // unknown identifier leaves an empty text.
  int GetItemText(int id, char* out, int maxCount) const;
  bool SetItemText(int id, const char* text);
  bool IsButtonChecked(int id) const;
  bool CheckButton(int id, bool checked);
  bool ShowItem(int id, bool visible);
  bool IsItemVisible(int id) const;
  bool EnableItem(int id, bool enabled);
  bool IsItemEnabled(int id) const;
  // Whether a picture control holds an image (its file was found and read).
  bool HasItemImage(int id) const;
  // Scrolls a multi-line edit to its last line.
  bool ScrollItemToEnd(int id);

  // What the user does, as the window toolkit reports it (and as tests act
  // it out). Hidden or disabled controls and a hidden dialog ignore the user.
  void UserEditedText(int id, const char* text);  // the edit holds new text
  void UserClicked(int id);                       // a push button or check box
  void UserPressedCloseBox();

  intptr_t SendDialogMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);

  // For the window toolkit backend: the controls in template order.
  int GetControlCount() const { return m_template->controlCount; }
  const DialogControlState& GetControlState(int index) const;
  // The window icon's pixels, or null.
  const unsigned char* GetIconPixels(int* width, int* height) const;

 private:
  COrvixDialog(const DialogTemplate* dialogTemplate, DialogProc procedure, intptr_t param);
  ~COrvixDialog();
  bool LoadControls();
  int FindControl(int id) const;
  bool UserCanReach(int index) const;
  void ControlChanged(int index);

  const DialogTemplate* m_template;  // borrowed, static
  DialogProc m_procedure;
  intptr_t m_param;
  DialogControlState* m_controls = nullptr;  // owned, one per template control
  unsigned char* m_iconPixels = nullptr;     // owned RGB, or null
  int m_iconWidth = 0;
  int m_iconHeight = 0;
  IDialogView* m_view = nullptr;  // owned; null when headless
  bool m_visible = false;
  bool m_ended = false;
  bool m_windowDestroyed = false;
  intptr_t m_result = 0;
};

// The state of one control, kept by the dialog whether or not a window shows it.
struct DialogControlState {
  const DialogControl* control;  // the template's entry, borrowed
  char* text;                    // owned, zero-terminated
  int textLength;
  int textCapacity;  // bytes allocated for text
  bool checked;
  bool visible;
  bool enabled;
  unsigned char* pixels;  // owned RGB for a picture, or null
  int imageWidth;
  int imageHeight;
};

}  // namespace Orvix
