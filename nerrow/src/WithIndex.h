#pragma once
// Indexed mapping, folding and traversal.
//
//   nerrow::imap(f, xs)              f(i, x) for every element x at index i
//   nerrow::ifoldMap(f, xs)          combine f(i, x) in a Monoid, in order
//   nerrow::ifoldMapStrict(f, xs)    the same, accumulated from the left (ifoldMap')
//   nerrow::ifoldr(f, z, xs)         f(i, x, rest): rest is a core::Lazy<B>, so
//                                    f may stop the fold, also on an unbounded List
//   nerrow::ifoldl(f, z, xs)         f(i, acc, x) from the left
//   nerrow::ifoldrStrict(f, z, xs)   f(i, x, acc) from the right end (ifoldr')
//   nerrow::ifoldlStrict(f, z, xs)   f(i, acc, x), a loop (ifoldl')
//   nerrow::itraverse(f, xs)         run f(i, x) in order (any Applicative) and
//                                    rebuild the same shape from the results
//   nerrow::ifoldMap1(f, xs) ...     the non-empty folds (Foldable1WithIndex)
//
// The index type is fixed by the container kind, so no caller names it:
// `Int` positions for core::List, NonEmpty, ZipList, std::vector,
// std::deque, std::array and std::span (which is only folded); the key
// for std::map and std::pair's first component; core::Unit for
// std::optional and Identity; core::Void for Proxy, Const and Constant
// (their functions are never called); (outer, inner) for Compose;
// core::Either<I, J> (Left for the first part) for Product and Sum; the
// inner index for IdentityT, Backwards and Reverse (which folds and
// traverses back to front without renumbering); (environment, inner index)
// for ReaderT; the argument for functions; the key for core::Map and
// core::IntMap (ascending keys); the position for core::Seq; the path of
// child positions (a core::List<Int>, the root's is empty) for core::Tree,
// in pre-order; the array index for core::Array, in the order of its
// bounds' range; and, for the structural building blocks of Core/Shapes.h,
// the index of the kind each one mirrors. `nerrow::IndexT<Tag>` names it.
//
// An implementation is a specialisation `template <> struct
// FunctorWithIndex<Tag>` (FoldableWithIndex, TraversableWithIndex,
// Foldable1WithIndex) deriving from the matching `...Defaults<Tag, Self>`
// and an `IndexOf<Tag>` giving the index type. The defaults lean on one
// another, so an implementation supplies at least: `imap` (or `itraverse`,
// through imapDefault); `ifoldMap` (or `itraverse`, through
// ifoldMapDefault; `ifoldr` alone does not suffice); `itraverse`, unless
// the index is Int, in which case the plain core::traverse suffices (the
// positions are numbered by the Indexing applicative); `ifoldMap1` or
// `ifoldrMap1`.
//
// Auxiliary types: Indexing (numbering positions during a plain traverse),
// Sequenced and Traversed (monoids sequencing actions with `then` and
// `apRight`), FromMaybe and SMaybe (the non-empty folds' defaults), and the
// helpers skip and uncurryStrict.
#include <algorithm>
#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Either.h"
#include "Core/Error.h"
#include "Core/Foldable.h"
#include "Core/Foldable1.h"
#include "Core/Functor.h"
#include "Core/FunctorTypes.h"
#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/List.h"
#include "Core/Monad.h"
#include "Core/Monoids.h"
#include "Core/NonEmpty.h"
#include "Core/Semigroup.h"
#include "Core/Shapes.h"
#include "Core/State.h"
#include "Core/Traversable.h"
#include "Core/Types.h"

