#include "testapp.h"

#include <cstdio>

#include "orvix/logging.h"

namespace {

// Copies at most size - 1 characters, so the copy always ends in a zero.
void CopyCut(char* destination, size_t size, const char* source) {
  std::snprintf(destination, size, "%s", source != nullptr ? source : "");
}

}  // namespace

void CTestApp::SetServerAddress(const char* address) {
  CopyCut(m_serverAddress, sizeof m_serverAddress, address);
}

void CTestApp::SetPlayerName(const char* name) { CopyCut(m_playerName, sizeof m_playerName, name); }

bool CTestApp::Initialize() {
  Orvix::COrvixLogger& logger = Orvix::CSingleton<Orvix::COrvixLogger>::Instance();
  if (m_isServer)
    logger.Log("CTestApp::Initialize: server, player \"%s\"", m_playerName);
  else
    logger.Log("CTestApp::Initialize: client of %s, player \"%s\"", m_serverAddress, m_playerName);
  return true;
}

void CTestApp::Frame() {
  ++m_framesRun;
  if (m_frameLimit > 0 && m_framesRun >= m_frameLimit) ForceShutdown();
}

void CTestApp::DrawOverlay() {}

int CTestApp::OnGameEvent(int code, int) { return code; }

bool CTestApp::Shutdown() { return COrvixApp::Shutdown(); }
