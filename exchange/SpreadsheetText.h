#pragma once
// Which texts a spreadsheet program does not keep as text when it opens a CSV file and saves it
// again. LibreOffice Calc and Excel read every cell that looks like a value as one and write back
// the value, not the text:
//   numbers            "0042" -> 42, "1E5" -> 100000, "12%" -> 0.12 or 12%
//   currency amounts   "12 €" -> 12 (in a locale of the euro), "$12" -> 12
//   dates and times    "3/4" -> 03/04/26, "5 Mar" -> 05-Mar, "1:30", "12 AM"
//   truth values       "true" -> TRUE, "wahr" -> WAHR (German), "vrai" -> VRAI (French)
//   formulas           "=A1" -> its result, "+1", "-1", "@x"; "#N/A" and other error values
// and may trim a space at either end. Export gives the bytes of such a workshop ID beside its
// text, and import refuses the pair when the text no longer matches them.

#include <string_view>

// Whether a spreadsheet may read the text as a value and write it back changed (see above). Errs
// on the side of yes: a needless bytes cell costs nothing, a missing one costs a workshop ID.
bool SpreadsheetMayRewrite(std::string_view utf8);
