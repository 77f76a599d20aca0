// The FLTK widget classes the engine creates. Every widget the library makes
// is of a class derived here, so that its deleting destructor (run by FLTK
// when a window deletes its children) is the library's own and releases the
// memory where it was allocated.
#pragma once

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Display.H>

namespace Orvix {

// Sizes of the dialog font in pixels, near Win32's 8-point dialog font.
constexpr int kFltkDialogFontSize = 12;

class OxWindow : public Fl_Double_Window {
 public:
  OxWindow(int x, int y, int width, int height, const char* title)
      : Fl_Double_Window(x, y, width, height, title) {}
  OxWindow(int width, int height, const char* title) : Fl_Double_Window(width, height, title) {}
};

class OxBox : public Fl_Box {
 public:
  OxBox(int x, int y, int width, int height) : Fl_Box(x, y, width, height) {}
};

// A frame with its caption set into the top line, as a Win32 group box.
class OxGroupFrame : public Fl_Box {
 public:
  OxGroupFrame(int x, int y, int width, int height) : Fl_Box(x, y, width, height) {}

 protected:
  void draw() override;
};

class OxInput : public Fl_Input {
 public:
  OxInput(int x, int y, int width, int height) : Fl_Input(x, y, width, height) {}
};

class OxTextBuffer : public Fl_Text_Buffer {};

class OxTextDisplay : public Fl_Text_Display {
 public:
  OxTextDisplay(int x, int y, int width, int height) : Fl_Text_Display(x, y, width, height) {}
};

class OxCheckButton : public Fl_Check_Button {
 public:
  OxCheckButton(int x, int y, int width, int height) : Fl_Check_Button(x, y, width, height) {}
};

class OxButton : public Fl_Button {
 public:
  OxButton(int x, int y, int width, int height) : Fl_Button(x, y, width, height) {}
};

class OxReturnButton : public Fl_Return_Button {
 public:
  OxReturnButton(int x, int y, int width, int height) : Fl_Return_Button(x, y, width, height) {}
};

// Does not own its pixels: the dialog keeps them.
class OxRgbImage : public Fl_RGB_Image {
 public:
  OxRgbImage(const unsigned char* pixels, int width, int height) : Fl_RGB_Image(pixels, width, height, 3) {}
};

}  // namespace Orvix
