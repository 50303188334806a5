// ComonadApply laws for every implementation, and compile-time checks of
// which contexts supply which capability.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "Control/Comonad/Env.h"
#include "Control/Comonad/Identity.h"
#include "Control/Comonad/Store.h"
#include "Control/Comonad/Traced.h"
#include "Core/Monoids.h"

using namespace comonad;
using core::Fn;
using core::IdentityK;

namespace {

using F = std::function<int(int)>;

// (.) <$> u <@> v <@> w = u <@> (v <@> w)  and, where positions do not
// combine, extract (u <@> w) = extract u (extract w); observed by `obs`.
template <class WF, class WA, class Obs>
void checkApplyLaws(const WF& u, const WF& v, const WA& w, Obs obs, bool extractLaw = true) {
    auto composeF = [](const F& f) { return [f](const F& g) { return F([f, g](int x) { return f(g(x)); }); }; };
    auto lhs = apW(apW(core::fmap(composeF, u), v), w);
    auto rhs = apW(u, apW(v, w));
    RC_ASSERT(obs(lhs) == obs(rhs));
    if (extractLaw) RC_ASSERT(extract(apW(u, w)) == extract(u)(extract(w)));
    // The defaults of @> and <@ keep the combination and one side's values.
    RC_ASSERT(obs(apRightW(u, w)) == obs(apW(core::fmap([](const F&) { return F([](int x) { return x; }); }, u), w)));
    RC_ASSERT(obs(apLeftW(w, w)) == obs(apW(core::fmap([](int x) { return F([x](int) { return x; }); }, w), w)));
}

F adder(int k) {
    return [k](int x) { return x + k; };
}
F scaler(int k) {
    return [k](int x) { return x * k; };
}

RC_GTEST_PROP(ComonadApplyLaws, IdentityAndIdentityT, (int aIn, int kIn)) {
    const int a = aIn % 10000;  // no overflow in the arithmetic below
    const int k = kIn % 10000;  // no overflow in the arithmetic below
    checkApplyLaws(core::Identity<F>{adder(k)}, core::Identity<F>{scaler(3)}, core::Identity<int>{a},
                   [](const auto& x) { return x.value; });
    using IT = core::IdentityT<IdentityK, F>;
    checkApplyLaws(IT{{adder(k)}}, IT{{scaler(2)}}, core::IdentityT<IdentityK, int>{{a}},
                   [](const auto& x) { return x.value.value; });
}

RC_GTEST_PROP(ComonadApplyLaws, FunctionsFromAMonoid, (int kIn, const std::string& probe)) {
    const int k = kIn % 10000;  // no overflow in the arithmetic below
    Fn<std::string, F> u = [k](std::string m) { return adder(k + static_cast<int>(m.size())); };
    Fn<std::string, F> v = [](std::string m) { return scaler(static_cast<int>(m.size()) + 1); };
    Fn<std::string, int> w = [](std::string m) { return static_cast<int>(m.size()) * 7; };
    checkApplyLaws(u, v, w, [&](const auto& f) { return f(probe); });
}

RC_GTEST_PROP(ComonadApplyLaws, EnvStoreTraced, (int aIn, int kIn, const std::string& e1, const std::string& e2, int probeIn)) {
    const int a = aIn % 10000;  // no overflow in the arithmetic below
    const int k = kIn % 10000;  // no overflow in the arithmetic below
    const int probe = probeIn % 10000;  // no overflow in the arithmetic below
    checkApplyLaws(env(e1, adder(k)), env(e2, scaler(2)), env(e1 + e2, a),
                   [](const auto& x) { return std::make_pair(x.env, x.inner.value); });
    using M = core::Additive<int>;
    auto su = store([k](M s) { return adder(k + s.value); }, M{1});
    auto sv = store([](M s) { return scaler(s.value); }, M{2});
    auto sw = store([a](M s) { return a - s.value; }, M{3});
    // A store's combination moves to the combined position.
    checkApplyLaws(su, sv, sw, [&](const auto& x) { return std::make_pair(pos(x).value, peek(M{probe % 100}, x)); }, false);
    RC_ASSERT(extract(apW(su, sw)) == peek(M{4}, su)(peek(M{4}, sw)));
    auto tu = traced<std::string>([k](const std::string& m) { return adder(k + static_cast<int>(m.size())); });
    auto tv = traced<std::string>([](const std::string& m) { return scaler(static_cast<int>(m.size()) + 2); });
    auto tw = traced<std::string>([a](const std::string& m) { return a + static_cast<int>(m.size()); });
    checkApplyLaws(tu, tv, tw, [&](const auto& x) { return trace(e1, x); });
}

// Which layer supplies which capability, decided at compile time.
using EnvOverStore = EnvTK<int, StoreTK<int, IdentityK>>;
using StoreOverTraced = StoreTK<int, TracedTK<std::string, IdentityK>>;
static_assert(IsComonadEnv<EnvOverStore>);
static_assert(IsComonadStore<EnvOverStore>);
static_assert(!IsComonadTraced<EnvOverStore>);
static_assert(!IsComonadEnv<StoreOverTraced>);
static_assert(IsComonadStore<StoreOverTraced>);
static_assert(IsComonadTraced<StoreOverTraced>);
static_assert(IsComonadTraced<core::FunctionK<std::string>>);
static_assert(IsComonadEnv<core::PairK<char>> && IsComonadEnv<core::ArgK<char>>);
static_assert(!IsComonadStore<core::IdentityTK<IdentityK>>);
static_assert(IsComonadStore<core::IdentityTK<StoreTK<int, IdentityK>>>);
static_assert(IsComonadTrans<TracedTK<std::string, IdentityK>> && !IsComonadTrans<IdentityK>);
static_assert(IsComonadApply<StoreTK<std::string, IdentityK>> && !IsComonadApply<StoreTK<int, IdentityK>>,
              "a store combines positions only with a Semigroup");
static_assert(!IsComonad<core::OptionalK> && !IsComonad<core::FunctionK<int>>,
              "neither an optional nor a function from a type that is not a Monoid is a comonad");

}  // namespace
