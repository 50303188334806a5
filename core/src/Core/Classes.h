#pragma once
// Equality and order: the helpers over C++ == and <=>, and their lifted
// forms for type constructors.
//
//   core::compare(a, b)      LT, EQ or GT
//   core::max(a, b)          the larger; on a tie, b (the second argument)
//   core::min(a, b)          the smaller; on a tie, a (the first argument)
//   core::comparing(f)       a comparison of f's results
//
//   Eq1<K>   liftEq(eq, fa, fb)            equality given one for elements
//   Ord1<K>  liftCompare(cmp, fa, fb)      order given an element order
//   Eq2<K2>  liftEq2(eqA, eqB, p, q)       the same for two-parameter types
//   Ord2<K2> liftCompare2(cmpA, cmpB, p, q)
//   eq1 / compare1, eq2 / compare2: the lifted forms with == and compare
//
// The element functions return bool (eq) and Ordering (cmp). Orders are
// those of the types' own <=>: lists lexicographically, Nothing before
// Just, Left before Right, constructors in declaration order.
//
// Implemented for List, std::vector, std::optional, Either, NonEmpty,
// std::pair, std::map and the functor combinators (Identity, Const,
// Constant, Proxy, Compose, Product, Sum, IdentityT, Backwards, Reverse,
// Tagged, ZipList); Eq2/Ord2 for Either, std::pair, Const, Constant and
// Tagged.
#include <compare>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "Core/FunctorTypes.h"
#include "Core/Kinds.h"
#include "Core/Types.h"

