#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <string>
#include <optional>
#include <utility>
#include <vector>

#include "Core/FunctorTypes.h"
#include "Core/Monoids.h"
#include "Core/Tree.h"

using core::Int;
using core::List;
using core::Node;
using core::Tree;

namespace {

// 1 [2 [4], 3]
Tree<Int> sample() {
    return Node<Int>(1, {Node<Int>(2, {Node<Int>(4)}), Node<Int>(3)});
}

// The complete binary tree of all naturals: n has children 2n+1 and 2n+2.
Tree<Int> naturals() {
    return core::unfoldTree([](Int n) { return std::pair{n, List<Int>{2 * n + 1, 2 * n + 2}}; }, Int{0});
}

// A random tree from a seed, with its pre-order labels recorded.
Tree<Int> randomTree(int depth, std::vector<Int>& pre) {
    Int label = *rc::gen::inRange<Int>(-50, 50);
    pre.push_back(label);
    int kids = depth == 0 ? 0 : *rc::gen::inRange(0, 4);
    std::vector<Tree<Int>> forest;
    for (int i = 0; i < kids; ++i) forest.push_back(randomTree(depth - 1, pre));
    return Node(label, List<Tree<Int>>(forest));
}

}  // namespace

TEST(TreeOrders, FlattenIsPreOrderAndLevelsAreBreadthFirst) {
    Tree<Int> t = sample();
    EXPECT_EQ(core::flatten(t).toVector(), (std::vector<Int>{1, 2, 4, 3}));
    auto ls = core::levels(t).toVector();
    ASSERT_EQ(ls.size(), 3u);
    EXPECT_EQ(ls[0].toVector(), (std::vector<Int>{1}));
    EXPECT_EQ(ls[1].toVector(), (std::vector<Int>{2, 3}));
    EXPECT_EQ(ls[2].toVector(), (std::vector<Int>{4}));
    EXPECT_EQ(core::toList(t).toVector(), core::flatten(t).toVector());
}

TEST(TreeOrders, UnboundedTreesAreProducedOnDemand) {
    Tree<Int> t = naturals();
    // Pre-order follows the leftmost path down forever.
    EXPECT_EQ(core::flatten(t).take(4).toVector(), (std::vector<Int>{0, 1, 3, 7}));
    auto ls = core::levels(t).take(3).toVector();
    EXPECT_EQ(ls[2].toVector(), (std::vector<Int>{3, 4, 5, 6}));
    // An unbounded breadth: the root of naturals with infinitely many leaves.
    Tree<Int> wide = Node<Int>(0, core::fmap([](Int n) { return Node(n); }, List<Int>::iterate([](Int n) { return n + 1; }, 1)));
    EXPECT_EQ(core::levels(wide).tail().head().take(3).toVector(), (std::vector<Int>{1, 2, 3}));
    // Mapping and folding lazily stop early.
    auto doubled = core::fmap([](Int n) { return 2 * n; }, t);
    EXPECT_EQ(core::flatten(doubled).take(3).toVector(), (std::vector<Int>{0, 2, 6}));
    bool found = core::foldr([](Int x, const core::Lazy<bool>& rest) { return x == 15 || rest.force(); }, false, t);
    EXPECT_TRUE(found);
}

TEST(TreeFolds, FoldTreeAndTheFoldableOperations) {
    Tree<Int> t = sample();
    Int total = core::foldTree([](Int x, const List<Int>& kids) { return x + core::sum(kids); }, t);
    EXPECT_EQ(total, 10);
    Int depth = core::foldTree([](Int, const List<Int>& kids) -> Int { return 1 + (kids.null() ? 0 : core::maximum(kids)); }, t);
    EXPECT_EQ(depth, 3);
    auto generic = core::foldTree<std::string>([](Int x, const auto& kids) {
        std::string s = std::to_string(x);
        for (const auto& k : kids) s += "(" + k + ")";
        return s;
    }, t);
    EXPECT_EQ(generic, "1(2(4))(3)");
    EXPECT_EQ(core::length(t), 4);
    EXPECT_EQ(core::sum(t), 10);
    EXPECT_EQ(core::maximum(t), 4);
    EXPECT_FALSE(core::null(t));
    EXPECT_EQ(core::foldl([](std::string acc, Int x) { return acc + std::to_string(x); }, std::string(), t), "1243");
    EXPECT_EQ(core::foldrStrict([](Int x, std::string acc) { return acc + std::to_string(x); }, std::string(), t), "3421");
    EXPECT_EQ(core::head1(t), 1);
    EXPECT_EQ(core::last1(t), 3);
    EXPECT_EQ(core::toNonEmpty(t).toVector(), (std::vector<Int>{1, 2, 4, 3}));
    EXPECT_EQ(core::foldMap1([](Int x) { return core::Max<Int>{x}; }, t).value, 4);
}

