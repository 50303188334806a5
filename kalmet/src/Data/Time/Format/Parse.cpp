#include "Data/Time/Format/Parse.h"

#include <optional>

#include "Data/Time/Calendar/Gregorian.h"
#include "Data/Time/Calendar/OrdinalDate.h"
#include "Data/Time/Calendar/WeekDate.h"
#include "Data/Time/Clock/POSIX.h"
#include "Data/Time/Format/Directives.h"

namespace kalmet::detail {

namespace {

using core::Int;
using core::Integer;

// The kinds of value, in the order of ParsedTime.
enum Target : std::size_t { TDay, TMonth, TQuarter, TDayOfWeek, TTimeOfDay, TLocalTime, TZonedTime, TUTCTime, TTimeZone };
static_assert(parsedIndex<Day>() == TDay && parsedIndex<TimeZone>() == TTimeZone && parsedIndex<UTCTime>() == TUTCTime);

// Everything a format can read, as read; nothing is derived yet.
struct Fields {
    std::optional<Integer> year;           // %Y
    std::optional<Integer> century;        // %C
    std::optional<Int> yearOfCentury;      // %y
    std::optional<Integer> weekYear;       // %G
    std::optional<Int> weekYearOfCentury;  // %g
    std::optional<Int> month;              // %m %b %B
    std::optional<Int> dayOfMonth;         // %d %e
    std::optional<Int> dayOfYear;          // %j
    std::optional<Int> weekday;            // %u %w %a %A, 1 (Monday) .. 7 (Sunday)
    std::optional<Int> weekSunday;         // %U
    std::optional<Int> weekMonday;         // %W
    std::optional<Int> isoWeek;            // %V
    std::optional<Int> hour;               // %H %k
    std::optional<Int> hour12;             // %I %l
    std::optional<bool> pm;                // %p %P
    std::optional<Int> minute;             // %M
    std::optional<Int> second;             // %S
    std::optional<Int> picoseconds;        // %q %Q: the fraction of the second
    std::optional<Int> offset;             // %z %Ez, %Z given as an offset
    std::optional<TimeZone> namedZone;     // %Z given as a name
    std::optional<Integer> posixSeconds;   // %s
};

std::string show(const Integer& n) { return n.toString(); }
std::string show(Int n) { return std::to_string(n); }
std::string show(bool pm) { return pm ? "PM" : "AM"; }
std::string show(const TimeZone& z) { return z.name; }

// Records a field; a second reading must give the same value.
template <class T>
bool setField(std::optional<T>& field, const T& v, const char* name, std::string& error) {
    if (field && !(*field == v)) {
        error = std::string("two values for ") + name + ": " + show(*field) + " and " + show(v);
        return false;
    }
    field = v;
    return true;
}

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// How a number directive is read: its usual width and padding, whether it
// takes a sign and any number of digits, and its range otherwise.
struct NumberRule {
    int width;
    char pad;
    bool open;
    Int lo, hi;
};
NumberRule numberRule(char letter) {
    switch (letter) {
        case 'Y':
        case 'G': return {4, '0', true, 0, 0};
        case 'C': return {2, '0', true, 0, 0};
        case 's': return {1, '0', true, 0, 0};
        case 'y':
        case 'g': return {2, '0', false, 0, 99};
        case 'm': return {2, '0', false, 1, 12};
        case 'd': return {2, '0', false, 1, 31};
        case 'e': return {2, ' ', false, 1, 31};
        case 'j': return {3, '0', false, 1, 366};
        case 'u': return {1, '0', false, 1, 7};
        case 'w': return {1, '0', false, 0, 6};
        case 'U':
        case 'W': return {2, '0', false, 0, 53};
        case 'V': return {2, '0', false, 1, 53};
        case 'H': return {2, '0', false, 0, 23};
        case 'k': return {2, ' ', false, 0, 23};
        case 'I': return {2, '0', false, 1, 12};
        case 'l': return {2, ' ', false, 1, 12};
        case 'M': return {2, '0', false, 0, 59};
        default: return {2, '0', false, 0, 60};  // 'S'
    }
}

// Reads one input by one compiled format into the fields.
class Reader {
public:
    Reader(const TimeLocale& locale, std::string_view input, Fields& fields)
        : locale_(locale), in_(input), f_(fields) {}

