// The FLTK message box: a small modal window with an icon, the text and an OK
// button, sized to the text. It runs its own event loop until closed, like
// MessageBox, so other windows (the debug window) stay alive meanwhile.
#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include "memtrack.h"
#include "platform.h"
#include "platform_fltk_widgets.h"
#include "platform_internal.h"

namespace Orvix {

namespace {

constexpr int kMargin = 12;
constexpr int kIconSide = 32;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;
constexpr int kMaxTextWidth = 480;

void OnOk(Fl_Widget*, void* window) { static_cast<OxWindow*>(window)->hide(); }

}  // namespace

void FltkMessageBox(const char* text, const char* caption, int icon) {
  if (text == nullptr) text = "";
  fl_font(FL_HELVETICA, kFltkDialogFontSize + 2);
  int textWidth = kMaxTextWidth;
  int textHeight = 0;
  fl_measure(text, textWidth, textHeight, 0);
  // A label is drawn a few pixels in from its box's edge; without the slack
  // the measured line would wrap.
  textWidth += 8;
  if (textHeight < kIconSide) textHeight = kIconSide;

  const int width = kMargin * 3 + kIconSide + (textWidth > 200 ? textWidth : 200);
  const int height = kMargin * 3 + textHeight + kButtonHeight;
  OxWindow* window = OX_NEW OxWindow((Fl::w() - width) / 2, (Fl::h() - height) / 2, width, height,
                                     caption != nullptr ? caption : "");
  if (icon != MB_OK) {
    OxBox* symbol = OX_NEW OxBox(kMargin, kMargin, kIconSide, kIconSide);
    symbol->box(FL_OVAL_BOX);
    symbol->color(icon == MB_ICONERROR ? FL_RED : FL_BLUE);
    symbol->labelcolor(FL_WHITE);
    symbol->labelfont(FL_HELVETICA_BOLD);
    symbol->labelsize(20);
    symbol->label(icon == MB_ICONERROR ? "!" : "i");
  }
  OxBox* message = OX_NEW OxBox(kMargin * 2 + kIconSide, kMargin, textWidth, textHeight);
  message->labelsize(kFltkDialogFontSize + 2);
  message->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  message->copy_label(text);
  OxReturnButton* ok = OX_NEW OxReturnButton(width - kMargin - kButtonWidth, height - kMargin - kButtonHeight,
                                             kButtonWidth, kButtonHeight);
  ok->label("OK");
  ok->callback(OnOk, window);
  window->end();
  window->set_modal();
  window->show();
  while (window->shown()) Fl::wait();
  OX_DELETE window;
}

}  // namespace Orvix
