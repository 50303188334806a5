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

template <class T>
struct Show<std::optional<T>> {
    static void showsPrec(int d, const std::optional<T>& x, std::string& out) {
        if (!x) {
            out += "Nothing";
            return;
        }
        showParen(d >= 11, out, [&] {
            out += "Just ";
            core::showsPrec(11, *x, out);
        });
    }
};
template <class L, class R>
struct Show<Either<L, R>> {
    static void showsPrec(int d, const Either<L, R>& x, std::string& out) {
        showParen(d >= 11, out, [&] {
            if (x.isLeft()) {
                out += "Left ";
                core::showsPrec(11, x.unsafeLeft(), out);
            } else {
                out += "Right ";
                core::showsPrec(11, x.unsafeRight(), out);
            }
        });
    }
};
template <class A, class B>
struct Show<std::pair<A, B>> {
    static void showsPrec(int, const std::pair<A, B>& p, std::string& out) {
        out += '(';
        core::showsPrec(0, p.first, out);
        out += ',';
        core::showsPrec(0, p.second, out);
        out += ')';
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
template <class T>
struct Show<std::vector<T>> {
    static void showsPrec(int, const std::vector<T>& xs, std::string& out) { showList<T>(xs, out); }
};
template <class T>
struct Show<List<T>> {
    // Forces the whole list.
    static void showsPrec(int, const List<T>& xs, std::string& out) { showList<T>(xs, out); }
};
template <class T>
struct Show<NonEmpty<T>> {
    // x :| [rest], at precedence 5.
    static void showsPrec(int d, const NonEmpty<T>& xs, std::string& out) {
        showParen(d > 5, out, [&] {
            core::showsPrec(6, xs.head, out);
            out += " :| ";
            showList<T>(xs.tail, out);
        });
    }
};

}  // namespace core
