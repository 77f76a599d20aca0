// Program entry: the network set-up (dialog or command line), then the game
// application is launched in the engine's frame.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/frameclock.h"
#include "game/netsetup.h"
#include "game/options.h"
#include "game/testapp.h"
#include "orvix/inputscript.h"

namespace {

// Switches to headless play; SDL reads its drivers when it starts, so this
// must come first.
void EnterHeadlessMode() {
  Orvix::SetHeadless(true);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

// Appends as much of text as fits, keeping the terminating zero.
void AppendCut(char* out, size_t size, const char* text) {
  const size_t used = std::strlen(out);
  std::snprintf(out + used, size - used, "%s", text);
}

// The arguments after the program name, as Windows hands them to WinMain.
void CopyCommandLine(int argc, char** argv, char* out, size_t size) {
  out[0] = '\0';
  for (int i = 1; i < argc; ++i) {
    if (i > 1) AppendCut(out, size, " ");
    AppendCut(out, size, argv[i]);
  }
}

// False when the game could not start (it has said why).
bool RunGame(const NetSetupChoice& choice, const GameOptions& options, Orvix::InputScript* script, int argc,
             char** argv) {
  CTestApp app;
  Orvix::LaunchContext context;
  std::memset(&context, 0, sizeof context);
  context.hInstance = Orvix::GetProgramInstance();
  CopyCommandLine(argc, argv, context.commandLine, sizeof context.commandLine);
  context.flags = 0;
  context.width = 512;
  context.height = 512;
  std::snprintf(context.appName, sizeof context.appName, "%s", "ORVIX App");
  ApplyNetSetupChoice(&app, choice);
  app.SetFrameLimit(options.frames);
  app.SetGamePort(options.port);
  app.SetInputScript(script);
  app.SetWorldDumpPath(options.worldDump);
  app.Launch(&context);
  return !app.StartFailed();
}

}  // namespace

int main(int argc, char** argv) {
  GameOptions options;
  char error[256];
  switch (ParseGameOptions(argc, argv, &options, error, sizeof error)) {
    case OptionsResult::Help:
      PrintGameUsage(stdout);
      return 0;
    case OptionsResult::Error:
      std::fprintf(stderr, "game: %s\nTry 'game --help'.\n", error);
      return 2;
    case OptionsResult::Run:
      break;
  }

  const bool headless = options.headless || Orvix::IsHeadless();
  if (headless) {
    EnterHeadlessMode();
    if (!options.HasSetupChoice()) {
      std::fprintf(stderr,
                   "game: there is no set-up dialog without a display or with --headless; give --server or "
                   "--connect ADDRESS, and --name NAME\n");
      return 2;
    }
  }

  // Read before anything starts, so that a bad script is reported at once.
  Orvix::InputScript* script = nullptr;
  if (options.inputScript != nullptr) {
    script = Orvix::InputScript::Load(options.inputScript, error, sizeof error);
    if (script == nullptr) {
      std::fprintf(stderr, "game: --input %s: %s\n", options.inputScript, error);
      return 2;
    }
  }

  std::srand(options.hasSeed ? options.seed : Orvix::GetTickCount());
  NetSetupChoice choice;
  if (options.HasSetupChoice())
    FillNetSetupChoice(options, &choice);
  else if (!RunNetSetupDialog(&choice)) {
    OX_DELETE script;
    return 0;
  }
  // A seeded headless game runs on the frame clock, so that it plays the same
  // way every time; the clock starts before the engine first reads it.
  if (headless && options.hasSeed) FrameClock::Install();
  const bool played = RunGame(choice, options, script, argc, argv);
  if (FrameClock::IsInstalled()) FrameClock::Uninstall();
  return played ? 0 : 1;
}
