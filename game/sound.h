// The game's sounds: effects and music are loaded once at start-up in a
// fixed order and named afterwards only by their index, which is also the
// mixer channel they play on. Playing a sound again restarts it; different
// sounds play together.
#pragma once

class CMixer;

// Starts the output, mixing at 22,050 Hz on 64 channels. False, with the
// reason in GetSoundError, when there is no audio device; sounds still load
// and play then, silently, so the game goes on.
bool SoundInit();
// Stops the output and releases every sound.
void SoundShutdown();

// Loads the next sound (index = the number loaded so far): 1 on success; -1
// on failure, which leaves the count, so the next file takes this index.
int LoadSound(const char* path, bool loop);
bool PlaySound(int index);
void StopSound(int index);
// `volume` is a gain relative to the sound's normal level (1.0), kept for the
// sound and applied every time it plays; 2.0 doubles it without clipping.
void SetSoundVolume(int index, float volume);
// Loop points in frames of the file; an end of 0, or one not above the
// start, loops to the end of the sound. False, with a reason in
// GetSoundError, for an index that holds no sound or a start past its end.
bool SetSoundLoopPoints(int index, int start, int end);
// The last error text.
char* GetSoundError();

// The number of sounds loaded, and the mixer behind the module (borrowed;
// null outside SoundInit .. SoundShutdown), for tests and benchmarks.
int GetSoundCount();
CMixer* GetSoundMixer();
