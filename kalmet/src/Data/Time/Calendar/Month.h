#pragma once
// Month: a year and a month, held as a count of months; YearMonth and
// MonthDay build and take apart months and days.
//
//   kalmet::Month m = kalmet::YearMonth(2024, 2);    // build
//   auto [year, month] = kalmet::YearMonth(m);       // take apart: 2024, 2
//   kalmet::Day d = kalmet::MonthDay(m, 29);         // 2024-02-29
//   auto [mm, day] = kalmet::MonthDay(d);            // m, 29
//
// The same as plain functions over pairs:
//   kalmet::toYearMonth(kalmet::fromYearMonth(2024, 2))  // {2024, 2}
//   kalmet::toMonthDay(kalmet::fromGregorian(2024, 2, 29)) // {2024-02, 29}
#include <compare>
#include <optional>
#include <utility>

#include "Data/Time/Calendar/Days.h"

namespace kalmet {

// A month of a year, held as year * 12 + (month of year - 1); consecutive
// months have consecutive counts.
class Month {
public:
    // January of year 0.
    Month() noexcept = default;
    explicit Month(core::Integer count) noexcept : count_(std::move(count)) {}

    // The month count.
    const core::Integer& count() const noexcept { return count_; }

    friend bool operator==(const Month& a, const Month& b) noexcept { return a.count_ == b.count_; }
    friend std::strong_ordering operator<=>(const Month& a, const Month& b) noexcept {
        return a.count_ <=> b.count_;
    }

private:
    core::Integer count_;
};

// A year and a month of that year. Converting to Month builds the month,
// with the month of year clipped to 1..12; constructing from a Month takes
// it apart.
struct YearMonth {
    Year year;
    MonthOfYear month;

    YearMonth(Year y, MonthOfYear m) noexcept : year(std::move(y)), month(m) {}
    explicit YearMonth(const Month& m);
    operator Month() const;

    friend bool operator==(const YearMonth&, const YearMonth&) = default;
};

// A month and a day of that month. Converting to Day builds the day, with
// the day clipped to 1..the month's length; constructing from a Day takes it
// apart.
struct MonthDay {
    Month month;
    DayOfMonth day;

    MonthDay(Month m, DayOfMonth d) noexcept : month(std::move(m)), day(d) {}
    explicit MonthDay(const Day& d);
    operator Day() const;

    friend bool operator==(const MonthDay&, const MonthDay&) = default;
};

// The month n months after m.
inline Month addMonths(const core::Integer& n, const Month& m) { return Month(m.count() + n); }
// The number of months from b to a.
inline core::Integer diffMonths(const Month& a, const Month& b) { return a.count() - b.count(); }

// The month a day falls in.
Month dayMonth(const Day& d);

// The month of a year and a month of year, built as YearMonth builds it
// (the month of year clipped to 1..12).
Month fromYearMonth(Year year, MonthOfYear month);
// The month of a year and a month of year, or nothing when the month of
// year is outside 1..12 (where fromYearMonth would clip it).
std::optional<Month> fromYearMonthValid(Year year, MonthOfYear month);
// The year and month of year of a month, as YearMonth takes it apart.
std::pair<Year, MonthOfYear> toYearMonth(const Month& m);
// The day of a month and a day of month, built as MonthDay builds it (the
// day clipped to 1..the month's length).
Day fromMonthDay(Month month, DayOfMonth day);
// The day of a month and a day of month, or nothing when the day is
// outside 1..the month's length (where fromMonthDay would clip it).
std::optional<Day> fromMonthDayValid(const Month& month, DayOfMonth day);
// The month and day of month of a day, as MonthDay takes it apart.
std::pair<Month, DayOfMonth> toMonthDay(const Day& d);

}  // namespace kalmet
