// EnvT, StoreT and TracedT: their operations, interface implementations,
// evaluation rules and the capabilities passed through stacks of layers.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Control/Comonad/Env.h"
#include "Control/Comonad/Identity.h"
#include "Control/Comonad/Store.h"
#include "Control/Comonad/Traced.h"
#include "Core/Monoids.h"
#include "Data/Functor/Composition.h"
#include "Data/Functor/WithIndex.h"

using namespace comonad;
using core::Fn;
using core::Identity;
using core::IdentityK;
using core::Lazy;
using core::List;
using core::NonEmpty;

namespace {

// ---- EnvT -------------------------------------------------------------------

TEST(EnvT, AskLocalAndTheComonadTable) {
    auto w = env(std::string("e"), 5);
    EXPECT_EQ(ask(w), "e");
    EXPECT_EQ(asks([](const std::string& e) { return e.size(); }, w), 1u);
    auto l = local([](const std::string& e) { return e + "!"; }, w);
    EXPECT_EQ(runEnv(l), (std::pair<std::string, int>{"e!", 5}));
    EXPECT_EQ(lowerEnvT(w).value, 5);
    EXPECT_EQ(runEnvT(w).first, "e");
    EXPECT_EQ(extract(w), 5);
    auto e = extend([](const Env<std::string, int>& v) { return ask(v) + std::to_string(extract(v)); }, w);
    EXPECT_EQ(runEnv(e), (std::pair<std::string, std::string>{"e", "e5"}));
    auto d = duplicate(w);
    EXPECT_EQ(d.env, "e");
    EXPECT_EQ(runEnv(extract(d)), runEnv(w));
    auto m = core::fmap([](int x) { return x * 2; }, w);
    EXPECT_EQ(runEnv(m), (std::pair<std::string, int>{"e", 10}));
}

TEST(EnvT, ApplyCombinesEnvironmentsFirstArgumentFirst) {
    auto f = env(std::string("a"), std::function<int(int)>([](int x) { return x + 1; }));
    auto x = env(std::string("b"), 41);
    EXPECT_EQ(runEnv(apW(f, x)), (std::pair<std::string, int>{"ab", 42}));
    EXPECT_EQ(runEnv(apRightW(x, env(std::string("c"), 'z'))), (std::pair<std::string, char>{"bc", 'z'}));
    EXPECT_EQ(runEnv(apLeftW(x, env(std::string("c"), 'z'))), (std::pair<std::string, int>{"bc", 41}));
    // Applicative: pure has the empty environment.
    auto p = core::pure<EnvTK<std::string, IdentityK>>(3);
    EXPECT_EQ(runEnv(p), (std::pair<std::string, int>{"", 3}));
    EXPECT_EQ(runEnv(core::liftA2([](int a, int b) { return a * b; }, x, env(std::string("!"), 2))),
              (std::pair<std::string, int>{"b!", 82}));
}

TEST(EnvT, FoldsAndTraversesTheInnerContextOnly) {
    EnvT<std::string, core::NonEmptyK, int> w{"env", NonEmpty<int>(1, List<int>{2, 3})};
    EXPECT_EQ(core::sum(w), 6);
    EXPECT_EQ(core::length(w), 3);
    EXPECT_EQ(core::toList(w).toVector(), (std::vector<int>{1, 2, 3}));
    auto t = core::traverse([](int x) { return x > 0 ? core::Just(x * 2) : std::nullopt; }, w);
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->env, "env");
    EXPECT_EQ(t->inner.toVector(), (std::vector<int>{2, 4, 6}));
    // An inner context without elements: the empty-structure errors.
    EnvT<int, core::OptionalK, int> empty{1, std::nullopt};
    EXPECT_TRUE(core::null(empty));
    auto msg = [&](auto op) {
        try {
            op();
        } catch (const core::Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(msg([&] { core::foldr1([](int a, const Lazy<int>&) { return a; }, empty); }), "foldr1: empty structure");
    EXPECT_EQ(msg([&] { core::foldl1([](int a, int) { return a; }, empty); }), "foldl1: empty structure");
    EXPECT_EQ(msg([&] { core::maximum(empty); }), "maximum: empty structure");
    EXPECT_EQ(msg([&] { core::minimum(empty); }), "minimum: empty structure");
    EXPECT_EQ((GenericInfo<Env<int, int>>::datatypeName), "Control.Comonad.Trans.Env.EnvT");
    EXPECT_EQ((GenericInfo<Env<int, int>>::constructorName), "EnvT");
}

// ---- StoreT -----------------------------------------------------------------

TEST(StoreT, PeekSeekAndExperiment) {
    auto sq = [](int s) { return s * s; };
    auto w = store(sq, 0);
    EXPECT_EQ(pos(w), 0);
    EXPECT_EQ(extract(w), 0);
    auto moved = seeks([](int s) { return s + 1; }, w);
    EXPECT_EQ(peek(3, moved), 9);
    EXPECT_EQ(extract(moved), 1);
    EXPECT_EQ(peeks([](int s) { return s + 4; }, moved), 25);
    auto ten = store(sq, 10);
    auto around = experiment([](int s) { return std::vector<int>{s - 1, s, s + 1}; }, ten);
    EXPECT_EQ(around, (std::vector<int>{81, 100, 121}));
    auto [f, s] = runStore(ten);
    EXPECT_EQ(f(2), 4);
    EXPECT_EQ(s, 10);
    EXPECT_EQ(lower(ten).value, 100);
}

TEST(StoreT, SeekNeverEvaluatesTheOldPosition) {
    int calls = 0;
    auto w = store(
        [&calls](int s) {
            ++calls;
            if (s == 0) throw core::Error("position 0 is undefined");
            return s;
        },
        0);
    auto there = seek(5, w);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(extract(there), 5);
    EXPECT_EQ(calls, 1);
    EXPECT_THROW(extract(w), core::Error);
}

TEST(StoreT, ExtendSeesTheStoreAtEachPosition) {
    auto w = store([](int s) { return s * 10; }, 2);
    auto sums = extend([](const Store<int, int>& v) { return peek(pos(v) - 1, v) + extract(v); }, w);
    EXPECT_EQ(extract(sums), 30);
    EXPECT_EQ(peek(5, sums), 90);
    EXPECT_EQ(pos(sums), 2);
    auto d = duplicate(w);
    EXPECT_EQ(pos(extract(d)), 2);
    EXPECT_EQ(extract(peek(7, d)), 70);
    EXPECT_EQ(extract(core::fmap([](int x) { return x + 1; }, w)), 21);
}

TEST(StoreT, ApplyCombinesPositionsFirstArgumentFirst) {
    using M = core::Additive<int>;
    auto fs = store([](M s) { return std::function<int(int)>([s](int x) { return x + s.value; }); }, M{1});
    auto xs = store([](M s) { return s.value * 100; }, M{2});
    auto r = apW(fs, xs);
    EXPECT_EQ(pos(r).value, 3);
    EXPECT_EQ(extract(r), 303);
    auto st = store([](std::string s) { return s.size(); }, std::string("a"));
    EXPECT_EQ(pos(apRightW(st, store([](std::string s) { return s; }, std::string("b")))), "ab");
    EXPECT_EQ(extract(apLeftW(st, store([](std::string s) { return s; }, std::string("b")))), 2u);
    auto p = core::pure<StoreTK<std::string, IdentityK>>(7);
    EXPECT_EQ(pos(p), "");
    EXPECT_EQ(extract(p), 7);
}

// ---- TracedT ----------------------------------------------------------------

TEST(TracedT, TraceListenCensor) {
    auto w = traced<std::string>([](const std::string& m) { return m.size(); });
    EXPECT_EQ(extract(w), 0u);
    EXPECT_EQ(trace(std::string("abc"), w), 3u);
    auto l = listen(w);
    EXPECT_EQ(runTraced(l)("xy"), (std::pair<std::size_t, std::string>{2, "xy"}));
    auto ls = listens([](const std::string& m) { return m + m; }, w);
    EXPECT_EQ(runTraced(ls)("q"), (std::pair<std::size_t, std::string>{1, "qq"}));
    auto c = censor([](const std::string& m) { return m + "!!"; }, w);
    EXPECT_EQ(runTraced(c)("a"), 3u);
    EXPECT_EQ(traces([](std::size_t n) { return std::string(n + 2, 'z'); }, w), 2u);
    // lower applies each function to the empty trace.
    auto tx = traced<std::string>([](const std::string& m) { return "<" + m + ">"; });
    EXPECT_EQ(lower(tx).value, "<>");
    EXPECT_EQ(runTracedT(tx).value("k"), "<k>");
}

TEST(TracedT, ExtendPutsTheOuterTraceOnTheLeft) {
    auto w = traced<std::string>([](const std::string& m) { return m; });
    auto e = extend([](const Traced<std::string, std::string>& v) { return trace(std::string("in"), v); }, w);
    EXPECT_EQ(runTraced(e)("out"), "outin");
    auto d = duplicate(w);
    EXPECT_EQ(trace(std::string("b"), trace(std::string("a"), d)), "ab");
    EXPECT_EQ(extract(extract(d)), "");
    // <@>: position-wise application at the same trace.
    auto fs = traced<std::string>([](const std::string& m) { return std::function<std::string(std::string)>([m](std::string x) { return x + m; }); });
    EXPECT_EQ(runTraced(apW(fs, w))("t"), "tt");
    EXPECT_EQ(runTraced(core::pure<TracedTK<std::string, IdentityK>>(4))("anything"), 4);
}

TEST(TracedT, DistributeEvaluatesEveryElementAtTheSameTrace) {
    std::vector<Traced<std::string, std::size_t>> v{traced<std::string>([](const std::string& m) { return m.size(); }),
                                                    traced<std::string>([](const std::string& m) { return m.size() * 2; })};
    auto d = core::distribute(v);
    EXPECT_EQ(runTraced(d)("abc"), (std::vector<std::size_t>{3, 6}));
}

TEST(TracedT, ImapPairsTheTraceWithTheInnerIndex) {
    // Over Identity the inner index is the unit; the trace comes first.
    auto w = traced<std::string>([](const std::string& m) { return m.size(); });
    auto iw = nerrow::imap(
        [](const std::pair<std::string, core::Unit>& i, std::size_t x) { return i.first + ":" + std::to_string(x); }, w);
    EXPECT_EQ(runTraced(iw)("abc"), "abc:3");
    // Over a function from Int, the inner index is that argument.
    TracedT<std::string, core::FunctionK<int>, int> f{Fn<int, Fn<std::string, int>>([](int n) {
        return Fn<std::string, int>([n](std::string m) { return n * 10 + static_cast<int>(m.size()); });
    })};
    auto fi = nerrow::imap([](const std::pair<std::string, int>& i, int x) { return std::make_pair(i.first + std::to_string(i.second), x); }, f);
    EXPECT_EQ(runTracedT(fi)(4)("xy"), (std::pair<std::string, int>{"xy4", 42}));
}

// ---- Laws of the transformers -------------------------------------------------

RC_GTEST_PROP(TransformerLaws, ExtractDuplicateIsIdentity, (const std::string& e, int sIn, int probeIn)) {
    const int s = sIn % 10000;  // no overflow in the arithmetic below
    const int probe = probeIn % 10000;  // no overflow in the arithmetic below
    auto ew = env(e, s);
    RC_ASSERT(runEnv(extract(duplicate(ew))) == runEnv(ew));
    RC_ASSERT(runEnv(core::fmap([](const Env<std::string, int>& v) { return extract(v); }, duplicate(ew))) == runEnv(ew));
    auto sw = store([](int x) { return x * 3 - 1; }, s);
    auto sd = extract(duplicate(sw));
    RC_ASSERT(pos(sd) == pos(sw) && peek(probe, sd) == peek(probe, sw));
    auto sf = core::fmap([](const Store<int, int>& v) { return extract(v); }, duplicate(sw));
    RC_ASSERT(peek(probe, sf) == peek(probe, sw));
    auto sdd = duplicate(duplicate(sw));
    auto sfd = core::fmap([](const Store<int, int>& v) { return duplicate(v); }, duplicate(sw));
    RC_ASSERT(peek(probe, peek(s, peek(probe, sdd))) == peek(probe, peek(s, peek(probe, sfd))));
    auto tw = traced<std::string>([](const std::string& m) { return m + "."; });
    auto td = extract(duplicate(tw));
    RC_ASSERT(trace(e, td) == trace(e, tw));
    auto tdd = duplicate(duplicate(tw));
    auto tfd = core::fmap([](const Traced<std::string, std::string>& v) { return duplicate(v); }, duplicate(tw));
    RC_ASSERT(trace(e, trace(e, trace(std::string("x"), tdd))) == trace(e, trace(e, trace(std::string("x"), tfd))));
}

// ---- Capabilities through stacks ---------------------------------------------

TEST(Capabilities, AskOfPairsArgsAndEnv) {
    EXPECT_EQ(ask(std::pair<char, int>{'e', 1}), 'e');
    EXPECT_EQ(ask(core::Arg<int, std::string>{9, "v"}), 9);
    EXPECT_EQ(asks([](char c) { return c + 1; }, std::pair<char, int>{'a', 1}), 'b');
    EXPECT_EQ(trace(std::string("m"), Fn<std::string, std::size_t>([](std::string s) { return s.size(); })), 1u);
}

TEST(Capabilities, EnvOverStore) {
    EnvT<std::string, StoreTK<int, IdentityK>, int> w{"e", store([](int s) { return s * 2; }, 3)};
    EXPECT_EQ(pos(w), 3);
    EXPECT_EQ(peek(7, w), 14);
    auto moved = seek(7, w);
    EXPECT_EQ(moved.env, "e");
    EXPECT_EQ(extract(moved), 14);
    EXPECT_EQ(pos(seeks([](int s) { return s + 10; }, w)), 13);
    EXPECT_EQ(peeks([](int s) { return s - 1; }, w), 4);
    EXPECT_EQ(experiment([](int s) { return std::vector<int>{s, s + 1}; }, w), (std::vector<int>{6, 8}));
    EXPECT_EQ(lowerPos(w), 3);
    EXPECT_EQ(lowerPeek(1, w), 2);
    EXPECT_EQ(ask(w), "e");
}

TEST(Capabilities, ThreeLayers) {
    // EnvT over StoreT over TracedT: ask reads the outer environment, pos
    // lowers once, trace lowers twice.
    using T = core::Fn<std::string, int>;
    auto inner = traced<std::string>([](const std::string& m) {
        return core::Fn<int, int>([m](int s) { return s * 100 + static_cast<int>(m.size()); });
    });
    using Tr = TracedT<std::string, IdentityK, core::Fn<int, int>>;
    StoreT<int, TracedTK<std::string, IdentityK>, int> st{Tr(inner), 4};
    EnvT<char, StoreTK<int, TracedTK<std::string, IdentityK>>, int> w{'k', st};
    (void)sizeof(T);
    EXPECT_EQ(ask(w), 'k');
    EXPECT_EQ(pos(w), 4);
    EXPECT_EQ(extract(w), 400);
    EXPECT_EQ(peek(2, w), 200);
    EXPECT_EQ(trace(std::string("abc"), w), 403);
    EXPECT_EQ(traces([](int x) { return std::string(static_cast<std::size_t>(x % 7), '.'); }, w), 401);  // 400 % 7 = 1 character
    EXPECT_EQ(extract(seek(1, w)), 100);
    EXPECT_EQ(seek(1, w).env, 'k');
    // An environment below a store and a trace: ask lowers through both.
    EnvT<char, IdentityK, Fn<std::string, Fn<int, int>>> e{'z', Identity<Fn<std::string, Fn<int, int>>>{runTraced(inner)}};
    TracedT<std::string, EnvTK<char, IdentityK>, Fn<int, int>> te{e};
    StoreT<int, TracedTK<std::string, EnvTK<char, IdentityK>>, int> ste{te, 5};
    EXPECT_EQ(ask(ste), 'z');
    EXPECT_EQ(trace(std::string("ab"), ste), 502);
    EXPECT_EQ(pos(ste), 5);
    // IdentityT passes everything through.
    core::IdentityT<EnvTK<char, IdentityK>, int> ie{env('q', 1)};
    EXPECT_EQ(ask(ie), 'q');
    EXPECT_EQ(lower(ie).env, 'q');
}

TEST(Capabilities, HoistAndComposition) {
    auto toIdentityT = [](const auto& v) { return core::IdentityT<IdentityK, core::ArgOf<decltype(v)>>{v}; };
    auto e = cohoist(toIdentityT, env(1, std::string("x")));
    EXPECT_EQ(e.env, 1);
    EXPECT_EQ(extract(e), "x");
    auto s = cohoist(toIdentityT, store([](int x) { return x + 1; }, 4));
    EXPECT_EQ(pos(s), 4);
    EXPECT_EQ(extract(s), 5);
    auto t = cohoist(toIdentityT, traced<std::string>([](const std::string& m) { return m.size(); }));
    EXPECT_EQ(trace(std::string("ab"), t), 2u);
    std::vector<std::optional<int>> fg{1, std::nullopt};
    auto c = comonad::compose(fg);
    static_assert(std::is_same_v<decltype(c), core::Compose<core::VectorK, core::OptionalK, int>>);
    EXPECT_EQ(decompose(c), fg);
}

// ---- Self-reference through a store ---------------------------------------------

TEST(StoreT, WfixEvaluatesASpreadsheet) {
    // Cell s is 1 for s <= 0 and the sum of the two cells before it
    // otherwise; self-demand raises.
    using Ctx = Store<int, Lazy<long>>;
    using F = std::function<long(const Ctx&)>;
    auto sheet = store(
        [](int s) {
            return F([s](const Ctx& c) { return s <= 0 ? 1L : peek(s - 1, c).force() + peek(s - 2, c).force(); });
        },
        10);
    EXPECT_EQ(wfix(sheet), 144);
    auto selfish = store([](int) { return F([](const Ctx& c) { return extract(c).force(); }); }, 0);
    EXPECT_THROW((void)wfix(selfish), core::Error);
}

}  // namespace
