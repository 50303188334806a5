#include "Data/Time/Print.h"

#include <ostream>

#include "Core/Error.h"
#include "Data/Time/Calendar/Private.h"
#include "Data/Time/Format/Format.h"
#include "Data/Time/Format/Locale.h"

namespace kalmet {

namespace {

std::string fmt(std::string_view format, const auto& x) { return formatTime(defaultTimeLocale(), format, x); }

std::string seconds(const core::Integer& ps) {
    const bool negative = ps.signum() < 0;
    std::string s = show2Fixed(Pico::fromPicoseconds(negative ? -ps : ps));
    // show2Fixed puts a "0" before values below 10; one leading "0" goes
    // unless a point follows it.
    if (s.size() > 1 && s[0] == '0' && s[1] != '.') s.erase(0, 1);
    std::string out = negative ? "-" : "";
    out += s;
    out += 's';
    return out;
}

[[noreturn]] void noFormat(const char* type) {
    core::raise(std::string("formatting: a ") + type + " takes no format, only the empty one");
}

}  // namespace

std::string isoText(const Day& x) { return fmt("%Y-%m-%d", x); }
std::string isoText(const Month& x) { return fmt("%Y-%m", x); }
std::string isoText(const Quarter& x) {
    const auto [year, q] = toYearQuarter(x);
    std::string out = fmt("%Y", fromYearMonth(year, 1));
    out += '-';
    out += isoText(q);
    return out;
}
std::string isoText(QuarterOfYear x) {
    std::string out(1, 'Q');
    out += std::to_string(fromQuarterOfYear(x));
    return out;
}
std::string isoText(DayOfWeek x) { return fmt("%A", x); }
std::string isoText(const TimeOfDay& x) { return fmt("%H:%M:%S%Q", x); }
std::string isoText(const LocalTime& x) { return fmt("%Y-%m-%dT%H:%M:%S%Q", x); }
std::string isoText(const UTCTime& x) { return fmt("%Y-%m-%dT%H:%M:%S%QZ", x); }
std::string isoText(const ZonedTime& x) { return fmt("%Y-%m-%dT%H:%M:%S%Q", x.localTime) + isoText(x.zone); }
std::string isoText(const TimeZone& x) { return x.minutes == 0 ? "Z" : fmt("%Ez", x); }
std::string isoText(const DiffTime& x) { return seconds(x.picoseconds()); }
std::string isoText(const NominalDiffTime& x) { return seconds(x.picoseconds()); }

#define KALMET_WITH_FORMAT(T)                                          \
    std::string formatWith(std::string_view format, T x) {           \
        return format.empty() ? isoText(x) : fmt(format, x);               \
    }
KALMET_WITH_FORMAT(const Day&)
KALMET_WITH_FORMAT(const Month&)
KALMET_WITH_FORMAT(DayOfWeek)
KALMET_WITH_FORMAT(const TimeOfDay&)
KALMET_WITH_FORMAT(const LocalTime&)
KALMET_WITH_FORMAT(const UTCTime&)
KALMET_WITH_FORMAT(const ZonedTime&)
KALMET_WITH_FORMAT(const TimeZone&)
#undef KALMET_WITH_FORMAT

#define KALMET_WITHOUT_FORMAT(T, name)                                 \
    std::string formatWith(std::string_view format, T x) {           \
        if (!format.empty()) noFormat(name);                             \
        return isoText(x);                                             \
    }
KALMET_WITHOUT_FORMAT(const Quarter&, "Quarter")
KALMET_WITHOUT_FORMAT(QuarterOfYear, "QuarterOfYear")
KALMET_WITHOUT_FORMAT(const DiffTime&, "DiffTime")
KALMET_WITHOUT_FORMAT(const NominalDiffTime&, "NominalDiffTime")
#undef KALMET_WITHOUT_FORMAT

#define KALMET_STREAM(T) \
    std::ostream& operator<<(std::ostream& os, T x) { return os << isoText(x); }
KALMET_STREAM(const Day&)
KALMET_STREAM(const Month&)
KALMET_STREAM(const Quarter&)
KALMET_STREAM(QuarterOfYear)
KALMET_STREAM(DayOfWeek)
KALMET_STREAM(const TimeOfDay&)
KALMET_STREAM(const LocalTime&)
KALMET_STREAM(const UTCTime&)
KALMET_STREAM(const ZonedTime&)
KALMET_STREAM(const TimeZone&)
KALMET_STREAM(const DiffTime&)
KALMET_STREAM(const NominalDiffTime&)
#undef KALMET_STREAM

}  // namespace kalmet
