#include "game/hitreport.h"

#include "game/entity.h"
#include "game/net.h"
#include "game/netconnection.h"
#include "game/netmessages.h"

void SendHitReport(NetConnection* net, Entity* target, int direction, int pushDistance) {
  if (net == nullptr || !net->IsConnected()) return;
  NetMessage message(MSG_HIT);
  NetStream& stream = message.stream;
  const Vec2 position = target->GetPosition();
  stream.WriteValue(target->GetUID());
  stream.WriteValue(position.x);
  stream.WriteValue(position.y);
  stream.WriteValue(target->health);
  stream.WriteValue(target->flashTime);
  stream.WriteValue(static_cast<int32_t>(direction));
  stream.WriteValue(static_cast<int32_t>(pushDistance));
  net->Send(message);
}
