#include "game/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/netsetup.h"

namespace {

struct Parsed {
  OptionsResult result;
  GameOptions options;
  std::string error;
};

Parsed Parse(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "game");
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  Parsed parsed;
  char error[256] = "";
  parsed.result =
      ParseGameOptions(static_cast<int>(argv.size()), argv.data(), &parsed.options, error, sizeof error);
  parsed.error = error;
  return parsed;
}

}  // namespace

TEST(GameOptions, UsableCommandLines) {
  Parsed none = Parse({});
  EXPECT_EQ(none.result, OptionsResult::Run);
  EXPECT_FALSE(none.options.HasSetupChoice()) << "the dialog decides";
  EXPECT_EQ(none.options.frames, 0);

  // Parse returns pointers into its own copy of the arguments, so only the
  // flags and numbers are checked after it returns.
  Parsed full = Parse({"--headless", "--server", "--name", "A", "--frames", "30"});
  EXPECT_EQ(full.result, OptionsResult::Run);
  EXPECT_TRUE(full.options.headless);
  EXPECT_TRUE(full.options.server);
  EXPECT_TRUE(full.options.HasSetupChoice());
  EXPECT_EQ(full.options.frames, 30);
  EXPECT_EQ(full.options.port, 3203) << "the game's own port when none is given";
  EXPECT_EQ(Parse({"--port", "65535"}).options.port, 65535);

  EXPECT_TRUE(Parse({"--name", ""}).options.HasSetupChoice()) << "an empty name is a choice too";
  EXPECT_EQ(Parse({"--server", "--help"}).result, OptionsResult::Help);
}

TEST(GameOptions, UnusableCommandLinesSayWhatIsWrong) {
  struct Case {
    std::vector<std::string> arguments;
    std::string errorPart;
  };
  const Case cases[] = {
      {{"--bogus"}, "unknown option \"--bogus\""},
      {{"--connect"}, "--connect needs ADDRESS"},
      {{"--connect", ""}, "--connect needs a server address"},
      {{"--name"}, "--name needs NAME"},
      {{"--frames", "0"}, "--frames needs a whole number"},
      {{"--frames", "-3"}, "--frames needs a whole number"},
      {{"--frames", "12x"}, "--frames needs a whole number"},
      {{"--frames", "99999999999999999999"}, "--frames needs a whole number"},
      {{"--port", "0"}, "--port needs a whole number from 1 to 65535"},
      {{"--port", "65536"}, "--port needs a whole number from 1 to 65535"},
      {{"--port", "80a"}, "--port needs a whole number from 1 to 65535"},
      {{"--server", "--connect", "10.0.0.1"}, "--server and --connect exclude each other"},
  };
  for (const Case& c : cases) {
    const Parsed parsed = Parse(c.arguments);
    EXPECT_EQ(parsed.result, OptionsResult::Error) << c.arguments[0];
    EXPECT_NE(parsed.error.find(c.errorPart), std::string::npos) << parsed.error;
  }
}

TEST(GameOptions, TheChoiceIsFilledAsTheDialogWouldFillIt) {
  GameOptions options;
  NetSetupChoice choice;
  options.playerName = "Aveth";
  FillNetSetupChoice(options, &choice);
  EXPECT_FALSE(choice.isServer);
  EXPECT_STREQ(choice.serverAddress, "127.0.0.1") << "the dialog's default address";
  EXPECT_STREQ(choice.playerName, "Aveth");

  const std::string longName(80, 'n');
  const std::string longAddress(40, '1');
  options.playerName = longName.c_str();
  options.connectTo = longAddress.c_str();
  FillNetSetupChoice(options, &choice);
  EXPECT_EQ(std::string(choice.playerName), longName.substr(0, 63));
  EXPECT_EQ(std::string(choice.serverAddress), longAddress.substr(0, 23));

  GameOptions server;
  server.server = true;
  FillNetSetupChoice(server, &choice);
  EXPECT_TRUE(choice.isServer);
  EXPECT_STREQ(choice.playerName, "");
}

TEST(GameOptions, HelpListsEveryOption) {
  char* text = nullptr;
  size_t size = 0;
  FILE* out = open_memstream(&text, &size);
  PrintGameUsage(out);
  std::fclose(out);
  const std::string help(text, size);
  std::free(text);
  for (const char* option :
       {"--server", "--connect ADDRESS", "--name NAME", "--headless", "--frames N", "--help"})
    EXPECT_NE(help.find(option), std::string::npos) << option;
}
