// The FLTK window of a dialog: one widget per template control, placed by
// converting dialog units to pixels. It mirrors the dialog's state and hands
// every user action back to the dialog, which calls the dialog procedure.
#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <cstring>

#include "dialog.h"
#include "dialog_internal.h"
#include "memtrack.h"
#include "platform_fltk_widgets.h"
#include "platform_internal.h"

namespace Orvix {

void OxGroupFrame::draw() {
  // The frame line runs through the middle of the caption, which sits on the
  // window's background.
  const int captionHeight = labelsize();
  const int lineY = y() + captionHeight / 2;
  fl_draw_box(FL_ENGRAVED_FRAME, x(), lineY, w(), h() - (lineY - y()), color());
  if (label() == nullptr || label()[0] == '\0') return;
  fl_font(labelfont(), labelsize());
  const int captionWidth = static_cast<int>(fl_width(label())) + 4;
  fl_color(color());
  fl_rectf(x() + 6, y(), captionWidth, captionHeight + 1);
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  fl_draw(label(), x() + 8, y(), captionWidth, captionHeight, FL_ALIGN_LEFT | FL_ALIGN_INSIDE);
}

namespace {

class FltkDialogView : public IDialogView {
 public:
  explicit FltkDialogView(COrvixDialog* dialog) : m_dialog(dialog) {}
  ~FltkDialogView() override;
  FltkDialogView(const FltkDialogView&) = delete;
  FltkDialogView& operator=(const FltkDialogView&) = delete;

  void Build();
  void SetVisible(bool visible) override;
  void ControlChanged(int index) override;
  void ScrollToEnd(int index) override;

 private:
  Fl_Widget* CreateWidget(int index, int x, int y, int width, int height);
  // The identifier of the control a widget shows (FLTK's user data carries
  // the view, so the widget is looked up).
  int ControlIdOf(const Fl_Widget* widget) const;
  void SetMultilineText(int index, const char* text, int length);

  static void OnCloseBox(Fl_Widget*, void* view);
  static void OnButton(Fl_Widget* widget, void* view);
  static void OnEdited(Fl_Widget* widget, void* view);

