#include "tests/game/hero_fixtures.h"

#include <filesystem>

#include "game/rendprael.h"
#include "game/sound.h"
#include "orvix/memtrack.h"
#include "orvix/platform.h"
#include "tests/game/sound_fixtures.h"

namespace hero_test {

namespace {

uint32_t g_fakeNow = 100000;
uint32_t FakeTick() { return g_fakeNow; }

}  // namespace

PlayFolder::PlayFolder() : m_runFolder(std::filesystem::current_path().string()) {
  for (const auto& entry : std::filesystem::directory_iterator(m_runFolder)) {
    const std::string name = entry.path().filename().string();
    if (name == "log.txt" || name == "memory.log" || name == "memleaks.log") continue;
    std::filesystem::create_symlink(entry.path(), m_folder.File(name));
  }
}

ClockScope::ClockScope() { Orvix::SetTickSource(FakeTick); }
ClockScope::~ClockScope() { Orvix::SetTickSource(nullptr); }
void ClockScope::Advance(uint32_t milliseconds) { g_fakeNow += milliseconds; }

SoundScope::SoundScope() {
  SoundInit();
  // Two seconds at 22,050 Hz: still playing when a test looks.
  const std::string file = WriteWavFixture("silence.wav", MakePcm(22050, 1, 44100, [](int) { return 0; }));
  for (int index = 0; index < kGameSoundCount; ++index) LoadSound(file.c_str(), false);
}

SoundScope::~SoundScope() { SoundShutdown(); }

bool SoundScope::TakePlay(int index) {
  CMixer* mixer = GetSoundMixer();
  if (mixer == nullptr || !mixer->IsPlaying(index)) return false;
  StopSound(index);
  return true;
}

}  // namespace hero_test
