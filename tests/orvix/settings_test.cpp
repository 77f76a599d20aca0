#include "orvix/settings.h"

#include <gtest/gtest.h>

#include <string>

#include "render_helpers.h"

using Orvix::CVar;
using Orvix::CVAR_FLOAT;
using Orvix::CVAR_INT;
using Orvix::CVAR_STRING;
using render_test::LogCapture;

namespace {

// A settings table of its own for each test, besides the process's singleton.
class FreshSettings : public Orvix::EngineSettings {
 public:
  FreshSettings() = default;
  ~FreshSettings() = default;
};

}  // namespace

TEST(EngineSettings, SecondDeclarationOfANameIsRefusedAndTheFirstKept) {
  LogCapture log;
  FreshSettings settings;
  CVar* first = settings.NewCVar("testInt", CVAR_INT, 1);
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(first->SetInt(42));
  EXPECT_EQ(settings.NewCVar("testInt", CVAR_FLOAT, 1), nullptr);
  EXPECT_TRUE(log.Contains("CVAR \"testInt\" already defined"));
  EXPECT_EQ(settings.GetCVar("testInt"), first);
  EXPECT_EQ(first->GetInt(), 42);
  EXPECT_EQ(first->type, CVAR_INT);
}

TEST(EngineSettings, NewVariablesStartAtZeroAndSettersKeepToTheirType) {
  FreshSettings settings;
  CVar* number = settings.NewCVar("number", CVAR_INT, 1);
  CVar* ratio = settings.NewCVar("ratio", CVAR_FLOAT, 1);
  CVar* text = settings.NewCVar("text", CVAR_STRING, 8);
  ASSERT_TRUE(number && ratio && text);
  EXPECT_EQ(number->GetInt(), 0);
  EXPECT_EQ(ratio->GetFloat(), 0.0f);
  EXPECT_STREQ(text->GetString(), "");

  EXPECT_TRUE(ratio->SetFloat(2.5f));
  EXPECT_FALSE(ratio->SetInt(7));
  EXPECT_EQ(ratio->GetFloat(), 2.5f);
  EXPECT_FALSE(ratio->SetString("x"));
  EXPECT_FALSE(number->SetFloat(1.0f));
  EXPECT_FALSE(number->SetString("x"));
  EXPECT_FALSE(text->SetInt(1));
  EXPECT_TRUE(text->SetString("abc"));
  EXPECT_STREQ(text->GetString(), "abc");
  EXPECT_EQ(number->GetInt(), 0);
}

TEST(EngineSettings, RefusesBadNamesAndCounts) {
  LogCapture log;
  FreshSettings settings;
  const std::string longest(47, 'n');
  EXPECT_NE(settings.NewCVar(longest.c_str(), CVAR_INT, 1), nullptr);
  EXPECT_EQ(settings.NewCVar((longest + "n").c_str(), CVAR_INT, 1), nullptr);
  EXPECT_EQ(settings.NewCVar("none", CVAR_INT, 0), nullptr);
  EXPECT_EQ(settings.NewCVar("negative", CVAR_INT, -3), nullptr);
  EXPECT_EQ(settings.GetCVar("none"), nullptr);
  EXPECT_TRUE(log.Contains("invalid element count 0"));
}

TEST(EngineSettings, ExhaustedHeapGivesItsMessageAndNull) {
  LogCapture log;
  FreshSettings settings;
  // The record and 2,097,128 bytes of storage leave 8 of the 2,097,152 bytes.
  ASSERT_NE(settings.NewCVar("big", CVAR_INT, 524282), nullptr);
  EXPECT_EQ(settings.NewCVar("more", CVAR_INT, 1), nullptr);
  EXPECT_TRUE(
      log.Contains("NVHeap (cvar heap) allocation failed (tried to allocated 16 bytes -- 8 bytes free)"))
      << log.Text();
  EXPECT_EQ(settings.GetCVar("more"), nullptr);
}

TEST(EngineSettings, DumpWritesEachTypeInItsFormat) {
  FreshSettings settings;
  CVar* testInt = settings.NewCVar("testInt", CVAR_INT, 1);
  CVar* testString = settings.NewCVar("testString", CVAR_STRING, 100);
  CVar* testFloats = settings.NewCVar("testFloats", CVAR_FLOAT, 3);
  CVar* testInts = settings.NewCVar("testInts", CVAR_INT, 2);
  CVar* testFloat = settings.NewCVar("testFloat", CVAR_FLOAT, 1);
  testInt->SetInt(-5);
  testString->SetString("holy shit");
  static_cast<float*>(testFloats->data)[0] = 1.5f;
  static_cast<float*>(testFloats->data)[1] = 2.25f;
  static_cast<float*>(testFloats->data)[2] = -3.0f;
  static_cast<int32_t*>(testInts->data)[0] = 7;
  static_cast<int32_t*>(testInts->data)[1] = 9;
  testFloat->SetFloat(0.5f);

  LogCapture log;
  settings.DumpToLog();
  const std::string text = log.Text();
  EXPECT_NE(text.find("CVAR:\ttestInt = -5\r\n\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("CVAR:\ttestString (9/100) = \"holy shit\"\r\n\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("CVAR:\ttestFloats [0] = 1.500000\r\n\ttestFloats [1] = 2.250000\r\n"
                      "\ttestFloats [2] = -3.000000\r\n\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("CVAR:\ttestInts [0] = 7\r\n\ttestInts [1] = 9.000000\r\n\r\n"), std::string::npos)
      << text;
  EXPECT_NE(text.find("CVAR:\ttestFloat = 0.500000\r\n\r\n"), std::string::npos) << text;
}

TEST(EngineSettings, DumpFollowsBucketOrderThenDeclarationOrder) {
  FreshSettings settings;
  // Buckets: "b" 98 % 17 = 13, "s" 115 % 17 = 13, "a" 97 % 17 = 12.
  settings.NewCVar("b", CVAR_INT, 1);
  settings.NewCVar("s", CVAR_INT, 1);
  settings.NewCVar("a", CVAR_INT, 1);
  LogCapture log;
  settings.DumpToLog();
  EXPECT_EQ(log.Text(), "CVAR:\ta = 0\r\n\r\nCVAR:\tb = 0\r\n\r\nCVAR:\ts = 0\r\n\r\n");
}

TEST(EngineSettings, AStringFillingItsWholeCapacityDumpsWithinIt) {
  FreshSettings settings;
  CVar* code = settings.NewCVar("code", CVAR_STRING, 4);
  CVar* next = settings.NewCVar("next", CVAR_INT, 1);
  next->SetInt(0x41414141);  // "AAAA" right behind the string's storage, were it read past
  EXPECT_TRUE(code->SetString("abcdefgh"));
  LogCapture log;
  settings.DumpToLog();
  EXPECT_TRUE(log.Contains("CVAR:\tcode (4/4) = \"abcd\"\r\n")) << log.Text();
}

TEST(EngineSettings, TheSingletonServesTheWholeProcess) {
  Orvix::EngineSettings& settings = Orvix::CSingleton<Orvix::EngineSettings>::Instance();
  EXPECT_EQ(&settings, &Orvix::CSingleton<Orvix::EngineSettings>::Instance());
  CVar* shared = settings.NewCVar("singletonProbe", CVAR_FLOAT, 1);
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(settings.GetCVar("singletonProbe"), shared);
}
