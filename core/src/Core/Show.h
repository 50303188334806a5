#pragma once
// Text form of values: `core::showsPrec(d, x, out)` appends x to `out` as
// it would be written in a context of precedence d; `core::show(x)` is the
// text at precedence 0.
//
// The convention every implementation follows: a constructor's name, then
// each field at precedence 11, separated by single blanks, the whole in
// parentheses when d >= 11; a negative number in parentheses when d > 6;
// a list as "[" elements at precedence 0 separated by "," "]", no blanks;
// texts in double quotes and characters in single quotes, with backslash
// escapes (non-ASCII characters as decimal escapes: "\233").
//
// A type gets a text form by specialising `core::Show<T>` with
//   static void showsPrec(int d, const T& x, std::string& out);
// and optionally
//   static void showList(const std::vector<T>& xs, std::string& out);
// for a list form of its own (characters show their lists as strings).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Either.h"
#include "Core/Integer.h"
#include "Core/Kinds.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/Rational.h"
#include "Core/Text.h"
#include "Core/Types.h"

namespace core {

template <class T, class = void>
struct Show;

template <class T>
concept Showable = requires(const T& x, std::string& out) { Show<T>::showsPrec(0, x, out); };

template <class T>
void showsPrec(int d, const T& x, std::string& out) {
    static_assert(Showable<T>, "no Show implementation for this type");
    Show<T>::showsPrec(d, x, out);
}
template <class T>
std::string show(const T& x) {
    std::string out;
    showsPrec(0, x, out);
    return out;
}

// Appends "(" f() ")" when b holds, else f().
template <class F>
void showParen(bool b, std::string& out, F&& f) {
    if (b) out += '(';
    std::forward<F>(f)();
    if (b) out += ')';
}

// The standard list form with a given element printer: "[" e1 "," e2 "]".
template <class Range, class ShowElem>
void showListWith(ShowElem&& showElem, const Range& xs, std::string& out) {
    out += '[';
    bool first = true;
    for (const auto& x : xs) {
        if (!first) out += ',';
        first = false;
        showElem(x, out);
    }
    out += ']';
}

namespace detail {
template <class T>
concept HasOwnShowList = requires(const std::vector<T>& xs, std::string& out) { Show<T>::showList(xs, out); };
}  // namespace detail

// A list of T in T's list form (the standard form unless T has its own).
template <class T, class Range>
void showList(const Range& xs, std::string& out) {
    if constexpr (detail::HasOwnShowList<T>) {
        std::vector<T> v(xs.begin(), xs.end());
        Show<T>::showList(v, out);
    } else {
        showListWith([](const T& x, std::string& o) { showsPrec(0, x, o); }, xs, out);
    }
}

// Writes a string literal: the UTF-8 bytes in double quotes with escapes.
// Bytes that are not valid UTF-8 are written as U+FFFD.
void showStringLiteral(std::string_view utf8Bytes, std::string& out);
// Writes a character literal in single quotes with escapes.
void showCharLiteral(Char c, std::string& out);
// The shortest text that reads back as the same double, in the usual
// number form: "0.1", "1.0e-2", "1.5e7", "Infinity", "NaN".
void showDouble(int d, double x, std::string& out);

// --- Lifted text forms ----------------------------------------------------------
//
// Show1 prints a type constructor's values given how to print its elements:
//   template <> struct Show1<Tag> {
//       static void liftShowsPrec(SP sp, SL sl, int d, const Apply<Tag, A>& x, std::string& out);
//   };
// where sp(d, a, out) prints one element and sl(xs, out) a std::vector of
// them. Show2 does the same for two-parameter tags with (sp1, sl1, sp2, sl2).
// The free functions liftShowsPrec/liftShowList (and ...2) call them.

template <class K>
struct Show1;
template <class K2>
struct Show2;

// The element printers of a Showable type, as values.
template <class A>
struct ShowsPrecOf {
    void operator()(int d, const A& x, std::string& out) const { showsPrec(d, x, out); }
};
template <class A>
struct ShowListOf {
    template <class Range>
    void operator()(const Range& xs, std::string& out) const;
};

template <class SP, class SL, class FA>
void liftShowsPrec(const SP& sp, const SL& sl, int d, const FA& x, std::string& out) {
    Show1<typename KindOf<FA>::kind>::liftShowsPrec(sp, sl, d, x, out);
}
// A list of lifted values in the standard list form.
template <class SP, class SL, class Range>
void liftShowList(const SP& sp, const SL& sl, const Range& xs, std::string& out) {
    showListWith([&](const auto& x, std::string& o) { liftShowsPrec(sp, sl, 0, x, o); }, xs, out);
}
template <class SP1, class SL1, class SP2, class SL2, class FAB>
void liftShowsPrec2(const SP1& sp1, const SL1& sl1, const SP2& sp2, const SL2& sl2, int d, const FAB& x,
                    std::string& out) {
    Show2<typename KindOf2<FAB>::kind>::liftShowsPrec2(sp1, sl1, sp2, sl2, d, x, out);
}
template <class SP1, class SL1, class SP2, class SL2, class Range>
void liftShowList2(const SP1& sp1, const SL1& sl1, const SP2& sp2, const SL2& sl2, const Range& xs, std::string& out) {
    showListWith([&](const auto& x, std::string& o) { liftShowsPrec2(sp1, sl1, sp2, sl2, 0, x, o); }, xs, out);
}

// "Con x" with x at precedence 11, in parentheses when d >= 11.
template <class SP, class X>
void showsUnaryWith(const SP& sp, std::string_view name, int d, const X& x, std::string& out) {
    showParen(d >= 11, out, [&] {
        out += name;
        out += ' ';
        sp(11, x, out);
    });
}
// "Con x y" with both at precedence 11.
template <class SP1, class SP2, class X, class Y>
void showsBinaryWith(const SP1& sp1, const SP2& sp2, std::string_view name, int d, const X& x, const Y& y,
                     std::string& out) {
    showParen(d >= 11, out, [&] {
        out += name;
        out += ' ';
        sp1(11, x, out);
        out += ' ';
        sp2(11, y, out);
    });
}
// "Con {field = x}" (record syntax) with x at precedence 0.
template <class SP, class X>
void showsRecordWith(const SP& sp, std::string_view con, std::string_view field, int d, const X& x, std::string& out) {
    showParen(d >= 11, out, [&] {
        out += con;
        out += " {";
        out += field;
        out += " = ";
        sp(0, x, out);
        out += '}';
    });
}

// --- Numbers ---------------------------------------------------------------

template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
             !std::is_same_v<T, char32_t>)
