// Runs kalmet's bidirectional formats on arbitrary bytes: the first byte
// picks a format (numbers with every sign option and digit count, decimals,
// signs, cases, sums and sequences), the rest is read by it. Beyond not
// crashing, hanging or reading out of bounds: a failure carries one of the
// two messages with the input quoted; a value read writes a text that
// reads back to the same value (among the readings of an ambiguous
// format); and the seconds reader (core::read of
// Pico) agrees with its own text form.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Core/Error.h"
#include "Core/Show.h"
#include "Data/Format.h"

namespace {

using namespace kalmet;
using core::Int;

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "format_combinators: %s\n", what);
    std::abort();
}
void check(bool ok, const char* what) {
    if (!ok) fail(what);
}

template <class T>
void readAndWriteBack(const Format<T>& f, std::string_view input) {
    core::Either<std::string, T> r = core::Left(std::string());
    try {
        r = formatParseM(f, input);
    } catch (const core::Error&) {
        return;  // a digit text the type's reader rejects (a fraction of an Int)
    }
    if (!r) {
        std::string quoted;
        core::showStringLiteral(input, quoted);
        check(r.left() == "no parse of " + quoted || r.left() == "multiple parses of " + quoted, "message");
        return;
    }
    const auto text = formatShowM(f, *r);
    if (!text) return;  // e.g. a negative value for a format without a sign
    // The text reads back to the value: it is among the complete readings
    // of the text (a composition may be ambiguous, such as an optional sign
    // before a number that has its own, so there may be others).
    bool found = false;
    for (const auto& p : f.reader()(*text, 0, 0))
        if (p.rest == text->size() && p.value == *r) found = true;
    check(found, "a value read writes a text that reads back to it");
}

SignOption signOf(std::uint8_t b) { return static_cast<SignOption>(b % 3); }
std::optional<Int> countOf(std::uint8_t b) {
    if (b % 5 == 0) return std::nullopt;
    return static_cast<Int>(b % 5) - 1;  // 0..3
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 512) return 0;
    const std::uint8_t pick = data[0], opt = data[1];
    const std::string_view input(reinterpret_cast<const char*>(data + 2), size - 2);
    const auto num = integerFormat<Int>(signOf(opt), countOf(opt >> 2));
    switch (pick % 8) {
        case 0: readAndWriteBack(num, input); break;
        case 1: readAndWriteBack(integerFormat<core::Integer>(signOf(opt), countOf(opt >> 2)), input); break;
        case 2: readAndWriteBack(decimalFormat<Pico>(signOf(opt), countOf(opt >> 2)), input); break;
        case 3: readAndWriteBack(pPair(pLeft(num, literalFormat("-")), integerFormat<Int>(NoSign, 2)), input); break;
        // An optional sign before unsigned digits: a sign before a number
        // with a sign of its own would not read back ("+-5" is read, and
        // written as "-5", which the sign takes).
        case 4:
            readAndWriteBack(pPair(optionalSignFormat<Int>(), integerFormat<Int>(NoSign, countOf(opt >> 2))), input);
            break;
        case 5:
            readAndWriteBack(pEither(casesFormat<Int>({{1, "a"}, {2, "ab"}, {3, "b"}}), mandatorySignFormat<Int>()),
                             input);
            break;
        case 6: readAndWriteBack(optionalFormat(Int{0}, clipFormat<Int>({1, 99}, num)), input); break;
        default: {
            const auto p = core::read<Pico>(input);
            if (p) check(core::read<Pico>(core::show(*p)) == p, "Pico's text form reads back");
            break;
        }
    }
    return 0;
}
