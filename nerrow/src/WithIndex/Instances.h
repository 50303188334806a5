#pragma once
// Part of module WithIndex (include "WithIndex.h"): the list loops and the
// implementations of the indexed interfaces for the core and standard
// container kinds and the functor combinators.
#include "../WithIndex.h"

namespace nerrow {

namespace detail {

// ---- Traversing a run of elements -------------------------------------------

// G<std::vector<B>> from the effects eff(it, i) of the elements of [first,
// last), where i counts from `off`; effects combined left to right.
// Applicatives that allow it use a direct loop: Identity collects,
// std::optional and Either stop at the first failure, the state-passing
// applicatives run their steps in a loop (constant stack), and WrappedMonad
// goes through the wrapped monad's loop.
template <class G>
struct ITraverseIn {
    static constexpr bool special = false;
};

template <class G, class B, class Eff, class It>
auto itraverseRange(Eff& eff, It first, It last, Int off, std::size_t hint) {
    static_assert(core::IsApplicative<G>, "itraverse: no Applicative implementation for the function's result");
    if constexpr (ITraverseIn<G>::special) {
        return ITraverseIn<G>::template run<B>(eff, first, last, off, hint);
    } else {
        std::vector<B> start;
        start.reserve(hint);
        auto acc = core::Applicative<G>::pure(std::move(start));
        Int i = off;
        for (; first != last; ++first, ++i)
            acc = core::Applicative<G>::liftA2(
                [](std::vector<B> v, B b) {
                    v.push_back(std::move(b));
                    return v;
                },
                std::move(acc), eff(first, i));
        return acc;
    }
}

template <>
struct ITraverseIn<core::IdentityK> {
    static constexpr bool special = true;
    template <class B, class Eff, class It>
    static core::Identity<std::vector<B>> run(Eff& eff, It first, It last, Int off, std::size_t hint) {
        std::vector<B> out;
        out.reserve(hint);
        for (Int i = off; first != last; ++first, ++i) out.push_back(eff(first, i).value);
        return {std::move(out)};
    }
};
template <>
struct ITraverseIn<core::OptionalK> {
    static constexpr bool special = true;
    template <class B, class Eff, class It>
    static std::optional<std::vector<B>> run(Eff& eff, It first, It last, Int off, std::size_t hint) {
        std::vector<B> out;
        out.reserve(hint);
        for (Int i = off; first != last; ++first, ++i) {
            auto r = eff(first, i);
            if (!r) return std::nullopt;
            out.push_back(std::move(*r));
        }
        return std::optional<std::vector<B>>(std::move(out));
    }
};
template <class L>
struct ITraverseIn<core::EitherK<L>> {
    static constexpr bool special = true;
    template <class B, class Eff, class It>
    static core::Either<L, std::vector<B>> run(Eff& eff, It first, It last, Int off, std::size_t hint) {
        std::vector<B> out;
        out.reserve(hint);
        for (Int i = off; first != last; ++first, ++i) {
            auto r = eff(first, i);
            if (r.isLeft()) return core::Either<L, std::vector<B>>::left(r.unsafeLeft());
            out.push_back(r.unsafeRight());
        }
        return core::Either<L, std::vector<B>>::right(std::move(out));
    }
};
// The steps are made in order; running the result threads the state
// through them in a loop, front to back (StateL) or back to front (StateR).
template <class S>
struct ITraverseIn<core::StateLK<S>> {
    static constexpr bool special = true;
    template <class B, class Eff, class It>
    static core::StateL<S, std::vector<B>> run(Eff& eff, It first, It last, Int off, std::size_t hint) {
        std::vector<core::StateL<S, B>> steps;
        steps.reserve(hint);
        for (Int i = off; first != last; ++first, ++i) steps.push_back(eff(first, i));
        return {[steps = std::move(steps)](S s) {
            std::vector<B> out;
            out.reserve(steps.size());
            for (const auto& st : steps) {
                auto [s2, b] = st.run(std::move(s));
                s = std::move(s2);
                out.push_back(std::move(b));
            }
            return std::pair<S, std::vector<B>>(std::move(s), std::move(out));
        }};
    }
};
template <class S>
struct ITraverseIn<core::StateRK<S>> {
    static constexpr bool special = true;
    template <class B, class Eff, class It>
    static core::StateR<S, std::vector<B>> run(Eff& eff, It first, It last, Int off, std::size_t hint) {
        std::vector<core::StateR<S, B>> steps;
        steps.reserve(hint);
        for (Int i = off; first != last; ++first, ++i) steps.push_back(eff(first, i));
        return {[steps = std::move(steps)](S s) {
            std::vector<std::optional<B>> tmp(steps.size());
            for (std::size_t k = steps.size(); k > 0; --k) {
                auto [s2, b] = steps[k - 1].run(std::move(s));
                s = std::move(s2);
                tmp[k - 1].emplace(std::move(b));
            }
            std::vector<B> out;
            out.reserve(tmp.size());
            for (auto& b : tmp) out.push_back(std::move(*b));
            return std::pair<S, std::vector<B>>(std::move(s), std::move(out));
        }};
    }
};
// Backwards over G: the same as traversing the elements from the last to
// the first in G and reversing the results, so the caller's function is
// called from the last element on, and a failure there ends the run.
template <class G>
    requires core::IsApplicative<G>
struct ITraverseIn<core::BackwardsK<G>> {
    static constexpr bool special = true;
    template <class B, class Eff, class It>
    static auto run(Eff& eff, It first, It last, Int off, std::size_t hint) {
        std::vector<std::pair<It, Int>> at;
        at.reserve(hint);
        for (Int i = off; first != last; ++first, ++i) at.emplace_back(first, i);
        auto back = [&eff](typename std::vector<std::pair<It, Int>>::const_reverse_iterator r, Int) {
            return eff(r->first, r->second).value;
        };
        auto vs = itraverseRange<G, B>(back, at.crbegin(), at.crend(), 0, at.size());
        auto fw = core::Functor<G>::fmap(
            [](std::vector<B> v) {
                std::reverse(v.begin(), v.end());
                return v;
            },
            std::move(vs));
        return core::Backwards<G, std::vector<B>>{std::move(fw)};
    }
};
template <class M>
    requires ITraverseIn<M>::special
struct ITraverseIn<core::WrappedMonadK<M>> {
    static constexpr bool special = true;
    template <class B, class Eff, class It>
    static auto run(Eff& eff, It first, It last, Int off, std::size_t hint) {
        auto unwrapped = [&eff](It it, Int i) { return eff(it, i).value; };
        auto r = ITraverseIn<M>::template run<B>(unwrapped, first, last, off, hint);
        return core::WrappedMonad<M, std::vector<B>>{std::move(r)};
    }
};

// ---- Folding a list with positions ------------------------------------------

template <class B, class A, class F>
struct IFoldrCtx {
    F f;
    Lazy<B> z;
};
template <class B, class A, class Ctx>
B ifoldrListGo(const std::shared_ptr<const Ctx>& ctx, Int n, const List<A>& xs) {
    const auto& st = xs.step();
    if (!st) return ctx->z.force();
    List<A> rest = st->tail;
    return ctx->f(static_cast<const Int&>(n), st->head,
                  Lazy<B>::fromFunction([ctx, n, rest = std::move(rest)]() -> B { return ifoldrListGo<B>(ctx, n + 1, rest); }));
}

// imap over a list from position n, on demand.
template <class B, class A, class F>
List<B> imapListFrom(std::shared_ptr<const F> f, Int n, List<A> xs) {
    // Runs once: f moves on to the next cell, after it is applied (the
    // braces order the two).
    return List<B>::lazyStep([f = std::move(f), n, xs = std::move(xs)]() mutable -> typename List<B>::Step {
        const auto& st = xs.step();
        if (!st) return std::nullopt;
        return typename List<B>::Cons{(*f)(static_cast<const Int&>(n), st->head),
                                      imapListFrom<B>(std::move(f), n + 1, st->tail)};
    });
}

// Positions 0, 1, 2, ... as an iterator.
struct CountingIt {
    std::size_t k;
    std::size_t operator*() const noexcept { return k; }
    CountingIt& operator++() noexcept {
        ++k;
        return *this;
    }
    friend bool operator==(const CountingIt&, const CountingIt&) = default;
};

template <class G>
struct IsConstK : std::false_type {};
template <class M>
struct IsConstK<core::ConstK<M>> : std::true_type {
    using monoid = M;
};

}  // namespace detail

// ---- The list loops ------------------------------------------------------------

// The right fold of xs whose first element has index `off`: f(i, x, rest)
// with rest the deferred fold of the elements after x (core::Lazy<B>). When
// f does not demand rest, the rest of the list is never examined. z is a B
// or a core::Lazy<B>.
template <class F, class Z, class A>
auto ifoldrListOff(Int off, F&& f, Z&& z, const List<A>& xs) {
    auto lz = core::detail::asLazy(std::forward<Z>(z));
    using B = typename decltype(lz)::value_type;
    using Ctx = detail::IFoldrCtx<B, A, std::decay_t<F>>;
    auto ctx = std::make_shared<const Ctx>(Ctx{std::decay_t<F>(std::forward<F>(f)), std::move(lz)});
    return detail::ifoldrListGo<B, A>(ctx, off, xs);
}

// The strict left fold of xs whose first element has index `off` (ifoldl'):
// f(i, acc, x), each accumulator evaluated before the next element; a loop.
template <class F, class B, class A>
B ifoldlStrictListOff(Int off, F&& f, B z, const List<A>& xs) {
    Int i = off;
    for (const A& x : xs) {
        z = f(static_cast<const Int&>(i), std::move(z), x);
        ++i;
    }
    return z;
}

// ifoldrListOff(off, (i, x, acc) -> mappend(f(i, x), acc), mempty, xs). A
// monoid that can combine with an unevaluated right operand gets exactly
// that (and stops early where it can); any other monoid is combined by a
// loop from the left, which gives the same value by associativity.
template <class F, class A>
auto ifoldMapListOff(Int off, F&& f, const List<A>& xs) {
    using M = detail::Res<F&, const Int&, const A&>;
    static_assert(core::IsMonoid<M>, "ifoldMap: no Monoid implementation for the result type");
    if constexpr (core::IsLazySemigroup<M>) {
        return ifoldrListOff(
            off,
            [f = std::decay_t<F>(std::forward<F>(f))](const Int& i, const A& x, const Lazy<M>& rest) {
                return core::Semigroup<M>::combineLazy(f(i, x), rest);
            },
            core::now(core::Monoid<M>::mempty()), xs);
    } else {
        M acc = core::Monoid<M>::mempty();
        Int i = off;
        for (const A& x : xs) {
            acc = core::Semigroup<M>::combine(acc, f(static_cast<const Int&>(i), x));
            ++i;
        }
        return acc;
    }
}

// The traversal of xs whose first element has index `off`; effects front to
// back. In Identity it is a lazy imap (unbounded lists work); in Const an
// ifoldMap (it stops where the monoid can).
template <class F, class A>
auto itraverseListOff(Int off, F&& f, const List<A>& xs) {
    using E = detail::IEffectOf<std::decay_t<F>, Int, A>;
    using G = typename E::G;
    using B = typename E::B;
    if constexpr (std::is_same_v<G, core::IdentityK>) {
        auto g = [f = std::decay_t<F>(std::forward<F>(f))](const Int& i, const A& x) { return f(i, x).value; };
        return core::Identity<List<B>>{detail::imapListFrom<B>(std::make_shared<const decltype(g)>(std::move(g)), off, xs)};
    } else if constexpr (detail::IsConstK<G>::value) {
        using M = typename detail::IsConstK<G>::monoid;
        return core::Const<M, List<B>>{ifoldMapListOff(
            off, [f = std::decay_t<F>(std::forward<F>(f))](const Int& i, const A& x) { return f(i, x).value; }, xs)};
    } else {
        auto eff = [&f](typename List<A>::const_iterator it, Int i) { return f(static_cast<const Int&>(i), *it); };
        auto vs = detail::itraverseRange<G, B>(eff, xs.begin(), xs.end(), off, 0);
        return core::Functor<G>::fmap([](const std::vector<B>& v) { return List<B>::fromVector(v); }, std::move(vs));
    }
}

// ---- Lists ----------------------------------------------------------------------

template <>
struct IndexOf<core::ListK> {
    using type = Int;
};

template <>
struct FunctorWithIndex<core::ListK> : FunctorWithIndexDefaults<core::ListK, FunctorWithIndex<core::ListK>> {
    // f(0, x1) : f(1, x2) : ..., each cell made on demand.
    template <class F, class A>
    static auto imap(F&& f, const List<A>& xs) {
        using Fn = std::decay_t<F>;
        using B = detail::Res<const Fn&, const Int&, const A&>;
        return detail::imapListFrom<B>(std::make_shared<const Fn>(std::forward<F>(f)), 0, xs);
    }
};

namespace detail {
// The folds shared by kinds that are a list seen from position 0.
template <class K, class Self>
struct ListLikeFolds : FoldableWithIndexDefaults<K, Self> {
    template <class F, class FA>
    static auto ifoldMap(F&& f, const FA& xs) {
        return ifoldMapListOff(0, std::forward<F>(f), Self::list(xs));
    }
    // ifoldl'ListOff(0, (i, acc, x) -> mappend(acc, f(i, x)), mempty, xs).
    template <class F, class FA>
    static auto ifoldMapStrict(F&& f, const FA& xs) {
        using A = core::ArgOf<FA>;
        using M = Res<F&, const Int&, const A&>;
        static_assert(core::IsMonoid<M>, "ifoldMap': no Monoid implementation for the result type");
        return ifoldlStrictListOff(
            0, [&f](const Int& i, M acc, const A& x) { return core::Monoid<M>::mappend(acc, f(i, x)); },
            core::Monoid<M>::mempty(), Self::list(xs));
    }
    template <class F, class B, class FA>
    static B ifoldr(F&& f, Lazy<B> z, const FA& xs) {
        return ifoldrListOff(0, std::forward<F>(f), std::move(z), Self::list(xs));
    }
    template <class F, class B, class FA>
    static B ifoldlStrict(F&& f, B z, const FA& xs) {
        return ifoldlStrictListOff(0, std::forward<F>(f), std::move(z), Self::list(xs));
    }
    // The value of the default (ifoldMap in the Dual of Endo), by a loop.
    template <class F, class B, class FA>
    static B ifoldl(F&& f, B z, const FA& xs) {
        return ifoldlStrictListOff(0, std::forward<F>(f), std::move(z), Self::list(xs));
    }
    // The value of the default (from the right end, every accumulator
    // evaluated): the elements are collected, then folded back to front.
    template <class F, class B, class FA>
    static B ifoldrStrict(F&& f, B z, const FA& xs) {
        using A = core::ArgOf<FA>;
        std::vector<const A*> elems;
        for (const A& x : Self::list(xs)) elems.push_back(&x);
        for (std::size_t k = elems.size(); k > 0; --k) {
            const Int i = static_cast<Int>(k - 1);
            z = f(i, *elems[k - 1], std::move(z));
        }
        return z;
    }
};
}  // namespace detail

template <>
struct FoldableWithIndex<core::ListK> : detail::ListLikeFolds<core::ListK, FoldableWithIndex<core::ListK>> {
    template <class A>
    static const List<A>& list(const List<A>& xs) {
        return xs;
    }
};
template <>
struct TraversableWithIndex<core::ListK>
    : TraversableWithIndexDefaults<core::ListK, TraversableWithIndex<core::ListK>> {
    template <class F, class A>
    static auto itraverse(F&& f, const List<A>& xs) {
        return itraverseListOff(0, std::forward<F>(f), xs);
    }
};

// ---- ZipList ----------------------------------------------------------------------

template <>
struct IndexOf<core::ZipListK> {
    using type = Int;
};
template <>
struct FunctorWithIndex<core::ZipListK> : FunctorWithIndexDefaults<core::ZipListK, FunctorWithIndex<core::ZipListK>> {
    template <class F, class A>
    static auto imap(F&& f, const core::ZipList<A>& xs) {
        auto r = FunctorWithIndex<core::ListK>::imap(std::forward<F>(f), xs.value);
        return core::ZipList<core::ArgOf<decltype(r)>>{std::move(r)};
    }
};
template <>
struct FoldableWithIndex<core::ZipListK> : detail::ListLikeFolds<core::ZipListK, FoldableWithIndex<core::ZipListK>> {
    template <class A>
    static const List<A>& list(const core::ZipList<A>& xs) {
        return xs.value;
    }
};
template <>
struct TraversableWithIndex<core::ZipListK>
    : TraversableWithIndexDefaults<core::ZipListK, TraversableWithIndex<core::ZipListK>> {
    // The list traversal, re-wrapped with fmap.
    template <class F, class A>
    static auto itraverse(F&& f, const core::ZipList<A>& xs) {
        auto r = itraverseListOff(0, std::forward<F>(f), xs.value);
        using GL = decltype(r);
        using B = typename core::ArgOf<GL>::value_type;
        return core::Functor<core::KindOfT<GL>>::fmap([](List<B> v) { return core::ZipList<B>{std::move(v)}; }, std::move(r));
    }
};

// ---- NonEmpty ------------------------------------------------------------------------

template <>
struct IndexOf<core::NonEmptyK> {
    using type = Int;
};
template <>
struct FunctorWithIndex<core::NonEmptyK> : FunctorWithIndexDefaults<core::NonEmptyK, FunctorWithIndex<core::NonEmptyK>> {
    // f(0, x) :| (the list loop over the tail from position 1).
    template <class F, class A>
    static auto imap(F&& f, const NonEmpty<A>& xs) {
        using Fn = std::decay_t<F>;
        using B = detail::Res<const Fn&, const Int&, const A&>;
        auto fp = std::make_shared<const Fn>(std::forward<F>(f));
        B h = (*fp)(Int{0}, xs.head);
        return NonEmpty<B>(std::move(h), detail::imapListFrom<B>(fp, 1, xs.tail));
    }
};
template <>
struct FoldableWithIndex<core::NonEmptyK> : FoldableWithIndexDefaults<core::NonEmptyK, FoldableWithIndex<core::NonEmptyK>> {
    // mappend(f(0, x), ifoldMapListOff(1, f, rest)).
    template <class F, class A>
    static auto ifoldMap(F&& f, const NonEmpty<A>& xs) {
        using M = detail::Res<F&, const Int&, const A&>;
        static_assert(core::IsMonoid<M>, "ifoldMap: no Monoid implementation for the result type");
        M h = f(Int{0}, xs.head);
        if constexpr (core::IsLazySemigroup<M>) {
            auto fc = std::decay_t<F>(std::forward<F>(f));
            return core::Semigroup<M>::combineLazy(h, core::defer([fc, rest = xs.tail] { return ifoldMapListOff(1, fc, rest); }));
        } else {
            return core::Monoid<M>::mappend(h, ifoldMapListOff(1, f, xs.tail));
        }
    }
    // ifoldl'ListOff(1, (i, acc, y) -> mappend(acc, f(i, y)), mappend(mempty, f(0, x)), rest).
    template <class F, class A>
    static auto ifoldMapStrict(F&& f, const NonEmpty<A>& xs) {
        using M = detail::Res<F&, const Int&, const A&>;
        static_assert(core::IsMonoid<M>, "ifoldMap': no Monoid implementation for the result type");
        M start = core::Monoid<M>::mappend(core::Monoid<M>::mempty(), f(Int{0}, xs.head));
        return ifoldlStrictListOff(
            1, [&f](const Int& i, M acc, const A& y) { return core::Monoid<M>::mappend(acc, f(i, y)); }, std::move(start),
            xs.tail);
    }
    // f(0, x, ifoldrListOff(1, f, z, rest)), the second part deferred.
    template <class F, class B, class A>
    static B ifoldr(F&& f, Lazy<B> z, const NonEmpty<A>& xs) {
        auto fc = std::decay_t<F>(std::forward<F>(f));
        return fc(Int{0}, xs.head, core::defer([fc, z, rest = xs.tail] { return ifoldrListOff(1, fc, z, rest); }));
    }
    // ifoldl'ListOff(1, f, f(0, z, x), rest).
    template <class F, class B, class A>
    static B ifoldlStrict(F&& f, B z, const NonEmpty<A>& xs) {
        B start = f(Int{0}, std::move(z), xs.head);
        return ifoldlStrictListOff(1, f, std::move(start), xs.tail);
    }
    template <class F, class B, class A>
    static B ifoldl(F&& f, B z, const NonEmpty<A>& xs) {
        return ifoldlStrict(std::forward<F>(f), std::move(z), xs);
    }
    template <class F, class B, class A>
    static B ifoldrStrict(F&& f, B z, const NonEmpty<A>& xs) {
        std::vector<const A*> elems{&xs.head};
        for (const A& x : xs.tail) elems.push_back(&x);
        for (std::size_t k = elems.size(); k > 0; --k) {
            const Int i = static_cast<Int>(k - 1);
            z = f(i, *elems[k - 1], std::move(z));
        }
        return z;
    }
};
template <>
struct TraversableWithIndex<core::NonEmptyK>
    : TraversableWithIndexDefaults<core::NonEmptyK, TraversableWithIndex<core::NonEmptyK>> {
    // liftA2(:|, f(0, x), itraverseListOff(1, f, rest)); the tail is not
    // visited when the head's effect has already failed.
    template <class F, class A>
    static auto itraverse(F&& f, const NonEmpty<A>& xs) {
        using E = detail::IEffectOf<std::decay_t<F>, Int, A>;
        using B = typename E::B;
        auto h = f(Int{0}, xs.head);
        return detail::liftA2ThenRest<typename E::G>(
            [](B b, List<B> t) { return NonEmpty<B>(std::move(b), std::move(t)); }, std::move(h),
            [&] { return itraverseListOff(1, f, xs.tail); });
    }
};

namespace detail {
template <class F, class G>
struct FoldrMap1Ctx {
    F f;
    G g;
};
// go(i, y, []) = f(i, y); go(i, y, z : zs) = g(i, y, deferred go(i + 1, z, zs)).
template <class B, class C, class A>
B ifoldrMap1Go(const std::shared_ptr<const C>& ctx, Int i, const A& y, const List<A>& ys) {
    const auto& st = ys.step();
    if (!st) return ctx->f(static_cast<const Int&>(i), y);
    List<A> rest = st->tail;
    A z = st->head;
    return ctx->g(static_cast<const Int&>(i), y, Lazy<B>::fromFunction([ctx, i, z = std::move(z), rest = std::move(rest)]() -> B {
                      return ifoldrMap1Go<B>(ctx, i + 1, z, rest);
                  }));
}
}  // namespace detail

template <>
struct Foldable1WithIndex<core::NonEmptyK>
    : Foldable1WithIndexDefaults<core::NonEmptyK, Foldable1WithIndex<core::NonEmptyK>> {
    // f(0, x) <> (f(1, y1) <> (f(2, y2) <> ...)): nested to the right for a
    // semigroup that can combine lazily, else by a loop (the same value).
    template <class F, class A>
    static auto ifoldMap1(F&& f, const NonEmpty<A>& xs) {
        using S = detail::Res<F&, const Int&, const A&>;
        static_assert(core::IsSemigroup<S>, "ifoldMap1: no Semigroup implementation for the result type");
        if constexpr (core::IsLazySemigroup<S>) {
            auto fc = std::decay_t<F>(std::forward<F>(f));
            return ifoldrMap1(
                fc, [fc](const Int& i, const A& x, const Lazy<S>& b) { return core::Semigroup<S>::combineLazy(fc(i, x), b); }, xs);
        } else {
            S acc = f(Int{0}, xs.head);
            Int i = 1;
            for (const A& y : xs.tail) {
                acc = core::Semigroup<S>::combine(acc, f(static_cast<const Int&>(i), y));
                ++i;
            }
            return acc;
        }
    }
    // ifoldl'ListOff(1, (i, b, y) -> b <> f(i, y), f(0, x), rest).
    template <class F, class A>
    static auto ifoldMap1Strict(F&& f, const NonEmpty<A>& xs) {
        using S = detail::Res<F&, const Int&, const A&>;
        S start = f(Int{0}, xs.head);
        return ifoldlStrictListOff(
            1, [&f](const Int& i, S b, const A& y) { return core::Semigroup<S>::combine(b, f(i, y)); }, std::move(start),
            xs.tail);
    }
    // f on the last element, g(i, y, deferred rest) before it.
    template <class F, class G, class A>
    static auto ifoldrMap1(F&& f, G&& g, const NonEmpty<A>& xs) {
        using B = detail::Res<F&, const Int&, const A&>;
        using C = detail::FoldrMap1Ctx<std::decay_t<F>, std::decay_t<G>>;
        auto ctx = std::make_shared<const C>(C{std::decay_t<F>(std::forward<F>(f)), std::decay_t<G>(std::forward<G>(g))});
        return detail::ifoldrMap1Go<B>(ctx, 0, xs.head, xs.tail);
    }
    // ifoldl'ListOff(1, g, f(0, x), rest).
    template <class F, class G, class A>
    static auto ifoldlMap1Strict(F&& f, G&& g, const NonEmpty<A>& xs) {
        auto start = f(Int{0}, xs.head);
        return ifoldlStrictListOff(1, std::forward<G>(g), std::move(start), xs.tail);
    }
    // The values of the defaults, with their order of calls, by loops.
    template <class F, class G, class A>
    static auto ifoldlMap1(F&& f, G&& g, const NonEmpty<A>& xs) {
        return ifoldlMap1Strict(std::forward<F>(f), std::forward<G>(g), xs);
    }
    template <class F, class G, class A>
    static auto ifoldrMap1Strict(F&& f, G&& g, const NonEmpty<A>& xs) {
        std::vector<const A*> elems{&xs.head};
        for (const A& x : xs.tail) elems.push_back(&x);
        const std::size_t n = elems.size();
        auto acc = f(static_cast<Int>(n - 1), *elems[n - 1]);
        for (std::size_t k = n - 1; k > 0; --k) {
            const Int i = static_cast<Int>(k - 1);
            acc = g(i, *elems[k - 1], std::move(acc));
        }
        return acc;
    }
};

// ---- std::vector ---------------------------------------------------------------------

template <>
struct IndexOf<core::VectorK> {
    using type = Int;
};
template <>
struct FunctorWithIndex<core::VectorK> : FunctorWithIndexDefaults<core::VectorK, FunctorWithIndex<core::VectorK>> {
    template <class F, class A>
    static auto imap(F&& f, const std::vector<A>& xs) {
        using B = detail::Res<F&, const Int&, const A&>;
        std::vector<B> out;
        out.reserve(xs.size());
        const Int n = static_cast<Int>(xs.size());
        for (Int i = 0; i < n; ++i) out.push_back(f(static_cast<const Int&>(i), xs[static_cast<std::size_t>(i)]));
        return out;
    }
};

namespace detail {
template <class B, class Ctx, class V>
B vectorIfoldrGo(const std::shared_ptr<const Ctx>& ctx, const std::shared_ptr<V>& v, std::size_t k) {
    if (k >= v->size()) return ctx->z.force();
    const Int i = static_cast<Int>(k);
    return ctx->f(i, (*v)[k], Lazy<B>::fromFunction([ctx, v, k]() -> B { return vectorIfoldrGo<B>(ctx, v, k + 1); }));
}

// The folds of a contiguous range indexed by position, by loops.
template <class K, class Self>
struct PositionalFolds : FoldableWithIndexDefaults<K, Self> {
    template <class F, class FA>
    static auto ifoldMap(F&& f, const FA& xs) {
        using A = core::ArgOf<FA>;
        using M = Res<F&, const Int&, const A&>;
        static_assert(core::IsMonoid<M>, "ifoldMap: no Monoid implementation for the result type");
        if constexpr (core::IsLazySemigroup<M>) {
            // Nested to the right, the rest demanded only when needed.
            return Self::ifoldr(
                [f = std::decay_t<F>(std::forward<F>(f))](const Int& i, const A& x, const Lazy<M>& rest) {
                    return core::Semigroup<M>::combineLazy(f(i, x), rest);
                },
                core::now(core::Monoid<M>::mempty()), xs);
        } else {
            M acc = core::Monoid<M>::mempty();
            Int i = 0;
            for (const A& x : xs) {
                acc = core::Semigroup<M>::combine(acc, f(static_cast<const Int&>(i), x));
                ++i;
            }
            return acc;
        }
    }
    template <class F, class FA>
    static auto ifoldMapStrict(F&& f, const FA& xs) {
        using A = core::ArgOf<FA>;
        using M = Res<F&, const Int&, const A&>;
        M acc = core::Monoid<M>::mempty();
        Int i = 0;
        for (const A& x : xs) {
            acc = core::Monoid<M>::mappend(acc, f(static_cast<const Int&>(i), x));
            ++i;
        }
        return acc;
    }
    template <class F, class B, class FA>
    static B ifoldlStrict(F&& f, B z, const FA& xs) {
        Int i = 0;
        for (const auto& x : xs) {
            z = f(static_cast<const Int&>(i), std::move(z), x);
            ++i;
        }
        return z;
    }
    template <class F, class B, class FA>
    static B ifoldl(F&& f, B z, const FA& xs) {
        return ifoldlStrict(std::forward<F>(f), std::move(z), xs);
    }
    template <class F, class B, class FA>
    static B ifoldrStrict(F&& f, B z, const FA& xs) {
        auto first = std::begin(xs);
        for (std::size_t k = static_cast<std::size_t>(std::size(xs)); k > 0; --k) {
            const Int i = static_cast<Int>(k - 1);
            z = f(i, first[static_cast<std::ptrdiff_t>(k - 1)], std::move(z));
        }
        return z;
    }
    // The deferred rests share a copy of the elements, since they may
    // outlive the call.
    template <class F, class B, class FA>
    static B ifoldr(F&& f, Lazy<B> z, const FA& xs) {
        using A = core::ArgOf<FA>;
        if (std::size(xs) == 0) return z.force();
        auto v = std::make_shared<const std::vector<A>>(std::begin(xs), std::end(xs));
        using Ctx = IFoldrCtx<B, A, std::decay_t<F>>;
        auto ctx = std::make_shared<const Ctx>(Ctx{std::decay_t<F>(std::forward<F>(f)), std::move(z)});
        return vectorIfoldrGo<B>(ctx, v, 0);
    }
};
}  // namespace detail

template <>
struct FoldableWithIndex<core::VectorK> : detail::PositionalFolds<core::VectorK, FoldableWithIndex<core::VectorK>> {};
template <>
struct TraversableWithIndex<core::VectorK>
    : TraversableWithIndexDefaults<core::VectorK, TraversableWithIndex<core::VectorK>> {
    template <class F, class A>
    static auto itraverse(F&& f, const std::vector<A>& xs) {
        using E = detail::IEffectOf<std::decay_t<F>, Int, A>;
        auto eff = [&f](typename std::vector<A>::const_iterator it, Int i) { return f(static_cast<const Int&>(i), *it); };
        return detail::itraverseRange<typename E::G, typename E::B>(eff, xs.begin(), xs.end(), 0, xs.size());
    }
};

// ---- std::deque, std::array, std::span ------------------------------------------------
// Indexed by position from 0, by the same loops as std::vector; a std::array
// keeps its size. A std::span is a read-only view, so it is only folded.

namespace detail {
// G<C> from the effects f(i, x) of a random-access container, through the
// vector loop; `rebuild` turns the collected std::vector<B> into C.
template <class F, class FA, class Rebuild>
auto itraverseSequence(F& f, const FA& xs, Rebuild rebuild) {
    using A = core::ArgOf<FA>;
    using E = IEffectOf<std::decay_t<F>, Int, A>;
    auto eff = [&f](auto it, Int i) { return f(static_cast<const Int&>(i), *it); };
    auto vs = itraverseRange<typename E::G, typename E::B>(eff, std::begin(xs), std::end(xs), 0, std::size(xs));
    return core::Functor<typename E::G>::fmap(std::move(rebuild), std::move(vs));
}
template <class B, class F, class A, std::size_t N, std::size_t... I>
std::array<B, N> imapStdArray(F& f, const std::array<A, N>& xs, std::index_sequence<I...>) {
    // A braced list is evaluated left to right: f meets the positions in order.
    return std::array<B, N>{{f(static_cast<const Int&>(static_cast<Int>(I)), xs[I])...}};
}
}  // namespace detail

template <>
struct IndexOf<core::DequeK> {
    using type = Int;
};
template <>
struct FunctorWithIndex<core::DequeK> : FunctorWithIndexDefaults<core::DequeK, FunctorWithIndex<core::DequeK>> {
    template <class F, class A>
    static auto imap(F&& f, const std::deque<A>& xs) {
        using B = detail::Res<F&, const Int&, const A&>;
        std::deque<B> out;
        Int i = 0;
        for (const A& x : xs) {
            out.push_back(f(static_cast<const Int&>(i), x));
            ++i;
        }
        return out;
    }
};
template <>
struct FoldableWithIndex<core::DequeK> : detail::PositionalFolds<core::DequeK, FoldableWithIndex<core::DequeK>> {};
template <>
struct TraversableWithIndex<core::DequeK>
    : TraversableWithIndexDefaults<core::DequeK, TraversableWithIndex<core::DequeK>> {
    template <class F, class A>
    static auto itraverse(F&& f, const std::deque<A>& xs) {
        return detail::itraverseSequence(f, xs, []<class B>(std::vector<B> v) {
            return std::deque<B>(std::make_move_iterator(v.begin()), std::make_move_iterator(v.end()));
        });
    }
};

template <std::size_t N>
struct IndexOf<core::StdArrayK<N>> {
    using type = Int;
};
template <std::size_t N>
struct FunctorWithIndex<core::StdArrayK<N>>
    : FunctorWithIndexDefaults<core::StdArrayK<N>, FunctorWithIndex<core::StdArrayK<N>>> {
    template <class F, class A>
    static auto imap(F&& f, const std::array<A, N>& xs) {
        using B = detail::Res<F&, const Int&, const A&>;
        return detail::imapStdArray<B>(f, xs, std::make_index_sequence<N>{});
    }
};
template <std::size_t N>
struct FoldableWithIndex<core::StdArrayK<N>>
    : detail::PositionalFolds<core::StdArrayK<N>, FoldableWithIndex<core::StdArrayK<N>>> {};
template <std::size_t N>
struct TraversableWithIndex<core::StdArrayK<N>>
    : TraversableWithIndexDefaults<core::StdArrayK<N>, TraversableWithIndex<core::StdArrayK<N>>> {
    template <class F, class A>
    static auto itraverse(F&& f, const std::array<A, N>& xs) {
        return detail::itraverseSequence(f, xs, []<class B>(std::vector<B> v) {
            return core::detail::stdArrayFromVector<B, N>(v, std::make_index_sequence<N>{});
        });
    }
};

template <std::size_t Extent>
struct IndexOf<core::SpanK<Extent>> {
    using type = Int;
};
template <std::size_t Extent>
struct FoldableWithIndex<core::SpanK<Extent>>
    : detail::PositionalFolds<core::SpanK<Extent>, FoldableWithIndex<core::SpanK<Extent>>> {};

// ---- std::map ----------------------------------------------------------------------------

namespace detail {
template <class B, class Ctx, class M, class It>
B mapIfoldrGo(const std::shared_ptr<const Ctx>& ctx, const std::shared_ptr<M>& sp, It it) {
    if (it == sp->end()) return ctx->z.force();
    It next = std::next(it);
    return ctx->f(it->first, it->second, Lazy<B>::fromFunction([ctx, sp, next]() -> B { return mapIfoldrGo<B>(ctx, sp, next); }));
}
}  // namespace detail

template <class Key>
struct IndexOf<core::MapK<Key>> {
    using type = Key;
};
template <class Key>
struct FunctorWithIndex<core::MapK<Key>> : FunctorWithIndexDefaults<core::MapK<Key>, FunctorWithIndex<core::MapK<Key>>> {
    template <class F, class A>
    static auto imap(F&& f, const std::map<Key, A>& m) {
        using B = detail::Res<F&, const Key&, const A&>;
        std::map<Key, B> out;
        for (const auto& [k, v] : m) out.emplace_hint(out.end(), k, f(k, v));
        return out;
    }
};
template <class Key>
struct FoldableWithIndex<core::MapK<Key>> : FoldableWithIndexDefaults<core::MapK<Key>, FoldableWithIndex<core::MapK<Key>>> {
    template <class F, class A>
    static auto ifoldMap(F&& f, const std::map<Key, A>& m) {
        using M = detail::Res<F&, const Key&, const A&>;
        static_assert(core::IsMonoid<M>, "ifoldMap: no Monoid implementation for the result type");
        if constexpr (core::IsLazySemigroup<M>) {
            return ifoldr(
                [f = std::decay_t<F>(std::forward<F>(f))](const Key& k, const A& x, const Lazy<M>& rest) {
                    return core::Semigroup<M>::combineLazy(f(k, x), rest);
                },
                core::now(core::Monoid<M>::mempty()), m);
        } else {
            M acc = core::Monoid<M>::mempty();
            for (const auto& [k, v] : m) acc = core::Semigroup<M>::combine(acc, f(k, v));
            return acc;
        }
    }
    template <class F, class A>
    static auto ifoldMapStrict(F&& f, const std::map<Key, A>& m) {
        using M = detail::Res<F&, const Key&, const A&>;
        M acc = core::Monoid<M>::mempty();
        for (const auto& [k, v] : m) acc = core::Monoid<M>::mappend(acc, f(k, v));
        return acc;
    }
    // The deferred rests share a copy of the map.
    template <class F, class B, class A>
    static B ifoldr(F&& f, Lazy<B> z, const std::map<Key, A>& m) {
        if (m.empty()) return z.force();
        auto sp = std::make_shared<const std::map<Key, A>>(m);
        using Ctx = detail::IFoldrCtx<B, A, std::decay_t<F>>;
        auto ctx = std::make_shared<const Ctx>(Ctx{std::decay_t<F>(std::forward<F>(f)), std::move(z)});
        return detail::mapIfoldrGo<B>(ctx, sp, sp->begin());
    }
    template <class F, class B, class A>
    static B ifoldlStrict(F&& f, B z, const std::map<Key, A>& m) {
        for (const auto& [k, v] : m) z = f(k, std::move(z), v);
        return z;
    }
    template <class F, class B, class A>
    static B ifoldl(F&& f, B z, const std::map<Key, A>& m) {
        return ifoldlStrict(std::forward<F>(f), std::move(z), m);
    }
    template <class F, class B, class A>
    static B ifoldrStrict(F&& f, B z, const std::map<Key, A>& m) {
        for (auto it = m.rbegin(); it != m.rend(); ++it) z = f(it->first, it->second, std::move(z));
        return z;
    }
};
template <class Key>
struct TraversableWithIndex<core::MapK<Key>>
    : TraversableWithIndexDefaults<core::MapK<Key>, TraversableWithIndex<core::MapK<Key>>> {
    template <class F, class A>
    static auto itraverse(F&& f, const std::map<Key, A>& m) {
        using E = detail::IEffectOf<std::decay_t<F>, Key, A>;
        using G = typename E::G;
        using B = typename E::B;
        std::vector<Key> keys;
        keys.reserve(m.size());
        for (const auto& kv : m) keys.push_back(kv.first);
        auto eff = [&f](typename std::map<Key, A>::const_iterator it, Int) { return f(it->first, it->second); };
        auto vs = detail::itraverseRange<G, B>(eff, m.begin(), m.end(), 0, m.size());
        return core::Functor<G>::fmap(
            [keys = std::move(keys)](const std::vector<B>& v) {
                std::map<Key, B> out;
                for (std::size_t i = 0; i < v.size(); ++i) out.emplace_hint(out.end(), keys[i], v[i]);
                return out;
            },
            std::move(vs));
    }
};

// ---- Pairs -------------------------------------------------------------------------------

template <class W>
struct IndexOf<core::PairK<W>> {
    using type = W;
};
template <class W>
struct FunctorWithIndex<core::PairK<W>> : FunctorWithIndexDefaults<core::PairK<W>, FunctorWithIndex<core::PairK<W>>> {
    // (k, f(k, a)).
    template <class F, class A>
    static auto imap(F&& f, const std::pair<W, A>& p) {
        using B = detail::Res<F&, const W&, const A&>;
        return std::pair<W, B>(p.first, f(p.first, p.second));
    }
};
template <class W>
struct FoldableWithIndex<core::PairK<W>> : FoldableWithIndexDefaults<core::PairK<W>, FoldableWithIndex<core::PairK<W>>> {
    template <class F, class A>
    static auto ifoldMap(F&& f, const std::pair<W, A>& p) {
        return f(p.first, p.second);
    }
    template <class F, class A>
    static auto ifoldMapStrict(F&& f, const std::pair<W, A>& p) {
        using M = detail::Res<F&, const W&, const A&>;
        return core::Monoid<M>::mappend(core::Monoid<M>::mempty(), f(p.first, p.second));
    }
    template <class F, class B, class A>
    static B ifoldr(F&& f, Lazy<B> z, const std::pair<W, A>& p) {
        return f(p.first, p.second, z);
    }
    template <class F, class B, class A>
    static B ifoldl(F&& f, B z, const std::pair<W, A>& p) {
        return f(p.first, std::move(z), p.second);
    }
    template <class F, class B, class A>
    static B ifoldrStrict(F&& f, B z, const std::pair<W, A>& p) {
        return f(p.first, p.second, std::move(z));
    }
    template <class F, class B, class A>
    static B ifoldlStrict(F&& f, B z, const std::pair<W, A>& p) {
        return f(p.first, std::move(z), p.second);
    }
};
template <class W>
struct TraversableWithIndex<core::PairK<W>>
    : TraversableWithIndexDefaults<core::PairK<W>, TraversableWithIndex<core::PairK<W>>> {
    // fmap(b -> (k, b), f(k, a)).
    template <class F, class A>
    static auto itraverse(F&& f, const std::pair<W, A>& p) {
        using E = detail::IEffectOf<std::decay_t<F>, W, A>;
        using B = typename E::B;
        return core::Functor<typename E::G>::fmap([k = p.first](B b) { return std::pair<W, B>(k, std::move(b)); },
                                                  f(p.first, p.second));
    }
};

// ---- Functions -------------------------------------------------------------------------------

template <class R>
struct IndexOf<core::FunctionK<R>> {
    using type = R;
};
template <class R>
struct FunctorWithIndex<core::FunctionK<R>>
    : FunctorWithIndexDefaults<core::FunctionK<R>, FunctorWithIndex<core::FunctionK<R>>> {
    // The function x -> f(x, g(x)).
    template <class F, class A>
    static auto imap(F&& f, const core::Fn<R, A>& g) {
        using B = detail::Res<const std::decay_t<F>&, const R&, const A&>;
        return core::Fn<R, B>([f = std::decay_t<F>(std::forward<F>(f)), g](R x) { return f(x, g(x)); });
    }
};

// ---- At most one element: std::optional, Identity (index unit) -----------------------------

namespace detail {
// `get(xs)` gives a pointer to the element or nullptr.
template <class K, class Self>
struct AtMostOneFolds : FoldableWithIndexDefaults<K, Self> {
    template <class F, class FA>
    static auto ifoldMap(F&& f, const FA& xs) {
        using M = Res<F&, const Unit&, const core::ArgOf<FA>&>;
        const auto* x = Self::get(xs);
        return x ? f(core::unit, *x) : core::Monoid<M>::mempty();
    }
    template <class F, class FA>
    static auto ifoldMapStrict(F&& f, const FA& xs) {
        using M = Res<F&, const Unit&, const core::ArgOf<FA>&>;
        const auto* x = Self::get(xs);
        return x ? core::Monoid<M>::mappend(core::Monoid<M>::mempty(), f(core::unit, *x)) : core::Monoid<M>::mempty();
    }
    template <class F, class B, class FA>
    static B ifoldr(F&& f, Lazy<B> z, const FA& xs) {
        const auto* x = Self::get(xs);
        return x ? f(core::unit, *x, z) : z.force();
    }
    template <class F, class B, class FA>
    static B ifoldl(F&& f, B z, const FA& xs) {
        const auto* x = Self::get(xs);
        return x ? f(core::unit, std::move(z), *x) : z;
    }
    template <class F, class B, class FA>
    static B ifoldrStrict(F&& f, B z, const FA& xs) {
        const auto* x = Self::get(xs);
        return x ? f(core::unit, *x, std::move(z)) : z;
    }
    template <class F, class B, class FA>
    static B ifoldlStrict(F&& f, B z, const FA& xs) {
        return ifoldl(std::forward<F>(f), std::move(z), xs);
    }
};
}  // namespace detail

template <>
struct IndexOf<core::OptionalK> {
    using type = Unit;
};
template <>
struct FunctorWithIndex<core::OptionalK> : FunctorWithIndexDefaults<core::OptionalK, FunctorWithIndex<core::OptionalK>> {
    // fmap(a -> f(unit, a), m).
    template <class F, class A>
    static auto imap(F&& f, const std::optional<A>& m) {
        using B = detail::Res<F&, const Unit&, const A&>;
        return m ? std::optional<B>(f(core::unit, *m)) : std::optional<B>();
    }
};
template <>
struct FoldableWithIndex<core::OptionalK> : detail::AtMostOneFolds<core::OptionalK, FoldableWithIndex<core::OptionalK>> {
    template <class A>
    static const A* get(const std::optional<A>& m) {
        return m ? &*m : nullptr;
    }
};
template <>
struct TraversableWithIndex<core::OptionalK>
    : TraversableWithIndexDefaults<core::OptionalK, TraversableWithIndex<core::OptionalK>> {
    // Nothing gives pure(Nothing); Just a gives fmap(Just, f(unit, a)).
    template <class F, class A>
    static auto itraverse(F&& f, const std::optional<A>& m) {
        using E = detail::IEffectOf<std::decay_t<F>, Unit, A>;
        using B = typename E::B;
        if (!m) return core::Applicative<typename E::G>::pure(std::optional<B>());
        return core::Functor<typename E::G>::fmap([](B b) { return std::optional<B>(std::move(b)); }, f(core::unit, *m));
    }
};

template <>
struct IndexOf<core::IdentityK> {
    using type = Unit;
};
template <>
struct FunctorWithIndex<core::IdentityK> : FunctorWithIndexDefaults<core::IdentityK, FunctorWithIndex<core::IdentityK>> {
    template <class F, class A>
    static auto imap(F&& f, const core::Identity<A>& x) {
        return core::Identity<detail::Res<F&, const Unit&, const A&>>{f(core::unit, x.value)};
    }
};
template <>
struct FoldableWithIndex<core::IdentityK> : detail::AtMostOneFolds<core::IdentityK, FoldableWithIndex<core::IdentityK>> {
    template <class A>
    static const A* get(const core::Identity<A>& x) {
        return &x.value;
    }
};
template <>
struct TraversableWithIndex<core::IdentityK>
    : TraversableWithIndexDefaults<core::IdentityK, TraversableWithIndex<core::IdentityK>> {
    template <class F, class A>
    static auto itraverse(F&& f, const core::Identity<A>& x) {
        using E = detail::IEffectOf<std::decay_t<F>, Unit, A>;
        using B = typename E::B;
        return core::Functor<typename E::G>::fmap([](B b) { return core::Identity<B>{std::move(b)}; }, f(core::unit, x.value));
    }
};

// ---- No elements: Proxy, Const, Constant (index Void) ----------------------------------------

namespace detail {
// `rebuild<B>(xs)` gives the same value under element type B.
template <class K, class Self>
struct NoElementsFunctor : FunctorWithIndexDefaults<K, Self> {
    template <class F, class FA>
    static auto imap(F&&, const FA& xs) {
        using B = Res<F&, const Void&, const core::ArgOf<FA>&>;
        return Self::template rebuild<B>(xs);
    }
};
template <class K, class Self>
struct NoElementsFolds : FoldableWithIndexDefaults<K, Self> {
    template <class F, class FA>
    static auto ifoldMap(F&&, const FA&) {
        return core::Monoid<Res<F&, const Void&, const core::ArgOf<FA>&>>::mempty();
    }
    template <class F, class FA>
    static auto ifoldMapStrict(F&&, const FA&) {
        return core::Monoid<Res<F&, const Void&, const core::ArgOf<FA>&>>::mempty();
    }
    template <class F, class B, class FA>
    static B ifoldr(F&&, Lazy<B> z, const FA&) {
        return z.force();
    }
    template <class F, class B, class FA>
    static B ifoldl(F&&, B z, const FA&) {
        return z;
    }
    template <class F, class B, class FA>
    static B ifoldrStrict(F&&, B z, const FA&) {
        return z;
    }
    template <class F, class B, class FA>
    static B ifoldlStrict(F&&, B z, const FA&) {
        return z;
    }
};
template <class K, class Self, class FunctorImpl>
struct NoElementsTraversable : TraversableWithIndexDefaults<K, Self> {
    template <class F, class FA>
    static auto itraverse(F&&, const FA& xs) {
        using E = IEffectOf<std::decay_t<F>, Void, core::ArgOf<FA>>;
        return core::Applicative<typename E::G>::pure(FunctorImpl::template rebuild<typename E::B>(xs));
    }
};
}  // namespace detail

template <>
struct IndexOf<core::ProxyK> {
    using type = Void;
};
template <>
struct FunctorWithIndex<core::ProxyK> : detail::NoElementsFunctor<core::ProxyK, FunctorWithIndex<core::ProxyK>> {
    template <class B, class A>
    static core::Proxy<B> rebuild(const core::Proxy<A>&) {
        return {};
    }
};
template <>
struct FoldableWithIndex<core::ProxyK> : detail::NoElementsFolds<core::ProxyK, FoldableWithIndex<core::ProxyK>> {};
template <>
struct TraversableWithIndex<core::ProxyK>
    : detail::NoElementsTraversable<core::ProxyK, TraversableWithIndex<core::ProxyK>, FunctorWithIndex<core::ProxyK>> {};

template <class C>
struct IndexOf<core::ConstK<C>> {
    using type = Void;
};
template <class C>
struct FunctorWithIndex<core::ConstK<C>> : detail::NoElementsFunctor<core::ConstK<C>, FunctorWithIndex<core::ConstK<C>>> {
    template <class B, class A>
    static core::Const<C, B> rebuild(const core::Const<C, A>& x) {
        return {x.value};
    }
};
template <class C>
struct FoldableWithIndex<core::ConstK<C>> : detail::NoElementsFolds<core::ConstK<C>, FoldableWithIndex<core::ConstK<C>>> {};
template <class C>
struct TraversableWithIndex<core::ConstK<C>>
    : detail::NoElementsTraversable<core::ConstK<C>, TraversableWithIndex<core::ConstK<C>>, FunctorWithIndex<core::ConstK<C>>> {
};

template <class C>
struct IndexOf<core::ConstantK<C>> {
    using type = Void;
};
template <class C>
struct FunctorWithIndex<core::ConstantK<C>>
    : detail::NoElementsFunctor<core::ConstantK<C>, FunctorWithIndex<core::ConstantK<C>>> {
    template <class B, class A>
    static core::Constant<C, B> rebuild(const core::Constant<C, A>& x) {
        return {x.value};
    }
};
template <class C>
struct FoldableWithIndex<core::ConstantK<C>> : detail::NoElementsFolds<core::ConstantK<C>, FoldableWithIndex<core::ConstantK<C>>> {
};
template <class C>
struct TraversableWithIndex<core::ConstantK<C>>
    : detail::NoElementsTraversable<core::ConstantK<C>, TraversableWithIndex<core::ConstantK<C>>,
                                    FunctorWithIndex<core::ConstantK<C>>> {};

// ---- Compose: index (outer, inner) ----------------------------------------------------------

template <class F, class G>
    requires requires {
        typename IndexOf<F>::type;
        typename IndexOf<G>::type;
    }
struct IndexOf<core::ComposeK<F, G>> {
    using type = std::pair<IndexT<F>, IndexT<G>>;
};
template <class F, class G>
    requires requires {
        typename IndexOf<F>::type;
        typename IndexOf<G>::type;
    }
struct IndexOf<core::Comp1K<F, G>> {
    using type = std::pair<IndexT<F>, IndexT<G>>;
};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct ComposeFunctorWithIndexImpl : FunctorWithIndexDefaults<Tag, ComposeFunctorWithIndexImpl<Tag, W, F, G>> {
    template <class Fn, class A>
    static auto imap(Fn&& f, const W<F, G, A>& c) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        using B = detail::Res<const std::decay_t<Fn>&, const std::pair<I, J>&, const A&>;
        auto outer = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const I& k, const core::Apply<G, A>& g) {
            return FunctorWithIndex<G>::imap([f, k](const J& i, const A& x) { return f(std::pair<I, J>(k, i), x); }, g);
        };
        return W<F, G, B>{FunctorWithIndex<F>::imap(std::move(outer), c.value)};
    }
};
}  // namespace detail
template <class F, class G>
    requires IsFunctorWithIndex<F> && IsFunctorWithIndex<G>
