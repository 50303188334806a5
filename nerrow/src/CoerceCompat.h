#pragma once
// Composing a wrapping after a function without an intermediate function
// object (#. and #..):
//
//   nerrow::wrapAfter<core::Dual>(f)      x -> core::Dual{f(x)}       (#.)
//   nerrow::wrapAfter2<core::Dual>(f)     (x, y) -> core::Dual{f(x, y)}   (#..)
//   nerrow::wrapAfter<W>(f), wrapAfter2<W>(f) with a complete wrapper type W
//
// The result is a small callable holding f by value; calling it is
// f's call followed by the aggregate initialisation of a single-field
// wrapper, which has the representation of what it wraps, so the wrapping
// costs nothing once inlined.
#include <type_traits>
#include <utility>

namespace nerrow {

namespace detail {
template <class W, class F>
struct WrapAfter {
    F f;
    template <class X>
    constexpr W operator()(X&& x) const {
        return W{f(std::forward<X>(x))};
    }
};
template <template <class...> class W, class F>
struct WrapAfterT {
    F f;
    template <class X>
    constexpr auto operator()(X&& x) const {
        using R = std::remove_cvref_t<std::invoke_result_t<const F&, X&&>>;
        return W<R>{f(std::forward<X>(x))};
    }
};
template <class W, class F>
struct WrapAfter2 {
    F f;
    template <class X, class Y>
    constexpr W operator()(X&& x, Y&& y) const {
        return W{f(std::forward<X>(x), std::forward<Y>(y))};
    }
};
template <template <class...> class W, class F>
struct WrapAfter2T {
    F f;
    template <class X, class Y>
    constexpr auto operator()(X&& x, Y&& y) const {
        using R = std::remove_cvref_t<std::invoke_result_t<const F&, X&&, Y&&>>;
        return W<R>{f(std::forward<X>(x), std::forward<Y>(y))};
    }
};
}  // namespace detail

// The wrapper W applied after the one-argument function f (#.).
template <class W, class F>
constexpr detail::WrapAfter<W, std::decay_t<F>> wrapAfter(F&& f) {
    return {std::forward<F>(f)};
}
template <template <class...> class W, class F>
constexpr detail::WrapAfterT<W, std::decay_t<F>> wrapAfter(F&& f) {
    return {std::forward<F>(f)};
}
// The wrapper W applied after the two-argument function f (#..).
template <class W, class F>
constexpr detail::WrapAfter2<W, std::decay_t<F>> wrapAfter2(F&& f) {
    return {std::forward<F>(f)};
}
template <template <class...> class W, class F>
constexpr detail::WrapAfter2T<W, std::decay_t<F>> wrapAfter2(F&& f) {
    return {std::forward<F>(f)};
}

}  // namespace nerrow
