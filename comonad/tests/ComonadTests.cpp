// The comonads of the standard contexts: the operations' tables, the
// evaluation rules (deferred positions, unbounded lists, self-reference)
// and the laws as properties.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Control/Comonad.h"
#include "Control/Comonad/Identity.h"
#include "Core/Monoids.h"

using comonad::duplicate;
using comonad::extend;
using comonad::extract;
using core::Lazy;
using core::List;
using core::NonEmpty;

namespace {

template <class A>
std::vector<A> vec(const NonEmpty<A>& xs) {
    return xs.toVector();
}
NonEmpty<int> ne(const std::vector<int>& v) { return NonEmpty<int>::fromVector(v); }

TEST(NonEmptyComonad, ExtendRefocusesOnEverySuffix) {
    auto len = [](const NonEmpty<int>& w) { return static_cast<int>(w.length()); };
    EXPECT_EQ(vec(extend(len, ne({1, 2, 3}))), (std::vector<int>{3, 2, 1}));
    auto d = duplicate(NonEmpty<int>(7));
    ASSERT_EQ(d.length(), 1u);
    EXPECT_EQ(vec(d.head), std::vector<int>{7});
    auto d3 = duplicate(ne({1, 2, 3}));
    EXPECT_EQ(vec(d3.tail.head()), (std::vector<int>{2, 3}));
    EXPECT_EQ(extract(ne({4, 5})), 4);
    EXPECT_EQ(vec(comonad::liftW([](int x) { return x * 10; }, ne({1, 2}))), (std::vector<int>{10, 20}));
}

TEST(NonEmptyComonad, ExtendOnAnUnboundedListComputesOnlyThePositionsRead) {
    auto nats = NonEmpty<long>(0, List<long>::iterate([](long n) { return n + 1; }, 1));
    std::atomic<int> calls{0};
    auto sums = extend(
        [&calls](const NonEmpty<long>& w) {
            ++calls;
            return w.head + w.tail.head();  // reads one neighbour
        },
        nats);
    EXPECT_EQ(calls, 1);  // the current position
    std::vector<long> first;
    for (long x : sums.tail.take(4)) first.push_back(x);
    EXPECT_EQ(first, (std::vector<long>{3, 5, 7, 9}));
    EXPECT_EQ(calls, 5);
    // Each position is computed once: reading again costs nothing.
    for (long x : sums.tail.take(4)) (void)x;
    EXPECT_EQ(calls, 5);
}

TEST(NonEmptyComonad, ApplyCombinesEveryFunctionWithEveryValue) {
    using F = std::function<int(int)>;
    NonEmpty<F> fs(F([](int x) { return x + 1; }), List<F>{F([](int x) { return x * 10; })});
    EXPECT_EQ(vec(comonad::apW(fs, ne({1, 2}))), (std::vector<int>{2, 3, 10, 20}));
    NonEmpty<std::string> abc = NonEmpty<std::string>::fromVector({"a", "b", "c"});
    EXPECT_EQ(vec(comonad::apRightW(ne({1, 2}), abc)), (std::vector<std::string>{"a", "b", "c", "a", "b", "c"}));
    EXPECT_EQ(vec(comonad::apLeftW(ne({1, 2}), abc)), (std::vector<int>{1, 1, 1, 2, 2, 2}));
    // <@@>: the positions of the values come first.
    EXPECT_EQ(vec(comonad::apFlippedW(ne({1, 2}), fs)), (std::vector<int>{2, 10, 3, 20}));
    EXPECT_EQ(vec(comonad::liftW2([](int a, int b) { return a - b; }, ne({10, 20}), ne({1, 2}))),
              (std::vector<int>{9, 8, 19, 18}));
    EXPECT_EQ(vec(comonad::liftW3([](int a, int b, int c) { return a + b + c; }, ne({100}), ne({10, 20}), ne({1}))),
              (std::vector<int>{111, 121}));
}

TEST(PairComonad, KeepsTheEnvironmentAndSeesTheWholePair) {
    std::pair<std::string, int> w{"env", 4};
    EXPECT_EQ(extract(w), 4);
    auto e = extend([](const std::pair<std::string, int>& p) { return p.first + std::to_string(p.second); }, w);
    EXPECT_EQ(e, (std::pair<std::string, std::string>{"env", "env4"}));
    EXPECT_EQ(duplicate(w), (std::pair<std::string, std::pair<std::string, int>>{"env", w}));
    std::function<int(int)> f = [](int x) { return x * 2; };
    auto r = comonad::apW(std::pair<std::string, std::function<int(int)>>{"a", f}, std::pair<std::string, int>{"b", 1});
    EXPECT_EQ(r, (std::pair<std::string, int>{"ab", 2}));
    EXPECT_EQ(comonad::apRightW(std::pair<std::string, int>{"a", 1}, std::pair<std::string, char>{"b", 'x'}),
              (std::pair<std::string, char>{"ab", 'x'}));
    EXPECT_EQ(comonad::apLeftW(std::pair<std::string, int>{"a", 1}, std::pair<std::string, char>{"b", 'x'}),
              (std::pair<std::string, int>{"ab", 1}));
}

TEST(ArgComonad, KeyStaysValueIsExtended) {
    core::Arg<int, std::string> a{3, "x"};
    EXPECT_EQ(extract(a), "x");
    auto e = extend([](const core::Arg<int, std::string>& w) { return w.value.size() + static_cast<std::size_t>(w.key); }, a);
    EXPECT_EQ(e.key, 3);
    EXPECT_EQ(e.value, 4u);
    EXPECT_EQ(duplicate(a).value.value, "x");
    // Equality and order look at the key only.
    EXPECT_EQ(a, (core::Arg<int, std::string>{3, "other"}));
    EXPECT_LT(a, (core::Arg<int, std::string>{4, "a"}));
}

TEST(FunctionComonad, CurrentPositionIsTheEmptyElement) {
    using M = core::Additive<int>;
    core::Fn<M, int> f = [](M m) { return m.value * 100 + 1; };
    EXPECT_EQ(extract(f), 1);
    auto d = duplicate(f);
    EXPECT_EQ(d(M{2})(M{3}), f(M{5}));
    // The outer argument stands on the left of <>.
    core::Fn<std::string, std::string> g = [](std::string s) { return "<" + s + ">"; };
    EXPECT_EQ(duplicate(g)("ab")("cd"), "<abcd>");
    auto e = extend([](const core::Fn<std::string, std::string>& h) { return h("!"); }, g);
    EXPECT_EQ(e("x"), "<x!>");
    core::Fn<std::string, std::function<int(int)>> fs = [](std::string s) {
        return std::function<int(int)>([s](int x) { return x + static_cast<int>(s.size()); });
    };
    core::Fn<std::string, int> as = [](std::string s) { return static_cast<int>(s.size()) * 10; };
    EXPECT_EQ(comonad::apW(fs, as)("abc"), 33);
    EXPECT_EQ(comonad::apRightW(fs, as)("ab"), 20);
}

TEST(IdentityLikeComonads, ExtractAndExtend) {
    core::Identity<int> i{5};
    EXPECT_EQ(extract(i), 5);
    EXPECT_EQ(extend([](const core::Identity<int>& w) { return w.value + 1; }, i).value, 6);
    EXPECT_EQ(duplicate(i).value.value, 5);
    EXPECT_EQ(comonad::apW(core::Identity<std::function<int(int)>>{[](int x) { return -x; }}, i).value, -5);
    EXPECT_EQ(comonad::apRightW(i, core::Identity<char>{'c'}).value, 'c');
    EXPECT_EQ(comonad::apLeftW(i, core::Identity<char>{'c'}).value, 5);

    core::Tagged<struct Tag, int> t{7};
    EXPECT_EQ(extract(t), 7);
    EXPECT_EQ(extend([](const core::Tagged<Tag, int>& w) { return w.value * 2; }, t).value, 14);

    core::IdentityT<core::NonEmptyK, int> it{ne({1, 2, 3})};
    EXPECT_EQ(extract(it), 1);
    auto sums = extend([](const core::IdentityT<core::NonEmptyK, int>& w) { return core::sum(w.value.toList()); }, it);
    EXPECT_EQ(vec(sums.value), (std::vector<int>{6, 5, 3}));
    auto ap = comonad::apW(core::IdentityT<core::NonEmptyK, std::function<int(int)>>{NonEmpty<std::function<int(int)>>([](int x) { return x + 1; })},
                           it);
    EXPECT_EQ(vec(ap.value), (std::vector<int>{2, 3, 4}));
}

TEST(SumComonad, CoproductCallsOnlyThePresentSide) {
    using S = core::Sum<core::IdentityK, core::NonEmptyK, int>;
    int leftCalls = 0, rightCalls = 0;
    auto onL = [&](const core::Identity<int>& x) { ++leftCalls; return x.value; };
    auto onR = [&](const NonEmpty<int>& x) { ++rightCalls; return x.head; };
    S l = core::InL<core::NonEmptyK>(core::Identity<int>{3});
    S r = core::InR<core::IdentityK>(ne({8, 9}));
    EXPECT_EQ(comonad::coproduct(onL, onR, l), 3);
    EXPECT_EQ(leftCalls, 1);
    EXPECT_EQ(rightCalls, 0);
    EXPECT_EQ(comonad::coproduct(onL, onR, r), 8);
    EXPECT_EQ(leftCalls, 1);
    EXPECT_EQ(rightCalls, 1);

    EXPECT_EQ(extract(l), 3);
    EXPECT_EQ(extract(r), 8);
    auto countOf = [](const S& s) { return s.isInL() ? 1 : static_cast<int>(s.right().length()); };
    auto er = extend(countOf, r);
    ASSERT_FALSE(er.isInL());
    EXPECT_EQ(vec(er.right()), (std::vector<int>{2, 1}));
    auto el = extend(countOf, l);
    ASSERT_TRUE(el.isInL());
    EXPECT_EQ(el.left().value, 1);
    EXPECT_EQ(extract(duplicate(r)), r);
}

TEST(CokleisliComposition, OperatorsComposeThroughExtend) {
    auto len = [](const NonEmpty<int>& w) { return static_cast<int>(w.length()); };
    auto headTimes10 = [](const NonEmpty<int>& w) { return w.head * 10; };
    // =>=: len first, then headTimes10 on the extended context.
    EXPECT_EQ(comonad::cokleisli(len, headTimes10)(ne({5, 6, 7})), 30);
    // =<=: len second.
    EXPECT_EQ(comonad::cokleisliFlipped(len, headTimes10)(ne({5, 6, 7})), 3);
    EXPECT_EQ(vec(comonad::cobind(ne({1, 2}), len)), vec(comonad::cobindFlipped(len, ne({1, 2}))));
}

// ---- Self-reference -------------------------------------------------------

TEST(FixedPoints, CfixIgnoringItsArgumentReturnsAtOnce) {
    int calls = 0;
    auto c = comonad::cfix<core::IdentityK, int>([&calls](const core::Identity<Lazy<int>>&) {
        ++calls;
        return 42;
    });
    EXPECT_EQ(extract(c), 42);
    EXPECT_EQ(calls, 1);
    auto n = comonad::cfix<core::NonEmptyK, int>([&calls](const NonEmpty<Lazy<int>>&) {
        ++calls;
        return 7;
    });
    EXPECT_EQ(extract(n), 7);
    EXPECT_EQ(calls, 2);
    // The spine of a NonEmpty fixed point is its own: demanding it is a
    // self-dependency.
    EXPECT_THROW((void)n.tail.null(), core::Error);
    auto t = comonad::cfix<core::TaggedK<struct T>, int>([](const core::Tagged<T, Lazy<int>>&) { return 1; });
    EXPECT_EQ(extract(t), 1);
    auto it = comonad::cfix<core::IdentityTK<core::IdentityK>, int>(
        [](const core::IdentityT<core::IdentityK, Lazy<int>>&) { return 3; });
    EXPECT_EQ(extract(it), 3);
}

TEST(FixedPoints, SelfDemandRaisesTheSelfDependencyError) {
    try {
        (void)comonad::cfix<core::IdentityK, int>([](const core::Identity<Lazy<int>>& self) { return self.value.force() + 1; });
        FAIL() << "expected a self-dependency error";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "deferred value depends on itself");
    }
    using F = std::function<int(const NonEmpty<Lazy<int>>&)>;
    NonEmpty<F> selfish(F([](const NonEmpty<Lazy<int>>& c) { return c.head.force(); }));
    try {
        (void)comonad::wfix(selfish);
        FAIL() << "expected a self-dependency error";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "deferred value depends on itself");
    }
    try {
        (void)comonad::kfix(selfish);
        FAIL() << "expected a self-dependency error";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "deferred value depends on itself");
    }
}