struct Show<T> {
    static void showsPrec(int d, T x, std::string& out) {
        if constexpr (std::is_signed_v<T>) {
            if (x < 0) {
                showParen(d > 6, out, [&] { out += std::to_string(x); });
                return;
            }
        }
        out += std::to_string(x);
    }
};
template <>
struct Show<Integer> {
    static void showsPrec(int d, const Integer& x, std::string& out) {
        showParen(d > 6 && x.signum() < 0, out, [&] { x.appendTo(out); });
    }
};
template <>
struct Show<Rational> {
    // n % d, at precedence 7.
    static void showsPrec(int d, const Rational& x, std::string& out) {
        showParen(d > 7, out, [&] {
            core::showsPrec(8, x.numerator(), out);
            out += " % ";
            core::showsPrec(8, x.denominator(), out);
        });
    }
};
template <>
struct Show<double> {
    static void showsPrec(int d, double x, std::string& out) { showDouble(d, x, out); }
};

// --- Atoms -----------------------------------------------------------------

template <>
struct Show<bool> {
    static void showsPrec(int, bool b, std::string& out) { out += b ? "True" : "False"; }
};
template <>
struct Show<Char> {
    static void showsPrec(int, Char c, std::string& out) { showCharLiteral(c, out); }
    static void showList(const std::vector<Char>& cs, std::string& out);
};
template <>
struct Show<char> {  // an ASCII character
    static void showsPrec(int, char c, std::string& out) { showCharLiteral(static_cast<unsigned char>(c), out); }
    static void showList(const std::vector<char>& cs, std::string& out) {
        showStringLiteral(std::string_view(cs.data(), cs.size()), out);
    }
};
template <>
struct Show<std::string> {
    static void showsPrec(int, const std::string& s, std::string& out) { showStringLiteral(s, out); }
};
template <>
struct Show<std::string_view> {
    static void showsPrec(int, std::string_view s, std::string& out) { showStringLiteral(s, out); }
};
template <>
struct Show<Text> {
    static void showsPrec(int, const Text& s, std::string& out) { showStringLiteral(s.view(), out); }
};
template <>
struct Show<Unit> {
    static void showsPrec(int, Unit, std::string& out) { out += "()"; }
};
template <>
struct Show<Ordering> {
    static void showsPrec(int, Ordering o, std::string& out) { out += o == LT ? "LT" : o == EQ ? "EQ" : "GT"; }
};
template <>
struct Show<Void> {
    static void showsPrec(int, const Void& v, std::string&) { absurd<void>(v); }
};

// --- Containers --------------------------------------------------------------

