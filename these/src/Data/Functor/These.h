#pragma once
// these::These1<F, G, A>: the inclusive-or of two containers of the same
// element type. F and G are kind tags (core::ListK, core::VectorK,
// core::OptionalK, core::NonEmptyK, ...); a value holds an F<A> (This1), a
// G<A> (That1), or both (These1), in that order: the alternatives' indices
// 0, 1 and 2 decide comparison.
//
//   using T = these::These1<core::ListK, core::VectorK, int>;
//   T a = these::This1(core::List<int>{1, 2});
//   T b = these::That1(std::vector<int>{3});
//   auto c = these::These1(core::List<int>{1, 2}, std::vector<int>{3});
//
// The structures are stored without being looked at (each may be a
// core::Lazy, computed on first demand). These1 is itself a container: its
// elements are those of the left structure followed by those of the right
// one, and mapping, folding and traversal go through both, left first.
//
// Interfaces: ==, <=> (index, then left, then right), Show / Read
// ("This1 x", "That1 y", "These1 x y", structures at precedence 11),
// Eq1, Ord1, Show1, Read1, Functor, Foldable, Foldable1 (when both
// structures are non-empty ones) and Traversable.
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Classes.h"
#include "Core/Foldable.h"
#include "Core/Foldable1.h"
#include "Core/Functor.h"
#include "Core/Kinds.h"
#include "Core/Read.h"
#include "Core/Semigroup.h"
#include "Core/Show.h"
#include "Core/Traversable.h"
#include "Data/These.h"

namespace these {

template <class F, class G, class A>
class These1 {
public:
    using value_type = A;
    using left_type = core::Apply<F, A>;
    using right_type = core::Apply<G, A>;
    using Fields = These<left_type, right_type>;

    // Both structures; each may be a value or a core::Lazy of one.
    template <class X, class Y>
        requires detail::FieldInit<X, left_type> && detail::FieldInit<Y, right_type>
    These1(X&& x, Y&& y) : v_(std::forward<X>(x), std::forward<Y>(y)) {}
    // From the alternatives' fields, as a These of the two structure types.
    explicit These1(Fields v) : v_(std::move(v)) {}
    template <class X>
        requires std::is_constructible_v<left_type, const X&>
    These1(ThisOf<X> t) : v_(Fields(std::move(t))) {}
    template <class Y>
        requires std::is_constructible_v<right_type, const Y&>
    These1(ThatOf<Y> t) : v_(Fields(std::move(t))) {}

    static These1 makeThis1(LazyField<left_type> x) { return These1(Fields::makeThis(std::move(x))); }
    static These1 makeThat1(LazyField<right_type> y) { return These1(Fields::makeThat(std::move(y))); }
    static These1 makeThese1(LazyField<left_type> x, LazyField<right_type> y) {
        return These1(Fields::makeThese(std::move(x), std::move(y)));
    }

    // 0 for This1, 1 for That1, 2 for These1.
    int index() const noexcept { return v_.index(); }
    bool isThis1() const noexcept { return v_.isThis(); }
    bool isThat1() const noexcept { return v_.isThat(); }
    bool isThese1() const noexcept { return v_.isThese(); }
    bool hasLeft() const noexcept { return v_.hasLeft(); }
    bool hasRight() const noexcept { return v_.hasRight(); }
    // The structures (evaluated on demand); precondition hasLeft() /
    // hasRight(), else core::Error.
    const left_type& left() const { return v_.left(); }
    const right_type& right() const { return v_.right(); }
    LazyField<left_type> leftField() const { return v_.leftField(); }
    LazyField<right_type> rightField() const { return v_.rightField(); }
    // The same value as a These of the two structures.
    const Fields& fields() const noexcept { return v_; }

