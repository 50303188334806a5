// Runs the format language of kalmet on arbitrary bytes: a format and an
// input (split at the first NUL byte; the first byte chooses whether white
// space is accepted) are read as every type the readers give, and the
// format writes fixed values. Beyond not crashing, hanging or reading out
// of bounds: a reading that succeeds on the whole input is also the one
// reader of the front of the input with nothing left; formatTime fails
// only with core::Error; a value read and written again by the same format
// reads back to a value that writes the same text (the text is stable
// after one round), except for formats whose fields cannot be told apart
// (a number of varying length directly followed by another number, such
// as %-m%Y or %s%S), which may read back as another value.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Core/Error.h"
#include "Data/Time/Calendar.h"
#include "Data/Time/Format.h"
#include "Data/Time/Format/Directives.h"

namespace {

using namespace kalmet;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "time_format: %s\n", what);
    std::abort();
}

void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

// formatTime's text of the value, or nothing when the format is not one
// for it.
template <class V>
std::optional<std::string> written(std::string_view format, const V& value) {
    try {
        return formatTime(defaultTimeLocale(), format, value);
    } catch (const core::Error&) {
        return std::nullopt;
    }
}

// The usual width of a number directive: the digits a value in range
// takes at most.
int usualWidth(char letter) {
    switch (letter) {
        case 'Y':
        case 'G': return 4;
        case 'j': return 3;
        case 'u':
        case 'w':
        case 's': return 1;
        case 'q': return 12;
        default: return 2;
    }
}

// True when the text of one field can run into the next: a number whose
// length varies (no padding, a width below its usual one, a field that
// grows with its value, or the decimals of %Q) directly followed by a
// number or a literal digit. The reader takes such text greedily, so it may read back as
// another value.
bool fieldsRunTogether(const std::string& format) {
    const auto items = detail::compileFormat(defaultTimeLocale(), format);
    if (!items) return false;
    const auto& xs = *items;
    using K = detail::FormatItem::Kind;
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const auto& a = xs[i];
        const auto& b = xs[i + 1];
        // A number, or a literal digit, follows.
        const bool digitNext = (b.kind == K::Directive && detail::isNumberDirective(b.letter)) ||
                               (b.kind == K::Literal && b.letter >= '0' && b.letter <= '9');
        if (a.kind != K::Directive || !digitNext) continue;
        if (a.letter == 'Q') return true;
        if (!detail::isNumberDirective(a.letter)) continue;
        if (a.pad == '-' || std::string_view("YGCs").find(a.letter) != std::string_view::npos) return true;
        if (a.width >= 0 && a.width < usualWidth(a.letter) && a.letter != 'q') return true;
    }
    return false;
}

template <class T>
void readAs(bool acceptWS, const std::string& format, const std::string& input) {
    const TimeLocale& en = defaultTimeLocale();
    const auto whole = parseTimeMultipleM<T>(acceptWS, en, {{format, input}});
    if (whole.isLeft()) check(!whole.left().empty(), "empty message");
    const auto front = readSTime<T>(acceptWS, en, format, core::Text(input));
    check(front.size() <= 1, "at most one reading of the front");
    if (whole && core::Text(input).view() == input) {
        // The whole input read means its front read with only white space
        // (when accepted) left.
        check(front.size() == 1 && front[0].first == *whole, "the reader of the front agrees");
        for (char c : front[0].second.view()) check(acceptWS && detail::isSpace(c), "only white space left");
    }
    if constexpr (!std::is_same_v<T, Quarter>) {
        if (!whole) return;
        const auto text = written(format, *whole);
        if (!text) return;
        const auto again = parseTimeMultipleM<T>(false, en, {{format, *text}});
        if (!again) return;  // a format may write what it cannot read back (%y of year 12345)
        const auto text2 = written(format, *again);
        check(text2 && (*text2 == *text || fieldsRunTogether(format)), "the text is stable after one round");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 2048) return 0;
    const bool acceptWS = (data[0] & 1) != 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t nul = rest.find('\0');
    const std::string format(rest.substr(0, nul));
    const std::string input(nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1));

    readAs<Day>(acceptWS, format, input);
    readAs<Month>(acceptWS, format, input);
    readAs<Quarter>(acceptWS, format, input);
    readAs<DayOfWeek>(acceptWS, format, input);
    readAs<TimeOfDay>(acceptWS, format, input);
    readAs<LocalTime>(acceptWS, format, input);
    readAs<ZonedTime>(acceptWS, format, input);
    readAs<UTCTime>(acceptWS, format, input);
    readAs<TimeZone>(acceptWS, format, input);

    // The format writes values of every kind (or raises core::Error).
    const Day day = fromGregorian(-12345, 2, 29);
    const TimeOfDay time{23, 59, Pico::fromPicoseconds(core::Integer(60'500'000'000'000))};
    written(format, day);
    written(format, fromYearMonth(99999, 12));
    written(format, time);
    written(format, LocalTime{day, time});
    written(format, ZonedTime{{day, time}, TimeZone{-330, true, "XST"}});
    written(format, UTCTime{day, DiffTime::fromPicoseconds(core::Integer(86400'250'000'000'000))});
    written(format, minutesToTimeZone(-1));
    written(format, Saturday);
    return 0;
}