struct FunctorWithIndex<core::ComposeK<F, G>> : detail::ComposeFunctorWithIndexImpl<core::ComposeK<F, G>, core::Compose, F, G> {};
template <class F, class G>
    requires IsFunctorWithIndex<F> && IsFunctorWithIndex<G>
struct FunctorWithIndex<core::Comp1K<F, G>> : detail::ComposeFunctorWithIndexImpl<core::Comp1K<F, G>, core::Comp1, F, G> {};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct ComposeFoldableWithIndexImpl : FoldableWithIndexDefaults<Tag, ComposeFoldableWithIndexImpl<Tag, W, F, G>> {
    template <class Fn, class A>
    static auto ifoldMap(Fn&& f, const W<F, G, A>& c) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        auto outer = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const I& k, const core::Apply<G, A>& g) {
            return FoldableWithIndex<G>::ifoldMap([f, k](const J& i, const A& x) { return f(std::pair<I, J>(k, i), x); }, g);
        };
        return FoldableWithIndex<F>::ifoldMap(std::move(outer), c.value);
    }
};
}  // namespace detail
template <class F, class G>
    requires IsFoldableWithIndex<F> && IsFoldableWithIndex<G>
struct FoldableWithIndex<core::ComposeK<F, G>> : detail::ComposeFoldableWithIndexImpl<core::ComposeK<F, G>, core::Compose, F, G> {};
template <class F, class G>
    requires IsFoldableWithIndex<F> && IsFoldableWithIndex<G>
