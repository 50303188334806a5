// Kinds with at most one element, without elements, pairs, functions, and
// the combined and wrapping kinds: their index types, orders and indices.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "Support.h"

using core::Int;
using core::Lazy;
using core::List;
using core::NonEmpty;
using core::Unit;
using core::Void;
using nt::Strings;

TEST(OneElementKinds, OptionalAndIdentityUseTheUnitIndex) {
    static_assert(std::is_same_v<nerrow::IndexT<core::OptionalK>, Unit>);
    static_assert(std::is_same_v<nerrow::IndexT<core::IdentityK>, Unit>);
    nt::expectOrders(std::optional<char>('q'), {"():q"});
    nt::expectOrders(std::optional<char>(), {});
    nt::expectOrders(core::Identity<char>{'i'}, {"():i"});
    EXPECT_EQ(nerrow::imap([](Unit, int x) { return x + 1; }, std::optional<int>(1)), std::optional<int>(2));
}

TEST(OneElementKinds, NothingGivesMemptyAndPureNothingWithoutCallingF) {
    int calls = 0;
    auto f = [&calls](Unit, int x) {
        ++calls;
        return nt::logged("called", x);
    };
    auto t = nerrow::itraverse(f, std::optional<int>());
    EXPECT_EQ(t.first, Strings{});
    EXPECT_FALSE(t.second.has_value());
    EXPECT_EQ(nerrow::ifoldMap([&calls](Unit, int) { ++calls; return std::string("x"); }, std::optional<int>()), "");
    EXPECT_EQ(calls, 0);
}

TEST(NoElementKinds, VoidIndexKindsKeepTheirValueAndFoldToTheStart) {
    static_assert(std::is_same_v<nerrow::IndexT<core::ProxyK>, Void>);
    static_assert(std::is_same_v<nerrow::IndexT<core::ConstK<std::string>>, Void>);
    auto never = [](const Void&, int) -> double { throw std::runtime_error("called"); };
    core::Const<std::string, int> c{"fixed"};
    auto c2 = nerrow::imap(never, c);
    static_assert(std::is_same_v<decltype(c2), core::Const<std::string, double>>);
    EXPECT_EQ(c2.value, "fixed");
    core::Constant<int, int> k{7};
    EXPECT_EQ(nerrow::imap(never, k).value, 7);
    (void)nerrow::imap(never, core::Proxy<int>{});
    EXPECT_EQ(nerrow::ifoldMap([](const Void&, int) { return std::string("x"); }, c), "");
    EXPECT_EQ(nerrow::ifoldr([](const Void&, int, const Lazy<int>&) { return 0; }, 5, c), 5);
    EXPECT_EQ(nerrow::ifoldlStrict([](const Void&, int, int) { return 0; }, 6, k), 6);
    EXPECT_EQ(nerrow::ifoldrStrict([](const Void&, int, int) { return 0; }, 6, core::Proxy<int>{}), 6);
    auto t = nerrow::itraverse([](const Void&, int x) { return nt::logged("x", x); }, c);
    EXPECT_EQ(t.first, Strings{});
    EXPECT_EQ(t.second.value, "fixed");
}

TEST(PairsAndFunctions, ThePairIsIndexedByItsFirstComponent) {
    std::pair<std::string, int> p{"k", 3};
    nt::expectOrders(p, {"k:3"});
    EXPECT_EQ(nerrow::imap([](const std::string& k, int a) { return k + std::to_string(a); }, p),
              (std::pair<std::string, std::string>{"k", "k3"}));
    EXPECT_EQ(nerrow::ifoldl([](const std::string& k, std::string z, int a) { return z + k + std::to_string(a); }, std::string("z"), p),
              "zk3");
    auto t = nerrow::itraverse([](const std::string& k, int a) { return std::optional<std::string>(k + std::to_string(a)); }, p);
    EXPECT_EQ(t, (std::optional<std::pair<std::string, std::string>>({"k", "k3"})));
}

TEST(PairsAndFunctions, AFunctionIsIndexedByItsArgument) {
    core::Fn<int, int> sq = [](int x) { return x * x; };
    auto g = nerrow::imap([](int x, int y) { return x + y; }, sq);
    EXPECT_EQ(g(3), 12);
    EXPECT_EQ(g(-2), 2);
}

