// The application frame: the engine's base class for a program. A program
// derives from COrvixApp, fills a LaunchContext and calls Launch, which opens
// the log and the debug window, calls Initialize, runs the frame loop until a
// shutdown is requested, then calls Shutdown and destroys the renderer.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "input.h"
#include "memtrack.h"
#include "orvixapi.h"
#include "platform.h"
#include "renderer.h"

namespace Orvix {

struct LaunchContext {
  char appName[64];
  HINSTANCE hInstance;
  char commandLine[256];
  // width, height and bpp are laid out as a VideoRes (see GetVideoRes).
  int32_t width;
  int32_t height;
  int32_t bpp;
  int32_t flags;
};

enum InputSystem : int32_t {
  INPUT_SYSTEM_NONE = 0,
  INPUT_SYSTEM_SDL = 1,
  INPUT_SYSTEM_RESERVED = 2,
};

class COrvixApp;
ORVIX_API extern COrvixApp* g_orvix;

class ORVIX_API COrvixApp {
 public:
  COrvixApp();
  ~COrvixApp();
  COrvixApp(const COrvixApp&) = delete;
  COrvixApp& operator=(const COrvixApp&) = delete;

  virtual void Frame() = 0;
  virtual void DrawOverlay() = 0;
  virtual int OnGameEvent(int code, int argument) = 0;

  bool Launch(const LaunchContext* context);

  // Allocates the renderer in the caller's deliverable and hands it to the
  // application, which owns it from then on.
  template <typename T>
  T* CreateRenderer() {
    T* renderer = OX_NEW T;
    m_renderer = renderer;
    return renderer;
  }
  IRenderer* GetRenderer() { return m_renderer; }

  bool InitInputSystem(InputSystem system);
  void ShutdownInputSystem();
  IInputHandler* GetInputHandler() const { return m_inputHandler; }
  // Hands the application an input handler of the program's own (a scripted
  // one, for play without a keyboard); the application owns it from then on.
  void SetInputHandler(IInputHandler* handler);

  int GetScreenWidth() const { return m_context.width; }
  int GetScreenHeight() const { return m_context.height; }
  float GetTimeKey() const { return m_timeKey; }
  const LaunchContext& GetLaunchContext() const { return m_context; }
  // The application's own width, height and bpp after defaults.
  VideoRes* GetVideoRes() { return reinterpret_cast<VideoRes*>(&m_context.width); }

  void DispatchWin32Msgs(bool pump) { m_pumpMessages = pump; }
  void ForceShutdown() { m_shutdownRequested = true; }
  bool ShutdownRequested() const { return m_shutdownRequested; }

  // A plain window of the given size that cannot be resized; closing it
  // forces shutdown. Null when headless or when it cannot be made.
  HWND CreatePrimaryWindow(int width, int height, bool topmost);
  void DestroyPrimaryWindow();

  // printf-style boxes ("System Message" and "Critical Error"); the text is
  // also logged. Neither ends the program.
  void Message(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void CriticalError(const char* format, ...) __attribute__((format(printf, 2, 3)));

 protected:
  virtual bool Initialize() { return true; }
  virtual bool Shutdown();

  bool LCReplaceDefaults(LaunchContext* context);
  void DestroyRenderer();
  void UpdateTimeKey();
  void DispatchWin32Msgs();

 private:
  void ShowTextBox(const char* caption, int icon, const char* format, va_list args);

  LaunchContext m_context = {};
  bool m_shutdownRequested = false;
  HWND m_primaryWindow = nullptr;   // owned; null unless created
  IRenderer* m_renderer = nullptr;  // owned
  bool m_pumpMessages = true;
  float m_timeKey = 0.0001f;
  uint32_t m_previousTick = 0;
  InputSystem m_inputSystem = INPUT_SYSTEM_NONE;
  IInputHandler* m_inputHandler = nullptr;  // owned
};

}  // namespace Orvix