namespace core {

// ---- Eq and Ord helpers --------------------------------------------------

// A three-way comparison as an Ordering, from <=> when the type has it and
// from < otherwise.
template <class T>
Ordering compare(const T& a, const T& b) {
    if constexpr (std::three_way_comparable<T>) {
        auto c = a <=> b;
        return c < 0 ? LT : (c > 0 ? GT : EQ);
    } else {
        return a < b ? LT : (b < a ? GT : EQ);
    }
}
// The larger of a and b; b when they are equal.
template <class T>
T max(const T& a, const T& b) {
    return b < a ? a : b;
}
// The smaller of a and b; a when they are equal.
template <class T>
T min(const T& a, const T& b) {
    return b < a ? b : a;
}
// A comparison of the results of f.
template <class F>
auto comparing(F f) {
    return [f = std::move(f)](const auto& a, const auto& b) { return compare(f(a), f(b)); };
}

// ---- Interfaces ----------------------------------------------------------

template <class K>
struct Eq1 {
    using NotImplemented = void;
};
template <class K>
struct Ord1 {
    using NotImplemented = void;
};
template <class K2>
struct Eq2 {
    using NotImplemented = void;
};
template <class K2>
struct Ord2 {
    using NotImplemented = void;
};
template <class K>
concept IsEq1 = !requires { typename Eq1<K>::NotImplemented; };
template <class K>
concept IsOrd1 = IsEq1<K> && !requires { typename Ord1<K>::NotImplemented; };
template <class K2>
concept IsEq2 = !requires { typename Eq2<K2>::NotImplemented; };
template <class K2>
concept IsOrd2 = IsEq2<K2> && !requires { typename Ord2<K2>::NotImplemented; };

template <class Eq, class FA, class FB>
bool liftEq(Eq&& eq, const FA& fa, const FB& fb) {
    using K = detail::KindOrNone<FA>;
    if constexpr (!IsEq1<K>)
        static_assert(detail::alwaysFalse<FA>, "no Eq1 implementation for this type");
    else
        return Eq1<K>::liftEq(std::forward<Eq>(eq), fa, fb);
}
template <class Cmp, class FA, class FB>
Ordering liftCompare(Cmp&& cmp, const FA& fa, const FB& fb) {
    using K = detail::KindOrNone<FA>;
    if constexpr (!IsOrd1<K>)
        static_assert(detail::alwaysFalse<FA>, "no Ord1 implementation for this type");
    else
        return Ord1<K>::liftCompare(std::forward<Cmp>(cmp), fa, fb);
}
template <class EqA, class EqB, class P, class Q>
bool liftEq2(EqA&& eqA, EqB&& eqB, const P& p, const Q& q) {
    using K2 = detail::Kind2OrNone<P>;
    if constexpr (!IsEq2<K2>)
        static_assert(detail::alwaysFalse<P>, "no Eq2 implementation for this type");
    else
        return Eq2<K2>::liftEq2(std::forward<EqA>(eqA), std::forward<EqB>(eqB), p, q);
}
template <class CmpA, class CmpB, class P, class Q>
Ordering liftCompare2(CmpA&& cmpA, CmpB&& cmpB, const P& p, const Q& q) {
    using K2 = detail::Kind2OrNone<P>;
    if constexpr (!IsOrd2<K2>)
        static_assert(detail::alwaysFalse<P>, "no Ord2 implementation for this type");
    else
        return Ord2<K2>::liftCompare2(std::forward<CmpA>(cmpA), std::forward<CmpB>(cmpB), p, q);
}

namespace detail {
inline constexpr auto eqOp = [](const auto& a, const auto& b) -> bool { return a == b; };
inline constexpr auto cmpOp = [](const auto& a, const auto& b) -> Ordering { return core::compare(a, b); };

// Lexicographic comparison of two ranges with element functions.
template <class Eq, class I, class J>
bool rangeEq(Eq& eq, I i, I ie, J j, J je) {
    for (; i != ie && j != je; ++i, ++j)
        if (!eq(*i, *j)) return false;
    return i == ie && j == je;
}
template <class Cmp, class I, class J>
Ordering rangeCompare(Cmp& cmp, I i, I ie, J j, J je) {
    for (; i != ie && j != je; ++i, ++j)
        if (Ordering o = cmp(*i, *j); o != EQ) return o;
    if (i == ie) return j == je ? EQ : LT;
    return GT;
}
// Eq1/Ord1 of a one-parameter type through its range.
template <class K>
struct RangeClasses {
    template <class Eq, class FA, class FB>
    static bool liftEq(Eq&& eq, const FA& a, const FB& b) {
        return rangeEq(eq, a.begin(), a.end(), b.begin(), b.end());
    }
    template <class Cmp, class FA, class FB>
    static Ordering liftCompare(Cmp&& cmp, const FA& a, const FB& b) {
        return rangeCompare(cmp, a.begin(), a.end(), b.begin(), b.end());
    }
};
// Eq1/Ord1 of a wrapper {value} around K's F<A>, or of a plain value.
template <class Inner>
struct ThroughValue {
    template <class Eq, class FA, class FB>
    static bool liftEq(Eq&& eq, const FA& a, const FB& b) {
        if constexpr (std::is_void_v<Inner>) return eq(a.value, b.value);
        else return Eq1<Inner>::liftEq(eq, a.value, b.value);
    }
    template <class Cmp, class FA, class FB>
    static Ordering liftCompare(Cmp&& cmp, const FA& a, const FB& b) {
        if constexpr (std::is_void_v<Inner>) return cmp(a.value, b.value);
        else return Ord1<Inner>::liftCompare(cmp, a.value, b.value);
    }
};
}  // namespace detail

// Lifted comparisons with the elements' own == and compare.
template <class FA>
bool eq1(const FA& a, const FA& b) {
    return liftEq(detail::eqOp, a, b);
}
template <class FA>
Ordering compare1(const FA& a, const FA& b) {
    return liftCompare(detail::cmpOp, a, b);
}
template <class P>
bool eq2(const P& a, const P& b) {
    return liftEq2(detail::eqOp, detail::eqOp, a, b);
}
template <class P>
Ordering compare2(const P& a, const P& b) {
    return liftCompare2(detail::cmpOp, detail::cmpOp, a, b);
}

// ---- Containers ----------------------------------------------------------

template <>
struct Eq1<ListK> : detail::RangeClasses<ListK> {};
template <>
struct Ord1<ListK> : detail::RangeClasses<ListK> {};
template <>
struct Eq1<VectorK> : detail::RangeClasses<VectorK> {};
template <>
struct Ord1<VectorK> : detail::RangeClasses<VectorK> {};
template <>
struct Eq1<ZipListK> : detail::ThroughValue<ListK> {};
template <>
struct Ord1<ZipListK> : detail::ThroughValue<ListK> {};

template <>
struct Eq1<NonEmptyK> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const NonEmpty<A>& a, const NonEmpty<B>& b) {
        return eq(a.head, b.head) && Eq1<ListK>::liftEq(eq, a.tail, b.tail);
    }
};
template <>
struct Ord1<NonEmptyK> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const NonEmpty<A>& a, const NonEmpty<B>& b) {
        if (Ordering o = cmp(a.head, b.head); o != EQ) return o;
        return Ord1<ListK>::liftCompare(cmp, a.tail, b.tail);
    }
};