namespace nerrow {

using core::Int;
using core::Lazy;
using core::List;
using core::NonEmpty;
using core::Unit;
using core::Void;

// ---- Index types ----------------------------------------------------------

// The index type of a container kind: `IndexOf<Tag>::type`.
template <class K>
struct IndexOf {};
template <class K>
using IndexT = typename IndexOf<K>::type;

// ---- Interfaces -----------------------------------------------------------

template <class K>
struct FunctorWithIndex {
    using NotImplemented = void;
};
template <class K>
struct FoldableWithIndex {
    using NotImplemented = void;
};
template <class K>
struct TraversableWithIndex {
    using NotImplemented = void;
};
template <class K>
struct Foldable1WithIndex {
    using NotImplemented = void;
};

// True when the tag K implements the interface (and what it requires).
template <class K>
concept IsFunctorWithIndex =
    core::IsFunctor<K> && !requires { typename FunctorWithIndex<K>::NotImplemented; } && requires {
        typename IndexOf<K>::type;
    };
template <class K>
concept IsFoldableWithIndex =
    core::IsFoldable<K> && !requires { typename FoldableWithIndex<K>::NotImplemented; } && requires {
        typename IndexOf<K>::type;
    };
template <class K>
concept IsTraversableWithIndex = IsFunctorWithIndex<K> && IsFoldableWithIndex<K> && core::IsTraversable<K> &&
                                 !requires { typename TraversableWithIndex<K>::NotImplemented; };
template <class K>
concept IsFoldable1WithIndex = core::IsFoldable1<K> && IsFoldableWithIndex<K> &&
                               !requires { typename Foldable1WithIndex<K>::NotImplemented; };

// ---- Small helpers --------------------------------------------------------

// Ignores its argument and returns the unit value (without looking at it).
template <class T>
constexpr Unit skip(const T&) noexcept {
    return core::unit;
}
// Takes the pair apart at once and returns h(first, second) (uncurry').
template <class H, class P>
decltype(auto) uncurryStrict(H&& h, P&& p) {
    return std::forward<H>(h)(std::forward<P>(p).first, std::forward<P>(p).second);
}

namespace detail {
// The raising sites of the placeholders of Sequenced and Traversed (in
// WithIndex.cpp): core::Error with the message and the site's location.
[[noreturn]] void sequencedValueUsed();
[[noreturn]] void traversedValueUsed();

template <class T>
inline constexpr bool alwaysFalse = false;

// Result type of an indexed function.
template <class F, class... A>
using Res = core::Result<F, A...>;

// The applicative of an indexed function's results and their element type.
template <class F, class I, class A>
struct IEffectOf {
    using GB = Res<const F&, const I&, const A&>;
    static_assert(core::HasKind<GB>, "itraverse: the function must return an applicative value (a type with a kind tag)");
    using G = core::KindOfT<GB>;
    using B = core::ArgOf<GB>;
};

// Applicatives whose combination gives up at a failed left effect without
// looking at the right one (so folds in Traversed/Sequenced can stop).
template <class G>
struct ShortCircuit {
    static constexpr bool value = false;
};
// `failure<R>(x)` gives the failed value x under the result type R.
template <>
struct ShortCircuit<core::OptionalK> {
    static constexpr bool value = true;
    template <class A>
    static bool failed(const std::optional<A>& x) noexcept {
        return !x.has_value();
    }
    template <class R, class A>
    static R failure(const std::optional<A>&) {
        return R();
    }
};
template <class L>
struct ShortCircuit<core::EitherK<L>> {
    static constexpr bool value = true;
    template <class A>
    static bool failed(const core::Either<L, A>& x) noexcept {
        return x.isLeft();
    }
    template <class R, class A>
    static R failure(const core::Either<L, A>& x) {
        return R::left(x.unsafeLeft());
    }
};
// A monad seen as an applicative gives up where the monad does.
template <class M>
    requires ShortCircuit<M>::value
struct ShortCircuit<core::WrappedMonadK<M>> {
    static constexpr bool value = true;
    template <class A>
    static bool failed(const core::WrappedMonad<M, A>& x) noexcept {
        return ShortCircuit<M>::failed(x.value);
    }
    template <class R, class A>
    static R failure(const core::WrappedMonad<M, A>& x) {
        return R{ShortCircuit<M>::template failure<decltype(R::value)>(x.value)};
    }
};

// liftA2(h, ea, rest()), where rest() is made only when G's combination
// looks at it: after a failed ea (std::optional, Either) the rest of the
// structure is not visited, as the combination would not demand it.
template <class G, class H, class EA, class Rest>
auto liftA2ThenRest(H&& h, EA&& ea, Rest&& rest) {
    using R = decltype(core::Applicative<G>::liftA2(std::forward<H>(h), std::forward<EA>(ea), rest()));
    if constexpr (ShortCircuit<G>::value) {
        if (ShortCircuit<G>::failed(ea)) return ShortCircuit<G>::template failure<R>(ea);
    }
    return core::Applicative<G>::liftA2(std::forward<H>(h), std::forward<EA>(ea), rest());
}
}  // namespace detail

// ---- SMaybe ---------------------------------------------------------------

// A strict optional value: SNothing (first alternative) or SJust(x)
// (second), whose payload is evaluated when it is built.
struct SNothingT {
    friend constexpr bool operator==(SNothingT, SNothingT) noexcept { return true; }
};
inline constexpr SNothingT SNothing{};

template <class A>
class SMaybe {
public:
    using value_type = A;
    SMaybe(SNothingT) noexcept {}
    static SMaybe just(A x) {
        SMaybe m(SNothing);
        m.v_.emplace(std::move(x));
        return m;
    }
    bool isJust() const noexcept { return v_.has_value(); }
    bool isNothing() const noexcept { return !v_.has_value(); }
    // The payload; only for SJust.
    const A& fromJust() const { return *v_; }
    // 0 for SNothing, 1 for SJust.
    int index() const noexcept { return v_ ? 1 : 0; }
    friend bool operator==(const SMaybe&, const SMaybe&) = default;

private:
    std::optional<A> v_;
};
template <class A>
SMaybe<std::decay_t<A>> SJust(A&& x) {
    return SMaybe<std::decay_t<A>>::just(std::forward<A>(x));
}

// ---- FromMaybe ------------------------------------------------------------

// A function Maybe<B> -> B; as a Semigroup, (p <> q)(m) = p(Just(q(m))), so
// that each element of a non-empty fold learns whether a result lies to
// its right (applied to Nothing, the rightmost element receives Nothing).
template <class B>
struct FromMaybe {
    std::function<B(const std::optional<B>&)> fn;
};
template <class B>
B appFromMaybe(const FromMaybe<B>& p, const std::type_identity_t<std::optional<B>>& m) {
    return p.fn(m);
}

// ---- Indexing -------------------------------------------------------------

// A function from a counter to (next counter, G<A>): threads a position
// through an applicative computation from left to right.
template <class G, class A>
struct Indexing {
    using value_type = A;
    std::function<std::pair<Int, core::Apply<G, A>>(Int)> run;
};
template <class G, class A>
const std::function<std::pair<Int, core::Apply<G, A>>(Int)>& runIndexing(const Indexing<G, A>& m) {
    return m.run;
}
template <class G>
struct IndexingK {
    template <class A>
    using apply = Indexing<G, A>;
};

// ---- Sequenced and Traversed ----------------------------------------------

// An action M<A>; a Monoid that sequences actions with core::then.
template <class M, class A>
struct Sequenced {
    using value_type = A;
    core::Apply<M, A> value;
};
template <class M, class A>
const core::Apply<M, A>& getSequenced(const Sequenced<M, A>& x) {
    return x.value;
}
// An effect G<A>; a Monoid that sequences effects with core::apRight.
template <class G, class A>
struct Traversed {
    using value_type = A;
    core::Apply<G, A> value;
};
template <class G, class A>
const core::Apply<G, A>& getTraversed(const Traversed<G, A>& x) {
    return x.value;
}

// The result carried by the identity of Sequenced and Traversed: a value
// of type A that raises core::Error when demanded. Given for core::Lazy<T>
// (raising on force()); specialise it for other result types.
template <class A>
struct Placeholder {};
template <class T>
struct Placeholder<core::Lazy<T>> {
    static core::Lazy<T> sequenced() {
        return core::Lazy<T>::fromFunction([]() -> T { detail::sequencedValueUsed(); });
    }
    static core::Lazy<T> traversed() {
        return core::Lazy<T>::fromFunction([]() -> T { detail::traversedValueUsed(); });
    }
};
template <class A>
concept HasPlaceholder = requires {
    { Placeholder<A>::sequenced() } -> std::same_as<A>;
};

}  // namespace nerrow

