#include "orvix/strhash.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Orvix::StringHashTable;

TEST(StringHashTable, HashIsTheSumOfSignedCharactersAndPicksOneOf17Buckets) {
  EXPECT_EQ(StringHashTable::Hash("A"), 65);
  EXPECT_EQ(StringHashTable::Hash("Ab"), 65 + 98);
  EXPECT_EQ(StringHashTable::Hash("\xff"), -1);
  EXPECT_EQ(StringHashTable::BucketOf("A"), 65u % 17u);
  EXPECT_EQ(StringHashTable::BucketOf("\xff"), 0xFFFFFFFFu % 17u);
}

TEST(StringHashTable, InsertRefusesDuplicatesAndOverlongNames) {
  StringHashTable table(8);
  int first = 1, second = 2;
  EXPECT_TRUE(table.Insert("Bat", &first));
  EXPECT_FALSE(table.Insert("Bat", &second));
  EXPECT_EQ(table.Lookup("Bat"), &first);
  EXPECT_EQ(table.Lookup("bat"), nullptr);  // case-sensitive
  EXPECT_TRUE(table.Insert("1234567", &second));
  EXPECT_FALSE(table.Insert("12345678", &second));
  EXPECT_FALSE(table.Insert(nullptr, &second));
  EXPECT_EQ(table.Lookup("12345678"), nullptr);
  EXPECT_EQ(table.Count(), 2u);
}

TEST(StringHashTable, SameBucketNamesWithEqualHashesAreTellApart) {
  // "ab" and "ba" have the same hash and so the same bucket.
  StringHashTable table(4);
  int ab = 1, ba = 2;
  ASSERT_TRUE(table.Insert("ab", &ab));
  ASSERT_TRUE(table.Insert("ba", &ba));
  EXPECT_EQ(table.Lookup("ab"), &ab);
  EXPECT_EQ(table.Lookup("ba"), &ba);
}

TEST(StringHashTable, VisitsBucketsInOrderAndEntriesInInsertionOrder) {
  StringHashTable table(8);
  // Buckets: "R" 82 % 17 = 14, "A" 65 % 17 = 14, "B" 66 % 17 = 15, "\"" 34 % 17 = 0.
  int value = 0;
  for (const char* name : {"R", "B", "A", "\""}) table.Insert(name, &value);
  std::vector<std::string> order;
  table.ForEach([](const char* name, void*,
                   void* context) { static_cast<std::vector<std::string>*>(context)->push_back(name); },
                &order);
  EXPECT_EQ(order, (std::vector<std::string>{"\"", "R", "A", "B"}));
}

TEST(StringHashTable, RemoveValueAndClearForgetNames) {
  StringHashTable table(8);
  int kept = 1, dropped = 2;
  table.Insert("one", &dropped);
  table.Insert("two", &kept);
  table.Insert("eno", &dropped);  // same bucket as "one"
  EXPECT_EQ(table.RemoveValue(&dropped), 2u);
  EXPECT_EQ(table.Lookup("one"), nullptr);
  EXPECT_EQ(table.Lookup("eno"), nullptr);
  EXPECT_EQ(table.Lookup("two"), &kept);
  EXPECT_TRUE(table.Insert("one", &kept));  // the bucket's tail was mended
  EXPECT_EQ(table.Count(), 2u);
  table.Clear();
  EXPECT_EQ(table.Count(), 0u);
  EXPECT_EQ(table.Lookup("two"), nullptr);
  EXPECT_TRUE(table.Insert("two", &kept));
}
