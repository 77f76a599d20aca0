// Texts of the memory tracker: size strings, separators and owner strings.
#include "orvix/memtrack.h"

#if PRAEL_MEMTRACK

#include <gtest/gtest.h>

#include <cstdint>

#include "orvix/memtrack_tracker.h"

TEST(MemTrackFormat, SizeStringsSwitchUnitsAboveOneKilobyteAndOneMegabyte) {
  struct Case {
    uint64_t size;
    const char* text;
  };
  const Case cases[] = {
      {0, "         0 bytes     "},       {10, "        10 bytes     "},
      {1024, "     1,024 bytes     "},    {1025, "     1,025 (   1.00K)"},
      {1536, "     1,536 (   1.50K)"},    {1048576, " 1,048,576 (1024.00K)"},
      {1048577, " 1,048,577 (   1.00M)"}, {1234567890, "1,234,567,890 (1177.38M)"},
  };
  for (const Case& c : cases) {
    char text[64];
    Orvix::Mem::FormatSize(c.size, text, sizeof text);
    EXPECT_STREQ(text, c.text) << c.size;
  }
}

TEST(MemTrackFormat, ThousandsSeparatorsEveryThreeDigits) {
  struct Case {
    uint64_t value;
    const char* text;
  };
  const Case cases[] = {{0, "0"},
                        {999, "999"},
                        {1000, "1,000"},
                        {123456, "123,456"},
                        {1234567, "1,234,567"},
                        {18446744073709551615u, "18,446,744,073,709,551,615"}};
  for (const Case& c : cases) {
    char text[48];
    Orvix::Mem::FormatWithSeparators(c.value, text, sizeof text);
    EXPECT_STREQ(text, c.text);
  }
}

TEST(MemTrackFormat, OwnerStringDropsTheDirectory) {
  struct Case {
    const char* file;
    int line;
    const char* function;
    const char* text;
  };
  const Case cases[] = {
      {"/work/game/bat.cpp", 12, "Tick", "bat.cpp(00012)::Tick"},
      {"C:\\prael\\game\\net.cpp", 123456, "Send", "net.cpp(123456)::Send"},
      {"plain.cpp", 0, nullptr, "plain.cpp(00000)::??"},
      {nullptr, 0, nullptr, "?\?(00000)::??"},
  };
  for (const Case& c : cases) {
    char text[128];
    Orvix::Mem::FormatOwner(c.file, c.line, c.function, text, sizeof text);
    EXPECT_STREQ(text, c.text);
  }
}

TEST(MemTrackFormat, AllocationTypesHaveTheirNames) {
  const char* const names[] = {"Unknown", "new",    "new[]",    "malloc", "calloc",
                               "realloc", "delete", "delete[]", "free"};
  for (int type = 0; type < 9; ++type) EXPECT_STREQ(Orvix::Mem::AllocationTypeName(type), names[type]);
  EXPECT_STREQ(Orvix::Mem::AllocationTypeName(9), "Unknown");
}

#endif
