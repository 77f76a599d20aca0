// Pieces of the dialog machinery private to the engine library: the window a
// dialog may have, and the bitmap reader its pictures use.
#pragma once

namespace Orvix {

class COrvixDialog;

// A window that mirrors a dialog's state. The dialog tells it what changed;
// it tells the dialog what the user did through the dialog's User* operations.
class IDialogView {
 public:
  virtual ~IDialogView() = default;
  virtual void SetVisible(bool visible) = 0;
  // Re-reads one control's text, check mark, visibility and enabled state.
  virtual void ControlChanged(int index) = 0;
  virtual void ScrollToEnd(int index) = 0;
};

// The FLTK window of a dialog, or null when it cannot be made.
IDialogView* CreateFltkDialogView(COrvixDialog* dialog);

// Reads a BMP file into packed 8-bit RGB rows, top row first (OX_NEW[]; the
// caller releases it with OX_DELETE[]). Null when the file is missing,
// unreadable or larger than kMaxBitmapSide on a side.
unsigned char* LoadBitmapRgb(const char* path, int* width, int* height);
constexpr int kMaxBitmapSide = 1024;

}  // namespace Orvix
