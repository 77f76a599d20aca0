// CTestApp: the game's application object. The engine calls Initialize once,
// Frame once a frame (then the game renderer's StepFrame, which ticks and
// draws the world and calls DrawOverlay), OnGameEvent when a staircase moved
// the local hero into another room, and Shutdown once at the end.
//
// The application owns the game renderer (through the engine, which destroys
// it after Shutdown), the two heroes, the network connection and the view:
// which room is shown and the scroll between rooms. It also releases every
// world entity that has ended (see game/entity.h).
//
// Units: testapp.cpp (set-up choices, options, shutdown), testapp_init.cpp
// (Initialize), testapp_frame.cpp (Frame and HandleInput), testapp_rooms.cpp
// (ScrollRooms, OnGameEvent, CheckRoomCleared), testapp_overlay.cpp (the HUD
// values), testapp_world.cpp (heroes, ended entities, the world dump),
// testapp_spawn.cpp (the entity registry: Spawn, PopulateRoom,
// PickFreeTile), testapp_net.cpp (the connection's callbacks and the receive
// dispatch), testapp_netrecv.cpp (what each received game message does),
// testapp_netsend.cpp (the network tick: hero and entity states) and
// testapp_networld.cpp (the server's choice of what to broadcast or cull).
#pragma once

#include <cstdint>
#include <vector>

#include "game/framepacer.h"
#include "orvix/orvix.h"

namespace Orvix {
class InputScript;
}
class Aveth;
class Entity;
class NetConnection;
class NetStream;
struct NetMessage;
class PraelRenderer;
struct RoomRecord;
struct Vec2;

class CTestApp : public Orvix::COrvixApp {
 public:
  static constexpr int kStartRoomX = 7;
  static constexpr int kStartRoomY = 7;
  static constexpr int kFirstSpawnedUid = 10;
  static constexpr int kClientStartTileX = 118;  // beside the server's hero

  CTestApp();
  ~CTestApp();

  void Frame() override;
  void DrawOverlay() override;
  int OnGameEvent(int code, int argument) override;

  // ----- the set-up choice; the texts are copied and cut to fit
  void SetServer(bool server) { isServer = server; }
  void SetServerAddress(const char* address);
  void SetPlayerName(const char* name);
  bool IsServer() const { return isServer; }
  const char* GetServerAddress() const { return serverAddress; }
  const char* GetPlayerName() const { return playerName; }

  // ----- options for scripted and headless play
  // Ends the game after this many frames, as closing the window would; 0
  // runs until the window closes.
  void SetFrameLimit(long frames) { m_frameLimit = frames; }
  long GetFramesRun() const { return m_framesRun; }
  // True when Initialize gave up (a data file missing or damaged, the port
  // taken): the game ended without a frame.
  bool StartFailed() const { return m_startFailed; }
  // Drives the local hero from a script of key presses instead of the
  // keyboard; the application owns the script from now on. Null keeps the
  // keyboard.
  void SetInputScript(Orvix::InputScript* script);
  // Writes the entity list to this file when the game ends; null writes none.
  void SetWorldDumpPath(const char* path) { m_worldDumpPath = path; }
  void SetFrameWait(FramePacer::Wait wait) { m_pacer.SetWait(wait); }
  // The game always plays on TCP port 3203; tests that run several games side
  // by side give each its own (0 lets the system choose a free one).
  void SetGamePort(uint16_t port) { m_gamePort = port; }

  // ----- frame steps, public for the tests that drive them one by one
  void HandleInput();
  void ScrollRooms();
  void CheckRoomCleared();
  // Takes an entity that has left the world list: freed at the next safe
  // point when the world owns it, left to its owner otherwise.
  void RetireEntity(Entity* entity);
  // Frees the world entities that ended since the last call.
  void ReleaseEndedEntities();
  // Writes one line per entity of the world list; false when the file cannot
  // be written.
  bool DumpWorld(const char* path) const;

  // ----- the connection's callbacks
  void netAuthenticated(const char* peerName);
  void netRecvData(NetMessage* message);
  void netConnectionDropped();

  // ----- the replication of the world, run from Frame
  // At most once per 16.6 ms: the local hero's state, and on the server the
  // states of the entities UpdateWorldList chose.
  void NetworkTick();
  void SendPlayerState();
  void SendFullState();
  // Once a frame: on the server, culls entities in rooms no hero is in and
  // chooses half of those in the client's room for the next broadcast; on a
  // client, drops the entities that have ended.
  void UpdateWorldList();

  // ----- the entity registry (testapp_spawn.cpp)
  // Creates an entity of type `typeId` (game/entitytypes.h), adds it at the
  // front of the world list and places it on `tile` (tile units). A negative
  // uid takes the next one from nextUid (the server's way); a client passes
  // the uid its server sent. The server tells a connected peer with message
  // 3. Null, with nothing added or sent, for the reserved type 50 or a type
  // whose class is missing. `flag` is carried for the callers and not used.
  Entity* Spawn(int typeId, const Vec2* tile, bool flag, int32_t uid);
  // Fills room (roomColumn, roomRow) with the monsters its spawn counts ask
  // for and the push blocks of its second tile layer; nothing when the other
  // hero already stands in it (fromPeer: the client's hero entered it).
  void PopulateRoom(int roomColumn, int roomRow, bool fromPeer);
  // A random tile of the room's inner 12 x 7 on which a monster may stand;
  // false when there is none.
  bool PickFreeTile(Vec2* result, int roomColumn, int roomRow);

