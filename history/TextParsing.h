#pragma once
// Turning the editor's texts back into numbers and dates. Both raise ETarveloError with the text
// the user sees when the text is not what it must be.

#include <cstdint>
#include <string_view>

// A decimal integer of digits only, no sign, no spaces, at most 4294967295.
// Throws ETarveloError "'<text>' is not a valid integer value".
uint32_t ParseIntegerText(std::string_view text);

struct TCalendarDate {
  int day = 0;
  int month = 0;
  int year = 0;
  friend bool operator==(const TCalendarDate&, const TCalendarDate&) = default;
};

// A date written day, month, year with "." between them ("1.2.2020", "01.02.2020"), a real
// calendar date in the years 1 to 9999. The year is taken as written: "1.2.20" is the year 20.
// Throws ETarveloError "'<text>' is not a valid date".
TCalendarDate ParseDateText(std::string_view text);

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// True for a real calendar date in the years 1 to 9999, the dates the editor takes.
bool IsCalendarDate(int day, int month, int year);