    // Same alternative and equal structures, the left ones compared first.
    friend bool operator==(const These1& x, const These1& y) { return x.v_ == y.v_; }
    // Lexicographic on (index, left structure, right structure).
    friend auto operator<=>(const These1& x, const These1& y)
        requires std::three_way_comparable<Fields>
    {
        return x.v_ <=> y.v_;
    }

private:
    Fields v_;
};

template <class X, class Y>
These1(X&&, Y&&) -> These1<core::KindOfT<detail::FieldType<X>>, core::KindOfT<detail::FieldType<Y>>,
                           core::ArgOf<detail::FieldType<X>>>;

// The one-structure alternatives: This1(x) and That1(y) convert to any
// These1 whose left (right) structure type is x's (y's).
template <class X>
ThisOf<detail::FieldType<X>> This1(X&& x) {
    return This(std::forward<X>(x));
}
template <class Y>
ThatOf<detail::FieldType<Y>> That1(Y&& y) {
    return That(std::forward<Y>(y));
}

// The kind tag of These1<F, G, _>.
template <class F, class G>
struct These1K {
    template <class A>
    using apply = These1<F, G, A>;
};

}  // namespace these

namespace core {

template <class F, class G, class A>
struct KindOf<these::These1<F, G, A>> {
    using kind = these::These1K<F, G>;
    using arg = A;
};

template <class F, class G>
    requires IsEq1<F> && IsEq1<G>
struct Eq1<these::These1K<F, G>> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const these::These1<F, G, A>& x, const these::These1<F, G, B>& y) {
        if (x.index() != y.index()) return false;
        if (x.hasLeft() && !Eq1<F>::liftEq(eq, x.left(), y.left())) return false;
        return !x.hasRight() || Eq1<G>::liftEq(eq, x.right(), y.right());
    }
};
template <class F, class G>
    requires IsOrd1<F> && IsOrd1<G>
struct Ord1<these::These1K<F, G>> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const these::These1<F, G, A>& x, const these::These1<F, G, B>& y) {
        if (x.index() != y.index()) return x.index() < y.index() ? LT : GT;
        if (x.hasLeft())
            if (Ordering o = Ord1<F>::liftCompare(cmp, x.left(), y.left()); o != EQ) return o;
        return x.hasRight() ? Ord1<G>::liftCompare(cmp, x.right(), y.right()) : EQ;
    }
};

namespace detail {
// The three forms with the given structure printers.
template <class SPF, class SPG, class F, class G, class A>
void showsThese1With(const SPF& spf, const SPG& spg, int d, const these::These1<F, G, A>& x, std::string& out) {
    switch (x.index()) {
        case 0: showsUnaryWith(spf, "This1", d, x.left(), out); break;
        case 1: showsUnaryWith(spg, "That1", d, x.right(), out); break;
        default: showsBinaryWith(spf, spg, "These1", d, x.left(), x.right(), out); break;
    }
}
// "This1 x" | "That1 y" | "These1 x y", inside any parentheses; above
// precedence 10 only in parentheses.
template <class F, class G, class A>
Reader<these::These1<F, G, A>> readThese1With(Reader<Apply<F, A>> rf, Reader<Apply<G, A>> rg) {
    using T = these::These1<F, G, A>;
    using FA = Apply<F, A>;
    using GA = Apply<G, A>;
    return parens(alt(alt(readConstructor<T>("This1", [](FA x) { return T::makeThis1(std::move(x)); }, rf),
                          readConstructor<T>("That1", [](GA y) { return T::makeThat1(std::move(y)); }, rg)),
                      readConstructor<T>(
                          "These1", [](FA x, GA y) { return T::makeThese1(std::move(x), std::move(y)); }, rf, rg)));
}
}  // namespace detail

template <class F, class G, class A>
    requires Showable<Apply<F, A>> && Showable<Apply<G, A>>
struct Show<these::These1<F, G, A>> {
    static void showsPrec(int d, const these::These1<F, G, A>& x, std::string& out) {
        detail::showsThese1With(ShowsPrecOf<Apply<F, A>>{}, ShowsPrecOf<Apply<G, A>>{}, d, x, out);
    }
};
template <class F, class G, class A>
    requires Readable<Apply<F, A>> && Readable<Apply<G, A>>
struct Read<these::These1<F, G, A>> {
    static Reader<these::These1<F, G, A>> readPrec() {
        return detail::readThese1With<F, G, A>(core::readPrec<Apply<F, A>>(), core::readPrec<Apply<G, A>>());
    }
};
template <class F, class G>
struct Show1<these::These1K<F, G>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const these::These1<F, G, A>& x, std::string& out) {
        auto spf = [&](int p, const Apply<F, A>& s, std::string& o) { Show1<F>::liftShowsPrec(sp, sl, p, s, o); };
        auto spg = [&](int p, const Apply<G, A>& s, std::string& o) { Show1<G>::liftShowsPrec(sp, sl, p, s, o); };
        detail::showsThese1With(spf, spg, d, x, out);
    }
};
template <class F, class G>
struct Read1<these::These1K<F, G>> {
    template <class A>
    static Reader<these::These1<F, G, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
        return detail::readThese1With<F, G, A>(Read1<F>::template liftReadPrec<A>(rp, rl),
                                               Read1<G>::template liftReadPrec<A>(rp, rl));
    }
};

