// The table of entity types. Each class joins it with one line; the red
// Pelvok stands for every number the table does not name.
#include "game/entitytypes.h"

#include "game/entity.h"
#include "game/pushblock.h"
#include "orvix/logging.h"
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

const TypeEntry kTypes[] = {
    {TYPE_PUSHBLOCK, Make<Pushblock>},
    {TYPE_RESERVED, nullptr},
};

// Made for every number the table does not name; null until its class is in
// the game.
constexpr Creator kOtherTypes = nullptr;

Creator CreatorOf(int32_t typeId) {
  for (const TypeEntry& entry : kTypes)
    if (entry.typeId == typeId) return entry.create;
  return kOtherTypes;
}

}  // namespace

Entity* CreateEntityOfType(int32_t typeId, NetConnection* net) {
  if (typeId == TYPE_RESERVED) return nullptr;
  const Creator create = CreatorOf(typeId);
  if (create == nullptr) {
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("CreateEntityOfType: no class for type %d",
                                                           typeId);
    return nullptr;
  }
  return create(net);
}
