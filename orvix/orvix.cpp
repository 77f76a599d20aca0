#include "orvix.h"

#include <cstdio>

#include "logging.h"

namespace Orvix {

COrvixApp* g_orvix = nullptr;

namespace {
constexpr int kLogBufferBytes = 5242880;
}

COrvixApp::COrvixApp() : m_previousTick(GetTickCount()) { g_orvix = this; }

// After a normal Launch the renderer and the input handler are already gone;
// an application that never launched (or whose Launch stopped early) still
// owns them and must not leak them.
COrvixApp::~COrvixApp() {
  g_orvix = nullptr;
  DestroyPrimaryWindow();
  ShutdownInputSystem();
  DestroyRenderer();
}

bool COrvixApp::Launch(const LaunchContext* context) {
  m_context = *context;
  if (!LCReplaceDefaults(&m_context)) return false;

  COrvixLogger& logger = CSingleton<COrvixLogger>::Instance();
  logger.Initialize("log.txt", kLogBufferBytes);
  logger.OpenDebugWindow(nullptr);
  logger.Log("-- Initialization --");

  if (!Initialize()) m_shutdownRequested = true;

  while (!m_shutdownRequested) {
    UpdateTimeKey();
    if (m_pumpMessages) DispatchWin32Msgs();
    if (m_inputHandler != nullptr && !m_inputHandler->Update()) logger.Log("Input update failed");
    Frame();
    if (m_renderer != nullptr) m_renderer->StepFrame();
  }

  Shutdown();
  DestroyRenderer();
  return true;
}

bool COrvixApp::LCReplaceDefaults(LaunchContext* context) {
  if (context->hInstance == nullptr) {
    CriticalError("Critical Error: hInstance undefined in launch context");
    return false;
  }
  if (context->bpp == 0) context->bpp = 32;
  if (context->width == 0) context->width = 1024;
  if (context->height == 0) context->height = 768;
  return true;
}

bool COrvixApp::Shutdown() {
  ShutdownInputSystem();
  return true;
}

void COrvixApp::DestroyRenderer() {
  if (m_renderer == nullptr) return;
  m_renderer->Shutdown();
  OX_DELETE m_renderer;
  m_renderer = nullptr;
}

// The difference is taken in unsigned 32 bits so that a wrap of the tick count
// still gives the right interval.
void COrvixApp::UpdateTimeKey() {
  const uint32_t elapsed = GetTickCount() - m_previousTick;
  m_timeKey = static_cast<float>(static_cast<int64_t>(elapsed) / 1000.0);
  m_previousTick = GetTickCount();
}

// Unlike a GetMessage loop this never blocks the frame: it runs what is
// pending and returns. A quit message it meets is consumed, as GetMessage
// consumes it, and changes nothing else.
void COrvixApp::DispatchWin32Msgs() { PumpPlatformEvents(); }

bool COrvixApp::InitInputSystem(InputSystem system) {
  if (m_inputSystem != INPUT_SYSTEM_NONE) return false;
  switch (system) {
    case INPUT_SYSTEM_SDL:
      m_inputSystem = system;
      m_inputHandler = OX_NEW InputSDL;
      return true;
    case INPUT_SYSTEM_RESERVED:
      m_inputSystem = system;
      return true;
    default:
      CSingleton<COrvixLogger>::Instance().Log(
          "InitInputSystem(): unknown input system. initialization failed");
      return false;
  }
}

void COrvixApp::SetInputHandler(IInputHandler* handler) {
  ShutdownInputSystem();
  m_inputSystem = INPUT_SYSTEM_RESERVED;
  m_inputHandler = handler;
}

void COrvixApp::ShutdownInputSystem() {
  OX_DELETE m_inputHandler;
  m_inputHandler = nullptr;
  m_inputSystem = INPUT_SYSTEM_NONE;
}

namespace {

// The primary window's close box: the frame loop ends after the current frame.
void OnPrimaryWindowClosed(void*) {
  if (g_orvix != nullptr) g_orvix->ForceShutdown();
  PostQuitMessage(0);
}

}  // namespace

HWND COrvixApp::CreatePrimaryWindow(int width, int height, bool topmost) {
  DestroyPrimaryWindow();
  m_primaryWindow =
      CreateFixedWindow(m_context.appName, width, height, topmost, OnPrimaryWindowClosed, nullptr);
  return m_primaryWindow;
}

void COrvixApp::DestroyPrimaryWindow() {
  DestroyFixedWindow(m_primaryWindow);
  m_primaryWindow = nullptr;
}

void COrvixApp::ShowTextBox(const char* caption, int icon, const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  char* text = length >= 0 ? static_cast<char*>(OX_MALLOC(static_cast<size_t>(length) + 1)) : nullptr;
  if (text == nullptr) return;
  std::vsnprintf(text, static_cast<size_t>(length) + 1, format, args);
  CSingleton<COrvixLogger>::Instance().Log("%s", text);
  MessageBoxA(nullptr, text, caption, icon);
  OX_FREE(text);
}

void COrvixApp::Message(const char* format, ...) {
  va_list args;
  va_start(args, format);
  ShowTextBox("System Message", MB_ICONINFORMATION, format, args);
  va_end(args);
}

void COrvixApp::CriticalError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  ShowTextBox("Critical Error", MB_ICONERROR, format, args);
  va_end(args);
}

}  // namespace Orvix