TEST(FixedPoints, WfixReadsOtherPositionsOnDemand) {
    // Each position is one more than the next; the last is 0.
    using F = std::function<int(const NonEmpty<Lazy<int>>&)>;
    std::atomic<int> calls{0};
    F step = [&calls](const NonEmpty<Lazy<int>>& c) {
        ++calls;
        return c.tail.null() ? 0 : 1 + c.tail.head().force();
    };
    NonEmpty<F> w(step, List<F>{step, step, step});
    EXPECT_EQ(comonad::wfix(w), 3);
    EXPECT_EQ(calls, 4);
    // A function that reads nothing leaves the other positions unevaluated.
    calls = 0;
    F constant = [&calls](const NonEmpty<Lazy<int>>&) { ++calls; return 9; };
    EXPECT_EQ(comonad::wfix(NonEmpty<F>(constant, List<F>::repeat(step))), 9);
    EXPECT_EQ(calls, 1);
}

TEST(FixedPoints, KfixOverFunctionsTiesTheKnotThroughTheTrace) {
    // u(m) = 1 + u(m <> "x") until the trace is three long: u("") == 3.
    using M = std::string;
    using Ctx = core::Fn<M, Lazy<int>>;
    using F = std::function<int(const Ctx&)>;
    core::Fn<M, F> w = [](M m) {
        return F([m](const Ctx& c) { return m.size() >= 3 ? 0 : 1 + c("x").force(); });
    };
    auto u = comonad::kfix(w);
    EXPECT_EQ(u(""), 3);
    EXPECT_EQ(u("y"), 2);
    EXPECT_EQ(extract(u), 3);
    // Asking for the current position is a self-dependency.
    core::Fn<M, F> selfish = [](M) { return F([](const Ctx& c) { return c("").force(); }); };
    EXPECT_THROW((void)comonad::kfix(selfish)(""), core::Error);
}

