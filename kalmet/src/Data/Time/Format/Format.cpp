#include "Data/Time/Format/Format.h"

#include <optional>

#include "Core/Error.h"
#include "Data/Time/Calendar/Gregorian.h"
#include "Data/Time/Calendar/OrdinalDate.h"
#include "Data/Time/Calendar/WeekDate.h"
#include "Data/Time/Clock/POSIX.h"
#include "Data/Time/Format/Directives.h"

namespace kalmet {

namespace {

using core::Int;
using core::Integer;
using detail::FormatItem;

constexpr Int picosPerSecond = detail::picosPerSecond;

// What a value offers the directives; what is absent makes the directives
// that need it an error.
struct Facets {
    const char* type = "";  // for messages: "a Day", ...
    std::optional<Year> year;
    std::optional<MonthOfYear> month;
    std::optional<Day> day;
    // Derived from day when it is present.
    DayOfMonth dayOfMonth = 0;
    DayOfYear dayOfYear = 0;
    std::optional<WeekDate> weekDate;
    std::optional<DayOfWeek> weekday;
    std::optional<TimeOfDay> time;
    std::optional<TimeZone> zone;
    std::optional<Integer> posixSeconds;
};

void addDay(Facets& f, const Day& d) {
    const YearMonthDay g = toGregorian(d);
    f.year = g.year;
    f.month = g.month;
    f.dayOfMonth = g.day;
    f.dayOfYear = toOrdinalDate(d).dayOfYear;
    f.weekDate = toWeekDate(d);
    f.weekday = dayOfWeek(d);
    f.day = d;
}

[[noreturn]] void lacks(const FormatItem& d, const Facets& f, const char* what) {
    core::raise(std::string("formatTime: %") + d.letter + " needs " + what + ", which " + f.type + " does not have");
}

template <class T>
const T& need(const std::optional<T>& x, const FormatItem& d, const Facets& f, const char* what) {
    if (!x) lacks(d, f, what);
    return *x;
}

char toUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char toLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A name with the directive's case flags and padding. Names are padded
// with blanks whatever the padding flag: zeros before a zone name would
// read back as digits of a number written just before it.
void appendName(std::string& out, std::string text, const FormatItem& d) {
    if (d.swapCase) {
        bool anyLower = false;
        for (char c : text) anyLower |= c >= 'a' && c <= 'z';
        for (char& c : text) c = anyLower ? toUpper(c) : toLower(c);
    } else if (d.upper) {
        for (char& c : text) c = toUpper(c);
    }
    if (d.width > 0 && d.pad != '-' && static_cast<std::size_t>(d.width) > text.size())
        out.append(static_cast<std::size_t>(d.width) - text.size(), ' ');
    out += text;
}

// A number with the directive's padding, or the default width and padding.
void appendNumber(std::string& out, const Integer& n, const FormatItem& d, int width, char pad) {
    if (d.width >= 0) width = d.width;
    if (d.pad != 0) pad = d.pad;
    std::string digits = (n.signum() < 0 ? -n : n).toString();
    const std::size_t fill = pad != '-' && static_cast<std::size_t>(width) > digits.size()
                                 ? static_cast<std::size_t>(width) - digits.size()
                                 : 0;
    if (pad == '_' || pad == ' ') out.append(fill, ' ');
    if (n.signum() < 0) out += '-';
    if (pad == '0') out.append(fill, '0');
    out += digits;
}

// The twelve decimals of a fraction of a second.
std::string twelveDigits(Int frac) {
    std::string s = std::to_string(frac);
    return std::string(12 - s.size(), '0') + s;
}

// "+HHMM" or "+HH:MM"; hours take more digits when they need them.
void appendOffset(std::string& out, Int minutes, bool colon) {
    const bool negative = minutes < 0;
    const unsigned long long a =
        negative ? 0ULL - static_cast<unsigned long long>(minutes) : static_cast<unsigned long long>(minutes);
    out += negative ? '-' : '+';
    const std::string hours = std::to_string(a / 60);
    if (hours.size() < 2) out += '0';
    out += hours;
    if (colon) out += ':';
    out += static_cast<char>('0' + a % 60 / 10);
    out += static_cast<char>('0' + a % 60 % 10);
}

const std::pair<std::string, std::string>& localeName(const std::vector<std::pair<std::string, std::string>>& names,
                                                      std::size_t i, const char* what) {
    if (i >= names.size()) core::raise(std::string("formatTime: the locale has no name for ") + what);
    return names[i];
}

void formatItem(std::string& out, const TimeLocale& locale, const FormatItem& d, const Facets& f) {
    switch (d.letter) {
        case 'Y': appendNumber(out, need(f.year, d, f, "a year"), d, 4, '0'); return;
        case 'C': appendNumber(out, core::div(need(f.year, d, f, "a year"), Integer(100)), d, 2, '0'); return;
        case 'y': appendNumber(out, core::mod(need(f.year, d, f, "a year"), Integer(100)), d, 2, '0'); return;
        case 'G': appendNumber(out, need(f.weekDate, d, f, "a date").year, d, 4, '0'); return;
        case 'g': appendNumber(out, core::mod(need(f.weekDate, d, f, "a date").year, Integer(100)), d, 2, '0'); return;
        case 'm': appendNumber(out, need(f.month, d, f, "a month"), d, 2, '0'); return;
        case 'd':
        case 'e':
            need(f.day, d, f, "a date");
            appendNumber(out, f.dayOfMonth, d, 2, d.letter == 'd' ? '0' : ' ');
            return;
        case 'j':
            need(f.day, d, f, "a date");
            appendNumber(out, f.dayOfYear, d, 3, '0');
            return;
        case 'B':
        case 'b': {
            const MonthOfYear m = need(f.month, d, f, "a month");
            const auto& name = localeName(locale.months, static_cast<std::size_t>(m - 1), "a month");
            appendName(out, d.letter == 'B' ? name.first : name.second, d);
            return;
        }
        case 'u': appendNumber(out, fromDayOfWeek(need(f.weekday, d, f, "a day of the week")), d, 1, '0'); return;
        case 'w': appendNumber(out, fromDayOfWeek(need(f.weekday, d, f, "a day of the week")) % 7, d, 1, '0'); return;
        case 'a':
        case 'A': {
            const Int w = fromDayOfWeek(need(f.weekday, d, f, "a day of the week")) % 7;
            const auto& name = localeName(locale.wDays, static_cast<std::size_t>(w), "a day of the week");
            appendName(out, d.letter == 'A' ? name.first : name.second, d);
            return;
        }
        case 'U':
        case 'W': {
            need(f.day, d, f, "a date");
            // Days since the week's first day (Sunday for %U, Monday for %W).
            const Int sinceStart = (fromDayOfWeek(*f.weekday) + (d.letter == 'U' ? 0 : 6)) % 7;
            appendNumber(out, (f.dayOfYear - 1 + 7 - sinceStart) / 7, d, 2, '0');
            return;
        }
        case 'V': appendNumber(out, need(f.weekDate, d, f, "a date").week, d, 2, '0'); return;
        case 'H': appendNumber(out, need(f.time, d, f, "a time of day").hour, d, 2, '0'); return;
        case 'k': appendNumber(out, need(f.time, d, f, "a time of day").hour, d, 2, ' '); return;
        case 'I':
        case 'l': {
            const Int h = need(f.time, d, f, "a time of day").hour % 12;
            appendNumber(out, h == 0 ? 12 : h, d, 2, d.letter == 'I' ? '0' : ' ');
            return;
        }
        case 'M': appendNumber(out, need(f.time, d, f, "a time of day").minute, d, 2, '0'); return;
        case 'S':
            appendNumber(out, core::div(need(f.time, d, f, "a time of day").seconds.picoseconds(), Integer(picosPerSecond)),
                         d, 2, '0');
            return;
        case 'q':
        case 'Q': {
            const Int frac =
                core::mod(need(f.time, d, f, "a time of day").seconds.picoseconds(), Integer(picosPerSecond)).unsafeInt();
            std::string digits = twelveDigits(frac);
            if (d.letter == 'q') {
                const std::size_t n = d.width >= 0 ? static_cast<std::size_t>(d.width) : 12;
                digits.resize(n, '0');
                out += digits;
                return;
            }
            if (d.width >= 0 && static_cast<std::size_t>(d.width) < digits.size())
                digits.resize(static_cast<std::size_t>(d.width));
            while (!digits.empty() && digits.back() == '0') digits.pop_back();
            if (!digits.empty()) out += '.' + digits;
            return;
        }
        case 'p':
        case 'P': {
            const bool pm = need(f.time, d, f, "a time of day").hour >= 12;
            std::string half = pm ? locale.amPm.second : locale.amPm.first;
            if (d.letter == 'P')
                for (char& c : half) c = toLower(c);
            appendName(out, std::move(half), d);
            return;
        }
        case 'z': appendOffset(out, need(f.zone, d, f, "a time zone").minutes, d.colon); return;
        case 'Z': {
            const TimeZone& z = need(f.zone, d, f, "a time zone");
            if (z.name.empty()) {
                appendOffset(out, z.minutes, false);
                return;
            }
            appendName(out, z.name, d);
            return;
        }
        case 's': appendNumber(out, need(f.posixSeconds, d, f, "an instant"), d, 1, '0'); return;
        case '%': out += '%'; return;
        case 'n': out += '\n'; return;
        case 't': out += '\t'; return;
        default: core::raise(std::string("formatTime: unknown directive %") + d.letter);
    }
}

std::string run(const TimeLocale& locale, std::string_view format, const Facets& f) {
    const auto items = detail::compileFormat(locale, format);
    if (!items) core::raise("formatTime: " + items.left());
    std::string out;
    for (const FormatItem& item : *items) {
        if (item.kind != FormatItem::Kind::Directive) out += item.letter;
        else formatItem(out, locale, item, f);
    }
    return out;
}

Facets localFacets(const char* type, const LocalTime& t) {
    Facets f;
    f.type = type;
    addDay(f, t.day);
    f.time = t.timeOfDay;
    return f;
}

Integer floorSeconds(const NominalDiffTime& t) { return core::div(t.picoseconds(), Integer(picosPerSecond)); }

}  // namespace

std::string formatTime(const TimeLocale& locale, std::string_view format, const Day& day) {
    Facets f;
    f.type = "a Day";
    addDay(f, day);
    return run(locale, format, f);
}

std::string formatTime(const TimeLocale& locale, std::string_view format, const Month& month) {
    Facets f;
    f.type = "a Month";
    auto [y, m] = toYearMonth(month);
    f.year = std::move(y);
    f.month = m;
    return run(locale, format, f);
}

std::string formatTime(const TimeLocale& locale, std::string_view format, const TimeOfDay& time) {
    Facets f;
    f.type = "a TimeOfDay";
    f.time = time;
    return run(locale, format, f);
}

std::string formatTime(const TimeLocale& locale, std::string_view format, const LocalTime& time) {
    return run(locale, format, localFacets("a LocalTime", time));
}

std::string formatTime(const TimeLocale& locale, std::string_view format, const UTCTime& time) {
    Facets f = localFacets("a UTCTime", utcToLocalTime(utc(), time));
    f.zone = utc();
    f.posixSeconds = floorSeconds(utcTimeToPOSIXSeconds(time));
    return run(locale, format, f);
}

std::string formatTime(const TimeLocale& locale, std::string_view format, const ZonedTime& time) {
    Facets f = localFacets("a ZonedTime", time.localTime);
    f.zone = time.zone;
    f.posixSeconds = floorSeconds(utcTimeToPOSIXSeconds(zonedTimeToUTC(time)));
    return run(locale, format, f);
}

std::string formatTime(const TimeLocale& locale, std::string_view format, const TimeZone& zone) {
    Facets f;
    f.type = "a TimeZone";
    f.zone = zone;
    return run(locale, format, f);
}

std::string formatTime(const TimeLocale& locale, std::string_view format, DayOfWeek day) {
    Facets f;
    f.type = "a DayOfWeek";
    f.weekday = day;
    return run(locale, format, f);
}

}  // namespace kalmet