struct FoldableWithIndex<core::Comp1K<F, G>> : detail::ComposeFoldableWithIndexImpl<core::Comp1K<F, G>, core::Comp1, F, G> {};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct ComposeTraversableWithIndexImpl : TraversableWithIndexDefaults<Tag, ComposeTraversableWithIndexImpl<Tag, W, F, G>> {
    template <class Fn, class A>
    static auto itraverse(Fn&& f, const W<F, G, A>& c) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        using E = detail::IEffectOf<std::decay_t<Fn>, std::pair<I, J>, A>;
        using B = typename E::B;
        auto outer = [f = std::decay_t<Fn>(std::forward<Fn>(f))](const I& k, const core::Apply<G, A>& g) {
            return TraversableWithIndex<G>::itraverse([f, k](const J& i, const A& x) { return f(std::pair<I, J>(k, i), x); },
                                                      g);
        };
        return core::Functor<typename E::G>::fmap(
            [](core::Apply<F, core::Apply<G, B>> v) { return W<F, G, B>{std::move(v)}; },
            TraversableWithIndex<F>::itraverse(std::move(outer), c.value));
    }
};
}  // namespace detail
template <class F, class G>
    requires IsTraversableWithIndex<F> && IsTraversableWithIndex<G>
struct TraversableWithIndex<core::ComposeK<F, G>> : detail::ComposeTraversableWithIndexImpl<core::ComposeK<F, G>, core::Compose, F, G> {};
template <class F, class G>
    requires IsTraversableWithIndex<F> && IsTraversableWithIndex<G>