TEST(FixedPoints, KfixOverIdentity) {
    using F = std::function<int(const core::Identity<Lazy<int>>&)>;
    EXPECT_EQ(extract(comonad::kfix(core::Identity<F>{F([](const core::Identity<Lazy<int>>&) { return 11; })})), 11);
}

// ---- Laws -------------------------------------------------------------------

// extract . duplicate = id, fmap extract . duplicate = id,
// duplicate . duplicate = fmap duplicate . duplicate, for a context w and an
// observation `obs` that turns contexts into comparable values.
template <class W, class Obs>
void checkComonadLaws(const W& w, Obs obs) {
    RC_ASSERT(obs(extract(duplicate(w))) == obs(w));
    RC_ASSERT(obs(core::fmap([](const W& v) { return extract(v); }, duplicate(w))) == obs(w));
    auto dd = duplicate(duplicate(w));
    auto fd = core::fmap([](const W& v) { return duplicate(v); }, duplicate(w));
    auto obs2 = [&](const auto& x) {
        return obs(core::fmap([&](const auto& inner) { return obs(core::fmap([&](const W& v) { return obs(v); }, inner)); }, x));
    };

    RC_ASSERT(obs2(dd) == obs2(fd));
}

RC_GTEST_PROP(ComonadLaws, NonEmpty, (int hIn, const std::vector<int>& tIn)) {
    const int h = hIn % 10000;  // no overflow in the arithmetic below
    std::vector<int> t;
    for (int x : tIn) t.push_back(x % 10000);
    NonEmpty<int> w(h, List<int>(t));
    checkComonadLaws(w, [](const auto& x) { return x.toVector(); });
    // extend k = fmap k . duplicate
    auto k = [](const NonEmpty<int>& v) { return v.head * 3 + static_cast<int>(v.length()); };
    RC_ASSERT(vec(extend(k, w)) == vec(core::fmap(k, duplicate(w))));
}