// Nothing before Just.
template <>
struct Eq1<OptionalK> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const std::optional<A>& a, const std::optional<B>& b) {
        if (!a || !b) return !a && !b;
        return eq(*a, *b);
    }
};
template <>
struct Ord1<OptionalK> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const std::optional<A>& a, const std::optional<B>& b) {
        if (!a) return b ? LT : EQ;
        if (!b) return GT;
        return cmp(*a, *b);
    }
};

// Left before Right; Lefts compare with the Left type's own order.
template <class L>
struct Eq1<EitherK<L>> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const Either<L, A>& a, const Either<L, B>& b) {
        if (a.isLeft() || b.isLeft()) return a.isLeft() && b.isLeft() && a.unsafeLeft() == b.unsafeLeft();
        return eq(a.unsafeRight(), b.unsafeRight());
    }
};
template <class L>
struct Ord1<EitherK<L>> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const Either<L, A>& a, const Either<L, B>& b) {
        if (a.isLeft()) return b.isLeft() ? compare(a.unsafeLeft(), b.unsafeLeft()) : LT;
        if (b.isLeft()) return GT;
        return cmp(a.unsafeRight(), b.unsafeRight());
    }
};

template <class W>
struct Eq1<PairK<W>> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const std::pair<W, A>& a, const std::pair<W, B>& b) {
        return a.first == b.first && eq(a.second, b.second);
    }
};
template <class W>
struct Ord1<PairK<W>> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const std::pair<W, A>& a, const std::pair<W, B>& b) {
        if (Ordering o = compare(a.first, b.first); o != EQ) return o;
        return cmp(a.second, b.second);
    }
};

template <class Key>
struct Eq1<MapK<Key>> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const std::map<Key, A>& a, const std::map<Key, B>& b) {
        auto kvEq = [&eq](const auto& x, const auto& y) { return x.first == y.first && eq(x.second, y.second); };
        return detail::rangeEq(kvEq, a.begin(), a.end(), b.begin(), b.end());
    }
};
template <class Key>
struct Ord1<MapK<Key>> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const std::map<Key, A>& a, const std::map<Key, B>& b) {
        auto kvCmp = [&cmp](const auto& x, const auto& y) {
            if (Ordering o = compare(x.first, y.first); o != EQ) return o;
            return cmp(x.second, y.second);
        };
        return detail::rangeCompare(kvCmp, a.begin(), a.end(), b.begin(), b.end());
    }
};

// ---- Functor combinators -------------------------------------------------

template <>
struct Eq1<IdentityK> : detail::ThroughValue<void> {};
template <>
struct Ord1<IdentityK> : detail::ThroughValue<void> {};
template <class S>
struct Eq1<TaggedK<S>> : detail::ThroughValue<void> {};
template <class S>
struct Ord1<TaggedK<S>> : detail::ThroughValue<void> {};

