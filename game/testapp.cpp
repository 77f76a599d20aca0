#include "testapp.h"

bool CTestApp::Initialize() { return true; }

void CTestApp::Frame() {}

void CTestApp::DrawOverlay() {}

int CTestApp::OnGameEvent(int code, int) { return code; }

bool CTestApp::Shutdown() { return COrvixApp::Shutdown(); }
