#pragma once
// Applicative: lift values and combine effects, the left effect first.
//
//   core::pure<Tag>(x)            x with no effect, e.g. pure<OptionalK>(1)
//   core::liftA2(f, fa, fb)       f applied to the results of fa and fb
//   core::ap(ff, fa)              the functions of ff applied to fa  (<*>)
//   core::apRight(fa, fb)         both effects, fb's result          (*>)
//   core::apLeft(fa, fb)          both effects, fa's result          (<*)
//
// An implementation is `template <> struct Applicative<Tag>` (the tag must
// also have a Functor) deriving from ApplicativeDefaults<Tag, Self> and
// supplying `pure` and at least one of `liftA2` and `ap`.
//
// Implemented here for List and std::vector (every combination, left
// elements outermost), std::optional (empty if either is), Either (the
// first Left), NonEmpty, std::pair with a Monoid first component (the
// writer: first components are combined left to right) and functions from
// R (the reader: both parts see the same argument).
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Functor.h"
#include "Core/Kinds.h"
#include "Core/Semigroup.h"

namespace core {

template <class K>
struct Applicative {
    using NotImplemented = void;
};

// True when the tag K has an Applicative implementation.
template <class K>
concept IsApplicative = IsFunctor<K> && !requires { typename Applicative<K>::NotImplemented; };

template <class K, class Self>
struct ApplicativeDefaults {
    template <class FF, class FA>
    static auto ap(FF&& ff, FA&& fa) {
        return Self::liftA2([](const auto& g, auto&& a) { return g(std::forward<decltype(a)>(a)); },
                            std::forward<FF>(ff), std::forward<FA>(fa));
    }
    template <class F, class FA, class FB>
    static auto liftA2(F&& f, FA&& fa, FB&& fb) {
        auto curried = Functor<K>::fmap(
            [f = std::decay_t<F>(std::forward<F>(f))](const ArgOf<FA>& a) {
                return [f, a](const ArgOf<FB>& b) { return f(a, b); };
            },
            std::forward<FA>(fa));
        return Self::ap(std::move(curried), std::forward<FB>(fb));
    }
    template <class FA, class FB>
    static auto apRight(FA&& fa, FB&& fb) {
        return Self::liftA2([](const auto&, auto&& b) { return std::forward<decltype(b)>(b); }, std::forward<FA>(fa),
                            std::forward<FB>(fb));
    }
    template <class FA, class FB>
    static auto apLeft(FA&& fa, FB&& fb) {
        return Self::liftA2([](auto&& a, const auto&) { return std::forward<decltype(a)>(a); }, std::forward<FA>(fa),
                            std::forward<FB>(fb));
    }
};

// ---- Free functions ------------------------------------------------------

#define CORE_APPLICATIVE_DISPATCH(T, call)                                                        \
    using K = detail::KindOrNone<T>;                                                              \
    if constexpr (!IsApplicative<K>)                                                              \
        static_assert(detail::alwaysFalse<T>, "no Applicative implementation for this type");    \
    else                                                                                          \
        return Applicative<K>::call

// x with no effect in the applicative named by the tag K.
template <class K, class A>
auto pure(A&& x) {
    if constexpr (!IsApplicative<K>)
        static_assert(detail::alwaysFalse<K>, "no Applicative implementation for this tag");
    else
        return Applicative<K>::pure(std::forward<A>(x));
}
template <class F, class FA, class FB>
auto liftA2(F&& f, FA&& fa, FB&& fb) {
    CORE_APPLICATIVE_DISPATCH(FA, liftA2(std::forward<F>(f), std::forward<FA>(fa), std::forward<FB>(fb)));
}
template <class FF, class FA>
auto ap(FF&& ff, FA&& fa) {
    CORE_APPLICATIVE_DISPATCH(FA, ap(std::forward<FF>(ff), std::forward<FA>(fa)));
}
template <class FA, class FB>
auto apRight(FA&& fa, FB&& fb) {
    CORE_APPLICATIVE_DISPATCH(FA, apRight(std::forward<FA>(fa), std::forward<FB>(fb)));
}
template <class FA, class FB>
auto apLeft(FA&& fa, FB&& fb) {
    CORE_APPLICATIVE_DISPATCH(FA, apLeft(std::forward<FA>(fa), std::forward<FB>(fb)));
}

#undef CORE_APPLICATIVE_DISPATCH

// ---- Implementations -----------------------------------------------------

namespace detail {
// Lazy concatMap over a List: the cells of f(x) for each x in turn. Runs of
// elements whose f(x) is empty are skipped in a loop (constant stack).
template <class B, class A, class F>
List<B> bindList(std::shared_ptr<const F> f, List<A> xs) {
    // Each function runs once, so f moves on instead of being copied.
    return List<B>::lazy([f = std::move(f), xs = std::move(xs)]() mutable -> List<B> {
        List<A> cur = std::move(xs);
        for (;;) {
            const auto& st = cur.step();
            if (!st) return List<B>();
            List<B> ys = (*f)(st->head);
            if (!ys.null()) {
                List<A> rest = List<A>::tailOf(std::move(cur));
                return std::move(ys).appendLazy(defer([f = std::move(f), rest = std::move(rest)]() mutable {
                    return bindList<B>(std::move(f), std::move(rest));
                }));
            }
            cur = List<A>::tailOf(std::move(cur));
        }
    });
}
}  // namespace detail

template <>
struct Applicative<ListK> : ApplicativeDefaults<ListK, Applicative<ListK>> {
    template <class A>
    static List<std::decay_t<A>> pure(A&& x) {
        return List<std::decay_t<A>>::cons(std::forward<A>(x), {});
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const List<A>& xs, const List<B>& ys) {
        using C = Result<const std::decay_t<F>&, const A&, const B&>;
        auto g = [f = std::decay_t<F>(std::forward<F>(f)), ys](const A& x) {
            return Functor<ListK>::fmap([f, x](const B& y) { return f(x, y); }, ys);
        };
        return detail::bindList<C>(std::make_shared<const decltype(g)>(std::move(g)), xs);
    }
};

template <>
struct Applicative<VectorK> : ApplicativeDefaults<VectorK, Applicative<VectorK>> {
    template <class A>
    static std::vector<std::decay_t<A>> pure(A&& x) {
        std::vector<std::decay_t<A>> v;
        v.push_back(std::forward<A>(x));
        return v;
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const std::vector<A>& xs, const std::vector<B>& ys) {
        std::vector<Result<F&, const A&, const B&>> out;
        out.reserve(xs.size() * ys.size());
        for (const A& x : xs)
            for (const B& y : ys) out.push_back(f(x, y));
        return out;
    }
};

// GCC 12 reports -Wmaybe-uninitialized for the payload of an empty
// std::optional on paths that never read it (a known false positive at low
// optimisation levels); silenced for the code below.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
template <>
struct Applicative<OptionalK> : ApplicativeDefaults<OptionalK, Applicative<OptionalK>> {
    template <class A>
    static std::optional<std::decay_t<A>> pure(A&& x) {
        return std::optional<std::decay_t<A>>(std::forward<A>(x));
    }
    template <class F, class FA, class FB>
    static auto liftA2(F&& f, FA&& fa, FB&& fb) {
        using C = Result<F&, decltype(*std::forward<FA>(fa)), decltype(*std::forward<FB>(fb))>;
        if (!fa || !fb) return std::optional<C>();
        return std::optional<C>(f(*std::forward<FA>(fa), *std::forward<FB>(fb)));
    }
};

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
template <class L>
struct Applicative<EitherK<L>> : ApplicativeDefaults<EitherK<L>, Applicative<EitherK<L>>> {
    template <class A>
    static Either<L, std::decay_t<A>> pure(A&& x) {
        return Either<L, std::decay_t<A>>::right(std::forward<A>(x));
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const Either<L, A>& fa, const Either<L, B>& fb) {
        using C = Result<F&, const A&, const B&>;
        if (fa.isLeft()) return Either<L, C>::left(fa.unsafeLeft());
        if (fb.isLeft()) return Either<L, C>::left(fb.unsafeLeft());
        return Either<L, C>::right(f(fa.unsafeRight(), fb.unsafeRight()));
    }
};

template <>
struct Applicative<NonEmptyK> : ApplicativeDefaults<NonEmptyK, Applicative<NonEmptyK>> {
    template <class A>
    static NonEmpty<std::decay_t<A>> pure(A&& x) {
        return NonEmpty<std::decay_t<A>>(std::forward<A>(x));
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const NonEmpty<A>& xs, const NonEmpty<B>& ys) {
        auto all = Applicative<ListK>::liftA2(std::forward<F>(f), xs.toList(), ys.toList());
        return *NonEmpty<ArgOf<decltype(all)>>::fromList(all);
    }
};

// The writer: (w1, a) and (w2, b) give (w1 <> w2, f(a, b)).
template <class W>
    requires IsMonoid<W>
struct Applicative<PairK<W>> : ApplicativeDefaults<PairK<W>, Applicative<PairK<W>>> {
    template <class A>
    static std::pair<W, std::decay_t<A>> pure(A&& x) {
        return {Monoid<W>::mempty(), std::forward<A>(x)};
    }
    template <class F, class FA, class FB>
    static auto liftA2(F&& f, FA&& fa, FB&& fb) {
        using C = Result<F&, decltype((std::forward<FA>(fa).second)), decltype((std::forward<FB>(fb).second))>;
        W w = Semigroup<W>::combine(fa.first, fb.first);
        return std::pair<W, C>(std::move(w), f(std::forward<FA>(fa).second, std::forward<FB>(fb).second));
    }
};

// The reader: every part receives the same argument.
template <class R>
struct Applicative<FunctionK<R>> : ApplicativeDefaults<FunctionK<R>, Applicative<FunctionK<R>>> {
    template <class A>
    static Fn<R, std::decay_t<A>> pure(A&& x) {
        return [x = std::decay_t<A>(std::forward<A>(x))](R) { return x; };
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const Fn<R, A>& g, const Fn<R, B>& h) {
        using C = Result<const std::decay_t<F>&, A, B>;
        return Fn<R, C>([f = std::decay_t<F>(std::forward<F>(f)), g, h](R r) { return f(g(r), h(r)); });
    }
};

}  // namespace core