RC_GTEST_PROP(ComonadLaws, PairIdentityArg, (const std::string& e, int aIn)) {
    const int a = aIn % 10000;  // no overflow in the arithmetic below
    checkComonadLaws(std::pair<std::string, int>(e, a), [](const auto& x) { return x; });
    checkComonadLaws(core::Identity<int>{a}, [](const auto& x) { return x.value; });
    checkComonadLaws(core::Arg<std::string, int>{e, a}, [](const auto& x) { return std::make_pair(x.key, x.value); });
}

RC_GTEST_PROP(ComonadLaws, FunctionsFromAMonoid, (const std::string& p, const std::string& q)) {
    core::Fn<std::string, std::size_t> f = [](std::string s) { return s.size() * 7 + (s.empty() ? 0 : s[0]); };
    // Observe a function at a few arguments.
    auto at = [&](const auto& g) { return std::vector<decltype(g(p))>{g(""), g(p), g(q), g(p + q)}; };
    RC_ASSERT(at(extract(duplicate(f))) == at(f));
    auto back = core::fmap([](const core::Fn<std::string, std::size_t>& v) { return extract(v); }, duplicate(f));
    RC_ASSERT(at(back) == at(f));
    auto dd = duplicate(duplicate(f));
    auto fd = core::fmap([](const core::Fn<std::string, std::size_t>& v) { return duplicate(v); }, duplicate(f));
    RC_ASSERT(dd(p)(q)("z") == fd(p)(q)("z"));
    RC_ASSERT(dd(q)("")(p) == fd(q)("")(p));
}