TEST(Combinations, ComposeIndexesByOuterThenInner) {
    core::Compose<core::ListK, core::ListK, char> c{List<List<char>>{List<char>{'a', 'b'}, List<char>{'c'}}};
    nt::expectOrders(c, {"(0,0):a", "(0,1):b", "(1,0):c"});
    auto m = nerrow::imap([](const std::pair<Int, Int>& ij, char x) { return std::string(1, x) + nt::str(ij); }, c);
    EXPECT_EQ(m.value.head().toVector(), (std::vector<std::string>{"a(0,0)", "b(0,1)"}));
}

TEST(Combinations, ProductTagsLeftThenRight) {
    auto p = core::Pair(List<char>{'a', 'b'}, List<char>{'c'});
    nt::expectOrders(p, {"L0:a", "L1:b", "R0:c"});
    auto m = nerrow::imap([](const core::Either<Int, Int>& e, char) { return nt::str(e); }, p);
    EXPECT_EQ(m.second.toVector(), (std::vector<std::string>{"R0"}));
}

TEST(Combinations, SumFoldsThePresentAlternative) {
    auto l = core::InL<core::OptionalK>(List<char>{'x', 'y'});
    nt::expectOrders(l, {"L0:x", "L1:y"});
    auto r = core::InR<core::ListK>(std::optional<char>('z'));
    nt::expectOrders(r, {"R():z"});
    auto m = nerrow::imap([](const core::Either<Int, Unit>& e, char c) { return nt::str(e) + c; }, r);
    EXPECT_EQ(m.right(), std::optional<std::string>("R()z"));
}

TEST(Combinations, ReaderTIndexesByEnvironmentAndInnerIndex) {
    core::ReaderT<int, core::ListK, char> r{[](int k) { return List<char>(std::vector<char>(static_cast<std::size_t>(k), 'a')); }};
    auto m = nerrow::imap([](const std::pair<int, Int>& ki, char c) { return nt::str(ki) + c; }, r);
    EXPECT_EQ(m.run(2).toVector(), (std::vector<std::string>{"(2,0)a", "(2,1)a"}));
}

TEST(Wrappers, IdentityTAndBackwardsKeepTheInnerOrder) {
    core::IdentityT<core::ListK, char> it{List<char>{'a', 'b'}};
    nt::expectOrders(it, {"0:a", "1:b"});
    core::Backwards<core::ListK, char> bw{List<char>{'a', 'b'}};
    nt::expectOrders(bw, {"0:a", "1:b"});
}

TEST(Wrappers, ReverseFoldsAndTraversesBackToFrontKeepingIndices) {
    core::Reverse<core::ListK, char> rv{List<char>{'a', 'b', 'c'}};
    nt::expectOrders(rv, {"2:c", "1:b", "0:a"});
    auto m = nerrow::imap([](Int i, char c) { return std::string(1, c) + std::to_string(i); }, rv);
    EXPECT_EQ(m.value.toVector(), (std::vector<std::string>{"a0", "b1", "c2"}));
    auto t = nerrow::itraverse([](Int i, char c) { return nt::logged(std::to_string(i), c); }, rv);
    EXPECT_EQ(t.second.value.toVector(), (std::vector<char>{'a', 'b', 'c'}));
}

TEST(Combinations, NestedCombinationsComposeTheirIndices) {
    // Reverse over a Product of a list and an optional.
    using P = core::Product<core::ListK, core::OptionalK, char>;
    core::Reverse<core::ProductK<core::ListK, core::OptionalK>, char> rv{P{List<char>{'a', 'b'}, std::optional<char>('c')}};
    nt::expectOrders(rv, {"R():c", "L1:b", "L0:a"});
}

