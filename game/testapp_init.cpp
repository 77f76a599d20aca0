// CTestApp::Initialize: settings, sounds, the renderer and its data, input,
// the connection and the local hero.
#include <cstdio>

#include "game/aveth.h"
#include "game/netconnection.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"
#include "game/spritenames.h"
#include "game/testapp.h"
#include "orvix/inputscript.h"
#include "orvix/logging.h"
#include "orvix/settings.h"

namespace {

Orvix::COrvixLogger& Logger() { return Orvix::CSingleton<Orvix::COrvixLogger>::Instance(); }

// Settings of the engine's own test; nothing reads them.
void DeclareTestSettings() {
  Orvix::EngineSettings& settings = Orvix::CSingleton<Orvix::EngineSettings>::Instance();
  if (Orvix::CVar* testInt = settings.NewCVar("testInt", Orvix::CVAR_INT, 1)) testInt->SetInt(123);
  if (Orvix::CVar* testString = settings.NewCVar("testString", Orvix::CVAR_STRING, 100))
    testString->SetString("holy shit");
  if (Orvix::CVar* testFloat = settings.NewCVar("testFloat", Orvix::CVAR_FLOAT, 20))
    testFloat->SetFloat(23.5611f);
}

// Music levels against the effects; applied whenever a sound plays.
struct SoundVolume {
  int sound;
  float volume;
};
const SoundVolume kSoundVolumes[] = {
    {kMusicOverworld, 0.8f}, {kSoundArrow, 1.5f}, {kSoundText, 0.5f},      {kSoundSword, 1.5f},
    {kSoundHurt, 2.0f},      {kSoundHit, 0.75f},  {kSoundLowHealth, 2.0f},
};

constexpr const char* kSpriteDefFile = "sprite.def";

// Where the overworld music loops back to, in frames of its file.
constexpr int kOverworldLoopStart = 7000;

}  // namespace

bool CTestApp::Initialize() {
  if (isServer)
    Logger().Log("CTestApp::Initialize: server, player \"%s\"", playerName);
  else
    Logger().Log("CTestApp::Initialize: client of %s, player \"%s\"", serverAddress, playerName);

  DeclareTestSettings();
  if (!LoadSounds()) return false;

  nextUid = kFirstSpawnedUid;
  syncCount = 0;
  lastSendTick = 0;
  roomX = kStartRoomX;
  roomY = kStartRoomY;
  scrollX = scrollY = 0.0f;
  scrolling = false;

  renderer = CreateRenderer<PraelRenderer>();
  if (!renderer->Initialize(nullptr, GetVideoRes())) return FailStart("the game window did not open");
  renderer->SetEntityDropHandler(OnEntityDropped, this);
  LoadSprites();
  if (!StartInput()) return FailStart("the keyboard input did not start");

  localHero = remoteHero = nullptr;
  std::snprintf(remoteName, sizeof remoteName, "%s", "remote");
  if (!StartNetwork()) return false;
  renderer->SetLocalHero(localHero);
  return true;
}

bool CTestApp::FailStart(const char* reason) {
  m_startFailed = true;
  CriticalError("The game cannot start: %s. log.txt tells more.", reason);
  return false;
}

bool CTestApp::LoadSounds() {
  if (!SoundInit()) Logger().Log("%s", GetSoundError());
  const char* firstFailed = nullptr;
  for (int index = 0; index < kGameSoundCount; ++index) {
    if (LoadSound(kGameSoundFiles[index], GameSoundLoops(index)) == -1 && firstFailed == nullptr)
      firstFailed = kGameSoundFiles[index];
  }
  if (!SetSoundLoopPoints(kMusicOverworld, kOverworldLoopStart, 0)) Logger().Log("%s", GetSoundError());
  PlaySound(kMusicOverworld);
  for (const SoundVolume& entry : kSoundVolumes) SetSoundVolume(entry.sound, entry.volume);
  if (firstFailed == nullptr) return true;
  char reason[160];
  std::snprintf(reason, sizeof reason, "the sound file %s is missing or damaged", firstFailed);
  return FailStart(reason);
}

// The game goes on without what sprite.def lacks; the log names it.
void CTestApp::LoadSprites() {
  if (!renderer->LoadSpriteDef(kSpriteDefFile))
    Logger().Log("CTestApp::Initialize: %s is missing or damaged; sprites it does not declare are not drawn",
                 kSpriteDefFile);
  for (const char* name : kGameSpriteNames) {
    if (renderer->GetSpriteType(name) == nullptr)
      Logger().Log("CTestApp::Initialize: %s declares no sprite %s", kSpriteDefFile, name);
  }
}

// The keyboard, or the input script given on the command line.
bool CTestApp::StartInput() {
  if (m_inputScript == nullptr) return InitInputSystem(Orvix::INPUT_SYSTEM_SDL);
  SetInputHandler(m_inputScript);
  m_inputScript = nullptr;  // the engine owns it now
  return true;
}

bool CTestApp::StartNetwork() {
  connection = OX_NEW NetConnection(NetConnection::kAccessPassword, playerName);
  connection->SetCallbacks(NetCallbacks::Bind<CTestApp, &CTestApp::netAuthenticated, &CTestApp::netRecvData,
                                              &CTestApp::netConnectionDropped>(this));
  if (isServer) {
    if (!connection->Listen(false, m_gamePort)) {
      isServer = false;
      char reason[96];
      std::snprintf(reason, sizeof reason, "TCP port %d is in use or may not be opened", m_gamePort);
      return FailStart(reason);
    }
    localHero = CreateHero("Aveth", Aveth::kServerHeroUid, Aveth::kStartTileX, Aveth::kStartTileY);
    return true;
  }
  if (connection->Connect(serverAddress, false, m_gamePort)) {
    localHero = CreateHero("Aveth2", Aveth::kClientHeroUid, kClientStartTileX, Aveth::kStartTileY);
    localHero->netUpdated = true;
    return true;
  }
  // Nobody to play with: this program runs the world itself, as a server that
  // does not listen.
  isServer = true;
  connection->PlayAlone();
  localHero = CreateHero("Aveth", Aveth::kServerHeroUid, Aveth::kStartTileX, Aveth::kStartTileY);
  Message("Failed to connect to %s", serverAddress);
  return true;
}

Aveth* CTestApp::CreateHero(const char* spriteName, uint32_t heroUid, int tileX, int tileY) {
  Aveth* hero = OX_NEW Aveth(playerName, GetInputHandler(), connection, spriteName);
  hero->SetUID(heroUid);
  renderer->AddEntity(hero, false);
  EventParam column(static_cast<int32_t>(tileX));
  EventParam row(static_cast<int32_t>(tileY));
  hero->SendEvent(Aveth::EV_PLACE, &column, &row);
  return hero;
}
