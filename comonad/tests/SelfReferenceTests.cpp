// Self-referential contexts over the transformers and over functions of a
// trace: every position of the fixed point is its own, and only demanding
// the position being computed is a self-dependency.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "Control/Comonad.h"
#include "Control/Comonad/Store.h"
#include "Control/Comonad/Traced.h"

using core::Fn;
using core::Lazy;
using core::List;
using core::NonEmpty;

namespace {

template <class Body>
std::string errorOf(Body body) {
    try {
        body();
    } catch (const core::Error& e) {
        return e.what();
    }
    return "no error";
}

// Over an inner context with several positions, the other inner positions
// are other positions of the fixed point, also at the current trace or
// store position: reading them is not a self-dependency.
TEST(SelfReference, WfixOverTracedAndStoreReadsTheOtherInnerPositions) {
    using M = std::string;
    using TCtx = comonad::TracedT<M, core::NonEmptyK, Lazy<int>>;
    using TF = std::function<int(const TCtx&)>;
    Fn<M, TF> readNext = [](M) { return TF([](const TCtx& c) { return 1 + c.inner.tail.head()("").force(); }); };
    Fn<M, TF> seven = [](M) { return TF([](const TCtx&) { return 7; }); };
    comonad::TracedT<M, core::NonEmptyK, TF> t{NonEmpty<Fn<M, TF>>(readNext, List<Fn<M, TF>>{seven})};
    EXPECT_EQ(comonad::wfix(t), 8);
    Fn<M, TF> readSelf = [](M) { return TF([](const TCtx& c) { return c.inner.head("").force(); }); };
    comonad::TracedT<M, core::NonEmptyK, TF> selfish{NonEmpty<Fn<M, TF>>(readSelf, List<Fn<M, TF>>{seven})};
    EXPECT_EQ(errorOf([&] { (void)comonad::wfix(selfish); }), "deferred value depends on itself");

    using SCtx = comonad::StoreT<int, core::NonEmptyK, Lazy<int>>;
    using SF = std::function<int(const SCtx&)>;
    Fn<int, SF> below = [](int) { return SF([](const SCtx& c) { return 1 + c.inner.tail.head()(0).force(); }); };
    Fn<int, SF> five = [](int) { return SF([](const SCtx&) { return 5; }); };
    comonad::StoreT<int, core::NonEmptyK, SF> s{NonEmpty<Fn<int, SF>>(below, List<Fn<int, SF>>{five}), 0};
    EXPECT_EQ(comonad::wfix(s), 6);
    Fn<int, SF> here = [](int) { return SF([](const SCtx& c) { return comonad::extract(c).force(); }); };
    comonad::StoreT<int, core::NonEmptyK, SF> selfStore{NonEmpty<Fn<int, SF>>(here, List<Fn<int, SF>>{five}), 0};
    EXPECT_EQ(errorOf([&] { (void)comonad::wfix(selfStore); }), "deferred value depends on itself");
}

TEST(SelfReference, WfixOverASumFindsTheSelfDependency) {
    using S = core::Sum<core::IdentityK, core::NonEmptyK, Lazy<int>>;
    using F = std::function<int(const S&)>;
    using W = core::Sum<core::IdentityK, core::NonEmptyK, F>;
    W ok = core::InR<core::IdentityK>(NonEmpty<F>(F([](const S& c) { return 1 + c.right().tail.head().force(); }),
                                                  List<F>{F([](const S&) { return 2; })}));
    EXPECT_EQ(comonad::wfix(ok), 3);
    W selfish = core::InL<core::NonEmptyK>(core::Identity<F>{F([](const S& c) { return c.left().value.force(); })});
    EXPECT_EQ(errorOf([&] { (void)comonad::wfix(selfish); }), "deferred value depends on itself");
}

// x = extend(f, x) over functions of a trace and over Traced: the shape of
// these contexts does not depend on their values, so the fixed point exists.
TEST(SelfReference, CfixOverFunctionsAndTraced) {
    using M = std::string;
    int calls = 0;
    auto x = comonad::cfix<core::FunctionK<M>, int>([&calls](const Fn<M, Lazy<int>>&) { return ++calls, 42; });
    EXPECT_EQ(comonad::extract(x), 42);
    EXPECT_EQ(x("abc"), 42);
    auto selfish = comonad::cfix<core::FunctionK<M>, int>([](const Fn<M, Lazy<int>>& c) { return c("").force(); });
    EXPECT_EQ(errorOf([&] { (void)selfish("a"); }), "deferred value depends on itself");

    using T = comonad::TracedT<M, core::IdentityK, Lazy<int>>;
    auto t = comonad::cfix<comonad::TracedTK<M, core::IdentityK>, int>([](const T&) { return 9; });
    EXPECT_EQ(comonad::extract(t), 9);
    EXPECT_EQ(comonad::trace(std::string("q"), t), 9);
    auto selfT = comonad::cfix<comonad::TracedTK<M, core::IdentityK>, int>(
        [](const T& c) { return comonad::extract(c).force(); });
    EXPECT_EQ(errorOf([&] { (void)comonad::extract(selfT); }), "deferred value depends on itself");
}

TEST(SelfReference, KfixOverTracedTiesTheKnotThroughTheTrace) {
    // u(m) = 1 + u(m <> "x") until the trace is three long.
    using M = std::string;
    using Ctx = comonad::TracedT<M, core::IdentityK, Lazy<int>>;
    using F = std::function<int(const Ctx&)>;
    auto w = comonad::traced<M>([](const M& m) {
        return F([m](const Ctx& c) { return m.size() >= 3 ? 0 : 1 + comonad::trace(std::string("x"), c).force(); });
    });
    auto u = comonad::kfix(w);
    EXPECT_EQ(comonad::extract(u), 3);
    EXPECT_EQ(comonad::trace(std::string("y"), u), 2);
    auto selfish = comonad::traced<M>([](const M&) { return F([](const Ctx& c) { return comonad::extract(c).force(); }); });
    EXPECT_EQ(errorOf([&] { (void)comonad::extract(comonad::kfix(selfish)); }), "deferred value depends on itself");
}

}  // namespace