// ---- Kinds and interfaces of the auxiliary types ---------------------------

namespace core {

template <class G, class A>
struct KindOf<nerrow::Indexing<G, A>> {
    using kind = nerrow::IndexingK<G>;
    using arg = A;
};

template <class G>
    requires IsFunctor<G>
struct Functor<nerrow::IndexingK<G>> : FunctorDefaults<nerrow::IndexingK<G>, Functor<nerrow::IndexingK<G>>> {
    // The counter functions are moved out of temporaries, so that building
    // a chain of n steps costs O(n).
    template <class F, class M>
    static auto fmap(F&& f, M&& m) {
        using A = ArgOf<M>;
        using B = Result<const std::decay_t<F>&, const A&>;
        return nerrow::Indexing<G, B>{[f = std::decay_t<F>(std::forward<F>(f)), run = std::forward<M>(m).run](Int i) {
            auto [j, e] = run(i);
            return std::pair<Int, Apply<G, B>>(j, Functor<G>::fmap(f, std::move(e)));
        }};
    }
};
template <class G>
    requires IsApplicative<G>
struct Applicative<nerrow::IndexingK<G>>
    : ApplicativeDefaults<nerrow::IndexingK<G>, Applicative<nerrow::IndexingK<G>>> {
    // Consumes no position.
    template <class A>
    static auto pure(A&& x) {
        using V = std::decay_t<A>;
        return nerrow::Indexing<G, V>{
            [x = V(std::forward<A>(x))](Int i) { return std::pair<Int, Apply<G, V>>(i, Applicative<G>::pure(x)); }};
    }
    // The left side runs first; the right starts from the counter the left
    // side ended with.
    template <class F, class MA, class MB>
    static auto liftA2(F&& f, MA&& ma, MB&& mb) {
        using A = ArgOf<MA>;
        using B = ArgOf<MB>;
        using C = Result<const std::decay_t<F>&, const A&, const B&>;
        return nerrow::Indexing<G, C>{[f = std::decay_t<F>(std::forward<F>(f)), ra = std::forward<MA>(ma).run,
                                       rb = std::forward<MB>(mb).run](Int i) {
            auto [j, ea] = ra(i);
            auto [k, eb] = rb(j);
            return std::pair<Int, Apply<G, C>>(k, Applicative<G>::liftA2(f, std::move(ea), std::move(eb)));
        }};
    }
    template <class MF, class MA>
    static auto ap(MF&& mf, MA&& mx) {
        using FF = ArgOf<MF>;
        using A = ArgOf<MA>;
        return liftA2([](const FF& g, const A& a) { return g(a); }, std::forward<MF>(mf), std::forward<MA>(mx));
    }
    // Effects combined as fmap(discard the first result, ea) <*> eb.
    template <class MA, class MB>
    static auto apRight(MA&& ma, MB&& mb) {
        using A = ArgOf<MA>;
        using B = ArgOf<MB>;
        return nerrow::Indexing<G, B>{[ra = std::forward<MA>(ma).run, rb = std::forward<MB>(mb).run](Int i) {
            auto [j, ea] = ra(i);
            auto [k, eb] = rb(j);
            auto discard = Functor<G>::fmap(
                [](const A&) { return std::function<B(const B&)>([](const B& b) { return b; }); }, std::move(ea));
            return std::pair<Int, Apply<G, B>>(k, Applicative<G>::ap(std::move(discard), std::move(eb)));
        }};
    }
    template <class MA, class MB>
    static auto apLeft(MA&& ma, MB&& mb) {
        using A = ArgOf<MA>;
        using B = ArgOf<MB>;
        return liftA2([](const A& a, const B&) { return a; }, std::forward<MA>(ma), std::forward<MB>(mb));
    }
};

// Sequenced: a <> b = a >> b; mempty = return(placeholder).
template <class M, class A>
    requires IsMonad<M>
struct Semigroup<nerrow::Sequenced<M, A>> : SemigroupDefaults<nerrow::Sequenced<M, A>, Semigroup<nerrow::Sequenced<M, A>>> {
    using T = nerrow::Sequenced<M, A>;
    static T combine(const T& a, const T& b) { return T{Monad<M>::then(a.value, b.value)}; }
    // A failed left action ends the combination without demanding the right.
    static T combineLazy(const T& a, const Lazy<T>& b)
        requires nerrow::detail::ShortCircuit<M>::value
    {
        if (nerrow::detail::ShortCircuit<M>::failed(a.value)) return a;
        return combine(a, b.force());
    }
    // x1 >> (x2 >> ... >> xn), nested to the right.
    static T sconcat(const NonEmpty<T>& xs) {
        std::vector<T> v = xs.toVector();
        T acc = v.back();
        for (std::size_t i = v.size() - 1; i > 0; --i) acc = combine(v[i - 1], acc);
        return acc;
    }
};
template <class M, class A>
    requires IsMonad<M> && nerrow::HasPlaceholder<A>
struct Monoid<nerrow::Sequenced<M, A>> : MonoidDefaults<nerrow::Sequenced<M, A>, Monoid<nerrow::Sequenced<M, A>>> {
    using T = nerrow::Sequenced<M, A>;
    static T mempty() { return T{Applicative<M>::pure(nerrow::Placeholder<A>::sequenced())}; }
    // x1 >> (x2 >> ... (xn >> mempty)).
    static T mconcat(const List<T>& xs) {
        std::vector<T> v = xs.toVector();
        T acc = mempty();
        for (std::size_t i = v.size(); i > 0; --i) acc = Semigroup<T>::combine(v[i - 1], acc);
        return acc;
    }
};

// Traversed: a <> b = a *> b; mempty = pure(placeholder).
template <class G, class A>
    requires IsApplicative<G>
struct Semigroup<nerrow::Traversed<G, A>> : SemigroupDefaults<nerrow::Traversed<G, A>, Semigroup<nerrow::Traversed<G, A>>> {
    using T = nerrow::Traversed<G, A>;
    static T combine(const T& a, const T& b) { return T{Applicative<G>::apRight(a.value, b.value)}; }
    static T combineLazy(const T& a, const Lazy<T>& b)
        requires nerrow::detail::ShortCircuit<G>::value
    {
        if (nerrow::detail::ShortCircuit<G>::failed(a.value)) return a;
        return combine(a, b.force());
    }
    // x1 *> (x2 *> ... *> xn), nested to the right.
    static T sconcat(const NonEmpty<T>& xs) {
        std::vector<T> v = xs.toVector();
        T acc = v.back();
        for (std::size_t i = v.size() - 1; i > 0; --i) acc = combine(v[i - 1], acc);
        return acc;
    }
};
template <class G, class A>
    requires IsApplicative<G> && nerrow::HasPlaceholder<A>
struct Monoid<nerrow::Traversed<G, A>> : MonoidDefaults<nerrow::Traversed<G, A>, Monoid<nerrow::Traversed<G, A>>> {
    using T = nerrow::Traversed<G, A>;
    static T mempty() { return T{Applicative<G>::pure(nerrow::Placeholder<A>::traversed())}; }
    // x1 *> (x2 *> ... (xn *> mempty)).
    static T mconcat(const List<T>& xs) {
        std::vector<T> v = xs.toVector();
        T acc = mempty();
        for (std::size_t i = v.size(); i > 0; --i) acc = Semigroup<T>::combine(v[i - 1], acc);
        return acc;
    }
};

// FromMaybe: (p <> q)(m) = p(Just(q(m))).
template <class B>
struct Semigroup<nerrow::FromMaybe<B>> : SemigroupDefaults<nerrow::FromMaybe<B>, Semigroup<nerrow::FromMaybe<B>>> {
    using T = nerrow::FromMaybe<B>;
    static T combine(const T& p, const T& q) {
        return T{[p = p.fn, q = q.fn](const std::optional<B>& m) { return p(std::optional<B>(q(m))); }};
    }
    // p1(Just(p2(Just(... pn(m))))), evaluated by a loop from pn.
    static T sconcat(const NonEmpty<T>& xs) {
        return T{[v = xs.toVector()](const std::optional<B>& m) {
            B acc = v.back().fn(m);
            for (std::size_t i = v.size() - 1; i > 0; --i) acc = v[i - 1].fn(std::optional<B>(std::move(acc)));
            return acc;
        }};
    }
};

}  // namespace core

