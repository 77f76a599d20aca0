// Message 6, the hit report: whoever hurts an entity tells the peer its new
// health, flash time and knock-back.
//
// Payload, little-endian: uid u32 | x f32 | y f32 | health f32 |
// flash time f32 | direction i32 | push distance i32 (28 bytes).
#pragma once

class Entity;
class NetConnection;

// Sends the report for `target` as it is now; nothing without a peer.
void SendHitReport(NetConnection* net, Entity* target, int direction, int pushDistance);