    std::size_t pos = 0;
    std::string error;

    void skipSpace() {
        while (pos < in_.size() && isSpace(in_[pos])) ++pos;
    }
    bool atEnd() const { return pos == in_.size(); }

    bool run(const std::vector<FormatItem>& items) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            const FormatItem& item = items[i];
            // The first item starts where the input does, before any
            // white space skipped around it.
            if (i > 0) itemStart_ = pos;
            switch (item.kind) {
                case FormatItem::Kind::Space:
                    // Before a space-padded number the blank takes one
                    // white-space character and leaves the rest to the
                    // number, whose padding they are ("%Y %e" of the 5th
                    // writes two blanks before the 5).
                    if (i + 1 < items.size() && spacePaddedNumber(items[i + 1])) {
                        if (pos < in_.size() && isSpace(in_[pos])) ++pos;
                    } else {
                        skipSpace();
                    }
                    break;
                case FormatItem::Kind::Literal:
                    if (pos >= in_.size() || in_[pos] != item.letter)
                        return fail(std::string("expected '") + item.letter + "'");
                    ++pos;
                    break;
                case FormatItem::Kind::Directive: {
                    const bool nextIsNumber = i + 1 < items.size() &&
                                              items[i + 1].kind == FormatItem::Kind::Directive &&
                                              isNumberDirective(items[i + 1].letter);
                    if (!directive(item, nextIsNumber)) return false;
                    break;
                }
            }
        }
        return true;
    }

private:
    static bool spacePaddedNumber(const FormatItem& d) {
        if (d.kind != FormatItem::Kind::Directive || !isNumberDirective(d.letter) || d.letter == 'q') return false;
        const char pad = d.pad != 0 ? d.pad : numberRule(d.letter).pad;
        return pad == '_' || pad == ' ';
    }

    const TimeLocale& locale_;
    std::string_view in_;
    Fields& f_;
    std::size_t itemStart_ = 0;  // where the item being read starts

    bool fail(const std::string& what) {
        error = what + " at offset " + std::to_string(pos);
        return false;
    }
    bool contradiction(bool ok) {
        if (!ok) error += " (at offset " + std::to_string(pos) + ")";
        return ok;
    }
    template <class T>
    bool set(std::optional<T>& field, const T& v, const char* name) {
        return contradiction(setField(field, v, name, error));
    }

    // Up to maxDigits digits (at least one); maxDigits 0 means any number.
    bool digits(std::size_t maxDigits, std::string_view& run, const char* what) {
        const std::size_t start = pos;
        while (pos < in_.size() && isDigit(in_[pos]) && (maxDigits == 0 || pos - start < maxDigits)) ++pos;
        if (pos == start) return fail(std::string("expected ") + what);
        run = in_.substr(start, pos - start);
        return true;
    }

    bool number(const FormatItem& d, bool nextIsNumber, Integer& value) {
        const NumberRule rule = numberRule(d.letter);
        const char pad = d.pad != 0 ? d.pad : rule.pad;
        const int width = d.width >= 0 ? d.width : rule.width;
        // Blanks before a space-padded number fill part of its width: the
        // digits take only what is left of it (at least one digit), so that
        // " 5" of %e followed by another number reads as 5, not 50.
        // The blanks skipped before the input (when white space is accepted
        // around it) count as well: they are the padding of a first field.
        std::size_t blanks = 0;
        if (pad == '_' || pad == ' ') {
            skipSpace();
            blanks = pos - itemStart_;
        }
        const std::string what = std::string("a number for %") + d.letter;
        bool negative = false;
        if (rule.open && pos < in_.size() && (in_[pos] == '-' || in_[pos] == '+')) negative = in_[pos++] == '-';
        std::size_t maxDigits = static_cast<std::size_t>(width > rule.width ? width : rule.width);
        maxDigits = blanks < maxDigits ? maxDigits - blanks : 1;
        if (rule.open && !nextIsNumber) maxDigits = 0;
        std::string_view run;
        if (!digits(maxDigits, run, what.c_str())) return false;
        value = Integer::fromDigits(run);
        if (negative) value = -value;
        if (!rule.open && (value < Integer(rule.lo) || value > Integer(rule.hi)))
            return fail(std::string("%") + d.letter + " " + value.toString() + " out of range " +
                        std::to_string(rule.lo) + ".." + std::to_string(rule.hi));
        return true;
    }

