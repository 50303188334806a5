#pragma once
// Category and Arrow: composition of arrow-like values, named by
// two-parameter tags (apply<B, C> is an arrow from B to C).
//
//   Category     core::id<K2, A>()            the identity arrow
//                core::compose(g, f)          f, then g                 (.)
//                core::andThen(f, g)          f, then g                 (>>>)
//   Arrow        core::arr<K2, B>(f)          a plain function as an arrow
//                core::first<D>(a)            a on the first of a pair, D passed along
//                core::second<D>(a)           a on the second of a pair
//                core::split(a, b)            a and b side by side      (***)
//                core::fanout(a, b)           a and b on one input      (&&&)
//   ArrowChoice  core::left<D>(a), core::right<D>(a)   a on one side of an Either
//                core::splitChoice(a, b)      a on Left, b on Right     (+++)
//                core::fanin(a, b)            either side into one result (|||)
//   ArrowApply   core::app<K2, B, C>()        applies an arrow given with its input
//   ArrowLoop    core::loop(a)                feeds a's second output back
//                                             into its second input
//
// Because C++ cannot leave a type open, `first`, `second`, `left` and
// `right` name the type passed along (D) explicitly, and `arr` names the
// input type. For `loop` the fed-back value travels as a Lazy<D>: the arrow
// receives (b, d) with d deferred and returns (c, d') where d' is what d
// will be; demanding d before the arrow has returned raises core::Error
// "loop: the fed-back value was demanded before it was produced". A value
// fed back is kept alive until it is demanded (values that refer to
// themselves are freed then).
//
// Implemented for plain functions (Fn<B, C>, tag FunctionA) and Kleisli
// arrows Kleisli<M, B, C> (B -> M<C>, tag KleisliK<M>) of a Monad M
// (Category, Arrow, ArrowChoice, ArrowApply). The co-Kleisli arrows of the
// comonad library implement the same interfaces.
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "Core/Either.h"
#include "Core/Error.h"
#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/Monad.h"

