#pragma once
// Monad: sequence an effect whose continuation depends on the first result.
//
//   core::bind(m, f)        run m, then f(result)                 (>>=)
//   core::then(ma, mb)      run ma, then mb, keep mb's result     (>>)
//   core::join(mm)          flatten one level
//   core::kleisli(f, g)     x -> bind(f(x), g)                    (>=>)
//
// An implementation is `template <> struct Monad<Tag>` (the tag must also
// have an Applicative) deriving from MonadDefaults<Tag, Self> and
// supplying `bind`. Implemented here for List (lazy), std::vector,
// std::optional, Either, NonEmpty, the writer std::pair<W, A> and
// functions from R.
#include <memory>
#include <type_traits>
#include <utility>

#include "Core/Applicative.h"

namespace core {

template <class K>
struct Monad {
    using NotImplemented = void;
};

// True when the tag K has a Monad implementation.
template <class K>
concept IsMonad = IsApplicative<K> && !requires { typename Monad<K>::NotImplemented; };

template <class K, class Self>
struct MonadDefaults {
    template <class MA, class MB>
    static auto then(MA&& ma, MB&& mb) {
        return Self::bind(std::forward<MA>(ma), [mb = std::decay_t<MB>(std::forward<MB>(mb))](const auto&) { return mb; });
    }
    template <class MMA>
    static auto join(MMA&& mma) {
        return Self::bind(std::forward<MMA>(mma), [](const auto& ma) { return ma; });
    }
};

#define CORE_MONAD_DISPATCH(T, call)                                                      \
    using K = detail::KindOrNone<T>;                                                      \
    if constexpr (!IsMonad<K>)                                                            \
        static_assert(detail::alwaysFalse<T>, "no Monad implementation for this type"); \
    else                                                                                  \
        return Monad<K>::call

template <class MA, class F>
auto bind(MA&& m, F&& f) {
    CORE_MONAD_DISPATCH(MA, bind(std::forward<MA>(m), std::forward<F>(f)));
}
template <class MA, class MB>
auto then(MA&& ma, MB&& mb) {
    CORE_MONAD_DISPATCH(MA, then(std::forward<MA>(ma), std::forward<MB>(mb)));
}
template <class MMA>
auto join(MMA&& mma) {
    CORE_MONAD_DISPATCH(MMA, join(std::forward<MMA>(mma)));
}

#undef CORE_MONAD_DISPATCH

// Kleisli composition: the function x -> bind(f(x), g).
template <class F, class G>
auto kleisli(F f, G g) {
    return [f = std::move(f), g = std::move(g)](const auto& x) { return bind(f(x), g); };
}

// ---- Implementations -----------------------------------------------------

template <>
struct Monad<ListK> : MonadDefaults<ListK, Monad<ListK>> {
    template <class A, class F>
    static auto bind(const List<A>& xs, F&& f) {
        using MB = Result<const std::decay_t<F>&, const A&>;
        return detail::bindList<ArgOf<MB>>(std::make_shared<const std::decay_t<F>>(std::forward<F>(f)), xs);
    }
};

template <>
struct Monad<VectorK> : MonadDefaults<VectorK, Monad<VectorK>> {
    template <class A, class F>
    static auto bind(const std::vector<A>& xs, F&& f) {
        using MB = Result<F&, const A&>;
        MB out;
        for (const A& x : xs) {
            MB ys = f(x);
            out.insert(out.end(), std::make_move_iterator(ys.begin()), std::make_move_iterator(ys.end()));
        }
        return out;
    }
};

template <>
struct Monad<OptionalK> : MonadDefaults<OptionalK, Monad<OptionalK>> {
    template <class MA, class F>
    static auto bind(MA&& m, F&& f) {
        using MB = Result<F&, decltype(*std::forward<MA>(m))>;
        if (!m) return MB();
        return f(*std::forward<MA>(m));
    }
};

template <class L>
struct Monad<EitherK<L>> : MonadDefaults<EitherK<L>, Monad<EitherK<L>>> {
    template <class A, class F>
    static auto bind(const Either<L, A>& m, F&& f) {
        using MB = Result<F&, const A&>;
        if (m.isLeft()) return MB::left(m.unsafeLeft());
        return f(m.unsafeRight());
    }
};

template <>
struct Monad<NonEmptyK> : MonadDefaults<NonEmptyK, Monad<NonEmptyK>> {
    template <class A, class F>
    static auto bind(const NonEmpty<A>& xs, F&& f) {
        using MB = Result<const std::decay_t<F>&, const A&>;
        using B = ArgOf<MB>;
        auto fp = std::make_shared<const std::decay_t<F>>(std::forward<F>(f));
        auto g = [fp](const A& x) { return (*fp)(x).toList(); };
        auto all = detail::bindList<B>(std::make_shared<const decltype(g)>(std::move(g)), xs.toList());
        return *NonEmpty<B>::fromList(all);
    }
};

template <class W>
    requires IsMonoid<W>
struct Monad<PairK<W>> : MonadDefaults<PairK<W>, Monad<PairK<W>>> {
    template <class A, class F>
    static auto bind(const std::pair<W, A>& m, F&& f) {
        auto r = f(m.second);
        return decltype(r)(Semigroup<W>::combine(m.first, r.first), std::move(r.second));
    }
};

template <class R>
struct Monad<FunctionK<R>> : MonadDefaults<FunctionK<R>, Monad<FunctionK<R>>> {
    template <class A, class F>
    static auto bind(const Fn<R, A>& g, F&& f) {
        using MB = Result<const std::decay_t<F>&, A>;
        return MB([g, f = std::decay_t<F>(std::forward<F>(f))](R r) { return f(g(r))(r); });
    }
};

}  // namespace core