    // The decimals of a fraction of a second: 1 to maxDigits digits, of
    // which the first twelve count.
    bool fraction(std::size_t maxDigits, const char* what) {
        std::string_view run;
        if (!digits(maxDigits, run, what)) return false;
        std::string twelve(run.substr(0, 12));
        twelve.resize(12, '0');
        return set(f_.picoseconds, Integer::fromDigits(twelve).unsafeInt(), "the fraction of the second");
    }

    // The longest of the names (in any letter case) at the input; its index.
    bool name(const std::vector<std::string_view>& names, std::size_t& index, const char* what) {
        skipSpace();
        std::size_t best = 0;
        bool found = false;
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string_view n = names[i];
            if (n.empty() || n.size() > in_.size() - pos || (found && n.size() <= names[best].size())) continue;
            bool same = true;
            for (std::size_t k = 0; k < n.size() && same; ++k) same = lower(n[k]) == lower(in_[pos + k]);
            if (same) best = i, found = true;
        }
        if (!found) return fail(std::string("expected ") + what);
        pos += names[best].size();
        index = best;
        return true;
    }

    // "Z", or a sign, HH and optionally MM or ":" MM: minutes east of UTC.
    bool offset(Int& minutes, bool allowZ) {
        if (allowZ && pos < in_.size() && in_[pos] == 'Z') {
            ++pos;
            minutes = 0;
            return true;
        }
        if (pos >= in_.size() || (in_[pos] != '+' && in_[pos] != '-'))
            return fail(allowZ ? "expected a zone offset: Z, +HHMM or -HHMM" : "expected a zone: a name, +HHMM or -HHMM");
        const bool negative = in_[pos++] == '-';
        const auto two = [&](Int& v) {
            if (pos + 2 > in_.size() || !isDigit(in_[pos]) || !isDigit(in_[pos + 1])) return false;
            v = 10 * (in_[pos] - '0') + (in_[pos + 1] - '0');
            pos += 2;
            return true;
        };
        Int hours = 0, mins = 0;
        if (!two(hours)) return fail("expected two hour digits of a zone offset");
        if (pos < in_.size() && in_[pos] == ':') {
            ++pos;
            if (!two(mins)) return fail("expected two minute digits of a zone offset");
        } else if (pos < in_.size() && isDigit(in_[pos])) {
            if (!two(mins)) return fail("expected two minute digits of a zone offset");
        }
        if (hours > 23 || mins > 59) return fail("zone offset out of range");
        minutes = (negative ? -1 : 1) * (hours * 60 + mins);
        return true;
    }

    bool zoneName() {
        skipSpace();  // a name written with a width is padded with blanks
        const std::size_t start = pos;
        while (pos < in_.size() && isLetter(in_[pos])) ++pos;
        if (pos == start) {
            Int minutes;
            return offset(minutes, false) && set(f_.offset, minutes, "the zone offset");
        }
        const std::string_view n = in_.substr(start, pos - start);
        const auto same = [&](std::string_view known) {
            if (known.size() != n.size()) return false;
            for (std::size_t k = 0; k < n.size(); ++k)
                if (lower(known[k]) != lower(n[k])) return false;
            return true;
        };
        for (const TimeZone& z : locale_.knownTimeZones)
            if (same(z.name)) return set(f_.namedZone, z, "the zone");
        if (same("UTC")) return set(f_.namedZone, utc(), "the zone");
        pos = start;
        return fail("unknown time zone \"" + std::string(n) + "\"");
    }

    bool directive(const FormatItem& d, bool nextIsNumber) {
        switch (d.letter) {
            case '%':
                if (pos >= in_.size() || in_[pos] != '%') return fail("expected '%'");
                ++pos;
                return true;
            case 'n':
            case 't':
                skipSpace();
                return true;
            case 'b':
            case 'B': {
                std::vector<std::string_view> names;
                for (const auto& [full, abbreviated] : locale_.months) names.push_back(full), names.push_back(abbreviated);
                std::size_t i;
                return name(names, i, "a month name") && set(f_.month, static_cast<Int>(i / 2 + 1), "the month");
            }
            case 'a':
            case 'A': {
                std::vector<std::string_view> names;
                for (const auto& [full, abbreviated] : locale_.wDays) names.push_back(full), names.push_back(abbreviated);
                std::size_t i;
                if (!name(names, i, "a day name")) return false;
                const Int w = static_cast<Int>(i / 2) % 7;  // Sunday first
                return set(f_.weekday, w == 0 ? Int{7} : w, "the day of the week");
            }
            case 'p':
            case 'P': {
                std::size_t i;
                return name({locale_.amPm.first, locale_.amPm.second}, i, "AM or PM") &&
                       set(f_.pm, i == 1, "the half of the day");
            }
            case 'z': {
                Int minutes;
                return offset(minutes, true) && set(f_.offset, minutes, "the zone offset");
            }
            case 'Z': return zoneName();
            case 'q': return fraction(d.width > 0 ? static_cast<std::size_t>(d.width) : 12, "decimals for %q");
            case 'Q':
                if (pos < in_.size() && in_[pos] == '.') {
                    ++pos;
                    return fraction(d.width > 0 ? static_cast<std::size_t>(d.width) : 12, "decimals after '.' for %Q");
                }
                return set(f_.picoseconds, Int{0}, "the fraction of the second");
            default: break;
        }
        Integer v;
        if (!number(d, nextIsNumber, v)) return false;
        const auto small = [&] { return v.unsafeInt(); };
        switch (d.letter) {
            case 'Y': return set(f_.year, v, "the year");
            case 'C': return set(f_.century, v, "the century");
            case 'y': return set(f_.yearOfCentury, small(), "the year of the century");
            case 'G': return set(f_.weekYear, v, "the week-numbering year");
            case 'g': return set(f_.weekYearOfCentury, small(), "the week-numbering year of the century");
            case 'm': return set(f_.month, small(), "the month");
            case 'd':
            case 'e': return set(f_.dayOfMonth, small(), "the day of the month");
            case 'j': return set(f_.dayOfYear, small(), "the day of the year");
            case 'u': return set(f_.weekday, small(), "the day of the week");
            case 'w': return set(f_.weekday, small() == 0 ? Int{7} : small(), "the day of the week");
            case 'U': return set(f_.weekSunday, small(), "the week of the year (%U)");
            case 'W': return set(f_.weekMonday, small(), "the week of the year (%W)");
            case 'V': return set(f_.isoWeek, small(), "the ISO week");
            case 'H':
            case 'k': return set(f_.hour, small(), "the hour");
            case 'I':
            case 'l': return set(f_.hour12, small(), "the hour on the 12-hour clock");
            case 'M': return set(f_.minute, small(), "the minute");
            case 'S': return set(f_.second, small(), "the second");
            case 's': return set(f_.posixSeconds, v, "the seconds since 1970");
            default: return fail(std::string("unknown directive %") + d.letter);
        }
    }
};

