#pragma once
// Bidirectional text formats: one description of a textual layout that
// both writes a value as text and reads it back.
//
//   using namespace kalmet;
//   // A signed year of at least 4 digits, "-", a month of 2 digits.
//   auto ym = pPair(pLeft(integerFormat<core::Int>(NegSign, 4), literalFormat("-")),
//                   integerFormat<core::Int>(NoSign, 2));
//   formatShow(ym, std::pair<core::Int, core::Int>{-5, 3})   // "-0005-03"
//   formatParseM(ym, "2024-02")                              // Right {2024, 2}
//   formatParseM<std::optional<std::pair<core::Int, core::Int>>>(ym, "2024-2")  // nullopt
//
// A Format<T> is built by MkFormat from its two fields: formatShowM, a
// function from T to an optional text (nothing: this value cannot be
// written in this format), and formatReadP, a core::Reader<T> (the
// backtracking reader of Core/ReadP.h: every way to read a T from a prefix
// of the input). formatParseM keeps only the readings that consume the
// whole input and fails unless exactly one does.
//
// The operators of the format interfaces have names (docs/names.md):
//   <**>  pPair(a, b)     write a's part then b's, read a then b
//   **>   pRight(a, b)    a writes and reads the empty tuple (core::Unit)
//   <**   pLeft(a, b)     b writes and reads the empty tuple
//   <++>  pEither(a, b)   core::Either of the two, symmetric choice
// The empty tuple is core::Unit and the type with no values core::Void.
//
// Formats are immutable; combinators share their parts (copying a Format
// copies two shared pointers) and may be used from any number of threads.
#include <charconv>
#include <concepts>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Either.h"
#include "Core/Error.h"
#include "Core/Integer.h"
#include "Core/Num.h"
#include "Core/Read.h"
#include "Core/ReadP.h"
#include "Core/Show.h"
#include "Core/Types.h"
#include "Data/Time/Calendar/Private.h"
#include "Data/Time/Clock/DiffTime.h"

namespace kalmet {

// A format for values of T: how to write one (formatShowM) and how to read
// one (formatReadP).
template <class T>
class Format {
public:
    using value_type = T;
    using ShowFn = std::function<std::optional<std::string>(const T&)>;

    // The format that writes nothing and reads nothing.
    Format() : show_(std::make_shared<const ShowFn>([](const T&) { return std::optional<std::string>(); })) {}
    Format(ShowFn show, core::Reader<T> read)
        : show_(std::make_shared<const ShowFn>(std::move(show))), read_(std::move(read)) {}

