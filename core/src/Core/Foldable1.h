#pragma once
// Foldable1: folds of structures that always hold at least one element, so
// there is no empty case and a Semigroup is enough.
//
//   core::foldMap1(f, xs)             combine f(x) in a Semigroup
//   core::foldMap1Strict(f, xs)       the same, strictly left to right (foldMap1')
//   core::fold1(xs)                   combine the elements
//   core::toNonEmpty(xs)              the elements as a NonEmpty
//   core::maximum1, core::minimum1    (Foldable1's maximum and minimum)
//   core::head1, core::last1          first and last element
//   core::foldrMap1(f, g, xs)         f on the last element, then g(x, Lazy rest)
//                                     from the right
//   core::foldrMap1Strict(f, g, xs)   the same with g(x, acc)   (foldrMap1')
//   core::foldlMap1(f, g, xs)         f on the first element, then g(acc, x)
//   core::foldlMap1Strict(f, g, xs)   the same, a loop            (foldlMap1')
//
// The names carry a `1` where Foldable has a partial operation of the same
// name (maximum, minimum, head, last). maximum1 keeps the later of equal
// elements and minimum1 the earlier.
//
// An implementation is `template <> struct Foldable1<Tag>` deriving from
// Foldable1Defaults<Tag, Self> and supplying `toNonEmpty` (or foldMap1 and
// toNonEmpty). Implemented for NonEmpty, Identity, std::pair (the second
// component), Tagged, Compose and Product of Foldable1s, IdentityT,
// Backwards and Reverse.
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Foldable.h"
#include "Core/FunctorTypes.h"
#include "Core/LazyFold.h"
#include "Core/NonEmpty.h"
#include "Core/Semigroup.h"

