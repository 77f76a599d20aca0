// musicc SONG OUTPUT.mp3 [REVIEW.wav]
// Compiles a song of note data (see song.h) to an MP3 file that loops
// seamlessly from its loop start to its end; optionally also writes the
// rendered PCM as a WAV file for review. The same song always gives the
// same bytes.
#include <cstdio>

#include "audiofile.h"
#include "render.h"
#include "song.h"

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: musicc SONG OUTPUT.mp3 [REVIEW.wav]\n");
    return 2;
  }
  Song song;
  if (!ReadSong(argv[1], song)) return 1;
  if (song.lengthInSteps == 0) {
    std::fprintf(stderr, "%s: the song has no notes\n", argv[1]);
    return 1;
  }
  const Pcm16 pcm = RenderSong(song);
  if (!WriteMp3(argv[2], pcm, song.bitrate)) {
    std::fprintf(stderr, "musicc: cannot write %s\n", argv[2]);
    return 1;
  }
  if (argc == 4 && !WriteWav(argv[3], pcm)) {
    std::fprintf(stderr, "musicc: cannot write %s\n", argv[3]);
    return 1;
  }
  std::printf("%s: %.1f s, loop from frame %d to %d\n", argv[2], pcm.Frames() / static_cast<double>(pcm.rate),
              song.loopStart, pcm.Frames());
  return 0;
}