TEST(TreeTraversal, EffectsRunInPreOrderAndTheShapeIsKept) {
    Tree<Int> t = sample();
    auto r = core::traverse([](Int x) { return std::pair<std::string, Int>(std::to_string(x), x * 10); }, t);
    EXPECT_EQ(r.first, "1243");
    EXPECT_EQ(r.second, core::fmap([](Int x) { return x * 10; }, t));
    auto ok = core::traverse([](Int x) { return std::optional<Int>(x); }, t);
    ASSERT_TRUE(ok.has_value());
    EXPECT_EQ(*ok, t);
    auto bad = core::traverse([](Int x) { return x == 4 ? std::optional<Int>() : std::optional<Int>(x); }, t);
    EXPECT_FALSE(bad.has_value());
}

TEST(TreeApplicativeMonad, GraftAsRoseTreesDo) {
    auto a = Node<Int>(1, {Node<Int>(2)});
    auto b = Node<Int>(10, {Node<Int>(20)});
    auto sum = core::liftA2([](Int x, Int y) { return x + y; }, a, b);
    // Node 11 [Node 21 [], Node 12 [Node 22 []]]
    EXPECT_EQ(sum, Node<Int>(11, {Node<Int>(21), Node<Int>(12, {Node<Int>(22)})}));
    EXPECT_EQ(core::apRight(a, b), Node<Int>(10, {Node<Int>(20), Node<Int>(10, {Node<Int>(20)})}));
    EXPECT_EQ(core::apLeft(a, b), Node<Int>(1, {Node<Int>(1), Node<Int>(2, {Node<Int>(2)})}));
    EXPECT_EQ(core::pure<core::TreeK>(Int{5}), Node<Int>(5));
    auto bound = core::bind(a, [](Int x) { return Node<Int>(x, {Node<Int>(x * 10)}); });
    EXPECT_EQ(bound, Node<Int>(1, {Node<Int>(10), Node<Int>(2, {Node<Int>(20)})}));
    // Lazily on an unbounded tree.
    auto big = core::bind(naturals(), [](Int x) { return Node<Int>(x); });
    EXPECT_EQ(core::flatten(big).take(3).toVector(), (std::vector<Int>{0, 1, 3}));
}

TEST(TreeComparison, LabelsThenSubtreesLexicographically) {
    EXPECT_EQ(sample(), sample());
    EXPECT_NE(sample(), Node<Int>(1, {Node<Int>(2, {Node<Int>(4)})}));
    EXPECT_LT(Node<Int>(1, {Node<Int>(2)}), Node<Int>(1, {Node<Int>(2), Node<Int>(0)}));
    EXPECT_LT(Node<Int>(1, {Node<Int>(2, {Node<Int>(9)})}), Node<Int>(1, {Node<Int>(3)}));
    EXPECT_GT(Node<Int>(2), Node<Int>(1, {Node<Int>(5)}));
    EXPECT_EQ(core::compare1(sample(), sample()), core::EQ);
    EXPECT_TRUE(core::liftEq([](Int x, const std::string& s) { return std::to_string(x) == s; }, sample(),
                             core::fmap([](Int x) { return std::to_string(x); }, sample())));
}

