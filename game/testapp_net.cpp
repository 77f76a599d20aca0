// CTestApp: the connection's callbacks and the replication of the world.
#include <cstdio>

#include "game/aveth.h"
#include "game/netconnection.h"
#include "game/rendprael.h"
#include "game/testapp.h"
#include "orvix/logging.h"

namespace {

Orvix::COrvixLogger& Logger() { return Orvix::CSingleton<Orvix::COrvixLogger>::Instance(); }

}  // namespace

// The peer's hero joins the world once the handshake is done; a peer that
// comes back finds its hero again.
void CTestApp::netAuthenticated(const char* peerName) {
  std::snprintf(remoteName, sizeof remoteName, "%s", peerName != nullptr ? peerName : "");
  if (isServer)
    Logger().Log("%s joined", remoteName);
  else
    Logger().Log("joined %s", remoteName);
  if (remoteHero != nullptr) {
    remoteHero->SetState(Aveth::STATE_PLAYING);
    return;
  }
  if (isServer)
    remoteHero = CreateHero("Aveth2", kClientHeroUid, kClientStartTileX, Aveth::kStartTileY);
  else
    remoteHero = CreateHero("Aveth", kServerHeroUid, Aveth::kStartTileX, Aveth::kStartTileY);
  remoteHero->netUpdated = true;
  remoteHero->SetRemote(true);
}

void CTestApp::netConnectionDropped() {
  if (!ShutdownRequested()) Logger().Log("Connection Dropped");
  RetireRemoteHero();
}

// NOT YET BUILT: the replication of the world (the game messages 0 to 13,
// the periodic state broadcast and the server's choice of which entities to
// send or cull) is written with the networking of entities. Until then the
// two programs connect and each shows the other's hero at its start, but
// received game messages are not applied and no state is sent.
void CTestApp::netRecvData(NetMessage*) {}

void CTestApp::NetworkTick() {}

void CTestApp::UpdateWorldList() {}