    // The text of x, or nothing when this format cannot write it.
    std::optional<std::string> showM(const T& x) const { return (*show_)(x); }
    // The reader.
    const core::Reader<T>& reader() const noexcept { return read_; }

private:
    std::shared_ptr<const ShowFn> show_;
    core::Reader<T> read_;
};

// The constructor: a format from its writer and its reader.
template <class T, class Show>
Format<T> MkFormat(Show show, core::Reader<T> read) {
    return Format<T>(typename Format<T>::ShowFn(std::move(show)), std::move(read));
}

// The kind tag of Format (Format<A> is FormatK::apply<A>).
struct FormatK {
    template <class A>
    using apply = Format<A>;
};

// ---- The two fields and the free functions over them ---------------------

template <class T>
std::optional<std::string> formatShowM(const Format<T>& f, const T& x) {
    return f.showM(x);
}
template <class T>
const core::Reader<T>& formatReadP(const Format<T>& f) {
    return f.reader();
}

namespace detail {
[[noreturn]] void formatShowBadValue();
std::string noParseOf(std::string_view s);
std::string multipleParsesOf(std::string_view s);
}  // namespace detail

// The text of x; raises core::Error "formatShow: bad value" when the
// format cannot write it.
template <class T>
std::string formatShow(const Format<T>& f, const T& x) {
    auto s = f.showM(x);
    if (!s) detail::formatShowBadValue();
    return std::move(*s);
}

// How a parse reports its outcome: ParseChannel<R> builds an R from a
// value or from a failure message. Implemented for
// core::Either<std::string, T> (the message kept) and std::optional<T>
// (the message dropped); specialise it for another result type.
template <class R>
struct ParseChannel {};
template <class T>
struct ParseChannel<core::Either<std::string, T>> {
    using value_type = T;
    static core::Either<std::string, T> success(T x) { return core::Right(std::move(x)); }
    static core::Either<std::string, T> failure(std::string message) { return core::Left(std::move(message)); }
};
template <class T>
struct ParseChannel<std::optional<T>> {
    using value_type = T;
    static std::optional<T> success(T x) { return std::optional<T>(std::move(x)); }
    static std::optional<T> failure(const std::string&) { return std::nullopt; }
};

// Runs the reader on s and keeps the readings that consume all of it:
// exactly one is the value; none fails with "no parse of " and more than
// one (even of equal values) with "multiple parses of ", each followed by
// s as a quoted string literal. R chooses the result type (by default
// core::Either<std::string, T>).
template <class R = void, class T>
auto parseReader(const core::Reader<T>& reader, std::string_view s) {
    using Result = std::conditional_t<std::is_void_v<R>, core::Either<std::string, T>, R>;
    using Channel = ParseChannel<Result>;
    std::optional<T> found;
    bool several = false;
    for (auto& r : reader(s, 0, 0)) {
        if (r.rest != s.size()) continue;
        if (found) {
            several = true;
            break;
        }
        found.emplace(std::move(r.value));
    }
    if (several) return Channel::failure(detail::multipleParsesOf(s));
    if (!found) return Channel::failure(detail::noParseOf(s));
    return Channel::success(std::move(*found));
}

// parseReader of the format's reader.
template <class R = void, class T>
auto formatParseM(const Format<T>& f, std::string_view s) {
    return parseReader<R>(f.reader(), s);
}

// ---- The interfaces ------------------------------------------------------

// Maps a format of A to one of B through two functions, A to B for reading
// and B to A for writing.
template <class K>
struct IsoVariant {};
template <>
struct IsoVariant<FormatK> {
    template <class A, class AB, class BA>
    static auto isoMap(AB ab, BA ba, const Format<A>& f) {
        using B = std::decay_t<std::invoke_result_t<AB&, const A&>>;
        return MkFormat<B>([ba = std::move(ba), f](const B& b) { return f.showM(ba(b)); },
                           core::mapP(std::move(ab), f.reader()));
    }
};

// Sequencing of formats. pRight and pLeft default to isoMap over pPair.
template <class K, class Self>
struct ProductishDefaults {
    template <class FU, class FA>
    static auto pRight(const FU& a, const FA& b) {
        using A = typename FA::value_type;
        return IsoVariant<K>::isoMap([](const std::pair<core::Unit, A>& p) { return p.second; },
                                     [](const A& x) { return std::pair<core::Unit, A>{core::Unit{}, x}; },
                                     Self::pPair(a, b));
    }
    template <class FA, class FU>
    static auto pLeft(const FA& a, const FU& b) {
        using A = typename FA::value_type;
        return IsoVariant<K>::isoMap([](const std::pair<A, core::Unit>& p) { return p.first; },
                                     [](const A& x) { return std::pair<A, core::Unit>{x, core::Unit{}}; },
                                     Self::pPair(a, b));
    }
};
template <class K>
struct Productish {};
template <>
struct Productish<FormatK> : ProductishDefaults<FormatK, Productish<FormatK>> {
    // Writes the empty text, reads the empty tuple consuming nothing.
    static Format<core::Unit> pUnit() {
        return MkFormat<core::Unit>([](const core::Unit&) { return std::optional<std::string>(std::string()); },
                                    core::pureP(core::Unit{}));
    }
    template <class A, class B>
    static Format<std::pair<A, B>> pPair(const Format<A>& a, const Format<B>& b) {
        return MkFormat<std::pair<A, B>>(
            [a, b](const std::pair<A, B>& p) -> std::optional<std::string> {
                auto sa = a.showM(p.first);
                if (!sa) return std::nullopt;
                auto sb = b.showM(p.second);
                if (!sb) return std::nullopt;
                return std::move(*sa) + *sb;
            },
            core::Reader<std::pair<A, B>>(
                [ra = a.reader(), rb = b.reader()](std::string_view in, std::size_t pos, int prec) {
                    core::Parses<std::pair<A, B>> out;
                    for (auto& x : ra(in, pos, prec))
                        for (auto& y : rb(in, x.rest, prec))
                            out.push_back({std::pair<A, B>{x.value, std::move(y.value)}, y.rest});
                    return out;
                }));
    }
    // Direct forms of the defaults, without the pair in between.
    template <class A>
    static Format<A> pRight(const Format<core::Unit>& a, const Format<A>& b) {
        return MkFormat<A>(
            [a, b](const A& x) -> std::optional<std::string> {
                auto sa = a.showM(core::Unit{});
                if (!sa) return std::nullopt;
                auto sb = b.showM(x);
                if (!sb) return std::nullopt;
                return std::move(*sa) + *sb;
            },
            core::Reader<A>([ra = a.reader(), rb = b.reader()](std::string_view in, std::size_t pos, int prec) {
                core::Parses<A> out;
                for (auto& x : ra(in, pos, prec))
                    for (auto& y : rb(in, x.rest, prec)) out.push_back(std::move(y));
                return out;
            }));
    }
    template <class A>
    static Format<A> pLeft(const Format<A>& a, const Format<core::Unit>& b) {
        return MkFormat<A>(
            [a, b](const A& x) -> std::optional<std::string> {
                auto sa = a.showM(x);
                if (!sa) return std::nullopt;
                auto sb = b.showM(core::Unit{});
                if (!sb) return std::nullopt;
                return std::move(*sa) + *sb;
            },
            core::Reader<A>([ra = a.reader(), rb = b.reader()](std::string_view in, std::size_t pos, int prec) {
                core::Parses<A> out;
                for (auto& x : ra(in, pos, prec))
                    for (auto& y : rb(in, x.rest, prec)) out.push_back({x.value, y.rest});
                return out;
            }));
    }
};

// Alternatives of formats.
template <class K>
struct Summish {};
template <>
struct Summish<FormatK> {
    // No values: never writes, never reads.
    static Format<core::Void> pVoid() {
        return MkFormat<core::Void>([](const core::Void& v) { return core::absurd<std::optional<std::string>>(v); },
                                    core::pfail<core::Void>());
    }
    template <class A, class B>
    static Format<core::Either<A, B>> pEither(const Format<A>& a, const Format<B>& b) {
        using E = core::Either<A, B>;
        return MkFormat<E>([a, b](const E& e) { return e.isLeft() ? a.showM(e.left()) : b.showM(e.right()); },
                           core::alt(core::mapP([](const A& x) { return E(core::Left(x)); }, a.reader()),
                                     core::mapP([](const B& y) { return E(core::Right(y)); }, b.reader())));
    }
};

// Free functions of the interfaces.
template <class A, class AB, class BA>
auto isoMap(AB ab, BA ba, const Format<A>& f) {
    return IsoVariant<FormatK>::isoMap(std::move(ab), std::move(ba), f);
}
template <class K = FormatK>
auto pUnit() {
    return Productish<K>::pUnit();
}
template <class A, class B>
Format<std::pair<A, B>> pPair(const Format<A>& a, const Format<B>& b) {
    return Productish<FormatK>::pPair(a, b);
}
template <class A>
Format<A> pRight(const Format<core::Unit>& a, const Format<A>& b) {
    return Productish<FormatK>::pRight(a, b);
}
template <class A>
Format<A> pLeft(const Format<A>& a, const Format<core::Unit>& b) {
    return Productish<FormatK>::pLeft(a, b);
}
template <class K = FormatK>
auto pVoid() {
    return Summish<K>::pVoid();
}
template <class A, class B>
Format<core::Either<A, B>> pEither(const Format<A>& a, const Format<B>& b) {
    return Summish<FormatK>::pEither(a, b);
}

// ---- Combinators ---------------------------------------------------------

// Writes the position of the value in E (core::fromEnum) with f; reads an
// Int with f and converts it with core::toEnum.
template <class E>
Format<E> enumMap(const Format<core::Int>& f) {
    return isoMap([](const core::Int& n) { return core::toEnum<E>(n); },
                  [](const E& e) { return core::fromEnum(e); }, f);
}

// Writes bma(b) with f (nothing when bma gives nothing); reads with f and
// keeps the readings a for which amb(a) gives a value.
template <class A, class AMB, class BMA>
auto mapMFormat(AMB amb, BMA bma, const Format<A>& f) {
    using B = typename std::decay_t<std::invoke_result_t<AMB&, const A&>>::value_type;
    core::Reader<A> ra = f.reader();
    return MkFormat<B>(
        [bma = std::move(bma), f](const B& b) -> std::optional<std::string> {
            auto a = bma(b);
            if (!a) return std::nullopt;
            return f.showM(*a);
        },
        core::Reader<B>([ra, amb = std::move(amb)](std::string_view in, std::size_t pos, int prec) {
            core::Parses<B> out;
            for (auto& r : ra(in, pos, prec))
                if (auto b = amb(r.value)) out.push_back({std::move(*b), r.rest});
            return out;
        }));
}

// Only the values that pass the test, written and read.
template <class A, class Test>
Format<A> filterFormat(Test test, const Format<A>& f) {
    core::Reader<A> ra = f.reader();
    return MkFormat<A>(
        [test, f](const A& x) -> std::optional<std::string> {
            if (!test(x)) return std::nullopt;
            return f.showM(x);
        },
        core::Reader<A>([ra, test](std::string_view in, std::size_t pos, int prec) {
            core::Parses<A> out;
            for (auto& r : ra(in, pos, prec))
                if (test(r.value)) out.push_back(std::move(r));
            return out;
        }));
}

// Only the values from lo to hi, both included.
template <class A>
Format<A> clipFormat(const std::pair<A, A>& bounds, const Format<A>& f) {
    return filterFormat([bounds](const A& x) { return !(x < bounds.first) && !(bounds.second < x); }, f);
}

// Always writes s; reads exactly s, yielding the empty tuple.
Format<core::Unit> literalFormat(std::string s);

// Writes s for the value v, other values as f; reads as f.
template <class A>
Format<A> specialCaseShowFormat(const std::pair<A, std::string>& special, const Format<A>& f) {
    return MkFormat<A>(
        [special, f](const A& x) -> std::optional<std::string> {
            if (x == special.first) return special.second;
            return f.showM(x);
        },
        f.reader());
}

// Writes s for the value v, other values as f; reads s as v and,
// alongside (symmetric choice), whatever f reads.
template <class A>
Format<A> specialCaseFormat(const std::pair<A, std::string>& special, const Format<A>& f) {
    return MkFormat<A>(
        [special, f](const A& x) -> std::optional<std::string> {
            if (x == special.first) return special.second;
            return f.showM(x);
        },
        core::alt(core::mapP([v = special.first](const std::string_view&) { return v; }, core::stringP(special.second)),
                  f.reader()));
}

// The value v written as nothing; the empty text reads as v, alongside
// whatever f reads.
template <class A>
Format<A> optionalFormat(const A& v, const Format<A>& f) {
    return specialCaseFormat(std::pair<A, std::string>{v, std::string()}, f);
}

// The text of the first pair whose value equals the given one (nothing
// when none does). Reads the pairs' texts in list order under committed
// choice: the first pair whose text is at the input gives its value and
// the rest are not tried. An empty list writes and reads nothing.
template <class A>
Format<A> casesFormat(std::vector<std::pair<A, std::string>> pairs) {
    auto shared = std::make_shared<const std::vector<std::pair<A, std::string>>>(std::move(pairs));
    return MkFormat<A>(
        [shared](const A& x) -> std::optional<std::string> {
            for (const auto& [v, s] : *shared)
                if (v == x) return s;
            return std::nullopt;
        },
        core::Reader<A>([shared](std::string_view in, std::size_t pos, int) {
            for (const auto& [v, s] : *shared)
                if (in.substr(pos).starts_with(s)) return core::Parses<A>{{v, pos + s.size()}};
            return core::Parses<A>{};
        }));
}

// A sign as a number: 1 and 0 write "+", -1 writes "-"; "+" reads as 1,
// "-" as -1. Other values are not written.
template <class T>
Format<T> mandatorySignFormat() {
    const auto n = [](core::Int i) { return core::fromInteger<T>(core::Integer(i)); };
    return casesFormat<T>({{n(1), "+"}, {n(0), "+"}, {n(-1), "-"}});
}

// A sign that may be left out: 1 and 0 write nothing, -1 writes "-";
// "+" reads as 1, "-" as -1, and otherwise nothing is read and the value
// is 1 (committed: the empty sign is tried only when neither is there).
template <class T>
Format<T> optionalSignFormat() {
    const auto n = [](core::Int i) { return core::fromInteger<T>(core::Integer(i)); };
    const T one = n(1), zero = n(0), minusOne = n(-1);
    return MkFormat<T>(
        [one, zero, minusOne](const T& x) -> std::optional<std::string> {
            if (x == one || x == zero) return std::string();
            if (x == minusOne) return std::string("-");
            return std::nullopt;
        },
        core::orElse(casesFormat<T>({{one, "+"}, {minusOne, "-"}}).reader(), core::pureP(one)));
}

// ---- Numbers -------------------------------------------------------------

// Which signs a number format writes and reads: NoSign (no sign; negative
// values are not written), NegSign ("-" for negative values only),
// PosNegSign ("+" or "-", always).
enum class SignOption { NoSign, NegSign, PosNegSign };
inline constexpr SignOption NoSign = SignOption::NoSign;
inline constexpr SignOption NegSign = SignOption::NegSign;
inline constexpr SignOption PosNegSign = SignOption::PosNegSign;

// The text with trailing zeros removed, and the point too when nothing
// follows it: ".500" -> ".5", ".000" -> "", "." -> "", ".05" -> ".05".
std::string trimTrailing(std::string_view x);

namespace detail {
// The write side of the number formats from the value's text form s.
std::optional<std::string> showNumberText(SignOption sign, std::optional<core::Int> digits, std::string_view s);
// The readings of the number formats: every (sign, digit text, rest) at
// pos, in the order the alternatives produce them. The digit text holds
// the integer digits and, for decimals, "." and the fraction digits.
struct NumberText {
    bool negative;
    std::string_view whole;     // the integer digits
    std::string_view fraction;  // the fraction digits (without the separator), or empty
    std::size_t rest;
};
std::vector<NumberText> readNumberTexts(SignOption sign, std::optional<core::Int> digits, bool fraction,
                                        std::string_view in, std::size_t pos);

// The value of a digit text by the type's own reader (for the integral
// types and Integer, directly from the digits).
[[noreturn]] void numberNoParse();
template <class T>
T numberFromText(const NumberText& n) {
    if constexpr (std::same_as<T, core::Integer> || (std::integral<T> && !std::same_as<T, bool>)) {
        // What the integral readers reject: no digits, or a fraction.
        if (n.whole.empty() || !n.fraction.empty()) numberNoParse();
    }
    if constexpr (std::same_as<T, core::Integer>) {
        return core::Integer::fromDigits(n.whole);
    } else if constexpr (std::integral<T> && !std::same_as<T, bool>) {
        T v{};
        const char* end = n.whole.data() + n.whole.size();
        const auto r = std::from_chars(n.whole.data(), end, v);
        if (r.ec == std::errc() && r.ptr == end) return v;
        // Too large for T: the type's reader rejects the digits, and so
        // does the format, with the reader's error (a wrapped value would
        // be a different number, and would not write back as read).
        auto checked = core::readEither<T>(n.whole);
        if (!checked) core::raise(checked.left());
        return std::move(checked).value();
    } else {
        std::string text(n.whole);
        if (!n.fraction.empty()) {
            text += '.';
            text += n.fraction;
        }
        auto r = core::readEither<T>(text);
        if (!r) core::raise(r.left());
        return std::move(r).value();
    }
}

template <class T>
void showTextOf(const T& t, std::string& out) {
    if constexpr (std::integral<T> && !std::same_as<T, bool>) {
        char buf[24];
        const auto r = std::to_chars(buf, buf + sizeof buf, t);
        out.append(buf, r.ptr);
    } else {
        core::showsPrec(0, t, out);
    }
}

template <class T>
core::Reader<T> numberReader(SignOption sign, std::optional<core::Int> digits, bool fraction) {
    return core::Reader<T>([sign, digits, fraction](std::string_view in, std::size_t pos, int) {
        core::Parses<T> out;
        for (auto& n : readNumberTexts(sign, digits, fraction, in, pos)) {
            T v = numberFromText<T>(n);
            if (n.negative) v = core::negate(v);
            out.push_back({std::move(v), n.rest});
        }
        return out;
    });
}
}  // namespace detail

// The write side of the number formats: the value's own text form, with
// "-" kept (NegSign, PosNegSign) or the value refused (NoSign), "+" before
// a non-negative value with PosNegSign, the integer part padded with "0"
// to at least `digits` digits, and the fraction without trailing zeros.
template <class T>
std::optional<std::string> showNumber(SignOption sign, std::optional<core::Int> digits, const T& t) {
    std::string s;
    detail::showTextOf(t, s);
    return detail::showNumberText(sign, digits, s);
}

// Whole numbers: written by showNumber; read as the sign the option allows,
// then exactly `digits` ASCII digits (none when 0 or less), or one or more
// digits (every length an alternative) when no count is given.
template <class T>
Format<T> integerFormat(SignOption sign, std::optional<core::Int> digits) {
    return MkFormat<T>([sign, digits](const T& x) { return showNumber(sign, digits, x); },
                       detail::numberReader<T>(sign, digits, false));
}
// Numbers with an optional fraction: as integerFormat, then either nothing
// or "." or "," and one or more digits (the separator is read as ".").
template <class T>
Format<T> decimalFormat(SignOption sign, std::optional<core::Int> digits) {
    return MkFormat<T>([sign, digits](const T& x) { return showNumber(sign, digits, x); },
                       detail::numberReader<T>(sign, digits, true));
}

}  // namespace kalmet

namespace core {
// The text form of seconds with twelve decimals: "5.500000000000",
// "-0.000000000001"; read back from digits with an optional "-" and up to
// twelve decimals (more are cut). Number formats write and read Pico
// through it: decimalFormat<kalmet::Pico>(NoSign, 2) writes 5.5 s as "05.5".
template <>
struct Show<kalmet::Pico> {
    static void showsPrec(int d, const kalmet::Pico& x, std::string& out);
};
template <>
struct Read<kalmet::Pico> {
    static Reader<kalmet::Pico> readPrec();
};
}  // namespace core
