// The engine's logger: every diagnostic line of the engine and the game goes
// to "log.txt", to an in-memory copy of the log and to the debug window.
#pragma once

#include <cstdio>

#include "orvixapi.h"
#include "platform.h"

namespace Orvix {

// One instance of T for the whole process, made on first use and destroyed at
// exit.
template <typename T>
class CSingleton {
 public:
  static T& Instance() {
    static T instance;
    return instance;
  }
};

class COrvixDebugWindow;

// The debug window: a read-only text showing the newest part of the log.
// Over FLTK where a display exists; without one it has no window and its
// Update reports false.
class ORVIX_API COrvixFltkDebugDialog {
 public:
  COrvixFltkDebugDialog(HWND parent, const char* text);
  ~COrvixFltkDebugDialog();
  COrvixFltkDebugDialog(const COrvixFltkDebugDialog&) = delete;
  COrvixFltkDebugDialog& operator=(const COrvixFltkDebugDialog&) = delete;

  // Re-sends the newest characters of the text (at most kShownCharacters) and
  // scrolls to the bottom; false when there is no window.
  bool Update();

  // The text the window would show now (the tail of the log), for tests.
  const char* ShownText() const;

  bool HasWindow() const { return m_window != nullptr; }

  static constexpr unsigned kShownCharacters = 20000;

 private:
  COrvixDebugWindow* m_window = nullptr;  // owned; null without a display or once closed
  const char* m_text;                     // the logger's buffer, borrowed
};

class ORVIX_API COrvixLogger {
 public:
  // Opens the log file and allocates the log buffer; a second call does nothing.
  void Initialize(const char* path, int bufferSize);

  // One printf-style line to the file, the buffer and the window; false only
  // when the text cannot be formatted into a new buffer.
  bool Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

  bool OpenDebugWindow(HWND parent);
  void CloseDebugWindow();
  COrvixFltkDebugDialog* GetDebugDialog() { return m_debugDialog; }

  // The whole in-memory log (newest text kept once the buffer is full); null
  // before Initialize.
  const char* GetBuffer() const { return m_buffer; }

 protected:
  friend class CSingleton<COrvixLogger>;
  COrvixLogger() = default;
  ~COrvixLogger();

 private:
  void AppendToBuffer(const char* text, size_t length);

  COrvixFltkDebugDialog* m_debugDialog = nullptr;  // owned
  char m_path[255] = {};
  bool m_fileOpen = false;
  FILE* m_file = nullptr;     // owned
  char* m_buffer = nullptr;   // owned, zero-terminated
  size_t m_bufferSize = 0;
  size_t m_bufferUsed = 0;
};

// Build number written in the log header.
constexpr int kOrvixBuild = 1006;

}  // namespace Orvix
