#include <gtest/gtest.h>

#include "history/HistoryList.h"
#include "tests/TestEntries.h"

namespace {

TBuffer Entry(uint32_t km) { return EntryWithProcedures(1, km); }

std::vector<uint32_t> Kms(const THistoryList& list) {
  std::vector<uint32_t> kms;
  for (const TBuffer& e : list) kms.push_back(KMStand(e));
  return kms;
}

TEST(HistoryList, InsertAtFront) {
  THistoryList list;
  InsertEntryAtFront(list, Entry(1));
  EXPECT_EQ(Kms(list), (std::vector<uint32_t>{1}));
  list = {Entry(1), Entry(2), Entry(3)};
  InsertEntryAtFront(list, Entry(9));
  EXPECT_EQ(Kms(list), (std::vector<uint32_t>{9, 1, 2, 3}));
}

TEST(HistoryList, ReplaceKeepsThePlaceOrAppendsWhenTheIndexIsGone) {
  THistoryList list = {Entry(1), Entry(2), Entry(3)};
  ReplaceEntryAt(list, 1, Entry(20));
  EXPECT_EQ(Kms(list), (std::vector<uint32_t>{1, 20, 3}));
  ReplaceEntryAt(list, 3, Entry(40));
  EXPECT_EQ(Kms(list), (std::vector<uint32_t>{1, 20, 3, 40}));
  ReplaceEntryAt(list, -1, Entry(50));
  EXPECT_EQ(Kms(list), (std::vector<uint32_t>{1, 20, 3, 40, 50}));
  ReplaceEntryAt(list, 9999, Entry(60));
  EXPECT_EQ(Kms(list).back(), 60u);
}

TEST(HistoryList, RemoveOne) {
  THistoryList list = {Entry(1), Entry(2), Entry(3)};
  EXPECT_TRUE(RemoveEntryAt(list, 1));
  EXPECT_EQ(Kms(list), (std::vector<uint32_t>{1, 3}));
  EXPECT_FALSE(RemoveEntryAt(list, 2));
  EXPECT_FALSE(RemoveEntryAt(list, -1));
  EXPECT_EQ(list.size(), 2u);
  THistoryList one = {Entry(1)};
  EXPECT_TRUE(RemoveEntryAt(one, 0));
  EXPECT_TRUE(one.empty());
}

TEST(HistoryList, ElementsAreCopies) {
  TBuffer temp = Entry(1);
  THistoryList list;
  InsertEntryAtFront(list, temp);
  ReplaceEntryAt(list, 5, temp);
  temp[0] = 31;
  EXPECT_EQ(Day(list[0]), 1);
  EXPECT_EQ(Day(list[1]), 1);
}

}  // namespace
