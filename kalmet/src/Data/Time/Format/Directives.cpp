#include "Data/Time/Format/Directives.h"

#include <string_view>

namespace kalmet::detail {

namespace {

// Locale formats may use composites, and locale formats may use each other;
// beyond this depth the references are taken to go round in a circle.
constexpr int maxNesting = 4;
// Locale formats that use each other several times over could expand
// beyond any sensible size; more items than this is an error.
constexpr std::size_t maxItems = 1 << 16;

constexpr std::string_view plainLetters = "YCyGgmdejBbhuwaAUWVHkIlMSqQpPzZs%nt";

struct Compiler {
    const TimeLocale& locale;
    std::vector<FormatItem> items;
    std::string error;

    bool compile(std::string_view format, int depth, bool upper, bool swapCase) {
        if (depth > maxNesting) {
            error = "the locale's formats refer to each other without end";
            return false;
        }
        for (std::size_t i = 0; i < format.size();) {
            if (items.size() >= maxItems) {
                error = "the format is too long once its composites are expanded";
                return false;
            }
            const char c = format[i];
            if (c != '%') {
                FormatItem item;
                item.kind = isSpace(c) ? FormatItem::Kind::Space : FormatItem::Kind::Literal;
                item.letter = c;
                items.push_back(item);
                ++i;
                continue;
            }
            const std::size_t start = i++;
            FormatItem d;
            d.kind = FormatItem::Kind::Directive;
            d.upper = upper;
            d.swapCase = swapCase;
            for (; i < format.size(); ++i) {
                const char f = format[i];
                if (f == '-' || f == '_' || f == '0') d.pad = f;
                else if (f == '^') d.upper = true;
                else if (f == '#') d.swapCase = true;
                else break;
            }
            if (i < format.size() && format[i] >= '1' && format[i] <= '9') {
                int width = 0;
                for (; i < format.size() && format[i] >= '0' && format[i] <= '9'; ++i) {
                    width = width * 10 + (format[i] - '0');
                    if (width > maxFormatWidth) {
                        error = "field width above " + std::to_string(maxFormatWidth) + " in \"" +
                                std::string(format.substr(start, i + 1 - start)) + "\"";
                        return false;
                    }
                }
                d.width = width;
            }
            bool alternative = false;
            if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) {
                alternative = format[i] == 'E';
                ++i;
            }
            if (i >= format.size()) {
                error = "the format ends inside the directive \"" + std::string(format.substr(start)) + "\"";
                return false;
            }
            const char letter = format[i++];
            d.letter = letter;
            d.colon = alternative && letter == 'z';
            switch (letter) {
                case 'F':
                    if (!compile("%Y-%m-%d", depth + 1, d.upper, d.swapCase)) return false;
                    continue;
                case 'T':
                    if (!compile("%H:%M:%S", depth + 1, d.upper, d.swapCase)) return false;
                    continue;
                case 'D':
                    if (!compile("%m/%d/%y", depth + 1, d.upper, d.swapCase)) return false;
                    continue;
                case 'R':
                    if (!compile("%H:%M", depth + 1, d.upper, d.swapCase)) return false;
                    continue;
                case 'c':
                    if (!compile(locale.dateTimeFmt, depth + 1, d.upper, d.swapCase)) return false;
                    continue;
                case 'x':
                    if (!compile(locale.dateFmt, depth + 1, d.upper, d.swapCase)) return false;
                    continue;
                case 'X':
                    if (!compile(locale.timeFmt, depth + 1, d.upper, d.swapCase)) return false;
                    continue;
                case 'r':
                    if (!compile(locale.time12Fmt, depth + 1, d.upper, d.swapCase)) return false;
                    continue;
                case 'h':
                    d.letter = 'b';
                    break;
                default:
                    if (plainLetters.find(letter) == std::string_view::npos) {
                        error = "unknown directive \"" + std::string(format.substr(start, i - start)) + "\"";
                        return false;
                    }
            }
            items.push_back(d);
        }
        return true;
    }
};

}  // namespace

core::Either<std::string, std::vector<FormatItem>> compileFormat(const TimeLocale& locale, std::string_view format) {
    Compiler c{locale, {}, {}};
    if (!c.compile(format, 0, false, false)) return core::Left(std::move(c.error));
    return core::Right(std::move(c.items));
}

bool isNumberDirective(char letter) noexcept {
    return std::string_view("YCyGgmdejuwUWVHkIlMSqs").find(letter) != std::string_view::npos;
}

}  // namespace kalmet::detail
