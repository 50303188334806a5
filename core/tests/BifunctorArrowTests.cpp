#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Core/Arrow.h"
#include "Core/Assoc.h"
#include "Core/Bifunctor.h"
#include "Core/Distributive.h"
#include "Core/Foldable1.h"
#include "Core/Monoids.h"

using core::Either;
using core::Fn;
using core::Lazy;
using core::List;
using core::NonEmpty;

namespace {
using E = Either<int, std::string>;
E eitherOf(bool right, int x) {
    return right ? E::right(std::to_string(x)) : E::left(x);
}
auto showInt = [](int x) { return std::to_string(x); };
auto size = [](const std::string& s) { return static_cast<int>(s.size()); };
}  // namespace

RC_GTEST_PROP(BifunctorLaws, IdentityAndComposition, (bool right, const std::string& s)) {
    const int x = *rc::gen::inRange(-100000, 100000);
    auto idA = [](const auto& a) { return a; };
    auto inc = [](int a) { return a + 1; };
    auto twice = [](const std::string& t) { return t + t; };
    for (const E& e : {eitherOf(right, x)}) {
        RC_ASSERT(core::bimap(idA, idA, e) == e);
        RC_ASSERT(core::bimap(inc, twice, e) == core::first(inc, core::second(twice, e)));
        RC_ASSERT(core::bimap([&](int a) { return inc(inc(a)); }, size, e) ==
                  core::bimap(inc, size, core::bimap(inc, idA, e)));
    }
    auto p = std::pair(x, s);
    RC_ASSERT(core::bimap(idA, idA, p) == p);
    RC_ASSERT(core::bimap(inc, twice, p) == core::second(twice, core::first(inc, p)));
    core::Const<int, std::string> c{x};
    RC_ASSERT(core::bimap(inc, twice, c) == (core::Const<int, std::string>{x + 1}));
    core::Tagged<int, std::string> t{s};
    RC_ASSERT(core::second(twice, t).value == s + s);
}

TEST(Bifoldable, FoldsTheFirstTypeBeforeTheSecond) {
    auto p = std::pair(12, std::string("abc"));
    EXPECT_EQ(core::bifoldMap(showInt, [](const std::string& t) { return t; }, p), "12abc");
    EXPECT_EQ(core::bifold(std::pair(std::string("x"), std::string("y"))), "xy");
    auto digits = [](int acc, int a) { return acc * 100 + a; };
    auto lengths = [](int acc, const std::string& t) { return acc * 100 + static_cast<int>(t.size()); };
    EXPECT_EQ(core::bifoldl(digits, lengths, 0, p), 1203);
    auto rf = [](int a, const Lazy<std::string>& r) { return std::to_string(a) + "<" + r.force(); };
    auto rg = [](const std::string& t, const Lazy<std::string>& r) { return t + "<" + r.force(); };
    EXPECT_EQ(core::bifoldr(rf, rg, std::string("z"), p), "12<abc<z");
    EXPECT_EQ(core::bifoldr(rf, rg, std::string("z"), eitherOf(false, 4)), "4<z");
    EXPECT_EQ(core::bifoldr(rf, rg, std::string("z"), core::Const<int, std::string>{6}), "6<z");
    EXPECT_EQ(core::bifoldr(rf, rg, std::string("z"), core::Tagged<int, std::string>{"t"}), "t<z");
    // Bifoldable1 needs only a Semigroup.
    EXPECT_EQ(core::bifoldMap1([](int a) { return core::Max<int>{a}; }, [](const std::string& t) { return core::Max<int>{size(t)}; },
                               p).value,
              12);
    EXPECT_EQ(core::bifold1(eitherOf(true, 5) == E::right("5") ? std::pair(core::Min<int>{3}, core::Min<int>{2})
                                                               : std::pair(core::Min<int>{0}, core::Min<int>{0}))
                  .value,
              2);
}

TEST(Bitraversable, RunsBothEffectsInOrder) {
    auto logInt = [](int a) { return std::pair<std::string, int>("i" + std::to_string(a), a * 2); };
    auto logStr = [](const std::string& t) { return std::pair<std::string, std::string>("s" + t, t + "!"); };
    auto r = core::bitraverse(logInt, logStr, std::pair(3, std::string("q")));
    EXPECT_EQ(r.first, "i3sq");
    EXPECT_EQ(r.second, (std::pair<int, std::string>(6, "q!")));
    auto l = core::bitraverse(logInt, logStr, eitherOf(false, 4));
    EXPECT_EQ(l.first, "i4");
    EXPECT_EQ(l.second.left(), 8);
    auto seq = core::bisequenceA(std::pair(std::optional<int>(1), std::optional<char>('c')));
    EXPECT_EQ(seq, (std::optional<std::pair<int, char>>({1, 'c'})));
    EXPECT_EQ(core::bisequenceA(std::pair(std::optional<int>(1), std::optional<char>())), std::nullopt);
}