// ---------------------------------------------------------- building

const char* const targetNames[] = {"Day",      "Month",     "Quarter", "DayOfWeek", "TimeOfDay",
                                   "LocalTime", "ZonedTime", "UTCTime", "TimeZone"};

// A year from a full year, a century and a year of the century; a year of
// the century alone is taken in 1969..2068.
bool resolveYear(const std::optional<Integer>& full, const std::optional<Integer>& century,
                 const std::optional<Int>& ofCentury, std::optional<Year>& out) {
    if (full) {
        out = *full;
        return true;
    }
    if (ofCentury) {
        out = century ? *century * Integer(100) + Integer(*ofCentury) : Integer(*ofCentury + (*ofCentury >= 69 ? 1900 : 2000));
    }
    return true;
}

// The day of a week of the year counted from the year's first Sunday
// (sundayFirst) or Monday, and a weekday 1..7 (Monday 1); nothing when it
// falls outside the year.
std::optional<Day> fromWeekOfYear(const Year& year, Int week, Int weekday, bool sundayFirst) {
    const Day jan1 = fromOrdinalDate(year, 1);
    // Days from the week's first day: 0..6.
    const auto fromStart = [&](Int isoWeekday) { return sundayFirst ? isoWeekday % 7 : isoWeekday - 1; };
    const Int jan1Offset = fromStart(fromDayOfWeek(dayOfWeek(jan1)));
    const Int firstWeekStart = (7 - jan1Offset) % 7;  // day of year (from 0) of week 1's first day
    const Int dayOfYear0 = firstWeekStart + 7 * (week - 1) + fromStart(weekday);
    return fromOrdinalDateValid(year, dayOfYear0 + 1);
}

