// Where the indexed operations stop: a failed effect ends a traversal
// before the elements after it are looked at, a fold that does not demand
// its rest ends there, and Reverse calls the caller's function from the
// last element to the first.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Support.h"

using core::Int;
using core::Lazy;
using core::List;
using core::NonEmpty;
using core::Unit;
using nt::Strings;

using nt::naturals;

TEST(EarlyStop, AFailedFirstEffectEndsTheTraversal) {
    // NonEmpty: the head fails, the (unbounded) tail is never looked at.
    Int calls = 0;
    auto failHead = [&calls](Int i, Int x) {
        ++calls;
        return i == 0 ? std::optional<Int>() : std::optional<Int>(x);
    };
    EXPECT_FALSE(nerrow::itraverse(failHead, NonEmpty<Int>(7, naturals())).has_value());
    EXPECT_EQ(calls, 1);
    calls = 0;
    auto left = nerrow::itraverse(
        [&calls](Int i, Int x) {
            ++calls;
            return i == 0 ? core::Either<std::string, Int>::left("head") : core::Either<std::string, Int>::right(x);
        },
        NonEmpty<Int>(7, naturals()));
    ASSERT_TRUE(left.isLeft());
    EXPECT_EQ(left.unsafeLeft(), "head");
    EXPECT_EQ(calls, 1);

    // Tree: the root fails, its subtrees are never visited.
    Strings seen;
    auto t = core::Node('r', {core::Node('a'), core::Node('b')});
    auto rootFails = nerrow::itraverse(
        [&seen](const List<Int>& p, char c) {
            seen.push_back(nt::str(p) + c);
            return p.null() ? std::optional<char>() : std::optional<char>(c);
        },
        t);
    EXPECT_FALSE(rootFails.has_value());
    EXPECT_EQ(seen, Strings{"[]r"});
    // A failing child stops the later children.
    seen.clear();
    auto childFails = nerrow::itraverse(
        [&seen](const List<Int>& p, char c) {
            seen.push_back(nt::str(p) + c);
            return c == 'a' ? std::optional<char>() : std::optional<char>(c);
        },
        t);
    EXPECT_FALSE(childFails.has_value());
    EXPECT_EQ(seen, (Strings{"[]r", "[0]a"}));

    // Product: the first component fails, the second is never traversed.
    seen.clear();
    auto p = core::Pair(List<char>{'a', 'b'}, List<char>{'c'});
    auto firstFails = nerrow::itraverse(
        [&seen](const core::Either<Int, Int>& e, char c) {
            seen.push_back(nt::str(e) + c);
            return c == 'b' ? std::optional<char>() : std::optional<char>(c);
        },
        p);
    EXPECT_FALSE(firstFails.has_value());
    EXPECT_EQ(seen, (Strings{"L0a", "L1b"}));
    // Nothing fails: every element, in order, and the shape rebuilt.
    seen.clear();
    auto ok = nerrow::itraverse(
        [&seen](const core::Either<Int, Int>& e, char c) {
            seen.push_back(nt::str(e) + c);
            return std::optional<char>(static_cast<char>(c + 1));
        },
        p);
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(ok->second.toVector(), std::vector<char>{'d'});
    EXPECT_EQ(seen, (Strings{"L0a", "L1b", "R0c"}));
    // The traversals that go through a failed first effect in the free
    // functions stop as well.
    calls = 0;
    EXPECT_FALSE(nerrow::imapM(failHead, NonEmpty<Int>(7, naturals())).has_value());
    EXPECT_EQ(calls, 1);
}

