// How enemies find the heroes they go for: by uid (0 the server's hero, 1 the
// client's) among the world's entities. A hero's swords carry its uid too, so
// the player flag tells the hero itself.
#pragma once

#include <cstdint>

class Entity;
class PraelRenderer;

namespace enemy {

// The hero with `heroUid` in `world`, or null when it is not there (yet).
Entity* FindHero(PraelRenderer* world, uint32_t heroUid);

}  // namespace enemy
