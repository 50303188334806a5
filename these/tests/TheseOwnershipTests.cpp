// Deferred parts own what they need, building never evaluates, and the
// non-empty folds stop as early as foldMap does.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>

#include "Core/Foldable1.h"
#include "Core/Semigroup.h"
#include "Data/These.h"

using core::List;
using these::That;
using these::These;
using these::This;

TEST(TheseOwnership, BifoldrRestOwnsTheSecondFunction) {
    // f keeps the rest unevaluated inside its result; the caller's g is
    // replaced (and the original destroyed) before that rest is forced.
    auto f = [](int a, const core::Lazy<List<int>>& rest) {
        return List<int>::cons(a, List<int>::lazy([rest] { return rest.force(); }));
    };
    auto g = std::make_unique<std::function<List<int>(int, const core::Lazy<List<int>>&)>>(
        [](int b, const core::Lazy<List<int>>& z) { return List<int>::cons(b * 10, z.force()); });
    List<int> out = core::bifoldr(f, *g, List<int>(), These(1, 2));
    *g = [](int, const core::Lazy<List<int>>&) { return List<int>{-1}; };
    g.reset();
    EXPECT_EQ(out.toVector(), (std::vector<int>{1, 20}));
}

TEST(TheseOwnership, ConvertingOneSideKeepsItUnevaluated) {
    int calls = 0;
    These<long, std::string> a = This(core::defer([&] {
        ++calls;
        return 7;
    }));
    These<std::string, long> b = That(core::defer([&] {
        ++calls;
        return 8;
    }));
    These<std::string, std::string> c = That("literal");
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(a.left(), 7L);
    EXPECT_EQ(b.right(), 8L);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(c.right(), "literal");
}

TEST(TheseOwnership, MixedPlainAndDeferredArgumentsDeduceThePlainTypes) {
    int calls = 0;
    auto t = These(1, core::defer([&] { return ++calls; }));
    static_assert(std::is_same_v<decltype(t), These<int, int>>);
    auto u = These(core::defer([&] { return std::string("x"); }), 'c');
    static_assert(std::is_same_v<decltype(u), These<std::string, char>>);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(t.right(), 1);
    EXPECT_EQ(u.left(), "x");

    // String literals and character pointers are held as std::string.
    auto s = These(std::string("a"), "b");
    static_assert(std::is_same_v<decltype(s), These<std::string, std::string>>);
    auto th = This("x");
    These<std::string, int> fromLiteral = th;
    EXPECT_EQ(s.right(), "b");
    EXPECT_EQ(fromLiteral.left(), "x");
}

namespace {
using E = core::Either<int, int>;
// Lefts then a Right at position k, then Lefts, counting the cells made;
// `bounded` stops after 1000 elements, otherwise the list has no end.
core::NonEmpty<E> rightAt(int k, int* made, bool bounded) {
    auto tail = List<E>::unfoldr(
        [=](int i) -> std::optional<std::pair<E, int>> {
            if (bounded && i > 1000) return std::nullopt;
            ++*made;
            return std::pair{i == k ? E::right(i) : E::left(i), i + 1};
        },
        1);
    return core::NonEmpty<E>(E::left(0), tail);
}
}  // namespace

TEST(TheseOwnership, NonEmptyFoldsStopAtTheFirstDecidingElement) {
    int made = 0;
    auto xs = rightAt(3, &made, true);
    EXPECT_EQ(core::sconcat(xs), E::right(3));
    EXPECT_LE(made, 4);
    made = 0;
    EXPECT_EQ(core::fold1(rightAt(2, &made, true)), E::right(2));
    EXPECT_LE(made, 3);
    made = 0;
    auto id = [](const E& e) { return e; };
    EXPECT_EQ(core::foldMap1(id, rightAt(5, &made, true)), E::right(5));
    EXPECT_LE(made, 6);

    // The same on lists without end.
    EXPECT_EQ(core::sconcat(rightAt(4, &made, false)), E::right(4));
    EXPECT_EQ(core::fold1(rightAt(4, &made, false)), E::right(4));
    EXPECT_EQ(core::foldMap1(id, rightAt(4, &made, false)), E::right(4));
    // All Lefts: the last one, as before.
    made = 0;
    EXPECT_EQ(core::sconcat(rightAt(-1, &made, true)), E::left(1000));
}

TEST(TheseOwnership, ValuesAreCompact) {
    // Both sides in place plus the tag: three words for two ints.
    static_assert(sizeof(These<int, int>) <= 24);
    static_assert(sizeof(These<std::string, std::string>) <= 24);
    // A deferred side and a plain side share the same storage.
    int calls = 0;
    These<int, int> t(core::defer([&] { return ++calls; }), 5);
    These<int, int> u = t;
    EXPECT_EQ(u.left(), 1);
    EXPECT_EQ(t.left(), 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(t.right(), 5);
    These<int, int> w = std::move(u);
    w = t;
    w = These<int, int>(That(2));
    EXPECT_EQ(w.right(), 2);
    EXPECT_THROW(w.left(), core::Error);
}