namespace core {

template <class K>
struct Foldable1 {
    using NotImplemented = void;
};
template <class K>
concept IsFoldable1 = IsFoldable<K> && !requires { typename Foldable1<K>::NotImplemented; };

template <class K, class Self>
struct Foldable1Defaults {
    // A semigroup that can combine with an unevaluated right operand gets
    // the rest of the fold as a deferred value, so it can stop early, also
    // on an unbounded structure (as foldMap does); others combine in a loop.
    template <class F, class FA>
    static auto foldMap1(F&& f, const FA& xs) {
        using A = ArgOf<FA>;
        using M = Result<F&, const A&>;
        if constexpr (IsLazySemigroup<M>) {
            auto fn = std::decay_t<F>(std::forward<F>(f));
            return detail::lazyFoldrMap1<M>(
                       [fn](const A& x) { return M(fn(x)); },
                       [fn](const A& x, const Lazy<M>& rest) { return Semigroup<M>::combineLazy(fn(x), rest); },
                       detail::ListCursor<A>{Self::toNonEmpty(xs).toList()})
                .force();
        } else {
            return Self::foldMap1Strict(std::forward<F>(f), xs);
        }
    }
    template <class F, class FA>
    static auto foldMap1Strict(F&& f, const FA& xs) {
        using A = ArgOf<FA>;
        using M = Result<F&, const A&>;
        static_assert(IsSemigroup<M>, "foldMap1: no Semigroup implementation for the result type");
        NonEmpty<A> ne = Self::toNonEmpty(xs);
        M acc = f(ne.head);
        for (const A& x : ne.tail) acc = Semigroup<M>::combine(acc, f(x));
        return acc;
    }
    template <class FA>
    static auto fold1(const FA& xs) {
        return Self::foldMap1([](const ArgOf<FA>& x) { return x; }, xs);
    }
    template <class FA>
    static ArgOf<FA> maximum1(const FA& xs) {
        NonEmpty<ArgOf<FA>> ne = Self::toNonEmpty(xs);
        ArgOf<FA> m = ne.head;
        for (const auto& x : ne.tail)
            if (!(x < m)) m = x;
        return m;
    }
    template <class FA>
    static ArgOf<FA> minimum1(const FA& xs) {
        NonEmpty<ArgOf<FA>> ne = Self::toNonEmpty(xs);
        ArgOf<FA> m = ne.head;
        for (const auto& x : ne.tail)
            if (x < m) m = x;
        return m;
    }
    template <class FA>
    static ArgOf<FA> head1(const FA& xs) {
        return Self::toNonEmpty(xs).head;
    }
    template <class FA>
    static ArgOf<FA> last1(const FA& xs) {
        NonEmpty<ArgOf<FA>> ne = Self::toNonEmpty(xs);
        const ArgOf<FA>* last = &ne.head;
        for (const auto& x : ne.tail) last = &x;
        return *last;
    }
    template <class F, class G, class FA>
    static auto foldrMap1(F&& f, G&& g, const FA& xs) {
        using A = ArgOf<FA>;
        using B = Result<F&, const A&>;
        return detail::lazyFoldrMap1<B>(std::decay_t<F>(std::forward<F>(f)), std::decay_t<G>(std::forward<G>(g)),
                                        detail::ListCursor<A>{Self::toNonEmpty(xs).toList()})
            .force();
    }
    template <class F, class G, class FA>
    static auto foldrMap1Strict(F&& f, G&& g, const FA& xs) {
        using A = ArgOf<FA>;
        NonEmpty<A> ne = Self::toNonEmpty(xs);
        std::vector<const A*> elems{&ne.head};
        for (const A& x : ne.tail) elems.push_back(&x);
        auto acc = f(*elems.back());
        for (std::size_t i = elems.size() - 1; i > 0; --i) acc = g(*elems[i - 1], std::move(acc));
        return acc;
    }
    template <class F, class G, class FA>
    static auto foldlMap1(F&& f, G&& g, const FA& xs) {
        return Self::foldlMap1Strict(std::forward<F>(f), std::forward<G>(g), xs);
    }
    template <class F, class G, class FA>
    static auto foldlMap1Strict(F&& f, G&& g, const FA& xs) {
        NonEmpty<ArgOf<FA>> ne = Self::toNonEmpty(xs);
        auto acc = f(ne.head);
        for (const auto& x : ne.tail) acc = g(std::move(acc), x);
        return acc;
    }
};

// ---- Free functions ------------------------------------------------------

#define CORE_FOLDABLE1_DISPATCH(T, call)                                                        \
    using K = detail::KindOrNone<T>;                                                            \
    if constexpr (!IsFoldable1<K>)                                                              \
        static_assert(detail::alwaysFalse<T>, "no Foldable1 implementation for this type");    \
    else                                                                                        \
        return Foldable1<K>::call

template <class F, class FA>
auto foldMap1(F&& f, const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, foldMap1(std::forward<F>(f), xs));
}
template <class F, class FA>
auto foldMap1Strict(F&& f, const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, foldMap1Strict(std::forward<F>(f), xs));
}
template <class FA>
auto fold1(const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, fold1(xs));
}
template <class FA>
auto toNonEmpty(const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, toNonEmpty(xs));
}
template <class FA>
auto maximum1(const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, maximum1(xs));
}
template <class FA>
auto minimum1(const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, minimum1(xs));
}
template <class FA>
auto head1(const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, head1(xs));
}
template <class FA>
auto last1(const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, last1(xs));
}
template <class F, class G, class FA>
auto foldrMap1(F&& f, G&& g, const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, foldrMap1(std::forward<F>(f), std::forward<G>(g), xs));
}
template <class F, class G, class FA>
auto foldrMap1Strict(F&& f, G&& g, const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, foldrMap1Strict(std::forward<F>(f), std::forward<G>(g), xs));
}
template <class F, class G, class FA>
auto foldlMap1(F&& f, G&& g, const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, foldlMap1(std::forward<F>(f), std::forward<G>(g), xs));
}
template <class F, class G, class FA>
auto foldlMap1Strict(F&& f, G&& g, const FA& xs) {
    CORE_FOLDABLE1_DISPATCH(FA, foldlMap1Strict(std::forward<F>(f), std::forward<G>(g), xs));
}

#undef CORE_FOLDABLE1_DISPATCH

// ---- Implementations -----------------------------------------------------