TEST(EarlyStop, FoldsThatDoNotDemandTheRestEndThere) {
    // Wrappers and combinations hand the rest over deferred, so searches
    // end on unbounded contents.
    core::IdentityT<core::ListK, Int> it{naturals()};
    EXPECT_EQ(nerrow::ifind([](Int i, Int) { return i == 4; }, it), (std::optional<std::pair<Int, Int>>({4, 4})));
    auto s = core::InL<core::OptionalK>(naturals());
    EXPECT_TRUE(nerrow::iany([](const core::Either<Int, Unit>& e, Int) { return e.isLeft() && e.unsafeLeft() == 3; }, s));
    auto prod = core::Pair(naturals(), List<Int>{});
    EXPECT_EQ(nerrow::itoList(prod).take(2).toVector().size(), 2u);
    core::Compose<core::ListK, core::ListK, Int> c{List<List<Int>>::iterate([](List<Int> xs) { return xs; }, naturals())};
    auto found = nerrow::ifind([](const std::pair<Int, Int>& ij, Int) { return ij.second == 2; }, c);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->first, (std::pair<Int, Int>(0, 2)));
    // Keyed containers: nothing after the deciding element is looked at.
    Int examined = 0;
    core::Map<Int, char> m{{1, 'a'}, {2, 'b'}, {3, 'c'}};
    EXPECT_TRUE(nerrow::iany([&examined](Int k, char) { ++examined; return k == 2; }, m));
    EXPECT_EQ(examined, 2);
    examined = 0;
    core::IntMap<char> im{{-5, 'a'}, {3, 'c'}, {-1, 'b'}};
    EXPECT_EQ(nerrow::ifind([&examined](Int, char c) { ++examined; return c == 'b'; }, im),
              (std::optional<std::pair<Int, char>>({-1, 'b'})));
    EXPECT_EQ(examined, 2);
    examined = 0;
    core::Seq<char> sq{'p', 'q', 'r', 's'};
    EXPECT_TRUE(nerrow::iany([&examined](Int i, char) { ++examined; return i == 1; }, sq));
    EXPECT_EQ(examined, 2);
    examined = 0;
    auto a = core::listArray(std::pair<Int, Int>{1, 4}, {'w', 'x', 'y', 'z'});
    EXPECT_FALSE(nerrow::iall([&examined](Int i, char) { ++examined; return i < 2; }, a));
    EXPECT_EQ(examined, 2);
    // NonEmpty's non-empty folds stop as well.
    NonEmpty<Int> ne(0, List<Int>::iterate([](Int n) { return n + 1; }, 1));
    EXPECT_TRUE(nerrow::ifoldMap1([](Int i, Int) { return core::Any{i == 5}; }, ne).value);
}

TEST(EarlyStop, ReverseCallsTheFunctionFromTheLastElement) {
    core::Reverse<core::ListK, char> rv{List<char>{'a', 'b', 'c'}};
    Strings calls;
    auto folded = nerrow::ifoldMap(
        [&calls](Int i, char c) {
            calls.push_back(std::to_string(i) + c);
            return std::to_string(i) + c;
        },
        rv);
    EXPECT_EQ(folded, "2c1b0a");
    EXPECT_EQ(calls, (Strings{"2c", "1b", "0a"}));
    calls.clear();
    auto traversed = nerrow::itraverse(
        [&calls](Int i, char c) {
            calls.push_back(std::to_string(i) + c);
            return std::optional<char>(static_cast<char>(c + 1));
        },
        rv);
    ASSERT_TRUE(traversed);
    EXPECT_EQ(traversed->value.toVector(), (std::vector<char>{'b', 'c', 'd'}));
    EXPECT_EQ(calls, (Strings{"2c", "1b", "0a"}));
    // A failure at the last element ends the traversal there.
    calls.clear();
    auto failed = nerrow::itraverse(
        [&calls](Int i, char c) {
            calls.push_back(std::to_string(i) + c);
            return i == 2 ? std::optional<char>() : std::optional<char>(c);
        },
        rv);
    EXPECT_FALSE(failed.has_value());
    EXPECT_EQ(calls, Strings{"2c"});
    // iany stops at the first deciding element from the back.
    Int examined = 0;
    core::Reverse<core::VectorK, int> rvv{std::vector<int>{1, 2, 3, 4}};
    EXPECT_TRUE(nerrow::iany([&examined](Int i, int) { ++examined; return i == 2; }, rvv));
    EXPECT_EQ(examined, 2);
}
