// Aveth's projectiles: the sword beam (ThrowSword), the two boomerangs, fire,
// bombs and arrows.
//
// NOT YET BUILT. The projectile classes (game/projectiles) do not exist yet;
// these four functions are where the hero makes and throws them. Until they
// are filled in, the hero has no boomerangs and throws nothing: each function
// reports that nothing was thrown, so the attack only swings the sword and an
// item use changes nothing (itemReady and beamReady stay set, no currency is
// spent). What each one is to do when the projectiles arrive:
//   CreateBoomerangs: boomerangs[0] = Boomerang (sprite "Boomerang"),
//     boomerangs[1] = Boomerang (unlimited, "BoomerangB"), owner this, each
//     with ownedByWorld clear, added to the world at the back.
//   LaunchBeam: a ThrowSword with this hero as owner at the hero's position,
//     launched (direction, 350, swordIndex + 1), added at the back.
//   ThrowBoomerang: the boomerang in use launched (direction, 330).
//   LaunchItem: Fire (direction, 60, 1), Bomb (direction, 60, 2) or Arrow
//     (direction, 320, 1) at spawnPoint, owner this, added at the back.
#include "game/aveth.h"

void Aveth::CreateBoomerangs() {}

bool Aveth::LaunchBeam() { return false; }

bool Aveth::ThrowBoomerang() { return false; }

bool Aveth::LaunchItem(int, Vec2) { return false; }