  COrvixDialog* m_dialog;              // the dialog this window shows; it owns the view
  OxWindow* m_window = nullptr;        // owned; deleting it deletes the widgets
  Fl_Widget** m_widgets = nullptr;     // owned array of the window's widgets, by control
  OxTextBuffer** m_buffers = nullptr;  // owned, for multi-line edits
  OxRgbImage** m_images = nullptr;     // owned, for pictures
  OxRgbImage* m_icon = nullptr;        // owned; the window keeps a copy
  bool m_defaultButtonMade = false;
};

FltkDialogView::~FltkDialogView() {
  OX_DELETE m_window;
  const int count = m_dialog->GetControlCount();
  for (int i = 0; m_buffers != nullptr && i < count; ++i) OX_DELETE m_buffers[i];
  for (int i = 0; m_images != nullptr && i < count; ++i) OX_DELETE m_images[i];
  OX_DELETE[] m_buffers;
  OX_DELETE[] m_images;
  OX_DELETE[] m_widgets;
  OX_DELETE m_icon;
}

void FltkDialogView::Build() {
  const DialogTemplate* dialogTemplate = m_dialog->GetTemplate();
  const int width = DialogUnitsToPixelsX(dialogTemplate->width);
  const int height = DialogUnitsToPixelsY(dialogTemplate->height);
  // Centred on the screen, as DS_CENTER places a dialog.
  m_window =
      OX_NEW OxWindow((Fl::w() - width) / 2, (Fl::h() - height) / 2, width, height, dialogTemplate->caption);
  m_window->callback(OnCloseBox, this);

  const int count = m_dialog->GetControlCount();
  const size_t slots = static_cast<size_t>(count > 0 ? count : 1);
  m_widgets = OX_NEW Fl_Widget* [slots]();
  m_buffers = OX_NEW OxTextBuffer* [slots]();
  m_images = OX_NEW OxRgbImage* [slots]();
  for (int i = 0; i < count; ++i) {
    const DialogControl* control = m_dialog->GetControlState(i).control;
    m_widgets[i] = CreateWidget(i, DialogUnitsToPixelsX(control->x), DialogUnitsToPixelsY(control->y),
                                DialogUnitsToPixelsX(control->width), DialogUnitsToPixelsY(control->height));
    ControlChanged(i);
  }
  m_window->end();

  int iconWidth = 0;
  int iconHeight = 0;
  const unsigned char* iconPixels = m_dialog->GetIconPixels(&iconWidth, &iconHeight);
  if (iconPixels != nullptr) {
    m_icon = OX_NEW OxRgbImage(iconPixels, iconWidth, iconHeight);
    m_window->icon(m_icon);
  }
}

Fl_Widget* FltkDialogView::CreateWidget(int index, int x, int y, int width, int height) {
  const DialogControlState& state = m_dialog->GetControlState(index);
  const DialogControl* control = state.control;
  Fl_Widget* widget = nullptr;
  switch (control->kind) {
    case ControlKind::StaticText: {
      OxBox* box = OX_NEW OxBox(x, y, width, height);
      box->align(FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_TOP);
      widget = box;
      break;
    }
    case ControlKind::GroupBox:
      widget = OX_NEW OxGroupFrame(x, y, width, height);
      break;
    case ControlKind::Picture: {
      OxBox* box = OX_NEW OxBox(x, y, width, height);
      if (state.pixels != nullptr) {
        m_images[index] = OX_NEW OxRgbImage(state.pixels, state.imageWidth, state.imageHeight);
        box->image(m_images[index]);
      }
      widget = box;
      break;
    }
    case ControlKind::Edit:
      if (control->style & kStyleMultiline) {
        OxTextDisplay* display = OX_NEW OxTextDisplay(x, y, width, height);
        m_buffers[index] = OX_NEW OxTextBuffer;
        display->buffer(m_buffers[index]);
        display->textsize(kFltkDialogFontSize);
        display->textfont(FL_COURIER);
        widget = display;
      } else {
        OxInput* input = OX_NEW OxInput(x, y, width, height);
        input->textsize(kFltkDialogFontSize);
        input->readonly((control->style & kStyleReadOnly) != 0);
        input->when(FL_WHEN_CHANGED);
        input->callback(OnEdited, this);
        widget = input;
      }
      break;
    case ControlKind::CheckBox:
      widget = OX_NEW OxCheckButton(x, y, width, height);
      widget->callback(OnButton, this);
      break;
    case ControlKind::PushButton:
      // Enter presses the first default button only; Win32 has one default too.
      if ((control->style & kStyleDefaultButton) && !m_defaultButtonMade) {
        widget = OX_NEW OxReturnButton(x, y, width, height);
        m_defaultButtonMade = true;
      } else {
        widget = OX_NEW OxButton(x, y, width, height);
      }
      widget->callback(OnButton, this);
      break;
  }
  widget->labelsize(kFltkDialogFontSize);
  return widget;
}

void FltkDialogView::SetVisible(bool visible) {
  if (visible)
    m_window->show();
  else
    m_window->hide();
}

// Win32 edit controls end lines with "\r\n"; FLTK would draw the '\r'.
void FltkDialogView::SetMultilineText(int index, const char* text, int length) {
  char* shown = OX_NEW char[static_cast<size_t>(length) + 1];
  int shownLength = 0;
  for (int i = 0; i < length; ++i)
    if (text[i] != '\r') shown[shownLength++] = text[i];
  shown[shownLength] = '\0';
  m_buffers[index]->text(shown);
  OX_DELETE[] shown;
}

void FltkDialogView::ControlChanged(int index) {
  const DialogControlState& state = m_dialog->GetControlState(index);
  Fl_Widget* widget = m_widgets[index];
  switch (state.control->kind) {
    case ControlKind::Edit:
      if (m_buffers[index] != nullptr) {
        SetMultilineText(index, state.text, state.textLength);
      } else {
        OxInput* input = static_cast<OxInput*>(widget);
        // Setting the same text again would move the user's cursor.
        if (std::strcmp(input->value(), state.text) != 0) input->value(state.text);
      }
      break;
    case ControlKind::CheckBox:
      static_cast<OxCheckButton*>(widget)->value(state.checked ? 1 : 0);
      widget->copy_label(state.text);
      break;
    case ControlKind::Picture:
      break;
    default:
      widget->copy_label(state.text);
      break;
  }
  if (state.visible)
    widget->show();
  else
    widget->hide();
  if (state.enabled)
    widget->activate();
  else
    widget->deactivate();
  widget->redraw();
}

void FltkDialogView::ScrollToEnd(int index) {
  if (m_buffers[index] == nullptr) return;
  OxTextDisplay* display = static_cast<OxTextDisplay*>(m_widgets[index]);
  display->insert_position(m_buffers[index]->length());
  display->show_insert_position();
}

int FltkDialogView::ControlIdOf(const Fl_Widget* widget) const {
  for (int i = 0; i < m_dialog->GetControlCount(); ++i)
    if (m_widgets[i] == widget) return m_dialog->GetControlState(i).control->id;
  return IDC_STATIC;
}

void FltkDialogView::OnCloseBox(Fl_Widget*, void* view) {
  static_cast<FltkDialogView*>(view)->m_dialog->UserPressedCloseBox();
}

// FLTK has already flipped a check button; the dialog flips its own state
// when it hears of the click, so the widget is set back first and the state
// change comes back through ControlChanged.
void FltkDialogView::OnButton(Fl_Widget* widget, void* view) {
  FltkDialogView* self = static_cast<FltkDialogView*>(view);
  const int id = self->ControlIdOf(widget);
  if (OxCheckButton* check = dynamic_cast<OxCheckButton*>(widget)) check->value(check->value() ? 0 : 1);
  self->m_dialog->UserClicked(id);
}

void FltkDialogView::OnEdited(Fl_Widget* widget, void* view) {
  FltkDialogView* self = static_cast<FltkDialogView*>(view);
  self->m_dialog->UserEditedText(self->ControlIdOf(widget), static_cast<OxInput*>(widget)->value());
}

}  // namespace

IDialogView* CreateFltkDialogView(COrvixDialog* dialog) {
  if (!FltkOpenDisplay()) return nullptr;
  FltkDialogView* view = OX_NEW FltkDialogView(dialog);
  view->Build();
  return view;
}

}  // namespace Orvix
