// The plan of the service book's pages: where each entry goes, as a table of cases over small
// heights that are easy to follow by hand.
#include <gtest/gtest.h>

#include "book/ServiceBookLayout.h"

namespace {

// A page of 100 for entries, 30 of it taken by the title on the first page; a header of 10 (15
// when repeated), a procedure of 5, the "no procedures" line of 5, 2 between entries.
TBookMetrics Small() {
  TBookMetrics m;
  m.pageHeight = 100;
  m.firstPageTop = 30;
  m.headerHeight = 10;
  m.continuedHeaderHeight = 15;
  m.rowHeight = 5;
  m.emptyHeight = 5;
  m.gap = 2;
  return m;
}

using TPlan = std::vector<std::vector<TBookPiece>>;

TPlan Plan(const std::vector<std::size_t>& counts, const TBookMetrics& metrics = Small()) {
  TPlan plan;
  for (const TBookPage& page : PlanServiceBook(counts, metrics)) plan.push_back(page.pieces);
  return plan;
}

struct TCase {
  const char* name;
  std::vector<std::size_t> counts;
  TPlan expected;
};

class BookPlan : public testing::TestWithParam<TCase> {};

TEST_P(BookPlan, PlacesEveryEntry) { EXPECT_EQ(Plan(GetParam().counts), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(
    Cases, BookPlan,
    testing::Values(
        // {entry, first procedure, procedures, continued, top}
        TCase{"EmptyListIsTheTitlePage", {}, {{}}},
        TCase{"OneEntryBelowTheTitle", {3}, {{{0, 0, 3, false, 30}}}},
        TCase{"NoProceduresTakesItsLine", {0, 1}, {{{0, 0, 0, false, 30}, {1, 0, 1, false, 47}}}},
        // 30 + 25 = 55, + 2 + 25 = 82; a third of 25 would end at 109: it goes to page 2 whole.
        TCase{"AnEntryThatDoesNotFitMovesWhole",
              {3, 3, 3},
              {{{0, 0, 3, false, 30}, {1, 0, 3, false, 57}}, {{2, 0, 3, false, 0}}}},
        // Exactly to the bottom: 30 + 10 + 12 x 5 = 100.
        TCase{"AnEntryEndingAtTheBottomStays", {12}, {{{0, 0, 12, false, 30}}}},
        // 18 procedures (100) fit a page of their own but not the first one: a page of its own.
        TCase{"AWholePageEntryStartsAPage", {18}, {{}, {{0, 0, 18, false, 0}}}},
        // 40 procedures (210) are longer than a page: they start under the title (10 + 12 x 5),
        // then 17 (15 + 17 x 5 = 100) per page with the header repeated.
        TCase{"ALongEntryRepeatsItsHeader",
              {40},
              {{{0, 0, 12, false, 30}}, {{0, 12, 17, true, 0}}, {{0, 29, 11, true, 0}}}},
        // After a long entry, the next one goes on below its last part.
        TCase{"TheNextEntryFollowsALongOne",
              {40, 1},
              {{{0, 0, 12, false, 30}}, {{0, 12, 17, true, 0}}, {{0, 29, 11, true, 0}, {1, 0, 1, false, 72}}}},
        // A long entry where its header and one procedure no longer fit starts on a new page.
        TCase{"ALongEntryWithoutRoomForARowStartsAPage",
              {11, 40},
              {{{0, 0, 11, false, 30}}, {{1, 0, 18, false, 0}}, {{1, 18, 17, true, 0}}, {{1, 35, 5, true, 0}}}}),
    [](const testing::TestParamInfo<TCase>& info) { return std::string(info.param.name); });

TEST(BookPlan, EveryProcedureOfEveryEntryIsPlacedOnceInOrder) {
  std::vector<std::size_t> counts;
  for (std::size_t i = 0; i < 500; ++i) counts.push_back((i * 37) % 60);  // 0 to 59: some longer than a page
  const std::vector<TBookPage> pages = PlanServiceBook(counts, Small());
  std::size_t entry = 0, next = 0;
  for (const TBookPage& page : pages) {
    int bottom = 0;
    for (const TBookPiece& piece : page.pieces) {
      if (piece.entry != entry) {
        ASSERT_EQ(next, counts[entry]) << "entry " << entry << " ended early";
        ASSERT_EQ(piece.entry, entry + 1);
        entry = piece.entry;
        next = 0;
      }
      ASSERT_EQ(piece.firstProcedure, next);
      ASSERT_EQ(piece.continued, next > 0);
      ASSERT_GE(piece.top, bottom);
      bottom = piece.top + PieceHeight(piece, Small());
      ASSERT_LE(bottom, Small().pageHeight);
      next += piece.procedures;
    }
  }
  EXPECT_EQ(entry, counts.size() - 1);
  EXPECT_EQ(next, counts.back());
}

TEST(BookPlan, APageTooSmallForAHeaderAndARowStillEnds) {
  TBookMetrics tiny = Small();
  tiny.pageHeight = 12;
  tiny.firstPageTop = 0;
  const std::vector<TBookPage> pages = PlanServiceBook(std::vector<std::size_t>{3}, tiny);
  ASSERT_EQ(pages.size(), 3u);
  for (std::size_t p = 0; p < 3; ++p) EXPECT_EQ(pages[p].pieces, (std::vector<TBookPiece>{{0, p, 1, p > 0, 0}}));
}

}  // namespace
