// Pickups: the items lying in the world that a hero collects by touching
// them, or by touching them with the boomerang he has thrown: Key, Heart and
// Dralm (currency). They come into the world through Entity::SpawnPickup,
// on the server when an enemy drops one and on clients when message 11
// announces that drop. Collection runs on every participant for both heroes,
// so each participant's copies of the heroes receive the same items, and each
// participant ends its own copy of the pickup (pickups never announce a death).
#pragma once

#include <cstdint>

#include "game/entity.h"

class Aveth;

// What SpawnPickup makes of a kind (the kind travels in message 11).
enum PickupKind : int32_t {
  PICKUP_DRALM = 1,       // a Dralm worth 1 (also every unknown kind)
  PICKUP_DRALM_FIVE = 2,  // a Dralm worth 5
  PICKUP_HEART = 4,
  PICKUP_KEY = 8,
};

class Pickup : public Entity {
 public:
  // A life that never runs out.
  static constexpr float kNoLife = -1.0f;
  // The life an enemy's drop is given.
  static constexpr float kDropLife = 10.0f;
  // Hero and boomerang boxes are shrunk by this much for the touch test.
  static constexpr int kTouchInset = 4;

  Pickup(NetConnection* net, PraelRenderer* spriteRenderer);

  void Tick(float seconds) override;
  void SendEvent(int, EventParam*, EventParam*) override {}

  // Gives the pickup `seconds` to live (kNoLife: for ever) and puts it there.
  virtual void Place(Vec2 where, float seconds);
  // Gives the item to `hero`, ends the pickup and plays its sound when it lies
  // in the local hero's room. A pickup gives its item once: a pickup that has
  // ended (collected or expired) gives nothing more, whoever touches it.
  virtual void Collect(Aveth* hero);

  float life = kNoLife;           // seconds left; kNoLife: never expires
  PraelRenderer* spriteRenderer;  // borrowed: where the sprite is looked up

 protected:
  // Looks up the sprite type and names the pickup after it.
  void UseSprite(const char* spriteName);
  // frameCount 0 shows the first frame still.
  void UseAnimation(int32_t firstFrame, float frames, float framesPerSecond);

 private:
  virtual void GiveTo(Aveth* hero) = 0;
  // The sound played on collection; -1 for none.
  virtual int CollectSound() const = 0;
  // Either hero, or the boomerang he has in flight, touching the pickup.
  void CollectByTouch();
};

class Key : public Pickup {
 public:
  Key(NetConnection* net, PraelRenderer* spriteRenderer);

 private:
  void GiveTo(Aveth* hero) override;
  int CollectSound() const override;
};

class Heart : public Pickup {
 public:
  Heart(NetConnection* net, PraelRenderer* spriteRenderer);

 private:
  void GiveTo(Aveth* hero) override;
  int CollectSound() const override;
};

class Dralm : public Pickup {
 public:
  // A coin of value 1 spins; bigger coins show their own still picture.
  Dralm(int32_t coinValue, NetConnection* net, PraelRenderer* spriteRenderer);

  int32_t value;  // currency it gives

 private:
  void GiveTo(Aveth* hero) override;
  int CollectSound() const override { return -1; }  // the hero's counter ticks instead
};