TEST(Foldable1, NonEmptyStructures) {
    NonEmpty<int> ne(4, List<int>{1, 3});
    EXPECT_EQ(core::head1(ne), 4);
    EXPECT_EQ(core::last1(ne), 3);
    EXPECT_EQ(core::fold1(core::fmap([](int x) { return core::Min<int>{x}; }, ne)).value, 1);
    EXPECT_EQ(core::foldMap1Strict([](int x) { return std::to_string(x); }, ne), "413");
    EXPECT_EQ(core::foldrMap1(showInt, [](int x, const Lazy<std::string>& r) { return "(" + std::to_string(x) + " " + r.force() + ")"; }, ne),
              "(4 (1 3))");
    EXPECT_EQ(core::foldrMap1Strict(showInt, [](int x, std::string acc) { return std::to_string(x) + acc; }, ne), "413");
    EXPECT_EQ(core::foldlMap1(showInt, [](std::string acc, int x) { return acc + "," + std::to_string(x); }, ne), "4,1,3");
    EXPECT_EQ(core::toNonEmpty(core::Identity<int>{9}).toVector(), std::vector<int>{9});
    EXPECT_EQ(core::maximum1(std::pair<char, int>('w', 2)), 2);
    core::Compose<core::NonEmptyK, core::NonEmptyK, int> c{NonEmpty<NonEmpty<int>>(NonEmpty<int>(1, {2}), {NonEmpty<int>(3)})};
    EXPECT_EQ(core::toNonEmpty(c).toVector(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(core::last1(core::Reverse<core::NonEmptyK, int>{ne}), 4);
    // foldrMap1 stops early on an unbounded NonEmpty.
    NonEmpty<int> nats(0, List<int>::iterate([](int n) { return n + 1; }, 1));
    EXPECT_EQ(core::foldrMap1([](int x) { return x; }, [](int x, const Lazy<int>& r) { return x >= 10 ? x : r.force(); }, nats),
              10);
}

TEST(Arrow, FunctionsComposeSplitAndChoose) {
    Fn<int, int> inc = [](int x) { return x + 1; };
    Fn<int, int> dbl = [](int x) { return x * 2; };
    EXPECT_EQ(core::compose(inc, dbl)(5), 11);
    EXPECT_EQ(core::andThen(inc, dbl)(5), 12);
    EXPECT_EQ(core::compose(core::id<core::FunctionA, int>(), inc)(1), 2);
    auto shown = core::arr<core::FunctionA, int>([](int x) { return std::to_string(x); });
    EXPECT_EQ(shown(7), "7");
    EXPECT_EQ(core::first<std::string>(inc)(std::pair(1, std::string("k"))), (std::pair(2, std::string("k"))));
    EXPECT_EQ(core::second<char>(dbl)(std::pair('c', 4)), (std::pair('c', 8)));
    EXPECT_EQ(core::split(inc, shown)(std::pair(1, 2)), (std::pair(2, std::string("2"))));
    EXPECT_EQ(core::fanout(inc, dbl)(10), (std::pair(11, 20)));
    using EI = Either<int, int>;
    EXPECT_EQ(core::left<std::string>(inc)(Either<int, std::string>::left(1)).left(), 2);
    EXPECT_EQ(core::right<std::string>(inc)(Either<std::string, int>::left("s")).left(), "s");
    EXPECT_EQ(core::splitChoice(inc, shown)(EI::right(3)).right(), "3");
    EXPECT_EQ(core::fanin(inc, dbl)(EI::left(3)), 4);
    EXPECT_EQ(core::fanin(inc, dbl)(EI::right(3)), 6);
    auto apply = core::app<core::FunctionA, int, int>();
    EXPECT_EQ(apply(std::pair(dbl, 21)), 42);
}

TEST(Arrow, DefaultsMatchTheDirectDefinitions) {
    // Kleisli arrows over std::optional use the defaults for second, split,
    // fanout, right, splitChoice and fanin.
    using K = core::Kleisli<core::OptionalK, int, int>;
    K half{[](int x) { return x % 2 == 0 ? std::optional<int>(x / 2) : std::nullopt; }};
    K dec{[](int x) { return x > 0 ? std::optional<int>(x - 1) : std::nullopt; }};
    EXPECT_EQ(core::compose(half, dec)(5), std::optional<int>(2));
    EXPECT_EQ(core::compose(half, dec)(4), std::nullopt);
    EXPECT_EQ(core::second<char>(half)(std::pair('a', 6)), (std::optional<std::pair<char, int>>({'a', 3})));
    EXPECT_EQ(core::split(half, dec)(std::pair(8, 1)), (std::optional<std::pair<int, int>>({4, 0})));
    EXPECT_EQ(core::fanout(half, dec)(3), std::nullopt);
    using EI = Either<int, int>;
    EXPECT_EQ(core::right<int>(half)(EI::right(10))->right(), 5);
    EXPECT_EQ(core::splitChoice(half, dec)(EI::left(10))->left(), 5);
    EXPECT_EQ(core::fanin(half, dec)(EI::right(10)), std::optional<int>(9));
    auto apply = core::app<core::KleisliK<core::OptionalK>, int, int>();
    EXPECT_EQ(apply(std::pair(half, 6)), std::optional<int>(3));
}

TEST(Arrow, LoopFeedsTheSecondOutputBack) {
    // The first output reads the second, which the same arrow produces.
    using In = std::pair<int, Lazy<int>>;
    Fn<In, std::pair<Lazy<int>, Lazy<int>>> knot = [](In in) {
        Lazy<int> fed = in.second;
        Lazy<int> total = core::defer([b = in.first, fed] { return b + fed.force(); });
        return std::pair(total, core::now(in.first * 10));
    };
    EXPECT_EQ(core::loop(knot)(7).force(), 77);
    // Demanding the fed-back value inside the arrow is reported, not a hang.
    Fn<In, std::pair<int, Lazy<int>>> eager = [](In in) { return std::pair(in.second.force(), core::now(1)); };
    try {
        core::loop(eager)(7);
        ADD_FAILURE() << "no error";
    } catch (const core::Error& e) {
        EXPECT_STREQ(e.what(), "loop: the fed-back value was demanded before it was produced");
    }
}

TEST(Distributive, MovesTheOuterFunctorInside) {
    std::vector<Fn<int, int>> fs{[](int r) { return r + 1; }, [](int r) { return r * r; }};
    EXPECT_EQ(core::distribute(fs)(5), (std::vector<int>{6, 25}));
    auto ids = core::distribute(List<core::Identity<int>>{{1}, {2}});
    EXPECT_EQ(ids.value.toVector(), (std::vector<int>{1, 2}));
    auto coll = core::collect([](int x) { return core::Identity<int>{x * 3}; }, std::optional<int>(2));
    EXPECT_EQ(coll.value, std::optional<int>(6));
    using P = core::Product<core::IdentityK, core::FunctionK<int>, int>;
    std::vector<P> ps{P{{1}, [](int r) { return r; }}, P{{2}, [](int r) { return -r; }}};
    auto dp = core::distribute(ps);
    EXPECT_EQ(dp.first.value, (std::vector<int>{1, 2}));
    EXPECT_EQ(dp.second(4), (std::vector<int>{4, -4}));
    auto dm = core::distributeM(std::optional<core::Tagged<char, int>>(core::Tagged<char, int>{3}));
    EXPECT_EQ(dm.value, std::optional<int>(3));
    auto cm = core::collectM([](int) { return core::Proxy<int>{}; }, std::vector<int>{1});
    EXPECT_TRUE((std::is_same_v<decltype(cm), core::Proxy<std::vector<int>>>));
}

TEST(Assoc, ReassociatesAndSwaps) {
    EXPECT_EQ(core::assoc(std::pair(std::pair(1, 'b'), 3.0)), (std::pair(1, std::pair('b', 3.0))));
    EXPECT_EQ(core::unassoc(std::pair(1, std::pair('b', 3.0))), (std::pair(std::pair(1, 'b'), 3.0)));
    EXPECT_EQ(core::swap(std::pair(1, 'b')), (std::pair('b', 1)));
    using In = Either<Either<int, char>, double>;
    using Out = Either<int, Either<char, double>>;
    EXPECT_EQ(core::assoc(In::left(Either<int, char>::right('x'))), Out::right(Either<char, double>::left('x')));
    EXPECT_EQ(core::unassoc(core::assoc(In::right(2.5))), In::right(2.5));
    EXPECT_EQ(core::unassoc(Out::left(4)), In::left(Either<int, char>::left(4)));
    EXPECT_EQ(core::swap(Either<int, char>::left(1)), (Either<char, int>::right(1)));
}