namespace nerrow {

namespace detail {

// Functions Lazy<B> -> B composed: the Endo monoid of the default ifoldr,
// whose right operand is demanded only when the composed function demands
// its argument (so a lazy ifoldMap keeps the early stop of ifoldr).
template <class B>
struct LazyEndo {
    std::function<B(const Lazy<B>&)> run;
};

}  // namespace detail
}  // namespace nerrow

namespace core {
template <class B>
struct Semigroup<nerrow::detail::LazyEndo<B>>
    : SemigroupDefaults<nerrow::detail::LazyEndo<B>, Semigroup<nerrow::detail::LazyEndo<B>>> {
    using T = nerrow::detail::LazyEndo<B>;
    static T combine(const T& g, const T& h) {
        return {[g = g.run, h = h.run](const Lazy<B>& z) { return g(defer([h, z] { return h(z); })); }};
    }
    static T combineLazy(const T& g, const Lazy<T>& h) {
        return {[g = g.run, h](const Lazy<B>& z) { return g(defer([h, z] { return h.force().run(z); })); }};
    }
};
template <class B>
struct Monoid<nerrow::detail::LazyEndo<B>> : MonoidDefaults<nerrow::detail::LazyEndo<B>, Monoid<nerrow::detail::LazyEndo<B>>> {
    static nerrow::detail::LazyEndo<B> mempty() {
        return {[](const Lazy<B>& z) { return z.force(); }};
    }
};
}  // namespace core

