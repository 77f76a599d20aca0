#include "logging.h"

#include <cstdarg>
#include <cstring>

#include "memtrack.h"
#include "orvix.h"

namespace Orvix {

template class CSingleton<COrvixLogger>;

COrvixLogger::~COrvixLogger() {
  if (m_fileOpen) {
    std::fputs("\n-- logfile closed --\n", m_file);
    std::fclose(m_file);
    m_fileOpen = false;
  }
  CloseDebugWindow();
  OX_FREE(m_buffer);
  m_buffer = nullptr;
}

void COrvixLogger::Initialize(const char* path, int bufferSize) {
  if (m_initialized) return;
  m_initialized = true;
  if (bufferSize > 0) {
    m_buffer = static_cast<char*>(OX_CALLOC(static_cast<size_t>(bufferSize), 1));
    m_bufferSize = m_buffer != nullptr ? static_cast<size_t>(bufferSize) : 0;
  }
  m_bufferUsed = 0;

  std::snprintf(m_path, sizeof m_path, "%s", path);
  m_file = std::fopen(m_path, "wt");
  if (m_file == nullptr) {
    m_fileOpen = false;
    MessageBoxA(nullptr, "Failed to open logfile", "Error", MB_ICONINFORMATION);
    return;
  }
  m_fileOpen = true;
  const char* appName = g_orvix ? g_orvix->GetLaunchContext().appName : "";
  Log("%s (build %d)\n\r", appName, kOrvixBuild);
}

// The buffer keeps the newest text: once full, the oldest half is dropped so
// that the window (which shows the end of the log) stays current without a
// move on every message. The file keeps everything.
void COrvixLogger::AppendToBuffer(const char* text, size_t length) {
  if (m_buffer == nullptr || m_bufferSize < 2) return;
  const size_t capacity = m_bufferSize - 1;
  if (length >= capacity) {
    std::memcpy(m_buffer, text + (length - capacity), capacity);
    m_bufferUsed = capacity;
    m_buffer[m_bufferUsed] = '\0';
    return;
  }
  if (m_bufferUsed + length > capacity) {
    size_t drop = m_bufferUsed - m_bufferUsed / 2;
    if (m_bufferUsed - drop + length > capacity) drop = m_bufferUsed + length - capacity;
    std::memmove(m_buffer, m_buffer + drop, m_bufferUsed - drop);
    m_bufferUsed -= drop;
  }
  std::memcpy(m_buffer + m_bufferUsed, text, length);
  m_bufferUsed += length;
  m_buffer[m_bufferUsed] = '\0';
}

bool COrvixLogger::Log(const char* format, ...) {
  if (!m_initialized) return true;

  va_list args;
  va_start(args, format);
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  // Room for the line break the buffer gets, so that message and break go
  // in as one piece and a full buffer never splits them.
  const size_t lineLength = static_cast<size_t>(length) + 2;
  char* message = length >= 0 ? static_cast<char*>(OX_MALLOC(lineLength + 1)) : nullptr;
  if (message == nullptr) {
    va_end(args);
    return false;
  }
  std::vsnprintf(message, static_cast<size_t>(length) + 1, format, args);
  va_end(args);

  std::memcpy(message + length, "\r\n", 3);
  AppendToBuffer(message, lineLength);
  message[length] = '\0';
  if (m_fileOpen) {
    std::fprintf(m_file, "%s\n", message);
    std::fflush(m_file);
  }
  if (m_debugDialog != nullptr) m_debugDialog->Update();
  OX_FREE(message);
  return true;
}

bool COrvixLogger::OpenDebugWindow(HWND parent) {
  if (m_debugDialog != nullptr && !m_debugDialog->HasWindow()) CloseDebugWindow();
  if (m_debugDialog == nullptr) {
    m_debugDialog = OX_NEW COrvixFltkDebugDialog(parent, m_buffer, &m_bufferUsed);
    m_debugDialog->Update();
  }
  return m_debugDialog->HasWindow();
}

void COrvixLogger::CloseDebugWindow() {
  OX_DELETE m_debugDialog;
  m_debugDialog = nullptr;
}

}  // namespace Orvix