// The week of the year a day falls in, counted as %U (sundayFirst) or %W.
Int weekOfYear(const Day& day, bool sundayFirst) {
    const Int w = fromDayOfWeek(dayOfWeek(day));
    const Int fromStart = sundayFirst ? w % 7 : w - 1;
    return (toOrdinalDate(day).dayOfYear - 1 + 7 - fromStart) / 7;
}

struct Built {
    std::optional<Day> day;
    std::optional<TimeOfDay> time;
    std::optional<TimeZone> zone;
    std::optional<UTCTime> instant;
    std::optional<Year> year;  // when no day is known
};

class Builder {
public:
    explicit Builder(const Fields& f) : f_(f) {}
    std::string error;

    bool build(std::size_t target, Built& b) {
        std::optional<Year> weekYear;
        if (!resolveYear(f_.year, f_.century, f_.yearOfCentury, b.year) ||
            !resolveYear(f_.weekYear, std::nullopt, f_.weekYearOfCentury, weekYear))
            return false;
        if (!dateFromFields(b.year, weekYear, b.day) || !timeFromFields(b.time) || !zoneFromFields(b.zone))
            return false;
        if (f_.posixSeconds) {
            const Integer ps = *f_.posixSeconds * Integer(picosPerSecond) + Integer(f_.picoseconds.value_or(0));
            b.instant = posixSecondsToUTCTime(POSIXTime::fromPicoseconds(ps));
            const std::optional<TimeZone> zone = b.zone ? b.zone : (target == TUTCTime ? std::optional(TimeZone{}) : std::nullopt);
            if (zone) {
                // The local date and time of the instant; every date and
                // time field read is checked against them below.
                const LocalTime local = utcToLocalTime(*zone, *b.instant);
                b.day = local.day;
                b.time = local.timeOfDay;
            } else if (target != TTimeZone) {
                return fail("%s needs a zone (%z or %Z) to give a local date or time");
            }
        }
        if (b.day && !dateAgrees(*b.day)) return false;
        if (b.time && !timeAgrees(*b.time)) return false;
        return true;
    }

private:
    const Fields& f_;

    bool fail(const std::string& what) {
        error = what;
        return false;
    }

    bool anyDateField() const {
        return f_.year || f_.century || f_.yearOfCentury || f_.weekYear || f_.weekYearOfCentury || f_.month ||
               f_.dayOfMonth || f_.dayOfYear || f_.weekday || f_.weekSunday || f_.weekMonday || f_.isoWeek;
    }
    bool anyTimeField() const { return f_.hour || f_.hour12 || f_.pm || f_.minute || f_.second; }

    bool dateFromFields(const std::optional<Year>& year, const std::optional<Year>& weekYear, std::optional<Day>& day) {
        if (year && f_.month && f_.dayOfMonth) {
            day = fromGregorianValid(*year, *f_.month, *f_.dayOfMonth);
            if (!day)
                return fail("no day " + std::to_string(*f_.dayOfMonth) + " in month " + std::to_string(*f_.month) +
                            " of " + year->toString());
        } else if (year && f_.dayOfYear) {
            day = fromOrdinalDateValid(*year, *f_.dayOfYear);
            if (!day) return fail("no day " + std::to_string(*f_.dayOfYear) + " in the year " + year->toString());
        } else if (weekYear && f_.isoWeek && f_.weekday) {
            day = fromWeekDateValid(*weekYear, *f_.isoWeek, *f_.weekday);
            if (!day) return fail("no ISO week " + std::to_string(*f_.isoWeek) + " in " + weekYear->toString());
        } else if (year && (f_.weekSunday || f_.weekMonday) && f_.weekday) {
            const bool sunday = f_.weekSunday.has_value();
            day = fromWeekOfYear(*year, sunday ? *f_.weekSunday : *f_.weekMonday, *f_.weekday, sunday);
            if (!day) return fail("that week and day of the week are not in " + year->toString());
        }
        return true;
    }