// The constant is compared with its own order; there are no elements.
template <class C>
struct Eq1<ConstK<C>> {
    template <class Eq, class FA, class FB>
    static bool liftEq(Eq&&, const FA& a, const FB& b) {
        return a.value == b.value;
    }
};
template <class C>
struct Ord1<ConstK<C>> {
    template <class Cmp, class FA, class FB>
    static Ordering liftCompare(Cmp&&, const FA& a, const FB& b) {
        return compare(a.value, b.value);
    }
};
template <class C>
struct Eq1<ConstantK<C>> : Eq1<ConstK<C>> {};
template <class C>
struct Ord1<ConstantK<C>> : Ord1<ConstK<C>> {};

template <>
struct Eq1<ProxyK> {
    template <class Eq, class FA, class FB>
    static bool liftEq(Eq&&, const FA&, const FB&) {
        return true;
    }
};
template <>
struct Ord1<ProxyK> {
    template <class Cmp, class FA, class FB>
    static Ordering liftCompare(Cmp&&, const FA&, const FB&) {
        return EQ;
    }
};

template <class F, class G>
    requires IsEq1<F> && IsEq1<G>
struct Eq1<ComposeK<F, G>> {
    template <class Eq, class FA, class FB>
    static bool liftEq(Eq&& eq, const FA& a, const FB& b) {
        return Eq1<F>::liftEq([&eq](const auto& x, const auto& y) { return Eq1<G>::liftEq(eq, x, y); }, a.value,
                              b.value);
    }
};
template <class F, class G>
    requires IsOrd1<F> && IsOrd1<G>
struct Ord1<ComposeK<F, G>> {
    template <class Cmp, class FA, class FB>
    static Ordering liftCompare(Cmp&& cmp, const FA& a, const FB& b) {
        return Ord1<F>::liftCompare([&cmp](const auto& x, const auto& y) { return Ord1<G>::liftCompare(cmp, x, y); },
                                    a.value, b.value);
    }
};

template <class F, class G>
    requires IsEq1<F> && IsEq1<G>
struct Eq1<ProductK<F, G>> {
    template <class Eq, class FA, class FB>
    static bool liftEq(Eq&& eq, const FA& a, const FB& b) {
        return Eq1<F>::liftEq(eq, a.first, b.first) && Eq1<G>::liftEq(eq, a.second, b.second);
    }
};
template <class F, class G>
    requires IsOrd1<F> && IsOrd1<G>
struct Ord1<ProductK<F, G>> {
    template <class Cmp, class FA, class FB>
    static Ordering liftCompare(Cmp&& cmp, const FA& a, const FB& b) {
        if (Ordering o = Ord1<F>::liftCompare(cmp, a.first, b.first); o != EQ) return o;
        return Ord1<G>::liftCompare(cmp, a.second, b.second);
    }
};

// InL before InR.
template <class F, class G>
    requires IsEq1<F> && IsEq1<G>
struct Eq1<SumK<F, G>> {
    template <class Eq, class FA, class FB>
    static bool liftEq(Eq&& eq, const FA& a, const FB& b) {
        if (a.isInL() != b.isInL()) return false;
        return a.isInL() ? Eq1<F>::liftEq(eq, a.left(), b.left()) : Eq1<G>::liftEq(eq, a.right(), b.right());
    }
};
template <class F, class G>
    requires IsOrd1<F> && IsOrd1<G>
struct Ord1<SumK<F, G>> {
    template <class Cmp, class FA, class FB>
    static Ordering liftCompare(Cmp&& cmp, const FA& a, const FB& b) {
        if (a.isInL() != b.isInL()) return a.isInL() ? LT : GT;
        return a.isInL() ? Ord1<F>::liftCompare(cmp, a.left(), b.left())
                         : Ord1<G>::liftCompare(cmp, a.right(), b.right());
    }
};

