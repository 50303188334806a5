#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "Data/Fix.h"

using core::Lazy;
using pomrel::Fix;
using pomrel::ListF;
using pomrel::ListFK;

namespace {

using IntList = Fix<ListFK<int>>;
using L = ListF<int, IntList>;

// n, n-1, ..., 1 as a list-shaped layer.
ListF<int, int> countdown(int n) {
    if (n <= 0) return ListF<int, int>();
    return ListF<int, int>(n, n - 1);
}
long sumAlg(const ListF<int, long>& l) { return l.isNil() ? 0 : l.head() + l.tail(); }

IntList fromVector(const std::vector<int>& xs) {
    IntList out = L();
    for (auto i = xs.rbegin(); i != xs.rend(); ++i) out = L(*i, out);
    return out;
}
std::vector<int> toVector(const IntList& x) { return pomrel::fixToList(x).toVector(); }

// The hole type of an algebra with a plain parameter F<A>.
template <class M>
struct ParamOf;
template <class C, class R, class P>
struct ParamOf<R (C::*)(P) const> {
    using type = std::remove_cvref_t<P>;
};
template <class Alg>
using HoleOf = core::ArgOf<typename ParamOf<decltype(&Alg::operator())>::type>;

}  // namespace

TEST(FixSchemes, UnfoldFoldAndRefoldAgreeOnCountdown) {
    IntList xs = pomrel::unfoldFix(countdown, 3);
    EXPECT_EQ(toVector(xs), (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(pomrel::foldFix(sumAlg, xs), 6);
    EXPECT_EQ(pomrel::cata(sumAlg, xs), 6);
    EXPECT_EQ(pomrel::refold(sumAlg, countdown, 3), 6);
    EXPECT_EQ(pomrel::hylo(sumAlg, countdown, 3), 6);
    // A generic algebra names its result type.
    auto count = [](const auto& l) -> long { return l.isNil() ? 0 : 1 + l.tail(); };
    EXPECT_EQ(pomrel::cata<long>(count, xs), 3);
    EXPECT_EQ(pomrel::refold<long>(count, countdown, 7), 7);
}

RC_GTEST_PROP(FixSchemes, HyloIsCataAfterAna, (const std::vector<int>& raw)) {
    auto coalg = [](const std::vector<int>& v) {
        using R = ListF<int, std::vector<int>>;
        if (v.empty()) return R();
        return R(v.front(), std::vector<int>(v.begin() + 1, v.end()));
    };
    auto alg = [](const ListF<int, std::string>& l) -> std::string {
        return l.isNil() ? std::string(".") : std::to_string(l.head()) + "," + l.tail();
    };
    RC_ASSERT(pomrel::hylo(alg, coalg, raw) == pomrel::cata(alg, pomrel::ana(coalg, raw)));
    RC_ASSERT(pomrel::foldMu(alg, pomrel::unfoldMu(coalg, raw)) == pomrel::refold(alg, coalg, raw));
    RC_ASSERT(pomrel::foldNu(alg, pomrel::unfoldNu(coalg, raw)) == pomrel::refold(alg, coalg, raw));
    RC_ASSERT(toVector(pomrel::ana(coalg, raw)) == raw);
}

TEST(FixSchemes, UnfoldIsDeferredHoleByHoleAndComputedOnce) {
    std::atomic<int> calls{0};
    auto nats = [&calls](long n) {
        ++calls;
        return ListF<long, long>(n, n + 1);  // never stops
    };
    auto xs = pomrel::unfoldFix(nats, 0L);
    EXPECT_EQ(calls, 0);
    const Fix<ListFK<long>>* cur = &xs;
    for (long k = 0; k < 5; ++k) {
        EXPECT_EQ(cur->unFix().head(), k);
        cur = &cur->unFix().tail();
    }
    EXPECT_EQ(calls, 5);
    EXPECT_FALSE(cur->evaluated());
    // Inspecting again computes nothing.
    EXPECT_EQ(xs.unFix().tail().unFix().head(), 1);
    EXPECT_EQ(calls, 5);
    // A fold with deferred holes stops where the algebra stops.
    auto firstOver3 = [](const ListF<long, Lazy<long>>& l) -> long {
        if (l.isNil()) return -1;
        return l.head() > 3 ? l.head() : l.tail().force();
    };
    EXPECT_EQ(pomrel::cata(firstOver3, xs), 4);
    EXPECT_EQ(pomrel::refold(firstOver3, nats, 10L), 10);
}

TEST(FixSchemes, HoistsAgreeAndConvertOnDemand) {
    // From the list shape to std::optional: forget the elements.
    auto forget = [](const auto& l) {
        using R = std::decay_t<decltype(l.tail())>;
        return l.isNil() ? std::optional<R>() : std::optional<R>(l.tail());
    };
    IntList xs = fromVector({5, 6, 7});
    auto a = pomrel::hoistFix(forget, xs);
    auto b = pomrel::hoistFixPrime(forget, xs);
    static_assert(std::is_same_v<decltype(a), Fix<core::OptionalK>>);
    EXPECT_EQ(a, b);
    EXPECT_EQ(core::show(a), "Fix (Just (Fix (Just (Fix (Just (Fix Nothing))))))");
    auto c = pomrel::hoistFix<core::OptionalK>(forget, xs);
    EXPECT_EQ(a, c);

    // Conversion happens as the result is inspected, once per layer.
    std::atomic<int> calls{0};
    auto counted = [&calls](const auto& l) {
        ++calls;
        using R = std::decay_t<decltype(l.tail())>;
        return l.isNil() ? std::optional<R>() : std::optional<R>(l.tail());
    };
    auto nats = pomrel::unfoldFix([](int n) { return ListF<int, int>(n, n + 1); }, 0);
    auto h = pomrel::hoistFixPrime(counted, nats);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(h.unFix()->unFix()->unFix().has_value());
    EXPECT_EQ(calls, 3);
}

RC_GTEST_PROP(FixSchemes, HoistFixEqualsHoistFixPrime, (const std::vector<int>& raw)) {
    auto halve = [](const auto& l) {
        using R = std::decay_t<decltype(l.tail())>;
        return l.isNil() ? ListF<int, R>() : ListF<int, R>(l.head() / 2, l.tail());
    };
    IntList xs = fromVector(raw);
    RC_ASSERT(pomrel::hoistFix(halve, xs) == pomrel::hoistFixPrime(halve, xs));
    std::vector<int> halved;
    for (int x : raw) halved.push_back(x / 2);
    RC_ASSERT(toVector(pomrel::hoistFix(halve, xs)) == halved);
}

TEST(FixSchemes, MuFoldsRunTheSeedAgainAndWrapUnwrapAgree) {
    std::atomic<int> calls{0};
    auto coalg = [&calls](int n) {
        ++calls;
        return countdown(n);
    };
    auto m = pomrel::unfoldMu(coalg, 4);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(pomrel::foldMu(sumAlg, m), 10);
    EXPECT_EQ(calls, 5);
    EXPECT_EQ(pomrel::unMu(m)(sumAlg), 10);  // the fold function itself
    EXPECT_EQ(calls, 10);

    auto layer = pomrel::unwrapMu(m);  // one step
    EXPECT_EQ(calls, 11);
    EXPECT_EQ(layer.head(), 4);
    EXPECT_EQ(pomrel::foldMu(sumAlg, layer.tail()), 6);
    auto again = pomrel::wrapMu(layer);
    EXPECT_EQ(pomrel::foldMu(sumAlg, again), 10);
    EXPECT_EQ(pomrel::unwrapMu(again).head(), 4);
    EXPECT_EQ(pomrel::Mu<ListFK<int>>(pomrel::unMu(m)), m);

    auto negate = [](const auto& l) {
        using R = std::decay_t<decltype(l.tail())>;
        return l.isNil() ? ListF<int, R>() : ListF<int, R>(-l.head(), l.tail());
    };
    EXPECT_EQ(pomrel::foldMu(sumAlg, pomrel::hoistMu(negate, m)), -10);
}

TEST(FixSchemes, MuFromAFoldFunctionOfOnesOwn) {
    // The list 1, 2 in fold form: it works for an algebra of any result type.
    std::atomic<int> runs{0};
    pomrel::Mu<ListFK<int>> m([&runs](const auto& alg) {
        ++runs;
        using A = HoleOf<std::decay_t<decltype(alg)>>;
        const A nil = alg(ListF<int, A>());
        return alg(ListF<int, A>(1, alg(ListF<int, A>(2, nil))));
    });
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(pomrel::foldMu(sumAlg, m), 3);
    EXPECT_EQ(pomrel::unMu(m)([](const ListF<int, std::string>& l) {
                  return l.isNil() ? std::string("]") : std::to_string(l.head()) + "," + l.tail();
              }),
              "1,2,]");
    EXPECT_EQ(pomrel::unwrapMu(m).head(), 1);
    EXPECT_EQ(m, pomrel::unfoldMu(pomrel::unFix, fromVector({1, 2})));
    EXPECT_EQ(core::show(m), "unfoldMu unFix (Fix (Cons 1 (Fix (Cons 2 (Fix Nil)))))");
    const int before = runs;
    (void)pomrel::foldMu(sumAlg, m);
    EXPECT_GT(runs, before);  // every inspection runs the fold function again

    pomrel::Mu<core::OptionalK> two([](const auto& alg) {
        auto zero = alg(std::nullopt);
        return alg(std::optional(alg(std::optional(zero))));
    });
    EXPECT_EQ(core::show(two), "unfoldMu unFix (Fix (Just (Fix (Just (Fix Nothing)))))");
}

TEST(FixSchemes, NuStepsOnlyOnDemand) {
    std::atomic<int> calls{0};
    auto nats = [&calls](long n) {
        ++calls;
        return ListF<long, long>(n, n + 1);
    };
    pomrel::Nu n(nats, 0L);
    EXPECT_EQ(calls, 0);
    auto first = pomrel::unwrapNu(n);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(first.head(), 0);
    auto second = pomrel::unwrapNu(first.tail());
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(second.head(), 1);

    auto wrapped = pomrel::wrapNu(first);
    EXPECT_EQ(calls, 2);
    auto back = pomrel::unwrapNu(wrapped);
    EXPECT_EQ(back.head(), 0);
    EXPECT_EQ(pomrel::unwrapNu(back.tail()).head(), 1);

    auto firstOver = [](const ListF<long, Lazy<long>>& l) -> long { return l.head() >= 3 ? l.head() : l.tail().force(); };
    EXPECT_EQ(pomrel::foldNu(firstOver, n), 3);
    auto plus10 = [](const auto& l) {
        using R = std::decay_t<decltype(l.tail())>;
        return ListF<long, R>(l.head() + 10, l.tail());
    };
    EXPECT_EQ(pomrel::foldNu(firstOver, pomrel::hoistNu(plus10, n)), 10);
}

TEST(FixSchemes, EffectfulSchemesRunInPreAndPostOrder) {
    using Log = std::vector<std::string>;
    using pomrel::TreeF;
    // r has children c1 (with children c11, c12) and c2.
    auto children = [](const std::string& s) -> std::vector<std::string> {
        if (s == "r") return {"c1", "c2"};
        if (s == "c1") return {"c11", "c12"};
        return {};
    };
    auto coalg = [children](const std::string& s) {
        return std::pair<Log, TreeF<std::string, std::string>>(Log{s}, {s, children(s)});
    };
    auto [unfoldLog, tree] = pomrel::unfoldFixM(coalg, std::string("r"));
    EXPECT_EQ(unfoldLog, (Log{"r", "c1", "c11", "c12", "c2"}));

    auto alg = [](const TreeF<std::string, int>& t) {
        int n = 1;
        for (int c : t.children) n += c;
        return std::pair<Log, int>(Log{t.label}, n);
    };
    auto [foldLog, size] = pomrel::foldFixM(alg, tree);
    EXPECT_EQ(foldLog, (Log{"c11", "c12", "c1", "c2", "r"}));
    EXPECT_EQ(size, 5);
    EXPECT_EQ(pomrel::cataM(alg, tree).second, 5);

    auto [both, size2] = pomrel::refoldM(alg, coalg, std::string("r"));
    EXPECT_EQ(both, (Log{"r", "c1", "c11", "c11", "c12", "c12", "c1", "c2", "c2", "r"}));
    EXPECT_EQ(size2, 5);
    EXPECT_EQ(pomrel::hyloM(alg, coalg, std::string("r")).first, both);
}

TEST(FixSchemes, EffectfulSchemesStopWhereTheMonadStops) {
    std::vector<int> seen;
    auto coalg = [&seen](int n) -> std::optional<ListF<int, int>> {
        seen.push_back(n);
        if (n == 2) return std::nullopt;
        return countdown(n);
    };
    EXPECT_FALSE(pomrel::anaM(coalg, 5).has_value());
    EXPECT_EQ(seen, (std::vector<int>{5, 4, 3, 2}));
    auto ok = pomrel::unfoldFixM([](int n) { return std::optional<ListF<int, int>>(countdown(n)); }, 3);
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(toVector(*ok), (std::vector<int>{3, 2, 1}));

    std::vector<int> algSeen;
    auto checked = [&algSeen](const ListF<int, int>& l) -> core::Either<std::string, int> {
        if (l.isNil()) return core::Either<std::string, int>::right(0);
        algSeen.push_back(l.head());
        if (l.head() == 2) return core::Either<std::string, int>::left("two");
        return core::Either<std::string, int>::right(l.head() + l.tail());
    };
    auto r = pomrel::foldFixM(checked, fromVector({1, 2, 3}));
    ASSERT_TRUE(r.isLeft());
    EXPECT_EQ(r.unsafeLeft(), "two");
    EXPECT_EQ(algSeen, (std::vector<int>{3, 2}));  // innermost first, stops at 2
    auto fine = pomrel::hyloM(checked, [](int n) { return core::Either<std::string, ListF<int, int>>::right(countdown(n)); }, 1);
    ASSERT_TRUE(fine.isRight());
    EXPECT_EQ(fine.unsafeRight(), 1);
}

TEST(FixSchemes, ListConversionsAreLazyBothWays) {
    auto nats = core::List<int>::iterate([](int n) { return n + 1; }, 0);
    auto f = pomrel::listToFix(nats);
    EXPECT_EQ(f.unFix().tail().unFix().head(), 1);
    EXPECT_EQ(pomrel::fixToList(f).take(4).toVector(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(pomrel::listToFix(core::List<int>{1, 2}), fromVector({1, 2}));
}

TEST(FixSchemes, OtherBaseFunctorsFoldAndUnfold) {
    using pomrel::BinaryF;
    using pomrel::NonEmptyF;
    // A balanced binary tree over [lo, hi).
    auto split = [](std::pair<int, int> r) {
        using B = BinaryF<int, std::pair<int, int>>;
        if (r.first >= r.second) return B();
        int mid = (r.first + r.second) / 2;
        return B({r.first, mid}, mid, {mid + 1, r.second});
    };
    auto total = [](const BinaryF<int, long>& b) -> long {
        return b.isTip() ? 0 : b.node->left + b.node->value + b.node->right;
    };
    EXPECT_EQ(pomrel::refold(total, split, std::pair{0, 100}), 4950);
    EXPECT_EQ(pomrel::cata(total, pomrel::ana(split, std::pair{0, 100})), 4950);

    auto ne = [](int n) { return NonEmptyF<int, int>{n, n > 1 ? std::optional<int>(n - 1) : std::nullopt}; };
    auto len = [](const NonEmptyF<int, int>& x) { return 1 + x.tail.value_or(0); };
    EXPECT_EQ(pomrel::refold(len, ne, 6), 6);
    // std::optional and core::NonEmpty as base functors.
    auto peano = [](int n) { return n == 0 ? std::optional<int>() : std::optional<int>(n - 1); };
    EXPECT_EQ(pomrel::refold([](const std::optional<int>& o) { return o ? *o + 1 : 0; }, peano, 9), 9);
    auto depthOf = [](const core::NonEmpty<Lazy<int>>& xs) -> int { return xs.head.force() < 0 ? 0 : 1; };
    (void)depthOf;
    auto rose = [](int n) { return core::NonEmpty<int>(n - 1); };  // never ends
    auto stopAt = [](const core::NonEmpty<Lazy<int>>&) -> int { return 7; };
    EXPECT_EQ(pomrel::refold(stopAt, rose, 3), 7);
}

TEST(FixSchemes, LazilyMappedFunctorsKeepTheirClosuresValid) {
    // core::List maps lazily: the fold's per-hole closures outlive the call
    // that made them, and must own what they use.
    using Rose = Fix<core::ListK>;
    Rose leaf = core::List<Rose>();
    Rose t = core::List<Rose>{leaf, Rose(core::List<Rose>{leaf, leaf}), leaf};
    auto size = [](const core::List<long>& kids) -> long { return 1 + kids.foldlStrict([](long a, long b) { return a + b; }, 0L); };
    EXPECT_EQ(pomrel::cata(size, t), 6);
    auto keep = [](const core::List<core::List<int>>& kids) {
        core::List<int> all{1};
        for (const auto& k : kids) all = all.append(k);
        return all;
    };
    EXPECT_EQ(pomrel::cata(keep, t).length(), 6u);
    EXPECT_EQ(core::show(t), "Fix [Fix [],Fix [Fix [],Fix []],Fix []]");
    EXPECT_EQ(core::read<Rose>(core::show(t)), t);
}

TEST(FixSchemes, ConcurrentInspectionComputesEachLayerOnce) {
    std::atomic<int> calls{0};
    auto xs = pomrel::unfoldFix(
        [&calls](int n) {
            ++calls;
            return countdown(n);
        },
        2000);
    auto walk = [&xs] {
        long s = 0;
        const IntList* cur = &xs;
        while (!cur->unFix().isNil()) {
            s += cur->unFix().head();
            cur = &cur->unFix().tail();
        }
        return s;
    };
    long a = 0, b = 0;
    std::thread t1([&] { a = walk(); });
    std::thread t2([&] { b = walk(); });
    t1.join();
    t2.join();
    EXPECT_EQ(a, 2001000);
    EXPECT_EQ(b, 2001000);
    EXPECT_EQ(calls, 2001);
}

TEST(FixSchemes, ConversionsBetweenTheThreeRepresentations) {
    IntList x = fromVector({3, 1, 2});
    auto m = pomrel::unfoldMu(pomrel::unFix, x);  // Fix to Mu
    auto n = pomrel::unfoldNu(pomrel::unFix, x);  // Fix to Nu
    EXPECT_EQ(pomrel::foldMu(pomrel::wrapFix, m), x);  // Mu to Fix
    EXPECT_EQ(pomrel::foldNu(pomrel::wrapFix, n), x);  // Nu to Fix
    EXPECT_EQ(pomrel::muToFix(m), x);
    EXPECT_EQ(pomrel::nuToFix(n), x);
    EXPECT_EQ(pomrel::foldFix(pomrel::wrapFix, x), x);
    EXPECT_EQ(pomrel::unwrapFix(x).head(), 3);
    EXPECT_EQ(pomrel::wrapFix(pomrel::unFix(x)), x);
}
