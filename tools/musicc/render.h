// Renders a song to stereo PCM that loops seamlessly: the file holds
// loopStart frames that lead into the loop, then one period of the song,
// whose end flows into its start (every ringing note and echo included).
#pragma once

#include "audiofile.h"
#include "song.h"

Pcm16 RenderSong(const Song& song);