    // Every date field read is the day's.
    bool dateAgrees(const Day& day) {
        const YearMonthDay g = toGregorian(day);
        const WeekDate w = toWeekDate(day);
        const auto check = [&](bool ok, const char* what) { return ok || fail(std::string(what) + " is not the date's"); };
        return check(!f_.year || *f_.year == g.year, "the year (%Y)") &&
               check(!f_.century || *f_.century == core::div(g.year, Integer(100)), "the century (%C)") &&
               check(!f_.yearOfCentury || Integer(*f_.yearOfCentury) == core::mod(g.year, Integer(100)),
                     "the year of the century (%y)") &&
               check(!f_.month || *f_.month == g.month, "the month") &&
               check(!f_.dayOfMonth || *f_.dayOfMonth == g.day, "the day of the month") &&
               check(!f_.dayOfYear || *f_.dayOfYear == toOrdinalDate(day).dayOfYear, "the day of the year") &&
               check(!f_.weekday || *f_.weekday == fromDayOfWeek(dayOfWeek(day)), "the day of the week") &&
               check(!f_.weekYear || *f_.weekYear == w.year, "the week-numbering year (%G)") &&
               check(!f_.weekYearOfCentury || Integer(*f_.weekYearOfCentury) == core::mod(w.year, Integer(100)),
                     "the week-numbering year of the century (%g)") &&
               check(!f_.isoWeek || *f_.isoWeek == w.week, "the ISO week (%V)") &&
               check(!f_.weekSunday || *f_.weekSunday == weekOfYear(day, true), "the week of the year (%U)") &&
               check(!f_.weekMonday || *f_.weekMonday == weekOfYear(day, false), "the week of the year (%W)");
    }

    bool timeFromFields(std::optional<TimeOfDay>& time) {
        if (!anyTimeField()) return true;
        std::optional<Int> hour = f_.hour;
        if (!hour && f_.hour12 && f_.pm) hour = *f_.hour12 % 12 + (*f_.pm ? 12 : 0);
        if (!hour) {
            if (f_.hour12) return fail("%I or %l needs %p to give the hour");
            if (f_.minute || f_.second) return fail("the time has minutes or seconds but no hour");
            return true;  // a day half alone
        }
        if (f_.second && !f_.minute) return fail("the time has seconds but no minutes");
        time = TimeOfDay{*hour, f_.minute.value_or(0),
                         Pico::fromPicoseconds(Integer(f_.second.value_or(0) * picosPerSecond + f_.picoseconds.value_or(0)))};
        return true;
    }

    // Every time field read is the time's.
    bool timeAgrees(const TimeOfDay& t) {
        const Integer whole = core::div(t.seconds.picoseconds(), Integer(picosPerSecond));
        const Integer frac = core::mod(t.seconds.picoseconds(), Integer(picosPerSecond));
        const auto check = [&](bool ok, const char* what) { return ok || fail(std::string(what) + " is not the time's"); };
        const Int h12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
        return check(!f_.hour || *f_.hour == t.hour, "the hour") &&
               check(!f_.hour12 || *f_.hour12 == h12, "the hour on the 12-hour clock") &&
               check(!f_.pm || *f_.pm == (t.hour >= 12), "the half of the day (%p)") &&
               check(!f_.minute || *f_.minute == t.minute, "the minute") &&
               check(!f_.second || Integer(*f_.second) == whole, "the second") &&
               check(!f_.picoseconds || Integer(*f_.picoseconds) == frac, "the fraction of the second");
    }

    bool zoneFromFields(std::optional<TimeZone>& zone) {
        if (f_.namedZone) {
            if (f_.offset && *f_.offset != f_.namedZone->minutes)
                return fail("the zone offset (%z) is not that of the zone " + f_.namedZone->name);
            zone = *f_.namedZone;
        } else if (f_.offset) {
            zone = minutesToTimeZone(*f_.offset);
        }
        return true;
    }
};

