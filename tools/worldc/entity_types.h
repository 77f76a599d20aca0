// Names of the entity type ids that room spawn tables use.
#pragma once

#include <string>

namespace World {

inline constexpr int kTypePelvokBlue = 2;
inline constexpr int kTypePelvokRed = 3;  // the game makes a red Pelvok of every unlisted id
inline constexpr int kTypeMurla = 6;
inline constexpr int kTypeGorritRed = 9;
inline constexpr int kTypeGorritBlue = 10;
inline constexpr int kTypeSkeleton = 11;
inline constexpr int kTypeBatBlue = 12;
inline constexpr int kTypeBatRed = 13;
inline constexpr int kTypeSnake = 18;
inline constexpr int kTypePushblock = 30;
inline constexpr int kTypeReserved = 50;

// The enemy types a world must offer, one id per class and colour.
inline constexpr int kEnemyTypes[] = {kTypePelvokBlue, kTypePelvokRed,  kTypeMurla,
                                      kTypeGorritRed,  kTypeGorritBlue, kTypeSkeleton,
                                      kTypeBatBlue,    kTypeBatRed,     kTypeSnake};

// -1 when `name` is no known type name.
int EntityTypeByName(const std::string& name);
// The name of a type id; the red Pelvok's name for ids the game has no other use for.
std::string EntityTypeName(int type);

}  // namespace World