template <>
struct Show1<OptionalK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const std::optional<A>& x, std::string& out) {
        if (!x)
            out += "Nothing";
        else
            showsUnaryWith(sp, "Just", d, *x, out);
    }
};
template <class T>
struct Show<std::optional<T>> {
    static void showsPrec(int d, const std::optional<T>& x, std::string& out) {
        Show1<OptionalK>::liftShowsPrec(ShowsPrecOf<T>{}, ShowListOf<T>{}, d, x, out);
    }
};

template <>
struct Show2<EitherK2> {
    template <class SP1, class SL1, class SP2, class SL2, class L, class R>
    static void liftShowsPrec2(const SP1& sp1, const SL1&, const SP2& sp2, const SL2&, int d, const Either<L, R>& x,
                               std::string& out) {
        if (x.isLeft())
            showsUnaryWith(sp1, "Left", d, x.unsafeLeft(), out);
        else
            showsUnaryWith(sp2, "Right", d, x.unsafeRight(), out);
    }
};
template <class L>
struct Show1<EitherK<L>> {
    template <class SP, class SL, class R>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const Either<L, R>& x, std::string& out) {
        Show2<EitherK2>::liftShowsPrec2(ShowsPrecOf<L>{}, ShowListOf<L>{}, sp, sl, d, x, out);
    }
};
template <class L, class R>
struct Show<Either<L, R>> {
    static void showsPrec(int d, const Either<L, R>& x, std::string& out) {
        Show2<EitherK2>::liftShowsPrec2(ShowsPrecOf<L>{}, ShowListOf<L>{}, ShowsPrecOf<R>{}, ShowListOf<R>{}, d, x, out);
    }
};

template <>
struct Show2<PairK2> {
    template <class SP1, class SL1, class SP2, class SL2, class A, class B>
    static void liftShowsPrec2(const SP1& sp1, const SL1&, const SP2& sp2, const SL2&, int, const std::pair<A, B>& p,
                               std::string& out) {
        out += '(';
        sp1(0, p.first, out);
        out += ',';
        sp2(0, p.second, out);
        out += ')';
    }
};
template <class W>
struct Show1<PairK<W>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const std::pair<W, A>& p, std::string& out) {
        Show2<PairK2>::liftShowsPrec2(ShowsPrecOf<W>{}, ShowListOf<W>{}, sp, sl, d, p, out);
    }
};
template <class A, class B>
struct Show<std::pair<A, B>> {
    static void showsPrec(int d, const std::pair<A, B>& p, std::string& out) {
        Show2<PairK2>::liftShowsPrec2(ShowsPrecOf<A>{}, ShowListOf<A>{}, ShowsPrecOf<B>{}, ShowListOf<B>{}, d, p, out);
    }
};
template <class... Ts>
struct Show<std::tuple<Ts...>> {
    static void showsPrec(int, const std::tuple<Ts...>& t, std::string& out) {
        out += '(';
        std::apply(
            [&](const auto&... xs) {
                bool first = true;
                ((out += first ? "" : ",", first = false, core::showsPrec(0, xs, out)), ...);
            },
            t);
        out += ')';
    }
};

// Lists print with the element list printer (so lists of characters print
// as strings).
template <>
struct Show1<ListK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL& sl, int, const List<A>& xs, std::string& out) {
        sl(xs, out);
    }
};
template <>
struct Show1<VectorK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL& sl, int, const std::vector<A>& xs, std::string& out) {
        sl(xs, out);
    }
};
template <class T>
struct Show<std::vector<T>> {
    static void showsPrec(int, const std::vector<T>& xs, std::string& out) { showList<T>(xs, out); }
};
template <class T>
struct Show<List<T>> {
    // Forces the whole list.
    static void showsPrec(int, const List<T>& xs, std::string& out) { showList<T>(xs, out); }
};
// x :| [rest], at precedence 5.
template <>
struct Show1<NonEmptyK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const NonEmpty<A>& xs, std::string& out) {
        showParen(d > 5, out, [&] {
            sp(6, xs.head, out);
            out += " :| ";
            sl(xs.tail, out);
        });
    }
};
template <class T>
struct Show<NonEmpty<T>> {
    static void showsPrec(int d, const NonEmpty<T>& xs, std::string& out) {
        Show1<NonEmptyK>::liftShowsPrec(ShowsPrecOf<T>{}, ShowListOf<T>{}, d, xs, out);
    }
};

template <class A>
template <class Range>
void ShowListOf<A>::operator()(const Range& xs, std::string& out) const {
    showList<A>(xs, out);
}

}  // namespace core
