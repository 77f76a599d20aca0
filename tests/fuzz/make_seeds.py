#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into corpus/<target>/.

The seeds are checked in; run this again after changing it. Each seed is a
small, valid example of what its target reads, so that fuzzing starts from
inputs that reach deep into the code.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write(target, name, data):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode()
    with open(os.path.join(folder, name), "wb") as out:
        out.write(data)


# ----- sprite definition files; "tiles.bmp" is a 128 x 64 sheet of 16 x 16 tiles
write("spritedef", "game_like.def", """// two tilemaps and a few sprites
LOAD_TILEMAP tiles.bmp 16 16 0
LOAD_TILEMAP tiles.bmp 32 32 0
SPRITE Aveth { TILEMAP 1
  ANIMATION { 0, 1, 2,  3, 4, 5 }
}
SPRITE Heart { TILEMAP 0 ANIMATION { 7 } }
sprite Key {
  tilemap 0 animation { 300, 8 }// a comment
  ANIMATION { 31 32 33 }
}
""")
write("spritedef", "errors.def", "LOAD_TILEMAP missing.bmp 16 16 0\nSPRITE A { ANIMATION\n{ 1 } }\n")
write("spritedef", "crlf.def", "LOAD_TILEMAP tiles.bmp 8 8 1\r\nSPRITE Bat {\tTILEMAP 0\r\n ANIMATION { 1,2,3 }\r\n}\r\n")
write("spritedef", "duplicate.def",
      "LOAD_TILEMAP tiles.bmp 16 16 0\nSPRITE Rock { ANIMATION { 1 } }\nSPRITE Rock { ANIMATION { 2 } }\n"
      "SPRITE Unclosed { TILEMAP 5 ANIMATION { 1 2\n")

# ----- world maps: 168,960 tile bytes, then 608 room records of 176 bytes
TILE_BYTES = 168960
ROOMS = 608
STAIRS = 64


def room_record(start_cell=0, spawns=(), exit_flag=0, dungeon=0, doors=(0, 0, 0, 0)):
    record = bytearray(176)
    struct.pack_into("<i", record, 0, start_cell)
    for type_id, low, high in spawns:
        struct.pack_into("<bb", record, 9 + 2 * type_id, low, high)
    record[138] = exit_flag
    record[139] = dungeon
    struct.pack_into("<4i", record, 160, *doors)
    return bytes(record)


def world_map():
    tiles = bytearray(TILE_BYTES)
    # A wall around the start room (7, 7) and stairs below the hero's start tile.
    for column in range(16):
        tiles[(7 * 11) * 256 + 7 * 16 + column] = 1
    tiles[84 * 256 + 120] = STAIRS
    rooms = [room_record() for _ in range(ROOMS)]
    rooms[7 * 16 + 7] = room_record(start_cell=(7 * 11 + 18 * 11 + 3) * 256 + 7 * 16 + 5, spawns=((2, 1, 3),))
    rooms[18 * 16 + 7] = room_record(start_cell=-5, exit_flag=1, dungeon=1, doors=(1, 2, 3, 4))
    rooms[19 * 16 + 7] = room_record(start_cell=1 << 30, dungeon=1, doors=(4, 3, 7, -1))
    return bytes(tiles) + b"".join(rooms)


write("map", "world.wmap", world_map())
write("map", "short.wmap", world_map()[:TILE_BYTES + 1000])
write("map", "tiles_only.wmap", bytes(range(256)) * 16)

# ----- network: first byte = side (bit 0: 1 server, 0 client) and piece size
PASSWORD = b"4829170365518294037716602948153"


def frame(message_type, payload=b""):
    return struct.pack("<Ii", message_type, len(payload)) + payload


def padded(text, width):
    return text + bytes(width - len(text))


credentials = frame(156, padded(PASSWORD, 32) + padded(b"Client", 64))
game = frame(0, struct.pack("<ff", 3488.0, 3264.0)) + frame(7, b"\x01" * 8) + frame(13) + frame(6, bytes(40))
write("net", "server_handshake_and_messages", bytes([1 | (127 << 1)]) + credentials + game)
write("net", "server_in_pieces", bytes([1 | (2 << 1)]) + credentials + game)
write("net", "server_wrong_password", bytes([1]) + frame(156, padded(b"guess", 32) + padded(b"X", 64)))
write("net", "server_early_message", bytes([1 | (9 << 1)]) + game + credentials)
write("net", "client_handshake_and_messages",
      bytes([127 << 1]) + frame(155) + frame(158, padded(b"Server", 64)) + game)
write("net", "client_rejected", bytes([3 << 1]) + frame(155) + frame(157))
write("net", "client_oversized_header", bytes([0]) + frame(155) + struct.pack("<Ii", 0, 4097))

# ----- the game's messages through the connection, with a world loaded
def record(uid, type_id, x, y, facing=1):
    return struct.pack("<Iiffi", uid, type_id, x, y, facing) + bytes([1, 0, 0, 0])


START = (3840.0, 2656.0)
from_client = (frame(1, struct.pack("<ii", 7, 7)) + frame(0, struct.pack("<ffif", 3800.0, 2650.0, 2, 3.0)) +
               frame(7, struct.pack("<ff", *START)) + frame(13, struct.pack("<ff", *START)) +
               frame(6, struct.pack("<Iffffif", 10, 3800.0, 2650.0, 1.0, 0.5, 2, 8.0)) +
               frame(5, struct.pack("<I", 6) + b"hello\0") + frame(1, struct.pack("<ii", 8, 7)))
write("netgame", "server_client_plays", bytes([1 | (127 << 1)]) + credentials + from_client)
write("netgame", "server_client_plays_in_pieces", bytes([1 | (5 << 1)]) + credentials + from_client)
from_server = (frame(0, struct.pack("<ffif", 3800.0, 2650.0, 3, 2.5) + struct.pack("<ffBffB", 1, 2, 1, 3, 4, 0)) +
               frame(3, record(10, 2, 3700.0, 2600.0)) + frame(3, record(11, 5, 3650.0, 2600.0)) +
               frame(2, struct.pack("<I", 2) + record(10, 2, 3710.0, 2600.0) + record(11, 5, 3660.0, 2610.0)) +
               frame(9, struct.pack("<Ii", 11, 2)) + frame(6, struct.pack("<Iffffif", 10, 3700.0, 2600.0, 0.0, 0.5, 1, 8.0)) +
               frame(8, struct.pack("<I", 10)) + frame(11, struct.pack("<iffi", 1, 3700.0, 2600.0, 300)) +
               frame(10, struct.pack("<iii", 4, 8, 7)) + frame(4, struct.pack("<I", 11)) +
               frame(5, struct.pack("<I", 4) + b"hey\0"))
write("netgame", "client_server_plays", bytes([127 << 1]) + frame(155) + frame(158, padded(b"Server", 64)) + from_server)
write("netgame", "client_server_plays_in_pieces",
      bytes([7 << 1]) + frame(155) + frame(158, padded(b"Server", 64)) + from_server)
