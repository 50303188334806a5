#pragma once
// core::Either<L, R>: a value that is either a Left (by convention a failure,
// for example a parser's message) or a Right (the result).
//
//   core::Either<std::string, int> r = core::Right(42);
//   core::Either<std::string, int> e = core::Left(std::string("bad"));
//   if (r) use(*r);               // like std::expected: has_value, value, error
//   r.isLeft(); r.left(); r.right();
//
// Left sorts before Right; two Lefts (or two Rights) compare their values.
#include <compare>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>

#include "Core/Error.h"

namespace core {

// The deduced halves: Left(x) and Right(y) convert to any Either whose
// matching side can be built from x or y.
template <class L>
struct LeftOf {
    L value;
};
template <class R>
struct RightOf {
    R value;
};
template <class L>
LeftOf<std::decay_t<L>> Left(L&& x) {
    return {std::forward<L>(x)};
}
template <class R>
RightOf<std::decay_t<R>> Right(R&& y) {
    return {std::forward<R>(y)};
}

namespace detail {
// The text that the error raised by accessing the value of a Left carries:
// the Left itself when it is a text (a std::string, a string view, a
// core::Text, a parser message with str()), its decimal form when it is a
// number.
template <class L>
std::string leftDescription(const L& l) {
    if constexpr (std::is_convertible_v<const L&, std::string_view>) {
        return std::string(std::string_view(l));
    } else if constexpr (requires { { l.str() } -> std::convertible_to<std::string>; }) {
        return std::string(l.str());
    } else if constexpr (std::is_convertible_v<const L&, std::string>) {
        return std::string(l);
    } else if constexpr (std::is_same_v<L, bool>) {
        return l ? "True" : "False";
    } else if constexpr (std::is_arithmetic_v<L>) {
        return std::to_string(l);
    } else {
        return "(a value with no text form here)";
    }
}
template <class L>
[[noreturn]] void raiseLeft(const L& l) {
    raise("Either::value: the value is a Left: " + leftDescription(l));
}
}  // namespace detail

template <class L, class R>
class Either {
public:
    using left_type = L;
    using right_type = R;
    using value_type = R;
    using error_type = L;

    template <class X>
        requires std::is_constructible_v<L, X&&>
    Either(LeftOf<X>&& l) : v_(std::in_place_index<0>, std::move(l.value)) {}
    template <class X>
        requires std::is_constructible_v<L, const X&>
    Either(const LeftOf<X>& l) : v_(std::in_place_index<0>, l.value) {}
    template <class Y>
        requires std::is_constructible_v<R, Y&&>
    Either(RightOf<Y>&& r) : v_(std::in_place_index<1>, std::move(r.value)) {}
    template <class Y>
        requires std::is_constructible_v<R, const Y&>
    Either(const RightOf<Y>& r) : v_(std::in_place_index<1>, r.value) {}

    static Either left(L x) { return Either(std::in_place_index<0>, std::move(x)); }
    static Either right(R y) { return Either(std::in_place_index<1>, std::move(y)); }

    bool isLeft() const noexcept { return v_.index() == 0; }
    bool isRight() const noexcept { return v_.index() == 1; }
    bool has_value() const noexcept { return isRight(); }
    explicit operator bool() const noexcept { return isRight(); }

    // The Right value; on a Left raises core::Error whose message is
    // "Either::value: the value is a Left: " and the Left's text (so a
    // parser's message is not lost).
    const R& value() const& {
        if (isLeft()) detail::raiseLeft(unsafeLeft());
        return std::get<1>(v_);
    }
    R&& value() && {
        if (isLeft()) detail::raiseLeft(unsafeLeft());
        return std::get<1>(std::move(v_));
    }
    // The Left value; raises core::Error on a Right.
    const L& error() const& {
        if (isRight()) raise("Either::error: the value is a Right");
        return std::get<0>(v_);
    }
    const L& left() const& { return error(); }
    const R& right() const& { return value(); }
    const R& operator*() const& { return value(); }
    const R* operator->() const { return &value(); }
    template <class U>
    R value_or(U&& d) const& {
        return isRight() ? std::get<1>(v_) : static_cast<R>(std::forward<U>(d));
    }

    // Unchecked access for code that has already tested the side.
    const L& unsafeLeft() const noexcept { return *std::get_if<0>(&v_); }
    const R& unsafeRight() const noexcept { return *std::get_if<1>(&v_); }

    // Case analysis: fl on a Left, fr on a Right.
    template <class FL, class FR>
    auto either(FL&& fl, FR&& fr) const {
        return isLeft() ? std::forward<FL>(fl)(unsafeLeft()) : std::forward<FR>(fr)(unsafeRight());
    }

    friend bool operator==(const Either& a, const Either& b) { return a.v_ == b.v_; }
    friend auto operator<=>(const Either& a, const Either& b)
        requires std::three_way_comparable<L> && std::three_way_comparable<R>
    {
        return a.v_ <=> b.v_;
    }

    const std::variant<L, R>& variant() const noexcept { return v_; }

private:
    template <std::size_t I, class X>
    Either(std::in_place_index_t<I> i, X&& x) : v_(i, std::forward<X>(x)) {}
    std::variant<L, R> v_;
};

}  // namespace core