// Dropping the index gives the plain operation, for the combined kinds.
RC_GTEST_PROP(CombinationLaws, DroppingTheIndexGivesThePlainOperations,
              (const std::vector<int>& rawA, const std::vector<int>& rawB, bool present)) {
    const std::vector<int> a = nt::small(rawA), b = nt::small(rawB);
    auto h = [](int x) { return x * 2 + 1; };
    auto logf = [](int x) { return nt::logged(std::to_string(x), x - 1); };
    auto ms = [](int x) { return std::to_string(x) + ";"; };
    auto p = core::Pair(List<int>(a), List<int>(b));
    RC_ASSERT(nerrow::imap([&](const auto&, int x) { return h(x); }, p) == core::fmap(h, p));
    RC_ASSERT(nerrow::ifoldMap([&](const auto&, int x) { return ms(x); }, p) == core::foldMap(ms, p));
    RC_ASSERT(nerrow::itraverse([&](const auto&, int x) { return logf(x); }, p) == core::traverse(logf, p));
    core::Compose<core::VectorK, core::ListK, int> c{std::vector<List<int>>{List<int>(a), List<int>(b)}};
    RC_ASSERT(nerrow::imap([&](const auto&, int x) { return h(x); }, c) == core::fmap(h, c));
    RC_ASSERT(nerrow::ifoldMap([&](const auto&, int x) { return ms(x); }, c) == core::foldMap(ms, c));
    RC_ASSERT(nerrow::itraverse([&](const auto&, int x) { return logf(x); }, c) == core::traverse(logf, c));
    core::Reverse<core::VectorK, int> rv{a};
    RC_ASSERT(nerrow::ifoldMap([&](const auto&, int x) { return ms(x); }, rv) == core::foldMap(ms, rv));
    RC_ASSERT(nerrow::itraverse([&](const auto&, int x) { return logf(x); }, rv) == core::traverse(logf, rv));
    std::optional<int> o = present && !a.empty() ? std::optional<int>(a.front()) : std::nullopt;
    RC_ASSERT(nerrow::itraverse([&](const auto&, int x) { return logf(x); }, o) == core::traverse(logf, o));
    auto s = present ? core::InL<core::OptionalK>(List<int>(a)) : core::InR<core::ListK>(o);
    RC_ASSERT(nerrow::ifoldMap([&](const auto&, int x) { return ms(x); }, s) == core::foldMap(ms, s));
    RC_ASSERT(nerrow::itraverse([&](const auto&, int x) { return logf(x); }, s) == core::traverse(logf, s));
}

// The strict folds of the combined and wrapping kinds (through the
// defaults, or the inner kind's loops) do not nest a call per element.
TEST(Combinations, StrictFoldsOfLongContentsRunInConstantStack) {
    auto upto = [](Int n) { return List<Int>::iterate([](Int k) { return k + 1; }, 0).take(static_cast<std::size_t>(n)); };
    const Int big = 10'000'000;
    const auto xs = upto(big);
    core::IdentityT<core::ListK, Int> it{xs};
    EXPECT_EQ(nerrow::ifoldlStrict([](Int i, Int acc, Int x) { return acc + (i == x ? 1 : 0); }, Int{0}, it), big);
    EXPECT_EQ(nerrow::ifoldMapStrict([](Int, Int) { return core::Additive<Int>{1}; }, core::Backwards<core::ListK, Int>{xs}).value, big);

    const Int n = 1'000'000;
    const auto ys = upto(n);
    const Int sum = n * (n - 1) / 2;
    core::Compose<core::ListK, core::ListK, Int> c{List<List<Int>>{ys, List<Int>{7}}};
    EXPECT_EQ(nerrow::ifoldlStrict([](const std::pair<Int, Int>& ij, Int acc, Int) { return acc + ij.second; }, Int{0}, c), sum);
    EXPECT_EQ(nerrow::ifoldl([](const std::pair<Int, Int>& ij, Int acc, Int) { return acc + ij.first; }, Int{0}, c), 1);
    EXPECT_EQ(nerrow::ifoldrStrict([](const std::pair<Int, Int>&, Int x, Int acc) { return acc + x; }, Int{0}, c), sum + 7);
    auto p = core::Pair(ys, List<Int>{5});
    EXPECT_EQ(nerrow::ifoldMapStrict([](const core::Either<Int, Int>& e, Int) { return core::Additive<Int>{e.isLeft() ? 1 : 100}; }, p)
                  .value,
              n + 100);
    core::Reverse<core::ListK, Int> rv{ys};
    EXPECT_EQ(nerrow::ifoldlStrict([](Int i, Int acc, Int) { return acc == i + 1 ? i : -1; }, n, rv), 0);
    EXPECT_EQ(nerrow::ifoldrStrict([](Int i, Int, Int acc) { return acc == i - 1 ? i : -1; }, Int{-1}, rv), n - 1);
}