struct TraversableWithIndex<core::Comp1K<F, G>> : detail::ComposeTraversableWithIndexImpl<core::Comp1K<F, G>, core::Comp1, F, G> {};

// ---- Product and Sum: index Either<I, J> (Left: first part / InL) -------------------------------

namespace detail {
template <class I, class J>
core::Either<I, J> leftIndex(const I& i) {
    return core::Either<I, J>::left(i);
}
template <class I, class J>
core::Either<I, J> rightIndex(const J& j) {
    return core::Either<I, J>::right(j);
}
}  // namespace detail

template <class F, class G>
    requires requires {
        typename IndexOf<F>::type;
        typename IndexOf<G>::type;
    }
struct IndexOf<core::ProductK<F, G>> {
    using type = core::Either<IndexT<F>, IndexT<G>>;
};
template <class F, class G>
    requires requires {
        typename IndexOf<F>::type;
        typename IndexOf<G>::type;
    }
struct IndexOf<core::Prod1K<F, G>> {
    using type = core::Either<IndexT<F>, IndexT<G>>;
};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct ProductFunctorWithIndexImpl : FunctorWithIndexDefaults<Tag, ProductFunctorWithIndexImpl<Tag, W, F, G>> {
    template <class Fn, class A>
    static auto imap(Fn&& f, const W<F, G, A>& p) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        using B = detail::Res<const std::decay_t<Fn>&, const core::Either<I, J>&, const A&>;
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        return W<F, G, B>{
            FunctorWithIndex<F>::imap([fc](const I& i, const A& x) { return fc(detail::leftIndex<I, J>(i), x); }, p.first),
            FunctorWithIndex<G>::imap([fc](const J& j, const A& y) { return fc(detail::rightIndex<I, J>(j), y); }, p.second)};
    }
};
}  // namespace detail
template <class F, class G>
    requires IsFunctorWithIndex<F> && IsFunctorWithIndex<G>
