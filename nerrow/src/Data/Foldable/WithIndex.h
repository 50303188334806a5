#pragma once
// FoldableWithIndex (ifoldMap, ifoldMapStrict, ifoldr, ifoldl,
// ifoldrStrict, ifoldlStrict) and the free functions derived from it:
//
//   iany(p, xs), iall(p, xs), inone(p, xs)   p(i, x) -> bool; stop early
//   none(p, xs)                              p(x) -> bool; any Foldable
//   itraverse_(f, xs), ifor_(xs, f)          effects of f(i, x) in order,
//                                            results dropped: G<Unit>
//   imapM_(f, xs), iforM_(xs, f)             the same for a Monad
//   iconcatMap(f, xs)                        f(i, x) -> core::List<B>, joined
//   ifind(p, xs)                             first (i, x) with p(i, x), or Nothing
//   ifoldrM(f, z, xs)                        f(i, x, acc) -> M<B>, last element first
//   ifoldlM(f, z, xs)                        f(i, acc, x) -> M<B>, first element first
//   itoList(xs)                              core::List of (i, x) pairs, on demand
//
// Each is one call of ifoldMap or ifoldr, so effect order, direction and
// early stop are those of the container kind's ifoldMap / ifoldr.
#include <optional>
#include <type_traits>
#include <utility>

#include "../../WithIndex.h"

namespace nerrow {

namespace detail {
template <class FA>
using IndexOfValue = IndexT<core::KindOfT<FA>>;
}  // namespace detail

// True when p(i, x) holds for some element (the Any monoid).
template <class P, class FA>
bool iany(P&& p, const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    return ifoldMap([p = std::decay_t<P>(std::forward<P>(p))](const I& i, const A& x) { return core::Any{static_cast<bool>(p(i, x))}; },
                    xs)
        .value;
}
// True when p(i, x) holds for every element (the All monoid).
template <class P, class FA>
bool iall(P&& p, const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    return ifoldMap([p = std::decay_t<P>(std::forward<P>(p))](const I& i, const A& x) { return core::All{static_cast<bool>(p(i, x))}; },
                    xs)
        .value;
}
// The negation of iany.
template <class P, class FA>
bool inone(P&& p, const FA& xs) {
    return !iany(std::forward<P>(p), xs);
}
// True when p(x) holds for no element; any Foldable.
template <class P, class FA>
bool none(P&& p, const FA& xs) {
    using A = core::ArgOf<FA>;
    return !core::foldMap([p = std::decay_t<P>(std::forward<P>(p))](const A& x) { return core::Any{static_cast<bool>(p(x))}; }, xs)
                .value;
}

// The effects of f(i, x) in the kind's order, combined by ifoldMap in the
// Traversed monoid; the result replaced by unit (so the placeholder is
// never demanded).
template <class F, class FA>
auto itraverse_(F&& f, const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    using E = detail::IEffectOf<std::decay_t<F>, I, A>;
    using G = typename E::G;
    using B = typename E::B;
    using T = Traversed<G, Lazy<B>>;
    auto t = ifoldMap(
        [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) {
            return T{core::Functor<G>::fmap([](B b) { return core::now(std::move(b)); }, f(i, x))};
        },
        xs);
    return core::Functor<G>::replace(core::unit, t.value);
}
template <class FA, class F>
auto ifor_(const FA& xs, F&& f) {
    return itraverse_(std::forward<F>(f), xs);
}

// The actions f(i, x) in the kind's order, combined by ifoldMap in the
// Sequenced monoid, then bound to a function that applies skip to the
// result and returns it.
template <class F, class FA>
auto imapM_(F&& f, const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    using E = detail::IEffectOf<std::decay_t<F>, I, A>;
    using M = typename E::G;
    using B = typename E::B;
    using S = Sequenced<M, Lazy<B>>;
    auto s = ifoldMap(
        [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) {
            return S{core::Functor<M>::fmap([](B b) { return core::now(std::move(b)); }, f(i, x))};
        },
        xs);
    return core::Monad<M>::bind(s.value, [](const Lazy<B>& r) { return core::Applicative<M>::pure(skip(r)); });
}
template <class FA, class F>
auto iforM_(const FA& xs, F&& f) {
    return imapM_(std::forward<F>(f), xs);
}

// ifoldMap in the list monoid: the lists f(i, x) joined, on demand.
template <class F, class FA>
auto iconcatMap(F&& f, const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    using LB = detail::Res<std::decay_t<F>&, const I&, const A&>;
    return ifoldMap([f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) -> LB { return f(i, x); }, xs);
}

// ifoldr((i, x, rest) -> p(i, x) ? Just((i, x)) : rest, Nothing, xs): the
// first match in order, with its index; nothing after it is examined.
template <class P, class FA>
auto ifind(P&& p, const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    using R = std::optional<std::pair<I, A>>;
    return ifoldr(
        [p = std::decay_t<P>(std::forward<P>(p))](const I& i, const A& x, const Lazy<R>& rest) -> R {
            if (p(i, x)) return R(std::pair<I, A>(i, x));
            return rest.force();
        },
        R(), xs);
}

// ifoldl over monadic continuations, starting from return: each element
// turns k into b -> f(i, x, b) >>= k; applied to z. f is called for the
// last element first.
template <class F, class B, class FA>
auto ifoldrM(F&& f, B z, const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    using MB = detail::Res<std::decay_t<F>&, const I&, const A&, B>;
    using M = core::KindOfT<MB>;
    using K2 = std::function<MB(B)>;
    K2 k = ifoldl(
        [f = std::decay_t<F>(std::forward<F>(f))](const I& i, K2 k, const A& x) {
            return K2([f, k = std::move(k), i, x](B b) { return core::Monad<M>::bind(f(i, x, std::move(b)), k); });
        },
        K2([](B b) -> MB { return core::Applicative<M>::pure(std::move(b)); }), xs);
    return k(std::move(z));
}

// ifoldr over monadic continuations, ending in return: each element turns
// the continuation k for the elements after it into b -> f(i, b, x) >>= k;
// applied to z. f is called for the first element first; later elements
// are examined only when the monad runs the continuation.
template <class F, class B, class FA>
auto ifoldlM(F&& f, B z, const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    using MB = detail::Res<std::decay_t<F>&, const I&, B, const A&>;
    using M = core::KindOfT<MB>;
    using K2 = std::function<MB(B)>;
    K2 k = ifoldr(
        [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x, const Lazy<K2>& k) {
            return K2([f, k, i, x](B b) {
                return core::Monad<M>::bind(f(i, std::move(b), x), [k](const B& b2) { return k.force()(b2); });
            });
        },
        core::now(K2([](B b) -> MB { return core::Applicative<M>::pure(std::move(b)); })), xs);
    return k(std::move(z));
}

// The (index, element) pairs in order: ifoldr((i, x, rest) -> (i, x) : rest,
// [], xs), produced on demand.
template <class FA>
auto itoList(const FA& xs) {
    using I = detail::IndexOfValue<FA>;
    using A = core::ArgOf<FA>;
    using P = std::pair<I, A>;
    return ifoldr(
        [](const I& i, const A& x, const Lazy<List<P>>& rest) {
            return List<P>::cons(P(i, x), List<P>::lazy([rest] { return rest.force(); }));
        },
        List<P>(), xs);
}

}  // namespace nerrow