// Each structure mapped with its own fmap, when first demanded.
template <class F, class G>
    requires IsFunctor<F> && IsFunctor<G>
struct Functor<these::These1K<F, G>> : FunctorDefaults<these::These1K<F, G>, Functor<these::These1K<F, G>>> {
    template <class Fn, class A>
    static auto fmap(Fn&& f, const these::These1<F, G, A>& x) {
        using B = Result<Fn&, const A&>;
        using R = these::These1<F, G, B>;
        using FB = Apply<F, B>;
        using GB = Apply<G, B>;
        auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
        auto mapL = [&] { return LazyField<FB>(defer([fc, s = x.leftField()] { return FB(Functor<F>::fmap(fc, s.force())); })); };
        auto mapR = [&] { return LazyField<GB>(defer([fc, s = x.rightField()] { return GB(Functor<G>::fmap(fc, s.force())); })); };
        switch (x.index()) {
            case 0: return R::makeThis1(mapL());
            case 1: return R::makeThat1(mapR());
            default: return R::makeThese1(mapL(), mapR());
        }
    }
};

// The left structure's elements, then the right one's.
template <class F, class G>
    requires IsFoldable<F> && IsFoldable<G>
struct Foldable<these::These1K<F, G>> : FoldableDefaults<these::These1K<F, G>, Foldable<these::These1K<F, G>>> {
    // The right structure is folded onto z only when the left fold demands
    // its rest; the deferred rest owns copies of f, z and the structure.
    template <class Fn, class B, class A>
    static B foldr(Fn&& f, Lazy<B> z, const these::These1<F, G, A>& x) {
        switch (x.index()) {
            case 0: return Foldable<F>::foldr(std::forward<Fn>(f), std::move(z), x.left());
            case 1: return Foldable<G>::foldr(std::forward<Fn>(f), std::move(z), x.right());
            default: {
                auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
                Lazy<B> rest = defer([fc, z, g = x.rightField()] { return B(Foldable<G>::foldr(fc, z, g.force())); });
                return Foldable<F>::foldr(fc, std::move(rest), x.left());
            }
        }
    }
    // mappend of the two structures' foldMap; a semigroup that combines
    // lazily does not fold the right structure unless it needs it.
    template <class Fn, class A>
    static auto foldMap(Fn&& f, const these::These1<F, G, A>& x) {
        using M = Result<Fn&, const A&>;
        switch (x.index()) {
            case 0: return M(Foldable<F>::foldMap(f, x.left()));
            case 1: return M(Foldable<G>::foldMap(f, x.right()));
            default: {
                M l = Foldable<F>::foldMap(f, x.left());
                if constexpr (IsLazySemigroup<M>) {
                    auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
                    return M(Semigroup<M>::combineLazy(
                        l, defer([fc, g = x.rightField()] { return M(Foldable<G>::foldMap(fc, g.force())); })));
                } else {
                    return M(Monoid<M>::mappend(l, Foldable<G>::foldMap(f, x.right())));
                }
            }
        }
    }
    template <class Fn, class B, class A>
    static B foldlStrict(Fn&& f, B z, const these::These1<F, G, A>& x) {
        if (x.hasLeft()) z = Foldable<F>::foldlStrict(f, std::move(z), x.left());
        if (x.hasRight()) z = Foldable<G>::foldlStrict(f, std::move(z), x.right());
        return z;
    }
    // True only when every structure present is empty.
    template <class A>
    static bool null(const these::These1<F, G, A>& x) {
        return (!x.hasLeft() || Foldable<F>::null(x.left())) && (!x.hasRight() || Foldable<G>::null(x.right()));
    }
    template <class A>
    static Int length(const these::These1<F, G, A>& x) {
        return (x.hasLeft() ? Foldable<F>::length(x.left()) : 0) + (x.hasRight() ? Foldable<G>::length(x.right()) : 0);
    }
};

