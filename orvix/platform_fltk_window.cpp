// Plain top-level windows of fixed size over FLTK (the application frame's
// optional primary window).
#include <FL/Fl.H>
#include <FL/x.H>

#include "memtrack.h"
#include "platform.h"
#include "platform_fltk_widgets.h"
#include "platform_internal.h"

namespace Orvix {

namespace {

class OxFixedWindow : public OxWindow {
 public:
  OxFixedWindow(int width, int height, const char* title, WindowCloseHandler onClose, void* context)
      : OxWindow(width, height, nullptr), m_onClose(onClose), m_context(context) {
    copy_label(title);
    callback(OnCloseBox, this);
  }

 private:
  static void OnCloseBox(Fl_Widget*, void* window) {
    OxFixedWindow* self = static_cast<OxFixedWindow*>(window);
    if (self->m_onClose != nullptr) self->m_onClose(self->m_context);
    self->hide();
  }

  WindowCloseHandler m_onClose;
  void* m_context;
};

// Asks the window manager to keep the window above the others
// (_NET_WM_STATE_ABOVE of the EWMH conventions).
void KeepAbove(Fl_Window* window) {
  Window xid = fl_xid(window);
  if (xid == 0) return;
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = xid;
  event.xclient.message_type = XInternAtom(fl_display, "_NET_WM_STATE", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = 1;  // _NET_WM_STATE_ADD
  event.xclient.data.l[1] = static_cast<long>(XInternAtom(fl_display, "_NET_WM_STATE_ABOVE", False));
  event.xclient.data.l[3] = 1;  // request from a normal application
  XSendEvent(fl_display, DefaultRootWindow(fl_display), False,
             SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(fl_display);
}

}  // namespace

HWND CreateFixedWindow(const char* title, int width, int height, bool topmost, WindowCloseHandler onClose,
                       void* context) {
  if (IsHeadless() || width <= 0 || height <= 0) return nullptr;
  OxFixedWindow* window =
      OX_NEW OxFixedWindow(width, height, title != nullptr ? title : "", onClose, context);
  window->end();
  window->size_range(width, height, width, height);
  window->show();
  if (topmost) KeepAbove(window);
  return window;
}

void DestroyFixedWindow(HWND window) {
  OxFixedWindow* fixed = static_cast<OxFixedWindow*>(window);
  OX_DELETE fixed;
}

}  // namespace Orvix