namespace nerrow {

// ---- Defaults ---------------------------------------------------------------

namespace detail {
// One element handed over by a right fold together with the deferred rest
// of the fold (a null pointer at the end): a loop that demands the rest only after
// using the element runs a fold built from ifoldr in constant stack.
template <class I, class A>
struct IStep {
    I i;
    A x;
    Lazy<std::shared_ptr<const IStep>> rest;
};
}  // namespace detail

// imap through itraverse in the Identity applicative.
template <class F, class FA>
auto imapDefault(F&& f, const FA& xs);
// ifoldMap through itraverse in the Const applicative of the result monoid.
template <class F, class FA>
auto ifoldMapDefault(F&& f, const FA& xs);

template <class K, class Self>
struct FunctorWithIndexDefaults {
    template <class F, class FA>
    static auto imap(F&& f, const FA& xs) {
        return imapDefault(std::forward<F>(f), xs);
    }
};

template <class K, class Self>
struct FoldableWithIndexDefaults {
    using I = IndexT<K>;

    template <class F, class FA>
    static auto ifoldMap(F&& f, const FA& xs) {
        return ifoldMapDefault(std::forward<F>(f), xs);
    }
    // ifoldl'((i, acc, x) -> mappend(acc, f(i, x)), mempty, xs).
    template <class F, class FA>
    static auto ifoldMapStrict(F&& f, const FA& xs) {
        using A = core::ArgOf<FA>;
        using M = detail::Res<F&, const I&, const A&>;
        static_assert(core::IsMonoid<M>, "ifoldMap': no Monoid implementation for the result type");
        return Self::ifoldlStrict([&f](const I& i, M acc, const A& x) { return core::Monoid<M>::mappend(acc, f(i, x)); },
                                  core::Monoid<M>::mempty(), xs);
    }
    // ifoldMap in the Endo monoid of functions from the deferred accumulator.
    template <class F, class B, class FA>
    static B ifoldr(F&& f, Lazy<B> z, const FA& xs) {
        using A = core::ArgOf<FA>;
        using E = detail::LazyEndo<B>;
        auto endo = Self::ifoldMap(
            [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) {
                return E{[f, i, x](const Lazy<B>& rest) -> B { return f(i, x, rest); }};
            },
            xs);
        return endo.run(z);
    }
    // The value of ifoldMap in the Dual of the Endo monoid applied to z:
    // f(i1, z, x1) first, then each later element; with plain accumulators
    // that is the value of ifoldl', which runs in constant stack (composed
    // functions would nest one call and one destructor per element).
    template <class F, class B, class FA>
    static B ifoldl(F&& f, B z, const FA& xs) {
        return Self::ifoldlStrict(std::forward<F>(f), std::move(z), xs);
    }
    // ifoldl over continuations: f(in, xn, z) first, then each earlier
    // element on the evaluated accumulator. The elements are collected by
    // ifoldl' and the continuations run as a loop from the last one, so
    // the call depth does not grow with the structure.
    template <class F, class B, class FA>
    static B ifoldrStrict(F&& f, B z, const FA& xs) {
        using A = core::ArgOf<FA>;
        using P = std::pair<I, A>;
        std::vector<P> ps = Self::ifoldlStrict(
            [](const I& i, std::vector<P> acc, const A& x) {
                acc.emplace_back(i, x);
                return acc;
            },
            std::vector<P>(), xs);
        for (std::size_t k = ps.size(); k > 0; --k) z = f(ps[k - 1].first, ps[k - 1].second, std::move(z));
        return z;
    }
    // ifoldr over continuations: ifoldr hands each element over with the
    // deferred rest, and a loop applies f(i, acc, x) to the evaluated
    // accumulator before it demands the rest, so the call depth does not
    // grow with the structure.
    template <class F, class B, class FA>
    static B ifoldlStrict(F&& f, B z, const FA& xs) {
        using A = core::ArgOf<FA>;
        using St = std::shared_ptr<const detail::IStep<I, A>>;
        St s = Self::ifoldr(
            [](const I& i, const A& x, const Lazy<St>& rest) { return St(new detail::IStep<I, A>{i, x, rest}); },
            core::now(St()), xs);
        while (s) {
            z = f(static_cast<const I&>(s->i), std::move(z), static_cast<const A&>(s->x));
            St next = s->rest.force();
            s = std::move(next);
        }
        return z;
    }
};

template <class K, class Self>
struct TraversableWithIndexDefaults {
    // Only for Int indices: the plain traverse in the Indexing applicative,
    // positions 0, 1, 2, ... in traversal order, the counter evaluated at
    // every element.
    template <class F, class TA>
    static auto itraverse(F&& f, const TA& xs) {
        static_assert(std::is_same_v<IndexT<K>, Int>,
                      "itraverse: only kinds indexed by Int get the default through the plain traverse");
        using A = core::ArgOf<TA>;
        using E = detail::IEffectOf<std::decay_t<F>, Int, A>;
        using G = typename E::G;
        using B = typename E::B;
        auto m = core::Traversable<K>::traverse(
            [f = std::decay_t<F>(std::forward<F>(f))](const A& x) {
                return Indexing<G, B>{[f, x](Int i) { return std::pair<Int, core::Apply<G, B>>(i + 1, f(i, x)); }};
            },
            xs);
        return m.run(0).second;
    }
};

template <class K, class Self>
struct Foldable1WithIndexDefaults {
    using I = IndexT<K>;

