#pragma once
// Distributive: the dual of Traversable. A distributive F moves out of any
// Functor W: W<F<A>> becomes F<W<A>>.
//
//   core::distribute(wfa)       W<F<A>> -> F<W<A>>
//   core::collect(f, wa)        distribute(fmap(f, wa)); f returns F<B>
//   core::distributeM(mfa)      the same with a Monad M outside
//   core::collectM(f, ma)
//
// The distributive F is deduced from the element type of the outer value
// (or from f's result). An implementation is `template <> struct
// Distributive<Tag>` deriving from DistributiveDefaults<Tag, Self> and
// supplying `distribute` or `collect`. Implemented for functions from R,
// Identity, Proxy, Tagged, Compose and Product of distributives, IdentityT,
// ReaderT over a distributive, Backwards and Reverse.
#include <type_traits>
#include <utility>

#include "Core/Functor.h"
#include "Core/FunctorTypes.h"
#include "Core/Kinds.h"

namespace core {

template <class K>
struct Distributive {
    using NotImplemented = void;
};
template <class K>
concept IsDistributive = IsFunctor<K> && !requires { typename Distributive<K>::NotImplemented; };

template <class K, class Self>
struct DistributiveDefaults {
    template <class F, class WA>
    static auto collect(F&& f, const WA& wa) {
        return Self::distribute(core::fmap(std::forward<F>(f), wa));
    }
    template <class WFA>
    static auto distribute(const WFA& wfa) {
        return Self::collect([](const ArgOf<WFA>& fa) { return fa; }, wfa);
    }
    template <class MFA>
    static auto distributeM(const MFA& mfa) {
        return Self::distribute(mfa);
    }
    template <class F, class MA>
    static auto collectM(F&& f, const MA& ma) {
        return Self::collect(std::forward<F>(f), ma);
    }
};

// W<F<A>> -> F<W<A>>, F distributive, W any Functor.
template <class WFA>
auto distribute(const WFA& wfa) {
    using K = detail::KindOrNone<ArgOf<WFA>>;
    if constexpr (!IsDistributive<K>)
        static_assert(detail::alwaysFalse<WFA>, "no Distributive implementation for the inner type");
    else
        return Distributive<K>::distribute(wfa);
}
template <class F, class WA>
auto collect(F&& f, const WA& wa) {
    using K = detail::KindOrNone<Result<F&, const ArgOf<WA>&>>;
    if constexpr (!IsDistributive<K>)
        static_assert(detail::alwaysFalse<WA>, "no Distributive implementation for the function's result");
    else
        return Distributive<K>::collect(std::forward<F>(f), wa);
}
template <class MFA>
auto distributeM(const MFA& mfa) {
    using K = detail::KindOrNone<ArgOf<MFA>>;
    if constexpr (!IsDistributive<K>)
        static_assert(detail::alwaysFalse<MFA>, "no Distributive implementation for the inner type");
    else
        return Distributive<K>::distributeM(mfa);
}
template <class F, class MA>
auto collectM(F&& f, const MA& ma) {
    using K = detail::KindOrNone<Result<F&, const ArgOf<MA>&>>;
    if constexpr (!IsDistributive<K>)
        static_assert(detail::alwaysFalse<MA>, "no Distributive implementation for the function's result");
    else
        return Distributive<K>::collectM(std::forward<F>(f), ma);
}

// ---- Implementations -----------------------------------------------------

template <class R>
struct Distributive<FunctionK<R>> : DistributiveDefaults<FunctionK<R>, Distributive<FunctionK<R>>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        using A = ArgOf<ArgOf<WFA>>;
        using WA = Apply<KindOfT<WFA>, A>;
        return Fn<R, WA>([w](R r) { return core::fmap([r](const Fn<R, A>& g) { return g(r); }, w); });
    }
};

template <>
struct Distributive<IdentityK> : DistributiveDefaults<IdentityK, Distributive<IdentityK>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        auto r = core::fmap([](const ArgOf<WFA>& x) { return x.value; }, w);
        return Identity<decltype(r)>{std::move(r)};
    }
};

template <>
struct Distributive<ProxyK> : DistributiveDefaults<ProxyK, Distributive<ProxyK>> {
    template <class WFA>
    static auto distribute(const WFA&) {
        using WA = Apply<KindOfT<WFA>, ArgOf<ArgOf<WFA>>>;
        return Proxy<WA>{};
    }
};

template <class S>
struct Distributive<TaggedK<S>> : DistributiveDefaults<TaggedK<S>, Distributive<TaggedK<S>>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        auto r = core::fmap([](const ArgOf<WFA>& x) { return x.value; }, w);
        return Tagged<S, decltype(r)>{std::move(r)};
    }
};

template <class F, class G>
    requires IsDistributive<F> && IsDistributive<G>
struct Distributive<ProductK<F, G>> : DistributiveDefaults<ProductK<F, G>, Distributive<ProductK<F, G>>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        auto a = Distributive<F>::distribute(core::fmap([](const ArgOf<WFA>& p) { return p.first; }, w));
        auto b = Distributive<G>::distribute(core::fmap([](const ArgOf<WFA>& p) { return p.second; }, w));
        return Product<F, G, ArgOf<decltype(a)>>{std::move(a), std::move(b)};
    }
};

template <class F, class G>
    requires IsDistributive<F> && IsDistributive<G>
struct Distributive<ComposeK<F, G>> : DistributiveDefaults<ComposeK<F, G>, Distributive<ComposeK<F, G>>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        auto outer = Distributive<F>::distribute(core::fmap([](const ArgOf<WFA>& c) { return c.value; }, w));
        auto r = Functor<F>::fmap([](const auto& wg) { return Distributive<G>::distribute(wg); }, outer);
        using WA = ArgOf<ArgOf<decltype(r)>>;
        return Compose<F, G, WA>{std::move(r)};
    }
};

template <class M>
    requires IsDistributive<M>
struct Distributive<IdentityTK<M>> : DistributiveDefaults<IdentityTK<M>, Distributive<IdentityTK<M>>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        auto r = Distributive<M>::distribute(core::fmap([](const ArgOf<WFA>& x) { return x.value; }, w));
        return IdentityT<M, ArgOf<decltype(r)>>{std::move(r)};
    }
};

template <class F>
    requires IsDistributive<F>
struct Distributive<BackwardsK<F>> : DistributiveDefaults<BackwardsK<F>, Distributive<BackwardsK<F>>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        auto r = Distributive<F>::distribute(core::fmap([](const ArgOf<WFA>& x) { return x.value; }, w));
        return Backwards<F, ArgOf<decltype(r)>>{std::move(r)};
    }
};

template <class F>
    requires IsDistributive<F>
struct Distributive<ReverseK<F>> : DistributiveDefaults<ReverseK<F>, Distributive<ReverseK<F>>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        auto r = Distributive<F>::distribute(core::fmap([](const ArgOf<WFA>& x) { return x.value; }, w));
        return Reverse<F, ArgOf<decltype(r)>>{std::move(r)};
    }
};

template <class R, class M>
    requires IsDistributive<M>
struct Distributive<ReaderTK<R, M>> : DistributiveDefaults<ReaderTK<R, M>, Distributive<ReaderTK<R, M>>> {
    template <class WFA>
    static auto distribute(const WFA& w) {
        auto run = [w](R r) {
            return Distributive<M>::distribute(core::fmap([r](const ArgOf<WFA>& x) { return x.run(r); }, w));
        };
        using MWA = decltype(run(std::declval<R>()));
        return ReaderT<R, M, ArgOf<MWA>>{std::move(run)};
    }
};

}  // namespace core
