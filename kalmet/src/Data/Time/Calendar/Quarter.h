#pragma once
// Quarters: QuarterOfYear (Q1..Q4) and Quarter, a year and a quarter held as
// a count of quarters; YearQuarter builds and takes them apart.
//
//   kalmet::Quarter q = kalmet::YearQuarter(2000, kalmet::Q2);
//   auto [year, qoy] = kalmet::YearQuarter(q);       // 2000, Q2
//   kalmet::toYearQuarter(kalmet::fromYearQuarter(-1, kalmet::Q4))  // {-1, Q4}
#include <compare>
#include <cstdint>
#include <optional>
#include <utility>

#include "Data/Time/Calendar/Days.h"
#include "Data/Time/Calendar/Month.h"

namespace kalmet {

// A quarter of the year, ordered Q1 < Q2 < Q3 < Q4, numbered 1 to 4.
enum class QuarterOfYear : std::uint8_t { Q1 = 1, Q2 = 2, Q3 = 3, Q4 = 4 };
inline constexpr QuarterOfYear Q1 = QuarterOfYear::Q1;
inline constexpr QuarterOfYear Q2 = QuarterOfYear::Q2;
inline constexpr QuarterOfYear Q3 = QuarterOfYear::Q3;
inline constexpr QuarterOfYear Q4 = QuarterOfYear::Q4;

// The number of a quarter, 1 to 4.
constexpr core::Int fromQuarterOfYear(QuarterOfYear q) noexcept { return static_cast<core::Int>(q); }
// The quarter of a number 1 to 4, or nothing for any other number.
constexpr std::optional<QuarterOfYear> toQuarterOfYearValid(core::Int n) noexcept {
    if (n < 1 || n > 4) return std::nullopt;
    return static_cast<QuarterOfYear>(n);
}

// A quarter of a year, held as year * 4 + (quarter number - 1).
class Quarter {
public:
    // Q1 of year 0.
    Quarter() noexcept = default;
    explicit Quarter(core::Integer count) noexcept : count_(std::move(count)) {}

    // The quarter count.
    const core::Integer& count() const noexcept { return count_; }

    friend bool operator==(const Quarter& a, const Quarter& b) noexcept { return a.count_ == b.count_; }
    friend std::strong_ordering operator<=>(const Quarter& a, const Quarter& b) noexcept {
        return a.count_ <=> b.count_;
    }

private:
    core::Integer count_;
};

// A year and a quarter of it. Converting to Quarter builds the quarter
// (an out-of-range quarter number is clipped to 1..4); constructing from a
// Quarter takes it apart.
struct YearQuarter {
    Year year;
    QuarterOfYear quarter;

    YearQuarter(Year y, QuarterOfYear q) noexcept : year(std::move(y)), quarter(q) {}
    explicit YearQuarter(const Quarter& q);
    operator Quarter() const;

    friend bool operator==(const YearQuarter&, const YearQuarter&) = default;
};

// The quarter n quarters after q.
inline Quarter addQuarters(const core::Integer& n, const Quarter& q) { return Quarter(q.count() + n); }
// The number of quarters from b to a.
inline core::Integer diffQuarters(const Quarter& a, const Quarter& b) { return a.count() - b.count(); }

// The quarter a month of the year (clipped to 1..12) belongs to.
QuarterOfYear monthOfYearQuarter(MonthOfYear m) noexcept;
// The quarter a month belongs to.
Quarter monthQuarter(const Month& m);
// The quarter a day belongs to.
Quarter dayQuarter(const Day& d);

// The quarter of a year and a quarter of the year, built as YearQuarter
// builds it.
Quarter fromYearQuarter(Year year, QuarterOfYear quarter);
// The quarter of a year and a quarter of the year, or nothing when the
// quarter is not one of Q1..Q4 (a value cast from a number outside 1..4,
// which fromYearQuarter would clip).
std::optional<Quarter> fromYearQuarterValid(Year year, QuarterOfYear quarter);
// The same from the quarter's number: nothing unless it is 1 to 4.
std::optional<Quarter> fromYearQuarterValid(Year year, core::Int quarterNumber);
// The year and quarter of the year of a quarter, as YearQuarter takes it
// apart.
std::pair<Year, QuarterOfYear> toYearQuarter(const Quarter& q);

}  // namespace kalmet
