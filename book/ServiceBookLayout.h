#pragma once
// Where each entry of the service book goes: which page, how far down, and, for an entry longer
// than a page, which of its procedures go on which page. Pure arithmetic on heights that the
// typesetter measures once, so that a book of any size is planned in one pass over its entries.
//
// The rules: an entry never splits across pages when it fits on one; it then moves to the next page
// whole. An entry longer than a page starts where it is (when its header and one procedure still
// fit), and every page it goes on to repeats its header, marked as continued.

#include <cstddef>
#include <span>
#include <vector>

// Heights in the typesetter's units (device pixels of the PDF).
struct TBookMetrics {
  int pageHeight = 0;             // from the top of the entries to the bottom of a page
  int firstPageTop = 0;           // the title block on the first page
  int headerHeight = 0;           // an entry's header
  int continuedHeaderHeight = 0;  // the header repeated on a following page, with its "continued" line
  int rowHeight = 0;              // one procedure
  int emptyHeight = 0;            // the line of an entry without procedures
  int gap = 0;                    // between two entries on a page
};

// One entry, or the part of it that goes on one page.
struct TBookPiece {
  std::size_t entry = 0;           // its position in the list, 0 on top
  std::size_t firstProcedure = 0;  // 0-based
  std::size_t procedures = 0;      // how many of them go on this page
  bool continued = false;          // its header was on an earlier page already
  int top = 0;                     // from the top of the page's entries
  friend bool operator==(const TBookPiece&, const TBookPiece&) = default;
};

struct TBookPage {
  std::vector<TBookPiece> pieces;
};

// The pages of a book whose entries have the given numbers of procedures, in list order. At least
// one page (the title), also for an empty list.
std::vector<TBookPage> PlanServiceBook(std::span<const std::size_t> procedureCounts, const TBookMetrics& metrics);

// The height a piece takes on its page.
int PieceHeight(const TBookPiece& piece, const TBookMetrics& metrics);
