// The functor-level inclusive-or These1 over lists, vectors, optionals and
// non-empty lists.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Core/Prelude.h"
#include "Core/Seq.h"
#include "Core/State.h"
#include <functional>
#include "Data/Functor/These.h"

using core::List;
using core::NonEmpty;
using these::That1;
using these::This1;

using LL = these::These1<core::ListK, core::ListK, int>;
using VO = these::These1<core::VectorK, core::OptionalK, int>;
using NN = these::These1<core::NonEmptyK, core::NonEmptyK, int>;

namespace {
template <class T>
std::optional<T> readAt(int d, std::string_view s) {
    for (auto& [v, rest] : core::readsPrec<T>(d, s))
        if (rest.empty()) return v;
    return std::nullopt;
}
std::string errorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const core::Error& e) {
        return e.what();
    }
    return "";
}
}  // namespace

TEST(These1, BuildingNeverLooksAtTheStructures) {
    int calls = 0;
    LL t(core::defer([&] {
             ++calls;
             return List<int>{1};
         }),
         List<int>{2});
    auto d = these::These1(std::vector<int>{1}, std::optional<int>(2));
    static_assert(std::is_same_v<decltype(d), VO>);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(core::toList(t).toVector(), (std::vector<int>{1, 2}));
    EXPECT_EQ(calls, 1);
    VO a = This1(std::vector<int>{});
    VO b = That1(std::optional<int>());
    EXPECT_TRUE(a.isThis1() && b.isThat1() && d.isThese1());
}

