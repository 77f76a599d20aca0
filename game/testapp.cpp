// CTestApp: the set-up choices and the end of the game.
#include "game/testapp.h"

#include <cstdio>

#include "game/sound.h"
#include "orvix/inputscript.h"
#include "orvix/logging.h"

namespace {

// Copies at most size - 1 characters, so the copy always ends in a zero.
void CopyCut(char* destination, size_t size, const char* source) {
  std::snprintf(destination, size, "%s", source != nullptr ? source : "");
}

}  // namespace

CTestApp::CTestApp() = default;

// Shutdown releases the world; an application that never launched still
// holds its input script.
CTestApp::~CTestApp() {
  ReleaseWorld();
  OX_DELETE m_inputScript;
}

void CTestApp::SetInputScript(Orvix::InputScript* script) {
  OX_DELETE m_inputScript;
  m_inputScript = script;
}

void CTestApp::SetServerAddress(const char* address) {
  CopyCut(serverAddress, sizeof serverAddress, address);
}

void CTestApp::SetPlayerName(const char* name) { CopyCut(playerName, sizeof playerName, name); }

// The world is written out and released while the renderer, which holds the
// entity list, still exists; the engine destroys the renderer afterwards.
bool CTestApp::Shutdown() {
  if (m_worldDumpPath != nullptr && !DumpWorld(m_worldDumpPath)) {
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("CTestApp::Shutdown: cannot write \"%s\"",
                                                           m_worldDumpPath);
  }
  ReleaseWorld();
  SoundShutdown();
  return COrvixApp::Shutdown();
}
