#include "book/ServiceBookLayout.h"

#include <algorithm>

namespace {

// Lays entries out page by page; `y` is how far down the current page is filled.
class TPlanner {
 public:
  explicit TPlanner(const TBookMetrics& metrics) : m_(metrics), y_(metrics.firstPageTop) { pages_.emplace_back(); }

  void Place(std::size_t entry, std::size_t procedures) {
    const int whole = m_.headerHeight + (procedures == 0 ? m_.emptyHeight : static_cast<int>(procedures) * m_.rowHeight);
    if (Fits(whole)) return Put({entry, 0, procedures, false, 0}, whole);
    if (whole <= m_.pageHeight) {
      NewPage();
      return Put({entry, 0, procedures, false, 0}, whole);
    }
    // Longer than a page: split by procedures, the header on every page.
    if (!Fits(m_.headerHeight + m_.rowHeight) && y_ > 0) NewPage();
    std::size_t first = 0;
    bool continued = false;
    while (first < procedures) {
      const int header = continued ? m_.continuedHeaderHeight : m_.headerHeight;
      const int room = m_.pageHeight - y_ - GapBefore() - header;
      // A page too small for a header and a row still takes one row, so the plan always ends.
      const auto rows = std::min<std::size_t>(procedures - first, static_cast<std::size_t>(std::max(1, room / m_.rowHeight)));
      Put({entry, first, rows, continued, 0}, header + static_cast<int>(rows) * m_.rowHeight);
      first += rows;
      if (first < procedures) NewPage();
      continued = true;
    }
  }

  std::vector<TBookPage> Pages() && { return std::move(pages_); }

 private:
  int GapBefore() const { return pages_.back().pieces.empty() ? 0 : m_.gap; }
  bool Fits(int height) const { return y_ + GapBefore() + height <= m_.pageHeight; }
  void Put(TBookPiece piece, int height) {
    y_ += GapBefore();
    piece.top = y_;
    pages_.back().pieces.push_back(piece);
    y_ += height;
  }
  void NewPage() {
    pages_.emplace_back();
    y_ = 0;
  }

  const TBookMetrics& m_;
  int y_;
  std::vector<TBookPage> pages_;
};

}  // namespace

std::vector<TBookPage> PlanServiceBook(std::span<const std::size_t> procedureCounts, const TBookMetrics& metrics) {
  TPlanner planner(metrics);
  for (std::size_t entry = 0; entry < procedureCounts.size(); ++entry) planner.Place(entry, procedureCounts[entry]);
  return std::move(planner).Pages();
}

int PieceHeight(const TBookPiece& piece, const TBookMetrics& metrics) {
  const int header = piece.continued ? metrics.continuedHeaderHeight : metrics.headerHeight;
  if (piece.procedures == 0) return header + metrics.emptyHeight;
  return header + static_cast<int>(piece.procedures) * metrics.rowHeight;
}
