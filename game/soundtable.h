// The game's sounds in the order the start-up loads them. The index of each
// is the number the game plays it by (PlaySound), so the order is fixed.
#pragma once

enum GameSound {
  kSoundArrow,
  kSoundBombBlow,
  kSoundBombDrop,
  kSoundBoomerang,
  kSoundBossScream1,
  kSoundBossScream2,
  kSoundFanfare,
  kSoundGetHeart,
  kSoundGetItem,
  kSoundGetDralm,
  kSoundHit,
  kSoundHurt,
  kSoundKey,
  kSoundKill,
  kSoundLowHealth,
  kSoundMagicalRod,
  kSoundRecorder,
  kSoundShield,
  kSoundStairs,
  kSoundSword,
  kSoundSwordCombined,
  kSoundSwordShoot,
  kSoundText,
  kSoundUnlock,
  kSoundSecret,
  kSoundFire,
  kMusicOverworld,  // loaded looping, from frame 7000 to its end
  kMusicDungeon,    // loaded looping, whole
  kGameSoundCount
};

// The file of each sound, by index.
extern const char* const kGameSoundFiles[kGameSoundCount];

// The music loops; the effects play once.
inline bool GameSoundLoops(int index) { return index == kMusicOverworld || index == kMusicDungeon; }