core::Either<std::string, ParsedTime> missing(std::size_t target, const char* what) {
    return core::Left(std::string("the fields read do not give a ") + targetNames[target] + ": " + what);
}

core::Either<std::string, ParsedTime> buildTarget(std::size_t target, const Fields& f) {
    Built b;
    Builder builder(f);
    if (!builder.build(target, b)) return core::Left(builder.error);
    const auto month = [&]() -> std::optional<Month> {
        if (b.day) return dayMonth(*b.day);
        if (b.year && f.month) return fromYearMonth(*b.year, *f.month);
        return std::nullopt;
    };
    switch (target) {
        case TDay:
            if (!b.day) return missing(target, "no date");
            return core::Right(ParsedTime(*b.day));
        case TMonth:
            if (const auto m = month()) return core::Right(ParsedTime(*m));
            return missing(target, "no year and month");
        case TQuarter:
            if (const auto m = month()) return core::Right(ParsedTime(monthQuarter(*m)));
            return missing(target, "no year and month");
        case TDayOfWeek:
            if (b.day) return core::Right(ParsedTime(dayOfWeek(*b.day)));
            if (f.weekday) return core::Right(ParsedTime(toDayOfWeek(*f.weekday)));
            return missing(target, "no day of the week");
        case TTimeOfDay:
            if (!b.time) return missing(target, "no hour");
            return core::Right(ParsedTime(*b.time));
        case TLocalTime:
            if (!b.day || !b.time) return missing(target, b.day ? "no hour" : "no date");
            return core::Right(ParsedTime(LocalTime{*b.day, *b.time}));
        case TZonedTime:
            if (!b.day || !b.time || !b.zone) return missing(target, !b.day ? "no date" : !b.time ? "no hour" : "no zone");
            return core::Right(ParsedTime(ZonedTime{LocalTime{*b.day, *b.time}, *b.zone}));
        case TUTCTime:
            if (b.instant) return core::Right(ParsedTime(*b.instant));
            if (!b.day || !b.time) return missing(target, b.day ? "no hour" : "no date");
            return core::Right(ParsedTime(localTimeToUTC(b.zone.value_or(TimeZone{}), LocalTime{*b.day, *b.time})));
        default:
            if (!b.zone) return missing(target, "no zone");
            return core::Right(ParsedTime(*b.zone));
    }
}

std::string context(std::string_view format, std::string_view input) {
    return "reading \"" + std::string(input) + "\" with the format \"" + std::string(format) + "\": ";
}

}  // namespace

core::Either<std::string, ParsedTime> parseTimeMultiple(std::size_t target, bool acceptWS, const TimeLocale& locale,
                                                        const std::vector<std::pair<std::string, std::string>>& pairs) {
    Fields fields;
    for (const auto& [format, input] : pairs) {
        const auto items = compileFormat(locale, format);
        if (!items) return core::Left(context(format, input) + items.left());
        Reader r(locale, input, fields);
        if (acceptWS) r.skipSpace();
        if (!r.run(*items)) return core::Left(context(format, input) + r.error);
        if (acceptWS) r.skipSpace();
        if (!r.atEnd())
            return core::Left(context(format, input) + "text left over at offset " + std::to_string(r.pos) + ": \"" +
                              input.substr(r.pos) + "\"");
    }
    auto built = buildTarget(target, fields);
    if (!built && pairs.size() == 1) return core::Left(context(pairs[0].first, pairs[0].second) + built.left());
    return built;
}

std::vector<std::pair<ParsedTime, core::Text>> readSTimeAny(std::size_t target, bool acceptWS,
                                                            const TimeLocale& locale, std::string_view format,
                                                            const core::Text& input) {
    const auto items = compileFormat(locale, format);
    if (!items) return {};
    Fields fields;
    Reader r(locale, input.view(), fields);
    if (acceptWS) r.skipSpace();
    if (!r.run(*items)) return {};
    auto built = buildTarget(target, fields);
    if (!built) return {};
    std::vector<std::pair<ParsedTime, core::Text>> out;
    out.emplace_back(std::move(built).value(), input.dropBytes(r.pos));
    return out;
}

}  // namespace kalmet::detail
