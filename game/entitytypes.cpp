// The table of entity types. Each class joins it with one line; the red
// Pelvok stands for every number the table does not name.
#include "game/entitytypes.h"

#include "game/entity.h"
#include "game/gorrit.h"
#include "game/pelvokblue.h"
#include "game/pelvokred.h"
#include "game/pushblock.h"
#include "game/skeleton.h"
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

template <bool Blue>
Entity* MakeGorrit(NetConnection* net) {
  return OX_NEW Gorrit(net, Blue);
}

const TypeEntry kTypes[] = {
    {TYPE_PELVOK_BLUE, Make<CPelvokBlue>}, {TYPE_GORRIT_RED, MakeGorrit<false>},
    {TYPE_GORRIT_BLUE, MakeGorrit<true>},  {TYPE_SKELETON, Make<Skeleton>},
    {TYPE_PUSHBLOCK, Make<Pushblock>},     {TYPE_RESERVED, nullptr},
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
  const Creator create = CreatorOf(typeId);
  if (create == nullptr) {
    Orvix::CSingleton<Orvix::COrvixLogger>::Instance().Log("CreateEntityOfType: no class for type %d",
                                                           typeId);
    return nullptr;
  }
  return create(net);
}