template <class M>
    requires IsEq1<M>
struct Eq1<IdentityTK<M>> : detail::ThroughValue<M> {};
template <class M>
    requires IsOrd1<M>
struct Ord1<IdentityTK<M>> : detail::ThroughValue<M> {};
template <class F>
    requires IsEq1<F>
struct Eq1<BackwardsK<F>> : detail::ThroughValue<F> {};
template <class F>
    requires IsOrd1<F>
struct Ord1<BackwardsK<F>> : detail::ThroughValue<F> {};
template <class F>
    requires IsEq1<F>
struct Eq1<ReverseK<F>> : detail::ThroughValue<F> {};
template <class F>
    requires IsOrd1<F>
struct Ord1<ReverseK<F>> : detail::ThroughValue<F> {};

// ---- Two-parameter types -------------------------------------------------

template <>
struct Eq2<EitherK2> {
    template <class EqA, class EqB, class A, class B, class C, class D>
    static bool liftEq2(EqA&& eqA, EqB&& eqB, const Either<A, B>& p, const Either<C, D>& q) {
        if (p.isLeft() != q.isLeft()) return false;
        return p.isLeft() ? eqA(p.unsafeLeft(), q.unsafeLeft()) : eqB(p.unsafeRight(), q.unsafeRight());
    }
};
template <>
struct Ord2<EitherK2> {
    template <class CmpA, class CmpB, class A, class B, class C, class D>
    static Ordering liftCompare2(CmpA&& cmpA, CmpB&& cmpB, const Either<A, B>& p, const Either<C, D>& q) {
        if (p.isLeft() != q.isLeft()) return p.isLeft() ? LT : GT;
        return p.isLeft() ? cmpA(p.unsafeLeft(), q.unsafeLeft()) : cmpB(p.unsafeRight(), q.unsafeRight());
    }
};
template <>
struct Eq2<PairK2> {
    template <class EqA, class EqB, class A, class B, class C, class D>
    static bool liftEq2(EqA&& eqA, EqB&& eqB, const std::pair<A, B>& p, const std::pair<C, D>& q) {
        return eqA(p.first, q.first) && eqB(p.second, q.second);
    }
};
template <>
struct Ord2<PairK2> {
    template <class CmpA, class CmpB, class A, class B, class C, class D>
    static Ordering liftCompare2(CmpA&& cmpA, CmpB&& cmpB, const std::pair<A, B>& p, const std::pair<C, D>& q) {
        if (Ordering o = cmpA(p.first, q.first); o != EQ) return o;
        return cmpB(p.second, q.second);
    }
};
// Const and Constant compare their constant only.
template <>
struct Eq2<ConstK2> {
    template <class EqA, class EqB, class P, class Q>
    static bool liftEq2(EqA&& eqA, EqB&&, const P& p, const Q& q) {
        return eqA(p.value, q.value);
    }
};
template <>
struct Ord2<ConstK2> {
    template <class CmpA, class CmpB, class P, class Q>
    static Ordering liftCompare2(CmpA&& cmpA, CmpB&&, const P& p, const Q& q) {
        return cmpA(p.value, q.value);
    }
};
template <>
struct Eq2<ConstantK2> : Eq2<ConstK2> {};
template <>
struct Ord2<ConstantK2> : Ord2<ConstK2> {};
// Tagged compares its value only.
template <>
struct Eq2<TaggedK2> {
    template <class EqA, class EqB, class P, class Q>
    static bool liftEq2(EqA&&, EqB&& eqB, const P& p, const Q& q) {
        return eqB(p.value, q.value);
    }
};
template <>
struct Ord2<TaggedK2> {
    template <class CmpA, class CmpB, class P, class Q>
    static Ordering liftCompare2(CmpA&&, CmpB&& cmpB, const P& p, const Q& q) {
        return cmpB(p.value, q.value);
    }
};

}  // namespace core