RC_GTEST_PROP(ComonadApplyLaws, NonEmptyAndPair, (const std::vector<int>& aIn, const std::vector<int>& bIn, int hIn)) {
    std::vector<int> a;
    for (int x : aIn) a.push_back(x % 10000);
    std::vector<int> b;
    for (int x : bIn) b.push_back(x % 10000);
    const int h = hIn % 10000;  // no overflow in the arithmetic below
    // (.) <$> u <@> v <@> w = u <@> (v <@> w), and
    // extract (p <@> q) = extract p (extract q).
    using F = std::function<int(int)>;
    NonEmpty<F> u(F([](int x) { return x + 1; }), List<F>{F([](int x) { return x * 2; })});
    NonEmpty<F> v(F([](int x) { return x - 3; }));
    NonEmpty<int> w(h, List<int>(a));
    auto composeF = [](const F& f) { return [f](const F& g) { return F([f, g](int x) { return f(g(x)); }); }; };
    auto lhs = comonad::apW(comonad::apW(core::fmap(composeF, u), v), w);
    auto rhs = comonad::apW(u, comonad::apW(v, w));
    RC_ASSERT(vec(lhs) == vec(rhs));
    RC_ASSERT(extract(comonad::apW(u, w)) == extract(u)(extract(w)));
    std::pair<std::vector<int>, F> pf{a, F([](int x) { return x * 5; })};
    std::pair<std::vector<int>, int> px{b, h};
    auto r = comonad::apW(pf, px);
    RC_ASSERT(extract(r) == h * 5);
    std::vector<int> ab = a;
    ab.insert(ab.end(), b.begin(), b.end());
    RC_ASSERT(r.first == ab);
}

}  // namespace
