#include "entity_types.h"

namespace World {

namespace {

struct NamedType {
  const char* name;
  int type;
};

constexpr NamedType kNamedTypes[] = {
    {"PelvokBlue", kTypePelvokBlue}, {"PelvokRed", kTypePelvokRed},   {"Murla", kTypeMurla},
    {"GorritRed", kTypeGorritRed},   {"GorritBlue", kTypeGorritBlue}, {"Skeleton", kTypeSkeleton},
    {"BatBlue", kTypeBatBlue},       {"BatRed", kTypeBatRed},         {"Snake", kTypeSnake},
    {"Pushblock", kTypePushblock},   {"Reserved", kTypeReserved},
};

}  // namespace

int EntityTypeByName(const std::string& name) {
  for (const NamedType& named : kNamedTypes) {
    if (name == named.name) return named.type;
  }
  return -1;
}

std::string EntityTypeName(int type) {
  for (const NamedType& named : kNamedTypes) {
    if (type == named.type) return named.name;
  }
  return "PelvokRed";
}

}  // namespace World