struct FunctorWithIndex<core::ProductK<F, G>> : detail::ProductFunctorWithIndexImpl<core::ProductK<F, G>, core::Product, F, G> {};
template <class F, class G>
    requires IsFunctorWithIndex<F> && IsFunctorWithIndex<G>
struct FunctorWithIndex<core::Prod1K<F, G>> : detail::ProductFunctorWithIndexImpl<core::Prod1K<F, G>, core::Prod1, F, G> {};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct ProductFoldableWithIndexImpl : FoldableWithIndexDefaults<Tag, ProductFoldableWithIndexImpl<Tag, W, F, G>> {
    // mappend(ifoldMap(fL, a), ifoldMap(fR, b)); the second part is folded
    // only when the monoid needs it.
    template <class Fn, class A>
    static auto ifoldMap(Fn&& f, const W<F, G, A>& p) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        using M = detail::Res<const std::decay_t<Fn>&, const core::Either<I, J>&, const A&>;
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        auto fL = [fc](const I& i, const A& x) { return fc(detail::leftIndex<I, J>(i), x); };
        auto fR = [fc](const J& j, const A& y) { return fc(detail::rightIndex<I, J>(j), y); };
        M a = FoldableWithIndex<F>::ifoldMap(fL, p.first);
        if constexpr (core::IsLazySemigroup<M>)
            return core::Semigroup<M>::combineLazy(
                a, core::defer([fR, b = p.second] { return FoldableWithIndex<G>::ifoldMap(fR, b); }));
        else
            return core::Monoid<M>::mappend(a, FoldableWithIndex<G>::ifoldMap(fR, p.second));
    }
};
}  // namespace detail
template <class F, class G>
    requires IsFoldableWithIndex<F> && IsFoldableWithIndex<G>
