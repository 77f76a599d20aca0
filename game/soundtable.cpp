#include "soundtable.h"

const char* const kGameSoundFiles[kGameSoundCount] = {
    "sounds/TEV_Arrow.wav",       "sounds/TEV_Bomb_Blow.wav",    "sounds/TEV_Bomb_Drop.wav",
    "sounds/TEV_Boomerang.wav",   "sounds/TEV_Boss_Scream1.wav", "sounds/TEV_Boss_Scream2.wav",
    "sounds/TEV_Fanfare.wav",     "sounds/TEV_Get_Heart.wav",    "sounds/TEV_Get_Item.wav",
    "sounds/TEV_Get_Dralm.wav",   "sounds/TEV_Hit.wav",          "sounds/TEV_Hurt.wav",
    "sounds/TEV_Key.wav",         "sounds/TEV_Kill.wav",         "sounds/TEV_LowHealth.wav",
    "sounds/TEV_MagicalRod.wav",  "sounds/TEV_Recorder.wav",     "sounds/TEV_Shield.wav",
    "sounds/TEV_Stairs.wav",      "sounds/TEV_Sword.wav",        "sounds/TEV_Sword_Combined.wav",
    "sounds/TEV_Sword_Shoot.wav", "sounds/TEV_Text.wav",         "sounds/TEV_Unlock.wav",
    "sounds/TEV_Secret.wav",      "sounds/TEV_Fire.wav",         "sounds/Overworld.mp3",
    "sounds/dungeon1.mp3",
};
