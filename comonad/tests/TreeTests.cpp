// The rose tree as a comonad: every node re-focused as the subtree rooted
// there, children produced on demand, and the tree's own Applicative as
// its ComonadApply.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <atomic>
#include <functional>
#include <vector>

#include "Control/Comonad.h"
#include "Core/Tree.h"

using core::List;
using core::Node;
using core::Tree;

namespace {

// Ten million positions; a million under AddressSanitizer, whose shadow
// memory and slower allocation make the larger run take minutes (the
// constant-stack property is the same at either size).
#if defined(__SANITIZE_ADDRESS__)
constexpr long longChain = 1'000'000;
#else
constexpr long longChain = 10'000'000;
#endif

// Pre-order labels.
template <class A>
std::vector<A> labels(const Tree<A>& t) {
    std::vector<A> out{t.rootLabel};
    for (const auto& c : t.subForest)
        for (const A& x : labels(c)) out.push_back(x);
    return out;
}

int size(const Tree<int>& t) { return static_cast<int>(labels(t).size()); }

Tree<int> sample() { return Node(1, {Node(2, {Node(4)}), Node(3)}); }

TEST(TreeComonad, ExtractDuplicateExtend) {
    Tree<int> t = sample();
    EXPECT_EQ(comonad::extract(t), 1);
    auto d = comonad::duplicate(t);
    EXPECT_EQ(labels(d.rootLabel), labels(t));
    EXPECT_EQ(labels(d.subForest.head().rootLabel), (std::vector<int>{2, 4}));
    EXPECT_EQ(labels(d.subForest.tail().head().rootLabel), std::vector<int>{3});
    // extend(size): the size of the subtree at every node.
    EXPECT_EQ(labels(comonad::extend(size, t)), (std::vector<int>{4, 2, 1, 1}));
    EXPECT_EQ(labels(comonad::liftW([](int x) { return x * 10; }, t)), (std::vector<int>{10, 20, 40, 30}));
}

TEST(TreeComonad, ChildrenAreExtendedWhenDemanded) {
    // An unbounded tree: every node n has children 2n and 2n + 1.
    std::function<Tree<long>(long)> grow = [&grow](long n) {
        return Tree<long>(n, List<Tree<long>>::lazy([n, grow] { return List<Tree<long>>{grow(2 * n), grow(2 * n + 1)}; }));
    };
    std::atomic<int> calls{0};
    auto e = comonad::extend(
        [&calls](const Tree<long>& v) {
            ++calls;
            return v.rootLabel + v.subForest.head().rootLabel;
        },
        grow(1));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(e.rootLabel, 3);
    const Tree<long>& right = e.subForest.tail().head();
    EXPECT_EQ(right.rootLabel, 3 + 6);
    EXPECT_EQ(calls, 3);  // the root and the two children of the forest cell read
    EXPECT_EQ(right.subForest.head().rootLabel, 6 + 12);
    EXPECT_EQ(calls, 4);  // only the first cell of that node's forest
}

TEST(TreeComonad, ApplyIsTheTreesApplicative) {
    using F = std::function<int(int)>;
    Tree<F> fs(F([](int x) { return x + 1; }), List<Tree<F>>{Tree<F>(F([](int x) { return x * 10; }))});
    Tree<int> xs = Node(1, {Node(2)});
    auto r = comonad::apW(fs, xs);
    EXPECT_EQ(labels(r), labels(core::ap(fs, xs)));
    EXPECT_EQ(labels(r), (std::vector<int>{2, 3, 10, 20}));
    EXPECT_EQ(labels(comonad::apRightW(xs, Node(7, {Node(8)}))), labels(core::apRight(xs, Node(7, {Node(8)}))));
    EXPECT_EQ(labels(comonad::apLeftW(xs, Node(7, {Node(8)}))), labels(core::apLeft(xs, Node(7, {Node(8)}))));
}

TEST(TreeComonad, DeepTreeIsExtendedAndDroppedInConstantStack) {
    constexpr int depth = static_cast<int>(longChain);
    Tree<int> t(0);
    for (int i = 1; i < depth; ++i) t = Tree<int>(i, List<Tree<int>>{std::move(t)});
    auto e = comonad::extend([](const Tree<int>& v) { return v.rootLabel + 1; }, t);
    long steps = 0;
    const Tree<int>* cur = &e;
    for (;;) {
        ++steps;
        const auto& st = cur->subForest.step();
        if (!st) break;
        cur = &st->head;
    }
    EXPECT_EQ(steps, depth);
    EXPECT_EQ(cur->rootLabel, 1);
}

Tree<int> treeOf(const std::vector<int>& xs) {
    // A tree of the numbers: each number's children are the following ones
    // that are larger (bounded by the input length).
    if (xs.empty()) return Node(0);
    std::vector<Tree<int>> kids;
    for (std::size_t i = 1; i < xs.size() && i < 5; ++i) kids.push_back(Node(xs[i]));
    return Tree<int>(xs[0], List<Tree<int>>(kids));
}

RC_GTEST_PROP(TreeLaws, ComonadLaws, (const std::vector<int>& xsIn)) {
    std::vector<int> xs;
    for (int x : xsIn) xs.push_back(x % 10000);
    Tree<int> t = treeOf(xs);
    RC_ASSERT(labels(comonad::extract(comonad::duplicate(t))) == labels(t));
    RC_ASSERT(labels(core::fmap([](const Tree<int>& v) { return comonad::extract(v); }, comonad::duplicate(t))) == labels(t));
    auto dd = comonad::duplicate(comonad::duplicate(t));
    auto fd = core::fmap([](const Tree<int>& v) { return comonad::duplicate(v); }, comonad::duplicate(t));
    auto obs = [](const Tree<Tree<Tree<int>>>& x) {
        std::vector<std::vector<int>> out;
        for (const auto& inner : labels(x))
            for (const auto& v : labels(inner)) out.push_back(labels(v));
        return out;
    };
    RC_ASSERT(obs(dd) == obs(fd));
    RC_ASSERT(labels(comonad::extend(size, t)) == labels(core::fmap(size, comonad::duplicate(t))));
}

}  // namespace