TEST(TreeText, RecordFormRoundTrips) {
    EXPECT_EQ(core::show(Node<Int>(1)), "Node {rootLabel = 1, subForest = []}");
    EXPECT_EQ(core::show(Node<Int>(-1, {Node<Int>(2)})),
              "Node {rootLabel = -1, subForest = [Node {rootLabel = 2, subForest = []}]}");
    EXPECT_EQ(core::show(std::optional<Tree<Int>>(Node<Int>(1))), "Just (Node {rootLabel = 1, subForest = []})");
    EXPECT_EQ(core::show(Node(std::string("a"))), "Node {rootLabel = \"a\", subForest = []}");
    EXPECT_EQ(core::read<Tree<Int>>(core::show(sample())), sample());
    EXPECT_EQ(core::read<Tree<Int>>(" ( Node { rootLabel = (-3) , subForest = [ ] } ) "), Node<Int>(-3));
    EXPECT_EQ(core::read<std::optional<Tree<Int>>>("Just (Node {rootLabel = 1, subForest = []})"),
              std::optional<Tree<Int>>(Node<Int>(1)));
    EXPECT_FALSE(core::read<Tree<Int>>("Node {rootLabel = 1}").has_value());
    EXPECT_FALSE(core::read<Tree<Int>>("Node {subForest = [], rootLabel = 1}").has_value());
    EXPECT_FALSE(core::read<Tree<Int>>("Nodex {rootLabel = 1, subForest = []}").has_value());
    std::string out;
    core::liftShowsPrec(core::ShowsPrecOf<Int>{}, core::ShowListOf<Int>{}, 11, Node<Int>(7), out);
    EXPECT_EQ(out, "(Node {rootLabel = 7, subForest = []})");
}

TEST(TreeHashing, LabelThenSubtreesAsAList) {
    using core::hashInt;
    const std::uint64_t s = core::defaultSalt;
    EXPECT_EQ(core::hash(Node<Int>(1)), hashInt(hashInt(s, 1), 0));
    // 1 [2]: label 1, then the list [Node 2 []]: its element, then count 1.
    EXPECT_EQ(core::hash(Node<Int>(1, {Node<Int>(2)})), hashInt(hashInt(hashInt(hashInt(s, 1), 2), 0), 1));
    EXPECT_NE(core::hash(Node<Int>(1, {Node<Int>(2), Node<Int>(3)})), core::hash(Node<Int>(1, {Node<Int>(2, {Node<Int>(3)})})));
    auto h = [](std::uint64_t salt, Int x) { return core::hashWithSalt(salt, x); };
    EXPECT_EQ(core::liftHashWithSalt(h, 7, sample()), core::hashWithSalt(7, sample()));
}

TEST(TreeBytes, PreOrderWithCountsAndHostileInput) {
    std::string bytes = core::encode(Node<Int>(1, {Node<Int>(2)}));
    std::string expected;
    auto putInt = [&](Int v) {
        for (int i = 7; i >= 0; --i) expected.push_back(static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i)));
    };
    putInt(1), putInt(1), putInt(2), putInt(0);
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(core::decode<Tree<Int>>(bytes).value(), Node<Int>(1, {Node<Int>(2)}));
    EXPECT_EQ(core::decode<Tree<Int>>(core::encode(sample())).value(), sample());
    // A count far beyond the input fails before anything is reserved.
    std::string huge;
    std::swap(huge, expected);
    huge.clear();
    for (Int v : {Int{1}, Int{1} << 60}) {
        for (int i = 7; i >= 0; --i) huge.push_back(static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i)));
    }
    EXPECT_EQ(core::decode<Tree<Int>>(huge).error(), "Not enough bytes");
    EXPECT_EQ(core::decode<Tree<Int>>(bytes.substr(0, 20)).error(), "Not enough bytes");
    EXPECT_EQ(core::decode<Tree<Int>>(bytes + "x").error(), "Not all input consumed");
    std::string negative = bytes.substr(0, 8) + std::string(8, '\xff');
    EXPECT_EQ(core::decode<Tree<Int>>(negative).error(), "Negative length");
}

TEST(TreeSoundness, DeepTreesInConstantStack) {
    constexpr Int n = 10'000'000;
    Tree<Int> t = Node<Int>(0);
    for (Int i = 1; i < n; ++i) t = Node<Int>(i, {std::move(t)});
    EXPECT_EQ(core::length(t), n);
    EXPECT_EQ(core::flatten(t).length(), static_cast<std::size_t>(n));
    EXPECT_EQ(core::foldTree([](Int, const List<Int>& kids) -> Int { return kids.null() ? 1 : kids.head() + 1; }, t), n);
    EXPECT_EQ(t, t);
    EXPECT_EQ(core::hash(t), core::hash(t));
    { Tree<Int> drop = std::move(t); }
    SUCCEED();
}

