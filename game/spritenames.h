// The sprite types the game looks up by name, which its "sprite.def" must
// therefore declare. A name the file lacks leaves whatever uses it undrawn.
#pragma once

inline constexpr const char* kGameSpriteNames[] = {
    "Aveth",  "Aveth2",     "WoodSword",  "SteelSword", "MagicSword", "ThrowSword", "BatBlue",
    "BatRed", "GorritBlue", "GorritRed",  "PelvokBlue", "PelvokRed",  "Skeleton",   "Snake",
    "Murla",  "Rock",       "EnergyBall", "Fire",       "Arrow",      "Boomerang",  "BoomerangB",
    "Bomb",   "Heart",      "Key",        "Dralm",      "DeathSpark", "Smoke",      "PushStone",
};
