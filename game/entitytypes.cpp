// The table of entity types. Each class joins it with one line; the red
// Pelvok stands for every number the table does not name.
#include "game/entitytypes.h"

#include "game/bat.h"
#include "game/entity.h"
#include "game/gorrit.h"
#include "game/murla.h"
#include "game/pelvokblue.h"
#include "game/pelvokred.h"
#include "game/pushblock.h"
#include "game/skeleton.h"
#include "game/snake.h"
#include "orvix/memtrack.h"

namespace {

using Creator = Entity* (*)(NetConnection* net);

template <typename T>
Entity* Make(NetConnection* net) {
  return OX_NEW T(net);
}

struct TypeEntry {
  int32_t typeId;
  Creator create;
};

// The classes that come in two colours take it as their second argument.
template <typename T, bool kBlue>
Entity* MakeColoured(NetConnection* net) {
  return OX_NEW T(net, kBlue);
}

const TypeEntry kTypes[] = {
    {TYPE_PELVOK_BLUE, Make<CPelvokBlue>},
    {TYPE_MURLA, Make<Murla>},
    {TYPE_GORRIT_RED, MakeColoured<Gorrit, false>},
    {TYPE_GORRIT_BLUE, MakeColoured<Gorrit, true>},
    {TYPE_SKELETON, Make<Skeleton>},
    {TYPE_BAT_BLUE, MakeColoured<Bat, true>},
    {TYPE_BAT_RED, MakeColoured<Bat, false>},
    {TYPE_SNAKE, Make<Snake>},
    {TYPE_PUSHBLOCK, Make<Pushblock>},
};

// Made for every number the table does not name.
constexpr Creator kOtherTypes = Make<CPelvokRed>;

Creator CreatorOf(int32_t typeId) {
  for (const TypeEntry& entry : kTypes)
    if (entry.typeId == typeId) return entry.create;
  return kOtherTypes;
}

}  // namespace

Entity* CreateEntityOfType(int32_t typeId, NetConnection* net) {
  if (typeId == TYPE_RESERVED) return nullptr;
  return CreatorOf(typeId)(net);
}