// Printing follows the nodes with a loop: a tree a million levels deep
// prints (it overflowed the stack when each level was a nested call).
TEST(TreeSoundness, DeepTreesPrintInConstantStack) {
    constexpr Int n = 1'000'000;
    Tree<Int> t = Node<Int>(0);
    for (Int i = 1; i < n; ++i) t = Node<Int>(i % 10, {std::move(t)});
    const std::string text = core::show(t);
    EXPECT_EQ(text.rfind("Node {rootLabel = 9, subForest = [Node {rootLabel = 8, subForest = [", 0), 0u);
    const std::string leaf = "Node {rootLabel = 0, subForest = []}";
    EXPECT_EQ(text.find(leaf), text.size() - leaf.size() - 2 * static_cast<std::size_t>(n - 1));
    EXPECT_EQ(text.size(), static_cast<std::size_t>(n) * leaf.size());
    // A wide and shallow tree, and parentheses only around the outermost node.
    Tree<Int> wide = Node<Int>(1, {Node<Int>(2), Node<Int>(3, {Node<Int>(4)}), Node<Int>(5)});
    EXPECT_EQ(core::show(std::optional<Tree<Int>>(wide)),
              "Just (Node {rootLabel = 1, subForest = [Node {rootLabel = 2, subForest = []},"
              "Node {rootLabel = 3, subForest = [Node {rootLabel = 4, subForest = []}]},"
              "Node {rootLabel = 5, subForest = []}]})");
}

TEST(TreeSoundness, DeepEncodingsDecodeWithoutRecursion) {
    // A million levels, each a label and a count of one, then a leaf.
    constexpr int depth = 1'000'000;
    std::string bytes;
    auto putInt = [&](Int v) {
        for (int i = 7; i >= 0; --i) bytes.push_back(static_cast<char>(static_cast<std::uint64_t>(v) >> (8 * i)));
    };
    for (int i = 0; i < depth; ++i) putInt(i), putInt(1);
    putInt(-1), putInt(0);
    auto t = core::decode<Tree<Int>>(bytes);
    ASSERT_TRUE(t.isRight());
    EXPECT_EQ(core::length(*t), depth + 1);
    EXPECT_EQ(core::encode(*t), bytes);
    // Cut short: fails cleanly.
    EXPECT_EQ(core::decode<Tree<Int>>(bytes.substr(0, bytes.size() - 3)).error(), "Not enough bytes");
}

RC_GTEST_PROP(TreeProperties, AgreeWithThePreOrderModel, ()) {
    std::vector<Int> pre;
    Tree<Int> t = randomTree(*rc::gen::inRange(0, 4), pre);
    RC_ASSERT(core::flatten(t).toVector() == pre);
    RC_ASSERT(core::length(t) == static_cast<Int>(pre.size()));
    Int modelSum = 0;
    for (Int x : pre) modelSum += x;
    RC_ASSERT(core::sum(t) == modelSum);
    auto mapped = core::fmap([](Int x) { return x * 3 - 1; }, t);
    auto v = core::flatten(mapped).toVector();
    for (std::size_t i = 0; i < pre.size(); ++i) RC_ASSERT(v[i] == pre[i] * 3 - 1);
    RC_ASSERT(core::fmap([](Int x) { return x; }, t) == t);
    RC_ASSERT(core::read<Tree<Int>>(core::show(t)) == std::optional<Tree<Int>>(t));
    RC_ASSERT(core::decode<Tree<Int>>(core::encode(t)).value() == t);
    Int levelsTotal = 0;
    for (const auto& level : core::levels(t)) levelsTotal += static_cast<Int>(level.length());
    RC_ASSERT(levelsTotal == static_cast<Int>(pre.size()));
    // Monad laws on the sample continuation.
    auto k = [](Int x) { return Node<Int>(x, {Node<Int>(x + 1)}); };
    RC_ASSERT(core::bind(core::pure<core::TreeK>(pre[0]), k) == k(pre[0]));
    RC_ASSERT(core::bind(t, [](Int x) { return core::pure<core::TreeK>(x); }) == t);
}