namespace core {

template <class K2>
struct Category {
    using NotImplemented = void;
};
template <class K2>
struct Arrow {
    using NotImplemented = void;
};
template <class K2>
struct ArrowChoice {
    using NotImplemented = void;
};
template <class K2>
struct ArrowApply {
    using NotImplemented = void;
};
template <class K2>
struct ArrowLoop {
    using NotImplemented = void;
};
template <class K2>
concept IsCategory = !requires { typename Category<K2>::NotImplemented; };
template <class K2>
concept IsArrow = IsCategory<K2> && !requires { typename Arrow<K2>::NotImplemented; };
template <class K2>
concept IsArrowChoice = IsArrow<K2> && !requires { typename ArrowChoice<K2>::NotImplemented; };
template <class K2>
concept IsArrowApply = IsArrow<K2> && !requires { typename ArrowApply<K2>::NotImplemented; };
template <class K2>
concept IsArrowLoop = IsArrow<K2> && !requires { typename ArrowLoop<K2>::NotImplemented; };

template <class T>
using ArrowIn = typename KindOf2<std::remove_cvref_t<T>>::first;
template <class T>
using ArrowOut = typename KindOf2<std::remove_cvref_t<T>>::second;

// Defaults of Arrow: second from first (by swapping), split from first and
// second, fanout from arr and split.
template <class K2, class Self>
struct ArrowDefaults {
    template <class D, class Arr>
    static auto second(const Arr& a) {
        using B = ArrowIn<Arr>;
        using C = ArrowOut<Arr>;
        auto swapIn = Self::template arr<std::pair<D, B>>([](const std::pair<D, B>& p) { return std::pair<B, D>(p.second, p.first); });
        auto swapOut = Self::template arr<std::pair<C, D>>([](const std::pair<C, D>& p) { return std::pair<D, C>(p.second, p.first); });
        return Category<K2>::compose(swapOut, Category<K2>::compose(Self::template first<D>(a), swapIn));
    }
    template <class ArrA, class ArrB>
    static auto split(const ArrA& a, const ArrB& b) {
        using C = ArrowOut<ArrA>;
        using B2 = ArrowIn<ArrB>;
        return Category<K2>::compose(Self::template second<C>(b), Self::template first<B2>(a));
    }
    template <class ArrA, class ArrB>
    static auto fanout(const ArrA& a, const ArrB& b) {
        using B = ArrowIn<ArrA>;
        auto dup = Self::template arr<B>([](const B& x) { return std::pair<B, B>(x, x); });
        return Category<K2>::compose(Self::split(a, b), dup);
    }
};

// Defaults of ArrowChoice: right from left (by mirroring), splitChoice from
// left and right, fanin from splitChoice.
template <class K2, class Self>
struct ArrowChoiceDefaults {
    template <class D, class Arr>
    static auto right(const Arr& a) {
        using B = ArrowIn<Arr>;
        using C = ArrowOut<Arr>;
        auto mirrorIn = Arrow<K2>::template arr<Either<D, B>>([](const Either<D, B>& e) {
            return e.isLeft() ? Either<B, D>::right(e.unsafeLeft()) : Either<B, D>::left(e.unsafeRight());
        });
        auto mirrorOut = Arrow<K2>::template arr<Either<C, D>>([](const Either<C, D>& e) {
            return e.isLeft() ? Either<D, C>::right(e.unsafeLeft()) : Either<D, C>::left(e.unsafeRight());
        });
        return Category<K2>::compose(mirrorOut, Category<K2>::compose(Self::template left<D>(a), mirrorIn));
    }
    template <class ArrA, class ArrB>
    static auto splitChoice(const ArrA& a, const ArrB& b) {
        using C = ArrowOut<ArrA>;
        using B2 = ArrowIn<ArrB>;
        return Category<K2>::compose(Self::template right<C>(b), Self::template left<B2>(a));
    }
    template <class ArrA, class ArrB>
    static auto fanin(const ArrA& a, const ArrB& b) {
        using D = ArrowOut<ArrA>;
        auto merge = Arrow<K2>::template arr<Either<D, D>>(
            [](const Either<D, D>& e) { return e.isLeft() ? e.unsafeLeft() : e.unsafeRight(); });
        return Category<K2>::compose(merge, Self::splitChoice(a, b));
    }
};

// ---- Free functions ------------------------------------------------------

#define CORE_ARROW_DISPATCH(Iface, T, call)                                                   \
    using K2 = detail::Kind2OrNone<T>;                                                        \
    if constexpr (!Is##Iface<K2>)                                                             \
        static_assert(detail::alwaysFalse<T>, "no " #Iface " implementation for this type"); \
    else                                                                                      \
        return Iface<K2>::call

template <class K2, class A>
auto id() {
    if constexpr (!IsCategory<K2>)
        static_assert(detail::alwaysFalse<K2>, "no Category implementation for this tag");
    else
        return Category<K2>::template id<A>();
}
// g after f.
template <class G, class F>
auto compose(const G& g, const F& f) {
    CORE_ARROW_DISPATCH(Category, F, compose(g, f));
}
// f, then g.
template <class F, class G>
auto andThen(const F& f, const G& g) {
    return compose(g, f);
}
template <class K2, class B, class F>
auto arr(F&& f) {
    if constexpr (!IsArrow<K2>)
        static_assert(detail::alwaysFalse<K2>, "no Arrow implementation for this tag");
    else
        return Arrow<K2>::template arr<B>(std::forward<F>(f));
}
template <class D, class Arr>
auto first(const Arr& a) {
    CORE_ARROW_DISPATCH(Arrow, Arr, template first<D>(a));
}
template <class D, class Arr>
auto second(const Arr& a) {
    CORE_ARROW_DISPATCH(Arrow, Arr, template second<D>(a));
}
template <class ArrA, class ArrB>
auto split(const ArrA& a, const ArrB& b) {
    CORE_ARROW_DISPATCH(Arrow, ArrA, split(a, b));
}
template <class ArrA, class ArrB>
auto fanout(const ArrA& a, const ArrB& b) {
    CORE_ARROW_DISPATCH(Arrow, ArrA, fanout(a, b));
}
template <class D, class Arr>
auto left(const Arr& a) {
    CORE_ARROW_DISPATCH(ArrowChoice, Arr, template left<D>(a));
}
template <class D, class Arr>
auto right(const Arr& a) {
    CORE_ARROW_DISPATCH(ArrowChoice, Arr, template right<D>(a));
}
template <class ArrA, class ArrB>
auto splitChoice(const ArrA& a, const ArrB& b) {
    CORE_ARROW_DISPATCH(ArrowChoice, ArrA, splitChoice(a, b));
}
template <class ArrA, class ArrB>
auto fanin(const ArrA& a, const ArrB& b) {
    CORE_ARROW_DISPATCH(ArrowChoice, ArrA, fanin(a, b));
}
template <class K2, class B, class C>
auto app() {
    if constexpr (!IsArrowApply<K2>)
        static_assert(detail::alwaysFalse<K2>, "no ArrowApply implementation for this tag");
    else
        return ArrowApply<K2>::template app<B, C>();
}
template <class Arr>
auto loop(const Arr& a) {
    CORE_ARROW_DISPATCH(ArrowLoop, Arr, loop(a));
}

#undef CORE_ARROW_DISPATCH

// ---- Plain functions -----------------------------------------------------

template <>
struct Category<FunctionA> {
    template <class A>
    static Fn<A, A> id() {
        return [](A x) { return x; };
    }
    template <class B, class C, class A>
    static Fn<A, C> compose(const Fn<B, C>& g, const Fn<A, B>& f) {
        return [g, f](A x) { return g(f(std::move(x))); };
    }
};
template <>
struct Arrow<FunctionA> : ArrowDefaults<FunctionA, Arrow<FunctionA>> {
    template <class B, class F>
    static auto arr(F&& f) {
        return Fn<B, Result<F&, B>>(std::forward<F>(f));
    }
    template <class D, class B, class C>
    static Fn<std::pair<B, D>, std::pair<C, D>> first(const Fn<B, C>& a) {
        return [a](std::pair<B, D> p) { return std::pair<C, D>(a(std::move(p.first)), std::move(p.second)); };
    }
    template <class D, class B, class C>
    static Fn<std::pair<D, B>, std::pair<D, C>> second(const Fn<B, C>& a) {
        return [a](std::pair<D, B> p) { return std::pair<D, C>(std::move(p.first), a(std::move(p.second))); };
    }
    template <class B, class C, class B2, class C2>
    static Fn<std::pair<B, B2>, std::pair<C, C2>> split(const Fn<B, C>& a, const Fn<B2, C2>& b) {
        return [a, b](std::pair<B, B2> p) { return std::pair<C, C2>(a(std::move(p.first)), b(std::move(p.second))); };
    }
    template <class B, class C, class C2>
    static Fn<B, std::pair<C, C2>> fanout(const Fn<B, C>& a, const Fn<B, C2>& b) {
        return [a, b](B x) { return std::pair<C, C2>(a(x), b(x)); };
    }
};
template <>
struct ArrowChoice<FunctionA> : ArrowChoiceDefaults<FunctionA, ArrowChoice<FunctionA>> {
    template <class D, class B, class C>
    static Fn<Either<B, D>, Either<C, D>> left(const Fn<B, C>& a) {
        return [a](const Either<B, D>& e) {
            return e.isLeft() ? Either<C, D>::left(a(e.unsafeLeft())) : Either<C, D>::right(e.unsafeRight());
        };
    }
    template <class D, class B, class C>
    static Fn<Either<D, B>, Either<D, C>> right(const Fn<B, C>& a) {
        return [a](const Either<D, B>& e) {
            return e.isLeft() ? Either<D, C>::left(e.unsafeLeft()) : Either<D, C>::right(a(e.unsafeRight()));
        };
    }
    template <class B, class D, class C>
    static Fn<Either<B, C>, D> fanin(const Fn<B, D>& a, const Fn<C, D>& b) {
        return [a, b](const Either<B, C>& e) { return e.isLeft() ? a(e.unsafeLeft()) : b(e.unsafeRight()); };
    }
};
template <>
struct ArrowApply<FunctionA> {
    template <class B, class C>
    static Fn<std::pair<Fn<B, C>, B>, C> app() {
        return [](std::pair<Fn<B, C>, B> p) { return p.first(std::move(p.second)); };
    }
};
template <>
struct ArrowLoop<FunctionA> {
    template <class B, class C, class D>
    static Fn<B, C> loop(const Fn<std::pair<B, Lazy<D>>, std::pair<C, Lazy<D>>>& a) {
        return [a](B b) -> C {
            auto cell = std::make_shared<std::optional<Lazy<D>>>();
            Lazy<D> d = defer([cell]() -> D {
                if (!*cell) raise("loop: the fed-back value was demanded before it was produced");
                return (*cell)->force();
            });
            auto r = a(std::pair<B, Lazy<D>>(std::move(b), d));
            *cell = std::move(r.second);
            return std::move(r.first);
        };
    }
};

// ---- Kleisli arrows ------------------------------------------------------

// B -> M<C> as an arrow.
template <class M, class B, class C>
struct Kleisli {
    std::function<Apply<M, C>(B)> run;
    Apply<M, C> operator()(B x) const { return run(std::move(x)); }
};
template <class M>
struct KleisliK {
    template <class B, class C>
    using apply = Kleisli<M, B, C>;
};
template <class M, class B, class C>
struct KindOf2<Kleisli<M, B, C>> {
    using kind = KleisliK<M>;
    using first = B;
    using second = C;
};

template <class M>
    requires IsMonad<M>
struct Category<KleisliK<M>> {
    template <class A>
    static Kleisli<M, A, A> id() {
        return {[](A x) { return Applicative<M>::pure(std::move(x)); }};
    }
    template <class B, class C, class A>
    static Kleisli<M, A, C> compose(const Kleisli<M, B, C>& g, const Kleisli<M, A, B>& f) {
        return {[g, f](A x) { return Monad<M>::bind(f.run(std::move(x)), g.run); }};
    }
};
template <class M>
    requires IsMonad<M>
struct Arrow<KleisliK<M>> : ArrowDefaults<KleisliK<M>, Arrow<KleisliK<M>>> {
    template <class B, class F>
    static auto arr(F&& f) {
        using C = Result<F&, B>;
        return Kleisli<M, B, C>{[f = std::decay_t<F>(std::forward<F>(f))](B x) { return Applicative<M>::pure(f(std::move(x))); }};
    }
    template <class D, class B, class C>
    static Kleisli<M, std::pair<B, D>, std::pair<C, D>> first(const Kleisli<M, B, C>& a) {
        return {[a](std::pair<B, D> p) {
            return Functor<M>::fmap([d = std::move(p.second)](C c) { return std::pair<C, D>(std::move(c), d); },
                                    a.run(std::move(p.first)));
        }};
    }
};
template <class M>
    requires IsMonad<M>
struct ArrowChoice<KleisliK<M>> : ArrowChoiceDefaults<KleisliK<M>, ArrowChoice<KleisliK<M>>> {
    template <class D, class B, class C>
    static Kleisli<M, Either<B, D>, Either<C, D>> left(const Kleisli<M, B, C>& a) {
        return {[a](const Either<B, D>& e) {
            if (e.isRight()) return Applicative<M>::pure(Either<C, D>::right(e.unsafeRight()));
            return Functor<M>::fmap([](C c) { return Either<C, D>::left(std::move(c)); }, a.run(e.unsafeLeft()));
        }};
    }
};
template <class M>
    requires IsMonad<M>
struct ArrowApply<KleisliK<M>> {
    template <class B, class C>
    static Kleisli<M, std::pair<Kleisli<M, B, C>, B>, C> app() {
        return {[](std::pair<Kleisli<M, B, C>, B> p) { return p.first.run(std::move(p.second)); }};
    }
};

}  // namespace core
