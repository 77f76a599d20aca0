// The engine's logger: every diagnostic line of the engine and the game goes
// to "log.txt", to an in-memory copy of the log and to the debug window.
#pragma once

#include <cstddef>
#include <cstdio>

#include "orvixapi.h"
#include "platform.h"

namespace Orvix {

// One instance of T for the whole process, made on first use and destroyed at
// exit. Instance is defined out of line so that a library can instantiate it
// once for everybody (see the explicit instantiation for COrvixLogger below).
template <typename T>
class CSingleton {
 public:
  static T& Instance();
};

template <typename T>
T& CSingleton<T>::Instance() {
  static T instance;
  return instance;
}

class COrvixDialog;

// The debug window: a read-only text showing the newest part of the log,
// closable by the user. Over FLTK where a display exists; headless it keeps
// the same text without showing it.
class ORVIX_API COrvixFltkDebugDialog {
 public:
  // text is the logger's buffer; length, when given, tracks its length so
  // that no update has to measure a long log.
  COrvixFltkDebugDialog(HWND parent, const char* text, const size_t* length = nullptr);
  ~COrvixFltkDebugDialog();
  COrvixFltkDebugDialog(const COrvixFltkDebugDialog&) = delete;
  COrvixFltkDebugDialog& operator=(const COrvixFltkDebugDialog&) = delete;

  // Re-sends the newest characters of the text (at most kShownCharacters) and
  // scrolls to the bottom; false once the window is closed or was never made.
  bool Update();

  // The window exists and the user has not closed it.
  bool HasWindow() const;
  // The dialog behind the window, for tests that act as the user; may be null.
  COrvixDialog* GetDialog() { return m_dialog; }

  static constexpr int kShownCharacters = 20000;
  static constexpr int kTextControlId = 1002;

 private:
  COrvixDialog* m_dialog = nullptr;  // owned; null when it could not be made
  const char* m_text;                // the logger's buffer, borrowed
  const size_t* m_textLength;        // the logger's count of it, borrowed; may be null
};

class ORVIX_API COrvixLogger {
 public:
  // Opens the log file and allocates the log buffer; a second call does nothing.
  void Initialize(const char* path, int bufferSize);

  // One printf-style line to the file, the buffer and the window; false only
  // when the text cannot be formatted into a new buffer. Before Initialize
  // the message is dropped.
  bool Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Opens the debug window if it is not open (again, if the user closed it);
  // true when the window exists afterwards.
  bool OpenDebugWindow(HWND parent);
  void CloseDebugWindow();
  COrvixFltkDebugDialog* GetDebugDialog() { return m_debugDialog; }

  // The in-memory log (the newest text once the buffer is full); null before
  // Initialize.
  const char* GetBuffer() const { return m_buffer; }
  bool IsFileOpen() const { return m_fileOpen; }

 protected:
  friend class CSingleton<COrvixLogger>;
  COrvixLogger() = default;
  ~COrvixLogger();

 private:
  void AppendToBuffer(const char* text, size_t length);

  COrvixFltkDebugDialog* m_debugDialog = nullptr;  // owned
  char m_path[255] = {};
  bool m_fileOpen = false;
  FILE* m_file = nullptr;    // owned
  char* m_buffer = nullptr;  // owned, zero-terminated
  size_t m_bufferSize = 0;
  size_t m_bufferUsed = 0;
  bool m_initialized = false;
};

// The logger's one instance lives in the engine library; the game uses it.
extern template class ORVIX_API CSingleton<COrvixLogger>;

// Build number written in the log header.
constexpr int kOrvixBuild = 1006;

}  // namespace Orvix