  Aveth* GetLocalHero() const { return localHero; }
  Aveth* GetRemoteHero() const { return remoteHero; }
  NetConnection* GetConnection() const { return connection; }
  int GetRoomX() const { return roomX; }
  int GetRoomY() const { return roomY; }
  bool IsScrolling() const { return scrolling; }

 protected:
  bool Initialize() override;
  bool Shutdown() override;

 private:
  // testapp_init.cpp
  // Shows why start-up cannot go on (a message box, or standard error where
  // there is no display) and returns false for Initialize to return.
  bool FailStart(const char* reason);
  bool LoadSounds();
  void LoadSprites();
  bool StartInput();
  bool StartNetwork();
  Aveth* CreateHero(const char* spriteName, uint32_t heroUid, int tileX, int tileY);
  // testapp_world.cpp
  static void OnEntityDropped(Entity* entity, void* context);
  void ReleaseWorld();
  void RetireRemoteHero();
  // testapp_spawn.cpp
  static int RollSpawnCount(int minimum, int maximum);
  void SpawnMonsters(const RoomRecord& record, int roomColumn, int roomRow);
  void SpawnPushBlocks(int roomColumn, int roomRow);
  // testapp_rooms.cpp
  // The room a hero at `position` stands in, as the view reckons it: the
  // tile of its centre, counted in whole rooms.
  static Vec2 ViewRoomOf(Vec2 position);
  void StartScroll(int stepX, int stepY, int pushDirection);
  void AdvanceScroll();
  void ReturnFromExitRoom();
  // testapp_overlay.cpp
  Aveth* FindShownHero() const;
  void DrawHearts(const Aveth& hero);
  void DrawCounter(int x, int y, int value);
  // testapp_net.cpp
  bool AcceptedFromClient(NetMessage& message);
  // Server: tells a client that has just joined of every entity spawned
  // before it came, as Spawn tells it of those spawned later.
  void SendExistingEntities();
  // testapp_netrecv.cpp: one receiver per game message
  void ReceivePlayerState(NetStream& payload);
  void ReceiveEnterRoom(NetStream& payload);
  void ReceiveStateUpdate(NetStream& payload);
  void ReceiveSpawn(NetStream& payload);
  void ReceiveCull(NetStream& payload);
  void ReceiveChat(NetStream& payload);
  void ReceiveHit(NetStream& payload);
  void ReceiveRemoteHeroAction(int heroEvent);
  void ReceiveDeath(NetStream& payload);
  void ReceiveEnemyEvent(NetStream& payload);
  void ReceiveDoor(NetStream& payload);
  void ReceivePickup(NetStream& payload);
  void ReceivePush(NetStream& payload);
  // The entity a message names: uids 0 and 1 are the heroes' (a hero's
  // swords carry no uid of their own), any other is looked up in the world.
  Entity* FindNetEntity(uint32_t uid) const;
  // testapp_networld.cpp
  // Takes a culled entity out of the world and tells the client to do so.
  void CullEntity(Entity* entity);
  // testapp_frame.cpp
  // True in the frame in which `key` goes down; `latch` remembers it is held.
  bool KeyWentDown(Orvix::IInputHandler* input, unsigned key, bool* latch) const;
  void SendHeroAction(uint32_t messageType);

 public:
  // ----- the application's fields, as the world and the tests read them
  PraelRenderer* renderer = nullptr;  // the engine owns it (destroyed after Shutdown)
  Aveth* localHero = nullptr;         // owned
  Aveth* remoteHero = nullptr;        // owned; null until a peer authenticates
  bool isServer = false;              // also set when a client cannot reach its server
  char serverAddress[24] = {};
  int32_t roomX = kStartRoomX;  // the room shown
  int32_t roomY = kStartRoomY;
  bool scrolling = false;  // a room-to-room scroll is running
  float scrollX = 0.0f;    // scroll offsets in rooms, from -1 or 1 toward 0
  float scrollY = 0.0f;
  char playerName[64] = {};
  char remoteName[64] = "remote";       // the peer's name from the handshake
  NetConnection* connection = nullptr;  // owned
  uint32_t lastSendTick = 0;
  int32_t nextUid = kFirstSpawnedUid;
  bool attackLatch = false;  // Space, Left Ctrl and Tab held since the last frame
  bool itemLatch = false;
  bool tabLatch = false;
  int32_t syncCount = 0;
  bool syncParity = false;

 private:
  long m_frameLimit = 0;
  long m_framesRun = 0;
  bool m_startFailed = false;
  Orvix::InputScript* m_inputScript = nullptr;  // owned until Initialize hands it to the engine
  const char* m_worldDumpPath = nullptr;        // borrowed: the command line's
  FramePacer m_pacer;
  FramePacer m_peerPacer = FramePacer::OnWallClock();  // a repeatable game's, while a peer plays along
  uint16_t m_gamePort = 3203;
  std::vector<Entity*> m_endedEntities;  // left the world, freed at the next safe point
  std::vector<Aveth*> m_retiredHeroes;   // remote heroes whose player left
  bool m_scrollEndedThisFrame = false;
};