TEST(These1, FoldsVisitTheLeftStructureFirst) {
    LL t = these::These1(List<int>{1, 2}, List<int>{3});
    EXPECT_EQ(core::toList(t).toVector(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(core::length(t), 3);
    EXPECT_EQ(core::foldr([](int x, const core::Lazy<std::string>& r) { return std::to_string(x) + r.force(); },
                          std::string("."), t),
              "123.");
    EXPECT_EQ(core::foldl([](std::string acc, int x) { return acc + std::to_string(x); }, std::string(), t), "123");
    EXPECT_EQ(core::foldMap([](int x) { return std::vector<int>{x, x}; }, t), (std::vector<int>{1, 1, 2, 2, 3, 3}));
    EXPECT_EQ(core::sum(t), 6);
    EXPECT_EQ(core::maximum(t), 3);
    EXPECT_TRUE(core::null(these::These1(List<int>(), List<int>())));
    EXPECT_FALSE(core::null(these::These1(List<int>(), List<int>{1})));

    VO e = This1(std::vector<int>{});
    EXPECT_EQ(errorOf([&] { core::maximum(e); }), "maximum: empty structure");
    EXPECT_EQ(errorOf([&] { core::minimum(e); }), "minimum: empty structure");
    EXPECT_EQ(errorOf([&] { core::foldr1([](int a, const core::Lazy<int>&) { return a; }, e); }), "foldr1: empty structure");
    EXPECT_EQ(errorOf([&] { core::foldl1([](int a, int) { return a; }, e); }), "foldl1: empty structure");
    VO vo = these::These1(std::vector<int>{4, 5}, std::optional<int>(6));
    EXPECT_EQ(core::toList(vo).toVector(), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(core::length(VO(That1(std::optional<int>()))), 0);
}

TEST(These1, LazyFoldsStopWithoutTheRightStructure) {
    // An unbounded left list: the right structure is never needed.
    LL t = these::These1(List<int>::iterate([](int x) { return x + 1; }, 0), List<int>{-1});
    EXPECT_EQ(core::toList(t).take(3).toVector(), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(core::any([](int x) { return x == 1000; }, t));
    EXPECT_EQ(core::foldMap([](int x) { return List<int>{x}; }, t).take(2).toVector(), (std::vector<int>{0, 1}));
}

TEST(These1, NonEmptyFoldsHeadLastAndOrder) {
    NN t = these::These1(NonEmpty<int>(1, List<int>{2}), NonEmpty<int>(3));
    EXPECT_EQ(core::head1(t), 1);
    EXPECT_EQ(core::last1(t), 3);
    EXPECT_EQ(core::toNonEmpty(t).toVector(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(core::foldMap1([](int x) { return std::vector<int>{x}; }, t), (std::vector<int>{1, 2, 3}));
    using NS = these::These1<core::NonEmptyK, core::NonEmptyK, std::string>;
    EXPECT_EQ(core::fold1(NS(That1(NonEmpty<std::string>("a", List<std::string>{"b"})))), "ab");
    EXPECT_EQ(core::fold1(these::These1(NonEmpty<std::string>("a"), NonEmpty<std::string>("b", List<std::string>{"c"}))),
              "abc");
    auto s = core::foldrMap1([](int x) { return std::to_string(x); },
                             [](int x, const core::Lazy<std::string>& r) { return "(" + std::to_string(x) + " " + r.force() + ")"; }, t);
    EXPECT_EQ(s, "(1 (2 3))");
    EXPECT_EQ(core::maximum1(t), 3);
    EXPECT_EQ(core::minimum1(NN(This1(NonEmpty<int>(2, List<int>{1})))), 1);
    EXPECT_EQ(core::last1(NN(This1(NonEmpty<int>(2, List<int>{1})))), 1);
}

TEST(These1, ComparisonIsIndexThenStructures) {
    EXPECT_LT(LL(This1(List<int>{5})), LL(That1(List<int>())));
    EXPECT_LT(LL(That1(List<int>{9})), these::These1(List<int>(), List<int>()));
    EXPECT_LT(these::These1(List<int>{1}, List<int>{9}), these::These1(List<int>{2}, List<int>()));
    EXPECT_EQ(these::These1(List<int>{1}, List<int>{9}), these::These1(List<int>{1}, List<int>{9}));
    auto cmpRev = [](int a, int b) { return core::compare(b, a); };
    EXPECT_EQ(core::liftCompare(cmpRev, these::These1(List<int>{1}, List<int>{9}), these::These1(List<int>{2}, List<int>())),
              core::GT);
    EXPECT_EQ(core::liftCompare(cmpRev, LL(This1(List<int>{1})), LL(That1(List<int>{0}))), core::LT);
    auto mod10 = [](int a, int b) { return a % 10 == b % 10; };
    EXPECT_TRUE(core::liftEq(mod10, VO(std::vector<int>{1}, std::optional<int>(2)), VO(std::vector<int>{11}, std::optional<int>(12))));
    EXPECT_FALSE(core::liftEq(mod10, VO(std::vector<int>{1}, std::optional<int>(2)), VO(std::vector<int>{11}, std::optional<int>())));
    EXPECT_FALSE(core::liftEq(mod10, VO(This1(std::vector<int>{})), VO(That1(std::optional<int>()))));
}

TEST(These1, TextFormAndReading) {
    EXPECT_EQ(core::show(these::These1(List<int>{1}, List<int>{2, 3})), "These1 [1] [2,3]");
    std::string out;
    core::showsPrec(11, LL(This1(List<int>{1})), out);
    EXPECT_EQ(out, "(This1 [1])");
    EXPECT_EQ(core::show(VO(That1(std::optional<int>(-2)))), "That1 (Just (-2))");
    EXPECT_EQ(core::show(std::optional<VO>(VO(std::vector<int>{}, std::optional<int>()))), "Just (These1 [] Nothing)");

    EXPECT_FALSE(readAt<LL>(11, "This1 [1]"));
    EXPECT_EQ(readAt<LL>(11, "(This1 [1])"), LL(This1(List<int>{1})));
    EXPECT_EQ(core::read<LL>(" ((These1 [1] [2 , 3]))"), these::These1(List<int>{1}, List<int>{2, 3}));
    EXPECT_EQ(core::read<VO>("That1 (Just 4)"), VO(That1(std::optional<int>(4))));
    EXPECT_FALSE(core::read<VO>("That1 Just 4"));
    EXPECT_FALSE(core::read<LL>("These1 [1]"));
    EXPECT_FALSE(core::read<LL>("These [1] [2]"));
    EXPECT_FALSE(core::read<LL>("This1[1]x"));
    auto many = core::readList<LL>("[This1 [],That1 [1]]");
    ASSERT_EQ(many.size(), 1u);
    EXPECT_EQ(many[0].first, (std::vector<LL>{This1(List<int>{}), That1(List<int>{1})}));

    // Lifted forms: elements printed and read through the supplied functions.
    auto sp = [](int d, const int& x, std::string& o) { core::showsPrec(d, x * 10, o); };
    auto sl = [](const std::vector<int>& xs, std::string& o) { core::showList<int>(xs, o); };
    out.clear();
    core::liftShowsPrec(sp, sl, 11, VO(std::vector<int>{1}, std::optional<int>(-2)), out);
    EXPECT_EQ(out, "(These1 [1] (Just (-20)))");
    auto r = core::liftReadsPrec<these::These1K<core::VectorK, core::OptionalK>, int>(
        core::readPrec<int>(), core::readListPrec<int>(), 0, "These1 [1,2] Nothing");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].first, VO(std::vector<int>{1, 2}, std::optional<int>()));
}

TEST(These1, MappingAndTraversalGoThroughBothStructures) {
    int calls = 0;
    auto inc = [&](int x) {
        ++calls;
        return x + 1;
    };
    auto m = core::fmap(inc, these::These1(List<int>{1}, List<int>{2, 3}));
    EXPECT_EQ(calls, 0);  // mapping is deferred until the structures are demanded
    EXPECT_EQ(core::toList(m).toVector(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(core::fmap([](int x) { return std::to_string(x); }, VO(That1(std::optional<int>(7)))).right(),
              std::optional<std::string>("7"));
    EXPECT_EQ(core::toList(core::replace('z', VO(std::vector<int>{1, 2}, std::optional<int>(3)))).toVector(),
              (std::vector<char>{'z', 'z', 'z'}));

    // Effects of the left structure before the right one's: a writer that
    // logs each element.
    auto logIt = [](int x) { return core::Writer<std::vector<int>, int>(std::vector<int>{x}, x * 2); };
    auto [log, res] = core::traverse(logIt, these::These1(List<int>{1, 2}, List<int>{3}));
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(core::toList(res).toVector(), (std::vector<int>{2, 4, 6}));
    EXPECT_TRUE(res.isThese1());

    auto half = [](int x) { return x % 2 == 0 ? std::optional<int>(x / 2) : std::nullopt; };
    EXPECT_EQ(core::traverse(half, VO(std::vector<int>{2, 4}, std::optional<int>(6))),
              std::optional<VO>(VO(std::vector<int>{1, 2}, std::optional<int>(3))));
    EXPECT_EQ(core::traverse(half, VO(std::vector<int>{2, 4}, std::optional<int>(5))), std::nullopt);
}

RC_GTEST_PROP(These1Laws, FunctorAndTraversalLaws, (int shape, const std::vector<int>& xs, int yv, bool hasY)) {
    const std::optional<int> y = hasY ? std::optional<int>(yv) : std::nullopt;
    auto mk = [&](int s) -> VO {
        switch (((s % 3) + 3) % 3) {
            case 0: return This1(xs);
            case 1: return That1(y);
            default: return VO(xs, y);
        }
    };
    VO t = mk(shape);
    auto f = [](int x) { return x / 2 - 3; };
    auto g = [](int x) { return x % 1000 * 3; };
    RC_ASSERT(core::fmap([](int x) { return x; }, t) == t);
    RC_ASSERT(core::fmap([&](int x) { return f(g(x)); }, t) == core::fmap(f, core::fmap(g, t)));
    RC_ASSERT(core::runIdentity(core::traverse([](int x) { return core::Identity<int>{x}; }, t)) == t);
    RC_ASSERT(core::length(t) == static_cast<core::Int>(core::toList(t).toVector().size()));
    RC_ASSERT(core::read<VO>(core::show(t)) == t);
    // Traversal in std::optional succeeds exactly when every element passes.
    auto pos = [](int x) { return x >= 0 ? std::optional<int>(x) : std::nullopt; };
    auto all = core::all([](int x) { return x >= 0; }, t);
    RC_ASSERT(core::traverse(pos, t).has_value() == all);
}

TEST(These1, WorksOverTheSequenceContainer) {
    using SL = these::These1<core::SeqK, core::ListK, int>;
    SL t = these::These1(core::Seq<int>{1, 2}, List<int>{3});
    EXPECT_EQ(core::toList(t).toVector(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(core::show(t), "These1 (fromList [1,2]) [3]");
    EXPECT_EQ(core::read<SL>(core::show(t)), t);
    auto logIt = [](int x) { return core::Writer<std::vector<int>, int>(std::vector<int>{x}, -x); };
    auto [log, res] = core::traverse(logIt, t);
    EXPECT_EQ(log, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(core::toList(res).toVector(), (std::vector<int>{-1, -2, -3}));
    EXPECT_LT(SL(This1(core::Seq<int>{9})), SL(That1(List<int>())));
    EXPECT_TRUE(core::liftEq([](int a, int b) { return a == b; }, t, t));
}
