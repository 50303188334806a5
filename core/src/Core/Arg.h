#pragma once
// core::Arg<E, A>: a value together with a key. Equality and ordering look
// at the key only, so that the smallest or largest key of a collection can
// be found while its value travels along (an "arg min" or "arg max").
//
//   core::Arg<int, std::string> a{3, "three"};
//   a.key, a.value;                                     // 3, "three"
//   core::fmap([](const std::string& s) { return s.size(); }, a);  // Arg{3, 5}
//
// Tags: ArgK<E> (mapped over the value), ArgK2 (both parameters).
#include <compare>
#include <type_traits>
#include <utility>

#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Kinds.h"
#include "Core/Traversable.h"

namespace core {

template <class E, class A>
struct Arg {
    using value_type = A;
    E key;
    A value;

    // Compares the keys only.
    friend bool operator==(const Arg& a, const Arg& b) { return a.key == b.key; }
    friend auto operator<=>(const Arg& a, const Arg& b)
        requires std::three_way_comparable<E>
    {
        return a.key <=> b.key;
    }
};
template <class E, class A>
Arg(E, A) -> Arg<E, A>;

template <class E>
struct ArgK {
    template <class A>
    using apply = Arg<E, A>;
};
template <class E, class A>
struct KindOf<Arg<E, A>> {
    using kind = ArgK<E>;
    using arg = A;
};
struct ArgK2 {
    template <class E, class A>
    using apply = Arg<E, A>;
};
template <class E, class A>
struct KindOf2<Arg<E, A>> {
    using kind = ArgK2;
    using first = E;
    using second = A;
};

template <class E>
struct Functor<ArgK<E>> : FunctorDefaults<ArgK<E>, Functor<ArgK<E>>> {
    template <class F, class A>
    static auto fmap(F&& f, const Arg<E, A>& x) {
        return Arg<E, Result<F&, const A&>>{x.key, f(x.value)};
    }
};
template <class E>
struct Foldable<ArgK<E>> : FoldableAtMostOne<ArgK<E>, Foldable<ArgK<E>>> {
    template <class A>
    static const A* get(const Arg<E, A>& x) {
        return &x.value;
    }
};
template <class E>
struct Traversable<ArgK<E>> : TraversableDefaults<ArgK<E>, Traversable<ArgK<E>>> {
    template <class F, class A>
    static auto traverse(F&& f, const Arg<E, A>& x) {
        using Eff = detail::EffectOf<F, A>;
        using B = typename Eff::B;
        return Functor<typename Eff::G>::fmap([k = x.key](B b) { return Arg<E, B>{k, std::move(b)}; }, f(x.value));
    }
};

}  // namespace core