struct FoldableWithIndex<core::ProductK<F, G>> : detail::ProductFoldableWithIndexImpl<core::ProductK<F, G>, core::Product, F, G> {};
template <class F, class G>
    requires IsFoldableWithIndex<F> && IsFoldableWithIndex<G>
struct FoldableWithIndex<core::Prod1K<F, G>> : detail::ProductFoldableWithIndexImpl<core::Prod1K<F, G>, core::Prod1, F, G> {};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct ProductTraversableWithIndexImpl : TraversableWithIndexDefaults<Tag, ProductTraversableWithIndexImpl<Tag, W, F, G>> {
    // liftA2(Pair, itraverse(fL, a), itraverse(fR, b)): the first part's
    // effects first; the second part is not visited when the first has
    // already failed.
    template <class Fn, class A>
    static auto itraverse(Fn&& f, const W<F, G, A>& p) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        using E = detail::IEffectOf<std::decay_t<Fn>, core::Either<I, J>, A>;
        using B = typename E::B;
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        auto fL = [fc](const I& i, const A& x) { return fc(detail::leftIndex<I, J>(i), x); };
        auto fR = [fc](const J& j, const A& y) { return fc(detail::rightIndex<I, J>(j), y); };
        auto ta = TraversableWithIndex<F>::itraverse(fL, p.first);
        return detail::liftA2ThenRest<typename E::G>(
            [](core::Apply<F, B> a, core::Apply<G, B> b) { return W<F, G, B>{std::move(a), std::move(b)}; },
            std::move(ta), [&] { return TraversableWithIndex<G>::itraverse(fR, p.second); });
    }
};
}  // namespace detail
template <class F, class G>
    requires IsTraversableWithIndex<F> && IsTraversableWithIndex<G>
