#pragma once
// Re-association and exchange of two-sided values (two-parameter tags).
//
//   core::assoc(p)      ((a, b), c) -> (a, (b, c))
//   core::unassoc(p)    (a, (b, c)) -> ((a, b), c)
//   core::swap(p)       (a, b) -> (b, a)
//
// Implemented for std::pair and Either (Left (Left a) is Left a, Left
// (Right b) is Right (Left b), Right c is Right (Right c)). Implementations
// are `template <> struct Assoc<Tag>` and `Swap<Tag>`.
#include <type_traits>
#include <utility>

#include "Core/Either.h"
#include "Core/Kinds.h"

namespace core {

template <class K2>
struct Assoc {
    using NotImplemented = void;
};
template <class K2>
struct Swap {
    using NotImplemented = void;
};
template <class K2>
concept IsAssoc = !requires { typename Assoc<K2>::NotImplemented; };
template <class K2>
concept IsSwap = !requires { typename Swap<K2>::NotImplemented; };

template <class P>
auto assoc(const P& p) {
    using K2 = detail::Kind2OrNone<P>;
    if constexpr (!IsAssoc<K2>)
        static_assert(detail::alwaysFalse<P>, "no Assoc implementation for this type");
    else
        return Assoc<K2>::assoc(p);
}
template <class P>
auto unassoc(const P& p) {
    using K2 = detail::Kind2OrNone<P>;
    if constexpr (!IsAssoc<K2>)
        static_assert(detail::alwaysFalse<P>, "no Assoc implementation for this type");
    else
        return Assoc<K2>::unassoc(p);
}
// Exchanges the two sides (one argument; not std::swap).
template <class P>
auto swap(const P& p) {
    using K2 = detail::Kind2OrNone<P>;
    if constexpr (!IsSwap<K2>)
        static_assert(detail::alwaysFalse<P>, "no Swap implementation for this type");
    else
        return Swap<K2>::swap(p);
}

template <>
struct Assoc<PairK2> {
    template <class A, class B, class C>
    static std::pair<A, std::pair<B, C>> assoc(const std::pair<std::pair<A, B>, C>& p) {
        return {p.first.first, {p.first.second, p.second}};
    }
    template <class A, class B, class C>
    static std::pair<std::pair<A, B>, C> unassoc(const std::pair<A, std::pair<B, C>>& p) {
        return {{p.first, p.second.first}, p.second.second};
    }
};
template <>
struct Swap<PairK2> {
    template <class A, class B>
    static std::pair<B, A> swap(const std::pair<A, B>& p) {
        return {p.second, p.first};
    }
};

template <>
struct Assoc<EitherK2> {
    template <class A, class B, class C>
    static Either<A, Either<B, C>> assoc(const Either<Either<A, B>, C>& e) {
        using R = Either<A, Either<B, C>>;
        if (e.isRight()) return R::right(Either<B, C>::right(e.unsafeRight()));
        const Either<A, B>& l = e.unsafeLeft();
        if (l.isLeft()) return R::left(l.unsafeLeft());
        return R::right(Either<B, C>::left(l.unsafeRight()));
    }
    template <class A, class B, class C>
    static Either<Either<A, B>, C> unassoc(const Either<A, Either<B, C>>& e) {
        using R = Either<Either<A, B>, C>;
        if (e.isLeft()) return R::left(Either<A, B>::left(e.unsafeLeft()));
        const Either<B, C>& r = e.unsafeRight();
        if (r.isLeft()) return R::left(Either<A, B>::right(r.unsafeLeft()));
        return R::right(r.unsafeRight());
    }
};
template <>
struct Swap<EitherK2> {
    template <class A, class B>
    static Either<B, A> swap(const Either<A, B>& e) {
        return e.isLeft() ? Either<B, A>::right(e.unsafeLeft()) : Either<B, A>::left(e.unsafeRight());
    }
};

}  // namespace core
