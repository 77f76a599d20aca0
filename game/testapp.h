// CTestApp: the game's application object, driven by the engine's frame.
#pragma once

#include "orvix/orvix.h"

class CTestApp : public Orvix::COrvixApp {
 public:
  void Frame() override;
  void DrawOverlay() override;
  int OnGameEvent(int code, int argument) override;

  // The set-up choice. The texts are copied and cut to fit.
  void SetServer(bool isServer) { m_isServer = isServer; }
  void SetServerAddress(const char* address);
  void SetPlayerName(const char* name);
  bool IsServer() const { return m_isServer; }
  const char* GetServerAddress() const { return m_serverAddress; }
  const char* GetPlayerName() const { return m_playerName; }

  // Ends the game after this many frames, as closing the window would; 0
  // runs until the window closes.
  void SetFrameLimit(long frames) { m_frameLimit = frames; }
  long GetFramesRun() const { return m_framesRun; }

 protected:
  bool Initialize() override;
  bool Shutdown() override;

 private:
  bool m_isServer = false;
  char m_serverAddress[24] = {};
  char m_playerName[64] = {};
  long m_frameLimit = 0;
  long m_framesRun = 0;
};
