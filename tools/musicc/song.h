// Songs as note data. A song file declares its channels (each a synth voice,
// or a drum kit of sound-effect recipes), patterns of notes for them, and
// the order the patterns play in:
//
//   tempo 141.75           beats per minute
//   steps 4                steps per beat
//   bar 16                 steps per bar, checked at every "|"
//   loopstart 7000         frames of the file before the loop point (default 0)
//   peak 0.8               level of the loudest sample
//   echo 0.317 0.35        ping-pong echo: delay in seconds, feedback
//   bitrate 64             MP3 kilobits per second
//
//   channel lead square    a channel and its wave ("drums" for a kit);
//     pan -0.3             then its settings: stereo place (-1 .. 1),
//     send 0.3             share sent to the echo,
//     gate 0.9             share of each note held before its release,
//     ... and every voice setting of synth.h (duty, envelope, vibrato, ...)
//   drum k kick.sfx 1.0    a drum of the kit: name, recipe (beside the song), level
//
//   pattern A              a pattern: one line of notes per channel; a
//     lead E5:4 G5:2 . |   token is NOTE[:steps], chords join notes with
//     drums k:2 h:2 s:2 h:2  "+", "." rests, "-" holds the note before
//   song A A B A           the patterns in playing order
#pragma once

#include <string>
#include <vector>

#include "recipe.h"
#include "synth.h"

struct NoteEvent {
  int step = 0;                 // from the start of the song
  int length = 1;               // in steps
  std::vector<double> pitches;  // hertz, one per chord note
  std::vector<int> drums;       // indices into the channel's kit
};

struct DrumSound {
  std::string name;
  std::vector<float> samples;  // rendered from its recipe at the song's rate
  double level = 1.0;
};

struct SongChannel {
  std::string name;
  bool isKit = false;
  Voice voice;
  std::vector<DrumSound> kit;
  double pan = 0.0;
  double send = 0.0;
  double gate = 1.0;
  std::vector<NoteEvent> notes;
};

struct Song {
  int rate = 22050;
  double tempo = 120.0;
  int stepsPerBeat = 4;
  int stepsPerBar = 16;
  int loopStart = 0;
  double peak = 0.8;
  double echoDelay = 0.0;
  double echoFeedback = 0.0;
  int bitrate = 64;
  std::vector<SongChannel> channels;
  int lengthInSteps = 0;

  double StepFrames() const { return rate * 60.0 / tempo / stepsPerBeat; }
};

bool ReadSong(const std::string& path, Song& song);
