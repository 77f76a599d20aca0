// CTestApp::DrawOverlay: the hero's values on the HUD band (the top 128 rows
// of the window): the sword and the item in use, the hearts and the counters.
#include <cmath>

#include "game/aveth.h"
#include "game/rendprael.h"
#include "game/sword.h"
#include "game/testapp.h"

namespace {

// Screen places on the HUD image.
constexpr int kSwordX = 298, kSwordY = 65;
constexpr int kItemX = 251, kItemY = 65;
constexpr int kHeartsX = 346, kHeartSpacing = 17, kHeartsPerRow = 8;
constexpr int kFirstHeartRowY = 88, kSecondHeartRowY = 68;
constexpr int kCountersX = 195, kCurrencyY = 48, kKeysY = 80, kExtraY = 96;

// Tiles of the HUD's tilemap.
constexpr int kHudTilemap = 1;
constexpr int kFullHeart = 4, kHalfHeart = 5, kEmptyHeart = 6;
constexpr int kBoomerangTile = 147, kBoomerangTileStep = 16;
constexpr int kFireTile = 58, kBombTile = 72, kArrowTile = 25;

int ItemTile(const Aveth& hero) {
  switch (hero.selectedItem) {
    case Aveth::ITEM_BOOMERANG:
      return kBoomerangTile + kBoomerangTileStep * hero.boomerangIndex;
    case Aveth::ITEM_FIRE:
      return kFireTile + hero.fireVariant;
    case Aveth::ITEM_BOMB:
      return kBombTile;
    case Aveth::ITEM_ARROW:
      return kArrowTile;
    default:
      return -1;
  }
}

}  // namespace

// The HUD shows this program's own hero, as it stands in the world list.
Aveth* CTestApp::FindShownHero() const {
  if (renderer == nullptr) return nullptr;
  const uint32_t ownUid = isServer ? Aveth::kServerHeroUid : Aveth::kClientHeroUid;
  for (unsigned i = 0; i < renderer->GetEntityCount(); ++i) {
    Entity* entity = renderer->GetEntity(i);
    if (entity != nullptr && entity->isPlayer && entity->GetUID() == ownUid)
      return static_cast<Aveth*>(entity);
  }
  return nullptr;
}

void CTestApp::DrawOverlay() {
  Aveth* hero = FindShownHero();
  if (hero == nullptr) return;
  if (const Sword* sword = hero->GetSword(hero->swordIndex))
    renderer->DrawSprite(sword->sprite, 0, kSwordX, kSwordY, -1, -1);
  renderer->DrawTile(kHudTilemap, ItemTile(*hero), kItemX, kItemY);
  DrawHearts(*hero);
  DrawCounter(kCountersX, kCurrencyY, hero->currency);
  DrawCounter(kCountersX, kKeysY, hero->keys);
  DrawCounter(kCountersX, kExtraY, hero->extraCount);
}

// One heart per whole heart of maximum health: full, half (the one that holds
// the fraction) or empty; eight to a row, the ninth and later above.
void CTestApp::DrawHearts(const Aveth& hero) {
  const int heartCount = static_cast<int>(hero.maxHealth);
  const float fullHearts = std::floor(hero.health);
  const float partHeart = std::ceil(hero.health);
  for (int i = 0; i < heartCount; ++i) {
    int tile = kEmptyHeart;
    if (static_cast<float>(i + 1) <= fullHearts)
      tile = kFullHeart;
    else if (static_cast<float>(i + 1) == partHeart)
      tile = kHalfHeart;
    const int x = (i % kHeartsPerRow) * kHeartSpacing + kHeartsX;
    const int y = i < kHeartsPerRow ? kFirstHeartRowY : kSecondHeartRowY;
    renderer->DrawTile(kHudTilemap, tile, x, y);
  }
}

// Three digits fit beside the counter's picture only without the "X".
void CTestApp::DrawCounter(int x, int y, int value) {
  if (value < 100)
    renderer->DrawString(x, y, "X%d", value);
  else
    renderer->DrawString(x, y, "%d", value);
}