    // ifoldrMap1(f, (i, x, b) -> f(i, x) <> b).
    template <class F, class FA>
    static auto ifoldMap1(F&& f, const FA& xs) {
        using A = core::ArgOf<FA>;
        using S = detail::Res<F&, const I&, const A&>;
        static_assert(core::IsSemigroup<S>, "ifoldMap1: no Semigroup implementation for the result type");
        auto fc = std::decay_t<F>(std::forward<F>(f));
        return Self::ifoldrMap1(fc, [fc](const I& i, const A& x, const Lazy<S>& b) { return core::combineLazy(fc(i, x), b); },
                                xs);
    }
    // ifoldlMap1'(f, (i, b, x) -> b <> f(i, x)).
    template <class F, class FA>
    static auto ifoldMap1Strict(F&& f, const FA& xs) {
        using A = core::ArgOf<FA>;
        using S = detail::Res<F&, const I&, const A&>;
        static_assert(core::IsSemigroup<S>, "ifoldMap1': no Semigroup implementation for the result type");
        return Self::ifoldlMap1Strict(f, [&f](const I& i, S b, const A& x) { return core::Semigroup<S>::combine(b, f(i, x)); },
                                      xs);
    }
    // ifoldMap1 in the FromMaybe semigroup, applied to Nothing.
    template <class F, class G, class FA>
    static auto ifoldrMap1(F&& f, G&& g, const FA& xs) {
        using A = core::ArgOf<FA>;
        using B = detail::Res<F&, const I&, const A&>;
        auto p = Self::ifoldMap1(
            [f = std::decay_t<F>(std::forward<F>(f)), g = std::decay_t<G>(std::forward<G>(g))](const I& i, const A& x) {
                return FromMaybe<B>{[f, g, i, x](const std::optional<B>& m) -> B {
                    if (!m) return f(i, x);
                    return g(i, x, core::now(*m));
                }};
            },
            xs);
        return p.fn(std::nullopt);
    }
    // ifoldMap1 in the Dual of the FromMaybe semigroup, applied to Nothing.
    template <class F, class G, class FA>
    static auto ifoldlMap1(F&& f, G&& g, const FA& xs) {
        using A = core::ArgOf<FA>;
        using B = detail::Res<F&, const I&, const A&>;
        auto p = Self::ifoldMap1(
            [f = std::decay_t<F>(std::forward<F>(f)), g = std::decay_t<G>(std::forward<G>(g))](const I& i, const A& x) {
                return core::Dual<FromMaybe<B>>{FromMaybe<B>{[f, g, i, x](const std::optional<B>& m) -> B {
                    if (!m) return f(i, x);
                    return g(i, *m, x);
                }}};
            },
            xs);
        return p.value.fn(std::nullopt);
    }
    // ifoldrMap1 over continuations with an SMaybe state.
    template <class F, class G, class FA>
    static auto ifoldlMap1Strict(F&& f, G&& g, const FA& xs) {
        using A = core::ArgOf<FA>;
        using B = detail::Res<F&, const I&, const A&>;
        using K2 = std::function<B(const SMaybe<B>&)>;
        auto fc = std::decay_t<F>(std::forward<F>(f));
        auto gc = std::decay_t<G>(std::forward<G>(g));
        K2 k = Self::ifoldrMap1(
            [fc, gc](const I& i, const A& x) {
                return K2([fc, gc, i, x](const SMaybe<B>& s) -> B {
                    if (s.isNothing()) return fc(i, x);
                    return gc(i, s.fromJust(), x);
                });
            },
            [fc, gc](const I& i, const A& x, const Lazy<K2>& k) {
                return K2([fc, gc, i, x, k](const SMaybe<B>& s) -> B {
                    SMaybe<B> v = s.isNothing() ? SJust(fc(i, x)) : SJust(gc(i, s.fromJust(), x));
                    return k.force()(v);
                });
            },
            xs);
        return k(SNothing);
    }
    // ifoldlMap1 over continuations with an SMaybe state.
    template <class F, class G, class FA>
    static auto ifoldrMap1Strict(F&& f, G&& g, const FA& xs) {
        using A = core::ArgOf<FA>;
        using B = detail::Res<F&, const I&, const A&>;
        using K2 = std::function<B(const SMaybe<B>&)>;
        auto fc = std::decay_t<F>(std::forward<F>(f));
        auto gc = std::decay_t<G>(std::forward<G>(g));
        K2 k = Self::ifoldlMap1(
            [fc, gc](const I& i, const A& x) {
                return K2([fc, gc, i, x](const SMaybe<B>& s) -> B {
                    if (s.isNothing()) return fc(i, x);
                    return gc(i, x, s.fromJust());
                });
            },
            [fc, gc](const I& i, K2 k, const A& x) {
                return K2([fc, gc, i, x, k = std::move(k)](const SMaybe<B>& s) -> B {
                    SMaybe<B> v = s.isNothing() ? SJust(fc(i, x)) : SJust(gc(i, x, s.fromJust()));
                    return k(v);
                });
            },
            xs);
        return k(SNothing);
    }
};

// ---- Free functions ---------------------------------------------------------

#define NERROW_DISPATCH(Iface, Concept, name, T, call)                                                    \
    using K = core::detail::KindOrNone<T>;                                                                \
    if constexpr (!Concept<K>)                                                                            \
        static_assert(detail::alwaysFalse<T>, "no " #Iface " implementation for this type (" name ")");  \
    else                                                                                                  \
        return Iface<K>::call

// Same shape, each element x at index i replaced by f(i, x).
template <class F, class FA>
auto imap(F&& f, const FA& xs) {
    NERROW_DISPATCH(FunctorWithIndex, IsFunctorWithIndex, "imap", FA, imap(std::forward<F>(f), xs));
}
// The combination of f(i, x) over the elements in order; mempty when empty.
template <class F, class FA>
auto ifoldMap(F&& f, const FA& xs) {
    NERROW_DISPATCH(FoldableWithIndex, IsFoldableWithIndex, "ifoldMap", FA, ifoldMap(std::forward<F>(f), xs));
}
// The same value, accumulated from the left, each step evaluated (ifoldMap').
template <class F, class FA>
auto ifoldMapStrict(F&& f, const FA& xs) {
    NERROW_DISPATCH(FoldableWithIndex, IsFoldableWithIndex, "ifoldMap'", FA, ifoldMapStrict(std::forward<F>(f), xs));
}
// f(i1, x1, f(i2, x2, ... f(in, xn, z))); f(i, x, rest) receives rest as a
// core::Lazy<B> and may return without demanding it. z is a B or a Lazy<B>.
template <class F, class Z, class FA>
auto ifoldr(F&& f, Z&& z, const FA& xs) {
    NERROW_DISPATCH(FoldableWithIndex, IsFoldableWithIndex, "ifoldr", FA,
                    ifoldr(std::forward<F>(f), core::detail::asLazy(std::forward<Z>(z)), xs));
}
// f(in, ... f(i2, f(i1, z, x1), x2) ..., xn): index, accumulator, element.
template <class F, class B, class FA>
B ifoldl(F&& f, B z, const FA& xs) {
    NERROW_DISPATCH(FoldableWithIndex, IsFoldableWithIndex, "ifoldl", FA, ifoldl(std::forward<F>(f), std::move(z), xs));
}
// ifoldr's value computed from the right end with f(i, x, acc) on plain,
// evaluated accumulators (ifoldr').
template <class F, class B, class FA>
B ifoldrStrict(F&& f, B z, const FA& xs) {
    NERROW_DISPATCH(FoldableWithIndex, IsFoldableWithIndex, "ifoldr'", FA,
                    ifoldrStrict(std::forward<F>(f), std::move(z), xs));
}
// ifoldl with every intermediate accumulator evaluated (ifoldl').
template <class F, class B, class FA>
B ifoldlStrict(F&& f, B z, const FA& xs) {
    NERROW_DISPATCH(FoldableWithIndex, IsFoldableWithIndex, "ifoldl'", FA,
                    ifoldlStrict(std::forward<F>(f), std::move(z), xs));
}
// Runs f(i, x) for every element in order and rebuilds the shape from the
// results: G<F<B>>, G deduced from f's result.
template <class F, class TA>
auto itraverse(F&& f, const TA& xs) {
    NERROW_DISPATCH(TraversableWithIndex, IsTraversableWithIndex, "itraverse", TA, itraverse(std::forward<F>(f), xs));
}
// The <> of f(i, x) over a non-empty structure.
template <class F, class FA>
auto ifoldMap1(F&& f, const FA& xs) {
    NERROW_DISPATCH(Foldable1WithIndex, IsFoldable1WithIndex, "ifoldMap1", FA, ifoldMap1(std::forward<F>(f), xs));
}
// The same accumulated from the left, each step evaluated (ifoldMap1').
template <class F, class FA>
auto ifoldMap1Strict(F&& f, const FA& xs) {
    NERROW_DISPATCH(Foldable1WithIndex, IsFoldable1WithIndex, "ifoldMap1'", FA,
                    ifoldMap1Strict(std::forward<F>(f), xs));
}
// f(in, xn) for the last element, g(i, x, rest) for each earlier one with
// rest as a core::Lazy<B>.
template <class F, class G, class FA>
auto ifoldrMap1(F&& f, G&& g, const FA& xs) {
    NERROW_DISPATCH(Foldable1WithIndex, IsFoldable1WithIndex, "ifoldrMap1", FA,
                    ifoldrMap1(std::forward<F>(f), std::forward<G>(g), xs));
}
// f(i1, x1) for the first element, g(i, acc, x) for each later one, every
// accumulator evaluated (ifoldlMap1').
template <class F, class G, class FA>
auto ifoldlMap1Strict(F&& f, G&& g, const FA& xs) {
    NERROW_DISPATCH(Foldable1WithIndex, IsFoldable1WithIndex, "ifoldlMap1'", FA,
                    ifoldlMap1Strict(std::forward<F>(f), std::forward<G>(g), xs));
}
// ifoldlMap1' without forcing intermediates.
template <class F, class G, class FA>
auto ifoldlMap1(F&& f, G&& g, const FA& xs) {
    NERROW_DISPATCH(Foldable1WithIndex, IsFoldable1WithIndex, "ifoldlMap1", FA,
                    ifoldlMap1(std::forward<F>(f), std::forward<G>(g), xs));
}
// ifoldrMap1 computed from the right end, g(i, x, acc) on evaluated
// accumulators (ifoldrMap1').
template <class F, class G, class FA>
auto ifoldrMap1Strict(F&& f, G&& g, const FA& xs) {
    NERROW_DISPATCH(Foldable1WithIndex, IsFoldable1WithIndex, "ifoldrMap1'", FA,
                    ifoldrMap1Strict(std::forward<F>(f), std::forward<G>(g), xs));
}

#undef NERROW_DISPATCH

template <class F, class FA>
auto imapDefault(F&& f, const FA& xs) {
    using K = core::KindOfT<FA>;
    static_assert(IsTraversableWithIndex<K>, "imapDefault: needs a TraversableWithIndex implementation");
    using I = IndexT<K>;
    using A = core::ArgOf<FA>;
    using B = detail::Res<F&, const I&, const A&>;
    return TraversableWithIndex<K>::itraverse(
               [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) { return core::Identity<B>{f(i, x)}; },
               xs)
        .value;
}
template <class F, class FA>
auto ifoldMapDefault(F&& f, const FA& xs) {
    using K = core::KindOfT<FA>;
    static_assert(IsTraversableWithIndex<K>, "ifoldMapDefault: needs a TraversableWithIndex implementation");
    using I = IndexT<K>;
    using A = core::ArgOf<FA>;
    using M = detail::Res<F&, const I&, const A&>;
    static_assert(core::IsMonoid<M>, "ifoldMap: no Monoid implementation for the result type");
    return TraversableWithIndex<K>::itraverse(
               [f = std::decay_t<F>(std::forward<F>(f))](const I& i, const A& x) { return core::Const<M, Unit>{f(i, x)}; },
               xs)
        .value;
}

}  // namespace nerrow

#include "WithIndex/Instances.h"
#include "WithIndex/Containers.h"
