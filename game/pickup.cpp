#include "game/pickup.h"

#include "game/aveth.h"
#include "game/rendprael.h"
#include "game/sound.h"
#include "game/soundtable.h"

namespace {

constexpr uint32_t kHeroUids[] = {Aveth::kServerHeroUid, Aveth::kClientHeroUid};

}  // namespace

Pickup::Pickup(NetConnection* connection, PraelRenderer* lookup)
    : Entity(connection), spriteRenderer(lookup) {
  isPickup = true;
  dead = true;  // every participant ends its own copy: no death message
  SetName("Pickup");
}

void Pickup::UseSprite(const char* spriteName) {
  SetName(spriteName);
  if (spriteRenderer != nullptr) sprite = spriteRenderer->GetSpriteType(spriteName);
}

void Pickup::Place(Vec2 where, float seconds) {
  life = seconds;
  SetPosition(where);
}

void Pickup::Tick(float seconds) {
  if (life != kNoLife) {
    life -= seconds;
    if (life <= 0.0f) Dead();
  }
  if (frameCount > 0.0f) Animate();
  CollectByTouch();
  Entity::Tick(seconds);
}

// The server's hero is asked first, so when both heroes touch the pickup in
// the same frame every participant gives it to the same one.
void Pickup::CollectByTouch() {
  for (uint32_t heroUid : kHeroUids) {
    if (removed) return;
    Aveth* hero = FindHero(renderer, heroUid);
    if (hero == nullptr) continue;
    if (Collide(hero, this, kTouchInset)) {
      Collect(hero);
      continue;
    }
    // A caught boomerang stays where it was caught, out of sight; only one in
    // flight collects.
    Entity* boomerang = hero->GetBoomerangInUse();
    if (boomerang != nullptr && boomerang->visible && Collide(boomerang, this, kTouchInset)) Collect(hero);
  }
}

void Pickup::Collect(Aveth* hero) {
  if (removed || hero == nullptr) return;
  GiveTo(hero);
  Dead();
  const int sound = CollectSound();
  if (sound >= 0 && inHeroRoom) PlaySound(sound);
}

void Pickup::UseAnimation(int32_t firstFrame, float frames, float framesPerSecond) {
  baseFrame = firstFrame;
  frame = 0.0f;
  frameCount = frames;
  frameRate = framesPerSecond;
}

Key::Key(NetConnection* connection, PraelRenderer* lookup) : Pickup(connection, lookup) {
  UseSprite("Key");
  UseAnimation(0, 0.0f, 0.0f);
}

void Key::GiveTo(Aveth* hero) { hero->AddKey(); }

int Key::CollectSound() const { return kSoundKey; }

Heart::Heart(NetConnection* connection, PraelRenderer* lookup) : Pickup(connection, lookup) {
  UseSprite("Heart");
  UseAnimation(0, 2.0f, 10.0f);
}

void Heart::GiveTo(Aveth* hero) { hero->AddHealth(1.0f); }

int Heart::CollectSound() const { return kSoundGetHeart; }

Dralm::Dralm(int32_t coinValue, NetConnection* connection, PraelRenderer* lookup)
    : Pickup(connection, lookup), value(coinValue) {
  UseSprite("Dralm");
  if (value > 1) {
    UseAnimation(1, 0.0f, 10.0f);
  } else {
    UseAnimation(0, 2.0f, 10.0f);
  }
}

void Dralm::GiveTo(Aveth* hero) { hero->AddCurrency(value); }
