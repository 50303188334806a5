#include "Data/Time/Calendar/Quarter.h"

namespace kalmet {

YearQuarter::YearQuarter(const Quarter& q) : year(), quarter(Q1) {
    const core::Integer& c = q.count();
    if (c.isSmall()) {
        year = Year(detail::floorDiv(c.unsafeInt(), 4));
        quarter = static_cast<QuarterOfYear>(detail::floorMod(c.unsafeInt(), 4) + 1);
    } else {
        auto [y, r] = divMod(c, core::Integer(4));
        year = std::move(y);
        quarter = static_cast<QuarterOfYear>(r.unsafeInt() + 1);
    }
}

YearQuarter::operator Quarter() const {
    const core::Int n = clip(1, 4, fromQuarterOfYear(quarter));
    return Quarter(year * core::Integer(4) + core::Integer(n - 1));
}

QuarterOfYear monthOfYearQuarter(MonthOfYear m) noexcept {
    return static_cast<QuarterOfYear>((clip(1, 12, m) - 1) / 3 + 1);
}

Quarter monthQuarter(const Month& m) {
    const YearMonth ym(m);
    return YearQuarter(ym.year, monthOfYearQuarter(ym.month));
}

Quarter dayQuarter(const Day& d) { return monthQuarter(dayMonth(d)); }

Quarter fromYearQuarter(Year year, QuarterOfYear quarter) { return YearQuarter(std::move(year), quarter); }

std::optional<Quarter> fromYearQuarterValid(Year year, QuarterOfYear quarter) {
    return fromYearQuarterValid(std::move(year), fromQuarterOfYear(quarter));
}

std::optional<Quarter> fromYearQuarterValid(Year year, core::Int quarterNumber) {
    const auto q = toQuarterOfYearValid(quarterNumber);
    if (!q) return std::nullopt;
    return fromYearQuarter(std::move(year), *q);
}

std::pair<Year, QuarterOfYear> toYearQuarter(const Quarter& q) {
    YearQuarter yq(q);
    return {std::move(yq.year), yq.quarter};
}

}  // namespace kalmet