template <class F, class G>
    requires IsFoldable1<F> && IsFoldable1<G>
struct Foldable1<these::These1K<F, G>> : Foldable1Defaults<these::These1K<F, G>, Foldable1<these::These1K<F, G>>> {
    template <class Fn, class A>
    static auto foldMap1(Fn&& f, const these::These1<F, G, A>& x) {
        using M = Result<Fn&, const A&>;
        switch (x.index()) {
            case 0: return M(Foldable1<F>::foldMap1(f, x.left()));
            case 1: return M(Foldable1<G>::foldMap1(f, x.right()));
            default: {
                M l = Foldable1<F>::foldMap1(f, x.left());
                if constexpr (IsLazySemigroup<M>) {
                    auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
                    return M(Semigroup<M>::combineLazy(
                        l, defer([fc, g = x.rightField()] { return M(Foldable1<G>::foldMap1(fc, g.force())); })));
                } else {
                    return M(Semigroup<M>::combine(l, Foldable1<G>::foldMap1(f, x.right())));
                }
            }
        }
    }
    // The left structure's elements, then the right one's.
    template <class A>
    static NonEmpty<A> toNonEmpty(const these::These1<F, G, A>& x) {
        switch (x.index()) {
            case 0: return Foldable1<F>::toNonEmpty(x.left());
            case 1: return Foldable1<G>::toNonEmpty(x.right());
            default: {
                NonEmpty<A> l = Foldable1<F>::toNonEmpty(x.left());
                return NonEmpty<A>(l.head, l.tail.append(Foldable<G>::toList(x.right())));
            }
        }
    }
    template <class A>
    static A head1(const these::These1<F, G, A>& x) {
        return x.hasLeft() ? Foldable1<F>::head1(x.left()) : Foldable1<G>::head1(x.right());
    }
    template <class A>
    static A last1(const these::These1<F, G, A>& x) {
        return x.hasRight() ? Foldable1<G>::last1(x.right()) : Foldable1<F>::last1(x.left());
    }
    // For These1 x y: y folded with G's foldrMap1, then x's elements onto
    // that from the right with g (F's foldr), the rest handed over deferred.
    template <class Fn, class Gn, class A>
    static auto foldrMap1(Fn&& f, Gn&& g, const these::These1<F, G, A>& x) {
        using B = Result<Fn&, const A&>;
        switch (x.index()) {
            case 0: return B(Foldable1<F>::foldrMap1(f, g, x.left()));
            case 1: return B(Foldable1<G>::foldrMap1(f, g, x.right()));
            default: {
                auto fc = std::decay_t<Fn>(std::forward<Fn>(f));
                auto gc = std::decay_t<Gn>(std::forward<Gn>(g));
                Lazy<B> rest = defer([fc, gc, y = x.rightField()] { return B(Foldable1<G>::foldrMap1(fc, gc, y.force())); });
                return B(Foldable<F>::foldr(gc, std::move(rest), x.left()));
            }
        }
    }
};

// All of the left structure's effects before any of the right one's.
template <class F, class G>
    requires IsTraversable<F> && IsTraversable<G>
struct Traversable<these::These1K<F, G>> : TraversableDefaults<these::These1K<F, G>, Traversable<these::These1K<F, G>>> {
    template <class Fn, class A>
    static auto traverse(Fn&& f, const these::These1<F, G, A>& x) {
        using E = detail::EffectOf<Fn, A>;
        using App = typename E::G;
        using B = typename E::B;
        using R = these::These1<F, G, B>;
        using FB = Apply<F, B>;
        using GB = Apply<G, B>;
        switch (x.index()) {
            case 0:
                return Functor<App>::fmap([](const FB& a) { return R::makeThis1(a); }, Traversable<F>::traverse(f, x.left()));
            case 1:
                return Functor<App>::fmap([](const GB& b) { return R::makeThat1(b); }, Traversable<G>::traverse(f, x.right()));
            default: {
                auto l = Traversable<F>::traverse(f, x.left());  // before the right one: argument order is unspecified
                auto r = Traversable<G>::traverse(f, x.right());
                return Applicative<App>::liftA2([](const FB& a, const GB& b) { return R::makeThese1(a, b); }, std::move(l),
                                                std::move(r));
            }
        }
    }
};

}  // namespace core