template <>
struct Foldable1<NonEmptyK> : Foldable1Defaults<NonEmptyK, Foldable1<NonEmptyK>> {
    template <class A>
    static NonEmpty<A> toNonEmpty(const NonEmpty<A>& xs) {
        return xs;
    }
    template <class A>
    static A head1(const NonEmpty<A>& xs) {
        return xs.head;
    }
};

namespace detail {
// Foldable1 of a structure with exactly one element, reached by get().
template <class K, class Self>
struct Foldable1One : Foldable1Defaults<K, Self> {
    template <class FA>
    static NonEmpty<ArgOf<FA>> toNonEmpty(const FA& xs) {
        return NonEmpty<ArgOf<FA>>(*Self::get(xs));
    }
    template <class F, class FA>
    static auto foldMap1(F&& f, const FA& xs) {
        return f(*Self::get(xs));
    }
};
}  // namespace detail

template <>
struct Foldable1<IdentityK> : detail::Foldable1One<IdentityK, Foldable1<IdentityK>> {
    template <class A>
    static const A* get(const Identity<A>& x) {
        return &x.value;
    }
};
template <class W>
struct Foldable1<PairK<W>> : detail::Foldable1One<PairK<W>, Foldable1<PairK<W>>> {
    template <class A>
    static const A* get(const std::pair<W, A>& p) {
        return &p.second;
    }
};
template <class S>
struct Foldable1<TaggedK<S>> : detail::Foldable1One<TaggedK<S>, Foldable1<TaggedK<S>>> {
    template <class A>
    static const A* get(const Tagged<S, A>& x) {
        return &x.value;
    }
};

template <class F, class G>
    requires IsFoldable1<F> && IsFoldable1<G>
struct Foldable1<ComposeK<F, G>> : Foldable1Defaults<ComposeK<F, G>, Foldable1<ComposeK<F, G>>> {
    template <class A>
    static NonEmpty<A> toNonEmpty(const Compose<F, G, A>& x) {
        NonEmpty<Apply<G, A>> outer = Foldable1<F>::toNonEmpty(x.value);
        NonEmpty<A> first = Foldable1<G>::toNonEmpty(outer.head);
        std::vector<A> rest;
        for (const A& a : first.tail) rest.push_back(a);
        for (const auto& ga : outer.tail)
            Foldable<G>::foldlStrict(
                [](std::vector<A>* v, const A& a) {
                    v->push_back(a);
                    return v;
                },
                &rest, ga);
        return NonEmpty<A>(first.head, List<A>::fromVector(rest));
    }
};
template <class F, class G>
    requires IsFoldable1<F> && IsFoldable<G>
struct Foldable1<ProductK<F, G>> : Foldable1Defaults<ProductK<F, G>, Foldable1<ProductK<F, G>>> {
    template <class A>
    static NonEmpty<A> toNonEmpty(const Product<F, G, A>& x) {
        NonEmpty<A> a = Foldable1<F>::toNonEmpty(x.first);
        return NonEmpty<A>(a.head, a.tail.append(Foldable<G>::toList(x.second)));
    }
};
template <class M>
    requires IsFoldable1<M>
struct Foldable1<IdentityTK<M>> : Foldable1Defaults<IdentityTK<M>, Foldable1<IdentityTK<M>>> {
    template <class A>
    static NonEmpty<A> toNonEmpty(const IdentityT<M, A>& x) {
        return Foldable1<M>::toNonEmpty(x.value);
    }
};
template <class F>
    requires IsFoldable1<F>
struct Foldable1<BackwardsK<F>> : Foldable1Defaults<BackwardsK<F>, Foldable1<BackwardsK<F>>> {
    template <class A>
    static NonEmpty<A> toNonEmpty(const Backwards<F, A>& x) {
        return Foldable1<F>::toNonEmpty(x.value);
    }
};
template <class F>
    requires IsFoldable1<F>
struct Foldable1<ReverseK<F>> : Foldable1Defaults<ReverseK<F>, Foldable1<ReverseK<F>>> {
    template <class A>
    static NonEmpty<A> toNonEmpty(const Reverse<F, A>& x) {
        std::vector<A> v = Foldable<ReverseK<F>>::reversed(x);
        return NonEmpty<A>::fromVector(v);
    }
};

}  // namespace core
