#pragma once
// Part of module WithIndex (include "WithIndex.h"): the implementations for
// the persistent containers (core::Map, core::IntMap, core::Seq, core::Tree,
// core::Array) and the structural building blocks (core/Shapes.h).
#include <memory>
#include <vector>

#include "../WithIndex.h"
#include "Core/Array.h"
#include "Core/IntMap.h"
#include "Core/Map.h"
#include "Core/Seq.h"
#include "Core/Shapes.h"
#include "Core/Tree.h"

namespace nerrow {

// ---- Map and IntMap: the key, through the maps' own keyed operations ------------

namespace detail {
// K is the key type; the caller's left folds get index, accumulator,
// element, not the maps' own argument order.
template <class Tag, class K>
struct KeyedFunctor : FunctorWithIndexDefaults<Tag, KeyedFunctor<Tag, K>> {
    template <class F, class M>
    static auto imap(F&& f, const M& m) {
        return core::mapWithKey(std::forward<F>(f), m);
    }
};
template <class Tag, class K>
struct KeyedFolds : FoldableWithIndexDefaults<Tag, KeyedFolds<Tag, K>> {
    template <class F, class M>
    static auto ifoldMap(F&& f, const M& m) {
        return core::foldMapWithKey(std::forward<F>(f), m);
    }
    template <class F, class M>
    static auto ifoldMapStrict(F&& f, const M& m) {
        using V = typename M::mapped_type;
        using R = Res<F&, const K&, const V&>;
        return core::foldlWithKey([&f](R acc, const K& k, const V& v) { return core::Monoid<R>::mappend(acc, f(k, v)); },
                                  core::Monoid<R>::mempty(), m);
    }
    template <class F, class B, class M>
    static B ifoldr(F&& f, Lazy<B> z, const M& m) {
        return core::foldrWithKey(std::forward<F>(f), std::move(z), m);
    }
    template <class F, class B, class M>
    static B ifoldlStrict(F&& f, B z, const M& m) {
        using V = typename M::mapped_type;
        return core::foldlWithKey([&f](B acc, const K& k, const V& v) { return f(k, std::move(acc), v); }, std::move(z), m);
    }
    template <class F, class B, class M>
    static B ifoldl(F&& f, B z, const M& m) {
        return ifoldlStrict(std::forward<F>(f), std::move(z), m);
    }
    template <class F, class B, class M>
    static B ifoldrStrict(F&& f, B z, const M& m) {
        return core::foldrWithKeyStrict(std::forward<F>(f), std::move(z), m);
    }
};
template <class Tag, class K>
struct KeyedTraversable : TraversableWithIndexDefaults<Tag, KeyedTraversable<Tag, K>> {
    template <class F, class M>
    static auto itraverse(F&& f, const M& m) {
        return core::traverseWithKey(std::forward<F>(f), m);
    }
};
}  // namespace detail

template <class K>
struct IndexOf<core::OrdMapK<K>> {
    using type = K;
};
template <class K>
struct FunctorWithIndex<core::OrdMapK<K>> : detail::KeyedFunctor<core::OrdMapK<K>, K> {};
template <class K>
struct FoldableWithIndex<core::OrdMapK<K>> : detail::KeyedFolds<core::OrdMapK<K>, K> {};
template <class K>
struct TraversableWithIndex<core::OrdMapK<K>> : detail::KeyedTraversable<core::OrdMapK<K>, K> {};

template <>
struct IndexOf<core::IntMapK> {
    using type = Int;
};
template <>
struct FunctorWithIndex<core::IntMapK> : detail::KeyedFunctor<core::IntMapK, Int> {};
template <>
struct FoldableWithIndex<core::IntMapK> : detail::KeyedFolds<core::IntMapK, Int> {};
template <>
struct TraversableWithIndex<core::IntMapK> : detail::KeyedTraversable<core::IntMapK, Int> {};

// ---- Seq: the position, through the sequence's own indexed operations --------------

template <>
struct IndexOf<core::SeqK> {
    using type = Int;
};
template <>
struct FunctorWithIndex<core::SeqK> : FunctorWithIndexDefaults<core::SeqK, FunctorWithIndex<core::SeqK>> {
    template <class F, class A>
    static auto imap(F&& f, const core::Seq<A>& s) {
        return core::mapWithIndex([&f](Int i, const A& x) { return f(static_cast<const Int&>(i), x); }, s);
    }
};
template <>
struct FoldableWithIndex<core::SeqK> : FoldableWithIndexDefaults<core::SeqK, FoldableWithIndex<core::SeqK>> {
    // foldMapWithIndex; a monoid that can combine with an unevaluated right
    // operand gets the right-nested combination through foldrWithIndex,
    // so it stops at the first deciding element.
    template <class F, class A>
    static auto ifoldMap(F&& f, const core::Seq<A>& s) {
        using M = detail::Res<F&, const Int&, const A&>;
        static_assert(core::IsMonoid<M>, "ifoldMap: no Monoid implementation for the result type");
        if constexpr (core::IsLazySemigroup<M>) {
            return ifoldr(
                [f = std::decay_t<F>(std::forward<F>(f))](const Int& i, const A& x, const Lazy<M>& rest) {
                    return core::Semigroup<M>::combineLazy(f(i, x), rest);
                },
                core::now(core::Monoid<M>::mempty()), s);
        } else {
            return core::foldMapWithIndex([&f](Int i, const A& x) { return f(static_cast<const Int&>(i), x); }, s);
        }
    }
    template <class F, class A>
    static auto ifoldMapStrict(F&& f, const core::Seq<A>& s) {
        using M = detail::Res<F&, const Int&, const A&>;
        return core::foldlWithIndex([&f](M acc, Int i, const A& x) { return core::Monoid<M>::mappend(acc, f(static_cast<const Int&>(i), x)); },
                                    core::Monoid<M>::mempty(), s);
    }
    template <class F, class B, class A>
    static B ifoldr(F&& f, Lazy<B> z, const core::Seq<A>& s) {
        return core::foldrWithIndex(
            [f = std::decay_t<F>(std::forward<F>(f))](Int i, const A& x, const Lazy<B>& rest) {
                return f(static_cast<const Int&>(i), x, rest);
            },
            std::move(z), s);
    }
    template <class F, class B, class A>
    static B ifoldlStrict(F&& f, B z, const core::Seq<A>& s) {
        return core::foldlWithIndex([&f](B acc, Int i, const A& x) { return f(static_cast<const Int&>(i), std::move(acc), x); },
                                    std::move(z), s);
    }
    template <class F, class B, class A>
    static B ifoldl(F&& f, B z, const core::Seq<A>& s) {
        return ifoldlStrict(std::forward<F>(f), std::move(z), s);
    }
    template <class F, class B, class A>
    static B ifoldrStrict(F&& f, B z, const core::Seq<A>& s) {
        for (std::size_t k = s.size(); k > 0; --k) {
            const Int i = static_cast<Int>(k - 1);
            z = f(i, s.at(i), std::move(z));
        }
        return z;
    }
};
template <>
struct TraversableWithIndex<core::SeqK> : TraversableWithIndexDefaults<core::SeqK, TraversableWithIndex<core::SeqK>> {
    template <class F, class A>
    static auto itraverse(F&& f, const core::Seq<A>& s) {
        return core::traverseWithIndex([&f](Int i, const A& x) { return f(static_cast<const Int&>(i), x); }, s);
    }
};

// ---- Tree: the path of child positions from the root ------------------------------------

namespace detail {
// A node's index: the path `prefix`, outermost first.
inline List<Int> treePath(const std::vector<Int>& prefix) {
    return List<Int>(prefix);
}
template <class B, class A, class F>
core::Tree<B> imapTreeAt(const std::shared_ptr<const F>& f, const std::vector<Int>& prefix, const core::Tree<A>& t) {
    B label = (*f)(treePath(prefix), t.rootLabel);
    auto child = [f, prefix](const Int& i, const core::Tree<A>& sub) {
        std::vector<Int> p = prefix;
        p.push_back(i);
        return imapTreeAt<B>(f, p, sub);
    };
    return core::Tree<B>(std::move(label), FunctorWithIndex<core::ListK>::imap(std::move(child), t.subForest));
}
template <class F, class A, class M = Res<const F&, const List<Int>&, const A&>>
M ifoldMapTreeAt(const std::shared_ptr<const F>& f, const std::vector<Int>& prefix, const core::Tree<A>& t) {
    M here = (*f)(treePath(prefix), t.rootLabel);
    auto child = [f, prefix](const Int& i, const core::Tree<A>& sub) {
        std::vector<Int> p = prefix;
        p.push_back(i);
        return ifoldMapTreeAt(f, p, sub);
    };
    if constexpr (core::IsLazySemigroup<M>)
        return core::Semigroup<M>::combineLazy(
            here, core::defer([child, forest = t.subForest] { return ifoldMapListOff(0, child, forest); }));
    else
        return core::Monoid<M>::mappend(here, ifoldMapListOff(0, child, t.subForest));
}
template <class F, class A, class E = IEffectOf<F, List<Int>, A>>
core::Apply<typename E::G, core::Tree<typename E::B>> itraverseTreeAt(const std::shared_ptr<const F>& f,
                                                                      const std::vector<Int>& prefix,
                                                                      const core::Tree<A>& t) {
    using B = typename E::B;
    auto here = (*f)(treePath(prefix), t.rootLabel);
    auto child = [f, prefix](const Int& i, const core::Tree<A>& sub) {
        std::vector<Int> p = prefix;
        p.push_back(i);
        return itraverseTreeAt(f, p, sub);
    };
    // The subtrees are not visited when the node's effect has already failed.
    return liftA2ThenRest<typename E::G>(
        [](B b, List<core::Tree<B>> ts) { return core::Tree<B>(std::move(b), std::move(ts)); }, std::move(here),
        [&] { return itraverseListOff(0, child, t.subForest); });
}
}  // namespace detail

template <>
struct IndexOf<core::TreeK> {
    using type = List<Int>;
};
template <>
struct FunctorWithIndex<core::TreeK> : FunctorWithIndexDefaults<core::TreeK, FunctorWithIndex<core::TreeK>> {
    // Node(f([], a), ts') where subtree i becomes imap(path -> f(i : path), t_i);
    // the subtrees are mapped when they are demanded.
    template <class F, class A>
    static auto imap(F&& f, const core::Tree<A>& t) {
        using Fn = std::decay_t<F>;
        using B = detail::Res<const Fn&, const List<Int>&, const A&>;
        return detail::imapTreeAt<B>(std::make_shared<const Fn>(std::forward<F>(f)), {}, t);
    }
};
template <>
struct FoldableWithIndex<core::TreeK> : FoldableWithIndexDefaults<core::TreeK, FoldableWithIndex<core::TreeK>> {
    // mappend(f([], a), ifoldMapListOff(0, (i, t) -> ifoldMap(path -> f(i : path), t), ts)).
    template <class F, class A>
    static auto ifoldMap(F&& f, const core::Tree<A>& t) {
        using Fn = std::decay_t<F>;
        return detail::ifoldMapTreeAt(std::make_shared<const Fn>(std::forward<F>(f)), {}, t);
    }
};
template <>
struct TraversableWithIndex<core::TreeK> : TraversableWithIndexDefaults<core::TreeK, TraversableWithIndex<core::TreeK>> {
    // liftA2(Node, f([], a), itraverseListOff(0, (i, t) -> itraverse(path -> f(i : path), t), ts)):
    // the node's effect first, then its subtrees' front to back.
    template <class F, class A>
    static auto itraverse(F&& f, const core::Tree<A>& t) {
        using Fn = std::decay_t<F>;
        return detail::itraverseTreeAt(std::make_shared<const Fn>(std::forward<F>(f)), {}, t);
    }
};

// ---- Array: the array index, in the order of the bounds' range ------------------------------

template <class I>
struct IndexOf<core::ArrayK<I>> {
    using type = I;
};
template <class I>
struct FunctorWithIndex<core::ArrayK<I>> : FunctorWithIndexDefaults<core::ArrayK<I>, FunctorWithIndex<core::ArrayK<I>>> {
    // The same bounds, f(i, arr[i]) at every index i.
    template <class F, class A>
    static auto imap(F&& f, const core::Array<I, A>& a) {
        using B = detail::Res<F&, const I&, const A&>;
        const std::vector<I> is = a.indices();
        std::vector<B> out;
        out.reserve(is.size());
        for (std::size_t k = 0; k < is.size(); ++k) out.push_back(f(is[k], a.atPosition(k)));
        return core::Array<I, B>(a.bounds(), std::move(out));
    }
};
template <class I>
struct FoldableWithIndex<core::ArrayK<I>> : FoldableWithIndexDefaults<core::ArrayK<I>, FoldableWithIndex<core::ArrayK<I>>> {
    // Each index paired with its element, the caller's function applied to
    // the pair through uncurryStrict.
    template <class A>
    static std::vector<std::pair<I, A>> pairs(const core::Array<I, A>& a) {
        return a.assocs();
    }
    template <class F, class A>
    static auto ifoldMap(F&& f, const core::Array<I, A>& a) {
        using M = detail::Res<F&, const I&, const A&>;
        static_assert(core::IsMonoid<M>, "ifoldMap: no Monoid implementation for the result type");
        if constexpr (core::IsLazySemigroup<M>) {
            return ifoldr(
                [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x, const Lazy<M>& rest) {
                    return core::Semigroup<M>::combineLazy(f(i, x), rest);
                },
                core::now(core::Monoid<M>::mempty()), a);
        } else {
            M acc = core::Monoid<M>::mempty();
            for (const auto& p : pairs(a)) acc = core::Semigroup<M>::combine(acc, uncurryStrict(f, p));
            return acc;
        }
    }
    template <class F, class A>
    static auto ifoldMapStrict(F&& f, const core::Array<I, A>& a) {
        using M = detail::Res<F&, const I&, const A&>;
        M acc = core::Monoid<M>::mempty();
        for (const auto& p : pairs(a)) acc = core::Monoid<M>::mappend(acc, uncurryStrict(f, p));
        return acc;
    }
    template <class F, class B, class A>
    static B ifoldr(F&& f, Lazy<B> z, const core::Array<I, A>& a) {
        if (a.empty()) return z.force();
        auto v = std::make_shared<const std::vector<std::pair<I, A>>>(pairs(a));
        auto g = [f = std::decay_t<F>(std::forward<F>(f))](const std::pair<I, A>& p, const Lazy<B>& rest) {
            return f(p.first, p.second, rest);
        };
        using Ctx = detail::IFoldrCtx<B, std::pair<I, A>, decltype(g)>;
        auto ctx = std::make_shared<const Ctx>(Ctx{std::move(g), std::move(z)});
        return pairsGo<B>(ctx, v, 0);
    }
    template <class F, class B, class A>
    static B ifoldlStrict(F&& f, B z, const core::Array<I, A>& a) {
        for (const auto& p : pairs(a))
            z = uncurryStrict([&](const I& i, const A& x) { return f(i, std::move(z), x); }, p);
        return z;
    }
    template <class F, class B, class A>
    static B ifoldl(F&& f, B z, const core::Array<I, A>& a) {
        return ifoldlStrict(std::forward<F>(f), std::move(z), a);
    }
    template <class F, class B, class A>
    static B ifoldrStrict(F&& f, B z, const core::Array<I, A>& a) {
        const auto ps = pairs(a);
        for (auto it = ps.rbegin(); it != ps.rend(); ++it)
            z = uncurryStrict([&](const I& i, const A& x) { return f(i, x, std::move(z)); }, *it);
        return z;
    }

private:
    template <class B, class Ctx, class V>
    static B pairsGo(const std::shared_ptr<const Ctx>& ctx, const std::shared_ptr<V>& v, std::size_t k) {
        if (k >= v->size()) return ctx->z.force();
        return ctx->f((*v)[k], Lazy<B>::fromFunction([ctx, v, k]() -> B { return pairsGo<B>(ctx, v, k + 1); }));
    }
};
template <class I>
struct TraversableWithIndex<core::ArrayK<I>>
    : TraversableWithIndexDefaults<core::ArrayK<I>, TraversableWithIndex<core::ArrayK<I>>> {
    // f(i, arr[i]) over the range, rebuilt with the same bounds.
    template <class F, class A>
    static auto itraverse(F&& f, const core::Array<I, A>& a) {
        using E = detail::IEffectOf<std::decay_t<F>, I, A>;
        using G = typename E::G;
        using B = typename E::B;
        const std::vector<I> is = a.indices();
        auto eff = [&f, &is, &a](detail::CountingIt it, Int) { return f(is[*it], a.atPosition(*it)); };
        auto vs = detail::itraverseRange<G, B>(eff, detail::CountingIt{0}, detail::CountingIt{is.size()}, 0, is.size());
        return core::Functor<G>::fmap([b = a.bounds()](std::vector<B> v) { return core::Array<I, B>(b, std::move(v)); },
                                      std::move(vs));
    }
};

// ---- The structural building blocks ------------------------------------------------------------

// Par1: one element at index unit (like Identity).
template <>
struct IndexOf<core::Par1K> {
    using type = Unit;
};
template <>
struct FunctorWithIndex<core::Par1K> : FunctorWithIndexDefaults<core::Par1K, FunctorWithIndex<core::Par1K>> {
    template <class F, class A>
    static auto imap(F&& f, const core::Par1<A>& x) {
        return core::Par1<detail::Res<F&, const Unit&, const A&>>{f(core::unit, x.value)};
    }
};
template <>
struct FoldableWithIndex<core::Par1K> : detail::AtMostOneFolds<core::Par1K, FoldableWithIndex<core::Par1K>> {
    template <class A>
    static const A* get(const core::Par1<A>& x) {
        return &x.value;
    }
};
template <>
struct TraversableWithIndex<core::Par1K> : TraversableWithIndexDefaults<core::Par1K, TraversableWithIndex<core::Par1K>> {
    template <class F, class A>
    static auto itraverse(F&& f, const core::Par1<A>& x) {
        using E = detail::IEffectOf<std::decay_t<F>, Unit, A>;
        using B = typename E::B;
        return core::Functor<typename E::G>::fmap([](B b) { return core::Par1<B>{std::move(b)}; }, f(core::unit, x.value));
    }
};

// Rec1: the inner kind's index (like IdentityT).
template <class F>
    requires requires { typename IndexOf<F>::type; }
struct IndexOf<core::Rec1K<F>> {
    using type = IndexT<F>;
};
template <class F>
    requires IsFunctorWithIndex<F>
struct FunctorWithIndex<core::Rec1K<F>> : detail::DelegatingFunctor<core::Rec1K<F>, F, core::Rec1> {};
template <class F>
    requires IsFoldableWithIndex<F>
struct FoldableWithIndex<core::Rec1K<F>> : detail::DelegatingFolds<core::Rec1K<F>, F, core::Rec1> {};
template <class F>
    requires IsTraversableWithIndex<F>
struct TraversableWithIndex<core::Rec1K<F>> : detail::DelegatingTraversable<core::Rec1K<F>, F, core::Rec1> {};

// K1 and U1: no elements, index Void (like Const and Proxy).
template <class C>
struct IndexOf<core::K1K<C>> {
    using type = Void;
};
template <class C>
struct FunctorWithIndex<core::K1K<C>> : detail::NoElementsFunctor<core::K1K<C>, FunctorWithIndex<core::K1K<C>>> {
    template <class B, class A>
    static core::K1<C, B> rebuild(const core::K1<C, A>& x) {
        return {x.value};
    }
};
template <class C>
struct FoldableWithIndex<core::K1K<C>> : detail::NoElementsFolds<core::K1K<C>, FoldableWithIndex<core::K1K<C>>> {};
template <class C>
struct TraversableWithIndex<core::K1K<C>>
    : detail::NoElementsTraversable<core::K1K<C>, TraversableWithIndex<core::K1K<C>>, FunctorWithIndex<core::K1K<C>>> {};

template <>
struct IndexOf<core::U1K> {
    using type = Void;
};
template <>
struct FunctorWithIndex<core::U1K> : detail::NoElementsFunctor<core::U1K, FunctorWithIndex<core::U1K>> {
    template <class B, class A>
    static core::U1<B> rebuild(const core::U1<A>&) {
        return {};
    }
};
template <>
struct FoldableWithIndex<core::U1K> : detail::NoElementsFolds<core::U1K, FoldableWithIndex<core::U1K>> {};
template <>
struct TraversableWithIndex<core::U1K>
    : detail::NoElementsTraversable<core::U1K, TraversableWithIndex<core::U1K>, FunctorWithIndex<core::U1K>> {};

// V1: no values exist, so no operation can be called; each only takes its
// container argument apart.
template <>
struct IndexOf<core::V1K> {
    using type = Void;
};
template <>
struct FunctorWithIndex<core::V1K> : FunctorWithIndexDefaults<core::V1K, FunctorWithIndex<core::V1K>> {
    template <class F, class A>
    static auto imap(F&&, const core::V1<A>& v) {
        return core::absurdV1<core::V1<detail::Res<F&, const Void&, const A&>>>(v);
    }
};
template <>
struct FoldableWithIndex<core::V1K> : FoldableWithIndexDefaults<core::V1K, FoldableWithIndex<core::V1K>> {
    template <class F, class A>
    static auto ifoldMap(F&&, const core::V1<A>& v) {
        return core::absurdV1<detail::Res<F&, const Void&, const A&>>(v);
    }
    template <class F, class A>
    static auto ifoldMapStrict(F&&, const core::V1<A>& v) {
        return core::absurdV1<detail::Res<F&, const Void&, const A&>>(v);
    }
    template <class F, class B, class A>
    static B ifoldr(F&&, Lazy<B>, const core::V1<A>& v) {
        return core::absurdV1<B>(v);
    }
    template <class F, class B, class A>
    static B ifoldl(F&&, B, const core::V1<A>& v) {
        return core::absurdV1<B>(v);
    }
    template <class F, class B, class A>
    static B ifoldrStrict(F&&, B, const core::V1<A>& v) {
        return core::absurdV1<B>(v);
    }
    template <class F, class B, class A>
    static B ifoldlStrict(F&&, B, const core::V1<A>& v) {
        return core::absurdV1<B>(v);
    }
};
template <>
struct TraversableWithIndex<core::V1K> : TraversableWithIndexDefaults<core::V1K, TraversableWithIndex<core::V1K>> {
    template <class F, class A>
    static auto itraverse(F&&, const core::V1<A>& v) {
        using E = detail::IEffectOf<std::decay_t<F>, Void, A>;
        return core::absurdV1<core::Apply<typename E::G, core::V1<typename E::B>>>(v);
    }
};

}  // namespace nerrow