struct TraversableWithIndex<core::ProductK<F, G>> : detail::ProductTraversableWithIndexImpl<core::ProductK<F, G>, core::Product, F, G> {};
template <class F, class G>
    requires IsTraversableWithIndex<F> && IsTraversableWithIndex<G>
struct TraversableWithIndex<core::Prod1K<F, G>> : detail::ProductTraversableWithIndexImpl<core::Prod1K<F, G>, core::Prod1, F, G> {};

template <class F, class G>
    requires requires {
        typename IndexOf<F>::type;
        typename IndexOf<G>::type;
    }
struct IndexOf<core::SumK<F, G>> {
    using type = core::Either<IndexT<F>, IndexT<G>>;
};
template <class F, class G>
    requires requires {
        typename IndexOf<F>::type;
        typename IndexOf<G>::type;
    }
struct IndexOf<core::Sum1K<F, G>> {
    using type = core::Either<IndexT<F>, IndexT<G>>;
};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct SumFunctorWithIndexImpl : FunctorWithIndexDefaults<Tag, SumFunctorWithIndexImpl<Tag, W, F, G>> {
    template <class Fn, class A>
    static auto imap(Fn&& f, const W<F, G, A>& s) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        using B = detail::Res<const std::decay_t<Fn>&, const core::Either<I, J>&, const A&>;
        using V = std::variant<core::Apply<F, B>, core::Apply<G, B>>;
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        if (s.value.index() == 0)
            return W<F, G, B>{V(std::in_place_index<0>,
                                        FunctorWithIndex<F>::imap(
                                            [fc](const I& i, const A& x) { return fc(detail::leftIndex<I, J>(i), x); }, s.left()))};
        return W<F, G, B>{V(std::in_place_index<1>,
                                    FunctorWithIndex<G>::imap(
                                        [fc](const J& j, const A& y) { return fc(detail::rightIndex<I, J>(j), y); }, s.right()))};
    }
};
}  // namespace detail
template <class F, class G>
    requires IsFunctorWithIndex<F> && IsFunctorWithIndex<G>
struct FunctorWithIndex<core::SumK<F, G>> : detail::SumFunctorWithIndexImpl<core::SumK<F, G>, core::Sum, F, G> {};
template <class F, class G>
    requires IsFunctorWithIndex<F> && IsFunctorWithIndex<G>
struct FunctorWithIndex<core::Sum1K<F, G>> : detail::SumFunctorWithIndexImpl<core::Sum1K<F, G>, core::Sum1, F, G> {};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct SumFoldableWithIndexImpl : FoldableWithIndexDefaults<Tag, SumFoldableWithIndexImpl<Tag, W, F, G>> {
    template <class Fn, class A>
    static auto ifoldMap(Fn&& f, const W<F, G, A>& s) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        if (s.value.index() == 0)
            return FoldableWithIndex<F>::ifoldMap([fc](const I& i, const A& x) { return fc(detail::leftIndex<I, J>(i), x); },
                                                  s.left());
        return FoldableWithIndex<G>::ifoldMap([fc](const J& j, const A& y) { return fc(detail::rightIndex<I, J>(j), y); },
                                              s.right());
    }
};
}  // namespace detail
template <class F, class G>
    requires IsFoldableWithIndex<F> && IsFoldableWithIndex<G>
struct FoldableWithIndex<core::SumK<F, G>> : detail::SumFoldableWithIndexImpl<core::SumK<F, G>, core::Sum, F, G> {};
template <class F, class G>
    requires IsFoldableWithIndex<F> && IsFoldableWithIndex<G>
struct FoldableWithIndex<core::Sum1K<F, G>> : detail::SumFoldableWithIndexImpl<core::Sum1K<F, G>, core::Sum1, F, G> {};
namespace detail {
template <class Tag, template <class, class, class> class W, class F, class G>
struct SumTraversableWithIndexImpl : TraversableWithIndexDefaults<Tag, SumTraversableWithIndexImpl<Tag, W, F, G>> {
    template <class Fn, class A>
    static auto itraverse(Fn&& f, const W<F, G, A>& s) {
        using I = IndexT<F>;
        using J = IndexT<G>;
        using E = detail::IEffectOf<std::decay_t<Fn>, core::Either<I, J>, A>;
        using B = typename E::B;
        using V = std::variant<core::Apply<F, B>, core::Apply<G, B>>;
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        if (s.value.index() == 0)
            return core::Functor<typename E::G>::fmap(
                [](core::Apply<F, B> v) { return W<F, G, B>{V(std::in_place_index<0>, std::move(v))}; },
                TraversableWithIndex<F>::itraverse([fc](const I& i, const A& x) { return fc(detail::leftIndex<I, J>(i), x); },
                                                   s.left()));
        return core::Functor<typename E::G>::fmap(
            [](core::Apply<G, B> v) { return W<F, G, B>{V(std::in_place_index<1>, std::move(v))}; },
            TraversableWithIndex<G>::itraverse([fc](const J& j, const A& y) { return fc(detail::rightIndex<I, J>(j), y); },
                                               s.right()));
    }
};
}  // namespace detail
template <class F, class G>
    requires IsTraversableWithIndex<F> && IsTraversableWithIndex<G>
struct TraversableWithIndex<core::SumK<F, G>> : detail::SumTraversableWithIndexImpl<core::SumK<F, G>, core::Sum, F, G> {};
template <class F, class G>
    requires IsTraversableWithIndex<F> && IsTraversableWithIndex<G>
struct TraversableWithIndex<core::Sum1K<F, G>> : detail::SumTraversableWithIndexImpl<core::Sum1K<F, G>, core::Sum1, F, G> {};

// ---- ReaderT: index (environment, inner index) ----------------------------------------------

template <class R, class M>
    requires requires { typename IndexOf<M>::type; }
struct IndexOf<core::ReaderTK<R, M>> {
    using type = std::pair<R, IndexT<M>>;
};
template <class R, class M>
    requires IsFunctorWithIndex<M>
struct FunctorWithIndex<core::ReaderTK<R, M>>
    : FunctorWithIndexDefaults<core::ReaderTK<R, M>, FunctorWithIndex<core::ReaderTK<R, M>>> {
    // The function k -> imap_inner((i, x) -> f((k, i), x), r(k)).
    template <class Fn, class A>
    static auto imap(Fn&& f, const core::ReaderT<R, M, A>& r) {
        using I = IndexT<M>;
        using B = detail::Res<const std::decay_t<Fn>&, const std::pair<R, I>&, const A&>;
        return core::ReaderT<R, M, B>{[f = std::decay_t<Fn>(std::forward<Fn>(f)), run = r.run](R k) {
            return FunctorWithIndex<M>::imap([f, k](const I& i, const A& x) { return f(std::pair<R, I>(k, i), x); }, run(k));
        }};
    }
};

// ---- Wrappers: IdentityT, Backwards (inner order), Reverse (reversed) --------------------------

namespace detail {
// Unwrap, apply the inner kind's operation with the same function, wrap.
template <class W, class Inner, template <class, class> class T>
struct DelegatingFunctor : FunctorWithIndexDefaults<W, DelegatingFunctor<W, Inner, T>> {
    template <class Fn, class A>
    static auto imap(Fn&& f, const T<Inner, A>& x) {
        auto r = FunctorWithIndex<Inner>::imap(std::forward<Fn>(f), x.value);
        return T<Inner, core::ArgOf<decltype(r)>>{std::move(r)};
    }
};
// The other folds give the values of the defaults over this ifoldMap; they
// go straight to the inner kind's, which keep its evaluation rules (loops
// for the strict folds of lists).
template <class W, class Inner, template <class, class> class T>
struct DelegatingFolds : FoldableWithIndexDefaults<W, DelegatingFolds<W, Inner, T>> {
    template <class Fn, class A>
    static auto ifoldMap(Fn&& f, const T<Inner, A>& x) {
        return FoldableWithIndex<Inner>::ifoldMap(std::forward<Fn>(f), x.value);
    }
    template <class Fn, class A>
    static auto ifoldMapStrict(Fn&& f, const T<Inner, A>& x) {
        return FoldableWithIndex<Inner>::ifoldMapStrict(std::forward<Fn>(f), x.value);
    }
    template <class Fn, class B, class A>
    static B ifoldr(Fn&& f, Lazy<B> z, const T<Inner, A>& x) {
        return FoldableWithIndex<Inner>::ifoldr(std::forward<Fn>(f), std::move(z), x.value);
    }
    template <class Fn, class B, class A>
    static B ifoldl(Fn&& f, B z, const T<Inner, A>& x) {
        return FoldableWithIndex<Inner>::ifoldl(std::forward<Fn>(f), std::move(z), x.value);
    }
    template <class Fn, class B, class A>
    static B ifoldrStrict(Fn&& f, B z, const T<Inner, A>& x) {
        return FoldableWithIndex<Inner>::ifoldrStrict(std::forward<Fn>(f), std::move(z), x.value);
    }
    template <class Fn, class B, class A>
    static B ifoldlStrict(Fn&& f, B z, const T<Inner, A>& x) {
        return FoldableWithIndex<Inner>::ifoldlStrict(std::forward<Fn>(f), std::move(z), x.value);
    }
};
template <class W, class Inner, template <class, class> class T>
struct DelegatingTraversable : TraversableWithIndexDefaults<W, DelegatingTraversable<W, Inner, T>> {
    template <class Fn, class A>
    static auto itraverse(Fn&& f, const T<Inner, A>& x) {
        using E = IEffectOf<std::decay_t<Fn>, IndexT<Inner>, A>;
        using B = typename E::B;
        return core::Functor<typename E::G>::fmap([](core::Apply<Inner, B> v) { return T<Inner, B>{std::move(v)}; },
                                                  TraversableWithIndex<Inner>::itraverse(std::forward<Fn>(f), x.value));
    }
};
}  // namespace detail

template <class M>
    requires requires { typename IndexOf<M>::type; }
struct IndexOf<core::IdentityTK<M>> {
    using type = IndexT<M>;
};
template <class M>
    requires IsFunctorWithIndex<M>
struct FunctorWithIndex<core::IdentityTK<M>> : detail::DelegatingFunctor<core::IdentityTK<M>, M, core::IdentityT> {};
template <class M>
    requires IsFoldableWithIndex<M>
struct FoldableWithIndex<core::IdentityTK<M>> : detail::DelegatingFolds<core::IdentityTK<M>, M, core::IdentityT> {};
template <class M>
    requires IsTraversableWithIndex<M>
struct TraversableWithIndex<core::IdentityTK<M>> : detail::DelegatingTraversable<core::IdentityTK<M>, M, core::IdentityT> {};

template <class F>
    requires requires { typename IndexOf<F>::type; }
struct IndexOf<core::BackwardsK<F>> {
    using type = IndexT<F>;
};
template <class F>
    requires IsFunctorWithIndex<F>
struct FunctorWithIndex<core::BackwardsK<F>> : detail::DelegatingFunctor<core::BackwardsK<F>, F, core::Backwards> {};
template <class F>
    requires IsFoldableWithIndex<F>
struct FoldableWithIndex<core::BackwardsK<F>> : detail::DelegatingFolds<core::BackwardsK<F>, F, core::Backwards> {};
template <class F>
    requires IsTraversableWithIndex<F>
struct TraversableWithIndex<core::BackwardsK<F>> : detail::DelegatingTraversable<core::BackwardsK<F>, F, core::Backwards> {};

template <class F>
    requires requires { typename IndexOf<F>::type; }
struct IndexOf<core::ReverseK<F>> {
    using type = IndexT<F>;
};
template <class F>
    requires IsFunctorWithIndex<F>
struct FunctorWithIndex<core::ReverseK<F>> : detail::DelegatingFunctor<core::ReverseK<F>, F, core::Reverse> {};
template <class F>
    requires IsFoldableWithIndex<F>
struct FoldableWithIndex<core::ReverseK<F>> : FoldableWithIndexDefaults<core::ReverseK<F>, FoldableWithIndex<core::ReverseK<F>>> {
    // The value of the inner ifoldMap in the Dual of the caller's monoid,
    // f(in, xn) <> ... <> f(i1, x1): the elements are collected in inner
    // order, then folded from the last to the first, so f is called from
    // the last element on; a monoid that can combine with an unevaluated
    // right operand stops at the first deciding element from the back.
    template <class Fn, class A>
    static auto ifoldMap(Fn&& f, const core::Reverse<F, A>& x) {
        using I = IndexT<F>;
        using P = std::pair<I, A>;
        std::vector<P> ps = FoldableWithIndex<F>::ifoldlStrict(
            [](const I& i, std::vector<P> acc, const A& a) {
                acc.emplace_back(i, a);
                return acc;
            },
            std::vector<P>(), x.value);
        std::reverse(ps.begin(), ps.end());
        return FoldableWithIndex<core::VectorK>::ifoldMap(
            [f = std::decay_t<Fn>(std::forward<Fn>(f))](const Int&, const P& p) { return f(p.first, p.second); }, ps);
    }
};
template <class F>
    requires IsTraversableWithIndex<F>
struct TraversableWithIndex<core::ReverseK<F>>
    : TraversableWithIndexDefaults<core::ReverseK<F>, TraversableWithIndex<core::ReverseK<F>>> {
    // The inner itraverse in Backwards over the caller's applicative
    // (effects from the last element to the first), rewrapped in Reverse;
    // the elements keep their inner positions and indices.
    template <class Fn, class A>
    static auto itraverse(Fn&& f, const core::Reverse<F, A>& x) {
        using I = IndexT<F>;
        using E = detail::IEffectOf<std::decay_t<Fn>, I, A>;
        using G = typename E::G;
        using B = typename E::B;
        auto back = TraversableWithIndex<F>::itraverse(
            [f = std::decay_t<Fn>(std::forward<Fn>(f))](const I& i, const A& a) { return core::Backwards<G, B>{f(i, a)}; },
            x.value);
        return core::Functor<G>::fmap([](core::Apply<F, B> v) { return core::Reverse<F, B>{std::move(v)}; },
                                      std::move(back.value));
    }
};

}  // namespace nerrow
