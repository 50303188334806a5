#pragma once
// core::Tree<A>: a rose tree, a label and a lazy list of subtrees.
//
//   auto t = core::Node(1, {core::Node(2), core::Node(3, {core::Node(4)})});
//   t.rootLabel                  // 1
//   t.subForest                  // core::List<Tree<int>>, produced on demand
//   core::flatten(t)             // [1,2,3,4]: pre-order, lazily
//   core::levels(t)              // [[1],[2,3],[4]]: breadth first, lazily
//   core::foldTree([](int x, const core::List<int>& kids) { ... }, t)
//   core::unfoldTree([](int n) { return std::pair{n, core::List<int>{...}}; }, 0)
//
// The subtrees are a core::List, so a tree may be unbounded in breadth and
// in depth; operations that build trees (fmap, unfoldTree, the Applicative
// and Monad) produce subtrees only when they are demanded. Trees are
// immutable and share their parts; copying is cheap and values may be used
// from any number of threads.
//
// Interfaces (tag TreeK): Functor, Foldable and Foldable1 (pre-order),
// Traversable (effects in pre-order), Applicative and Monad (the rose-tree
// ones: `pure(x)` is a leaf, `liftA2(f, a, b)` grafts b below every node of
// a), Eq/Ord (label first, then the subtrees lexicographically) and their
// lifted forms Eq1/Ord1, Show/Read and Show1/Read1 in the record form
// `Node {rootLabel = 1, subForest = []}`, Hashable/Hashable1 (the label,
// then the subtrees as a list), Binary (the label, then the subtrees as a
// list).
//
// Stack use: destruction, flatten, levels, the strict folds, traverse,
// foldTree, ==, <=>, hashing and the byte encoding run in constant stack
// whatever the depth (explicit stacks or loops). The text forms recurse
// once per level of depth; reading stops at the reader's nesting limit
// (Core/ReadP.h) instead of exhausting the stack.
#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Binary.h"
#include "Core/Classes.h"
#include "Core/Foldable.h"
#include "Core/Foldable1.h"
#include "Core/Functor.h"
#include "Core/Hashable.h"
#include "Core/Hashable1.h"
#include "Core/Kinds.h"
#include "Core/List.h"
#include "Core/Monad.h"
#include "Core/NonEmpty.h"
#include "Core/Read.h"
#include "Core/Show.h"
#include "Core/Traversable.h"

namespace core {

template <class A>
struct Tree;

namespace detail {
// Releases a forest without nesting destructors: while one forest is being
// released on this thread, the forests of the trees it frees are queued
// and released one after another by the outermost call. A degenerate tree
// millions of levels deep is therefore freed in constant stack, whatever
// the List implementation does inside one forest.
template <class A>
void releaseForest(List<Tree<A>>&& forest) noexcept;
}  // namespace detail

template <class A>
struct Tree {
    using value_type = A;

    // The label at the root.
    A rootLabel;
    // The subtrees, front to back; computed on demand.
    List<Tree> subForest;

    Tree(A label, List<Tree> forest = {}) : rootLabel(std::move(label)), subForest(std::move(forest)) {}
    Tree(const Tree&) = default;
    Tree(Tree&&) = default;
    Tree& operator=(const Tree&) = default;
    Tree& operator=(Tree&&) = default;
    ~Tree() { detail::releaseForest(std::move(subForest)); }
};

// A tree with the given label and subtrees: Node(1, {Node(2), Node(3)}).
// (The second template parameter completes Tree<A> before List<Tree<A>> is
// needed for the parameter, an order some compilers require.)
template <class A, std::size_t = sizeof(Tree<A>)>
Tree<A> Node(A label, List<Tree<A>> forest = {}) {
    return Tree<A>(std::move(label), std::move(forest));
}

// The tag of Tree.
struct TreeK {
    template <class A>
    using apply = Tree<A>;
};
template <class A>
struct KindOf<Tree<A>> {
    using kind = TreeK;
    using arg = A;
};

namespace detail {

template <class A>
void releaseForest(List<Tree<A>>&& forest) noexcept {
    // The queue lives in the outermost call's frame; the thread-local
    // pointer to it is trivially destructible, so trees may be destroyed at
    // any point of thread or program exit.
    static thread_local std::vector<List<Tree<A>>>* active = nullptr;
    if (active) {
        try {
            active->push_back(std::move(forest));
            return;
        } catch (...) {
            // No memory for the queue: release this one in place.
        }
        List<Tree<A>> drop = std::move(forest);
        return;
    }
    std::vector<List<Tree<A>>> pending;
    active = &pending;
    {
        List<Tree<A>> drop = std::move(forest);
    }
    while (!pending.empty()) {
        List<Tree<A>> drop = std::move(pending.back());
        pending.pop_back();
    }
    active = nullptr;
}

// Visits every node of t in pre-order with an explicit stack:
// visit(node). The stack holds pointers into the tree's own cells, which
// the tree keeps alive.
template <class A, class Visit>
void preorder(const Tree<A>& t, Visit&& visit) {
    visit(t);
    std::vector<const List<Tree<A>>*> stack{&t.subForest};
    while (!stack.empty()) {
        const auto& st = stack.back()->step();
        if (!st) {
            stack.pop_back();
            continue;
        }
        stack.back() = &st->tail;
        visit(st->head);
        stack.push_back(&st->head.subForest);
    }
}

// Visits the nodes of t in post-order with an explicit stack:
// onNode(node, preIndex, children) gets the node, its position in
// pre-order and the results of its subtrees (moved out of a shared
// buffer), and returns the node's result.
template <class R, class A, class OnNode>
R postorder(const Tree<A>& t, OnNode& onNode) {
    struct Frame {
        const Tree<A>* node;
        const List<Tree<A>>* rest;
        std::size_t pre;
        std::size_t firstKid;
    };
    std::vector<Frame> stack;
    std::vector<R> results;
    std::size_t counter = 0;
    stack.push_back(Frame{&t, &t.subForest, counter++, 0});
    for (;;) {
        Frame& top = stack.back();
        const auto& st = top.rest->step();
        if (st) {
            // The child lives in a cell that the tree itself keeps alive.
            top.rest = &st->tail;
            const Tree<A>* child = &st->head;
            stack.push_back(Frame{child, &child->subForest, counter++, results.size()});
            continue;
        }
        auto first = results.begin() + static_cast<std::ptrdiff_t>(top.firstKid);
        R r = onNode(*top.node, top.pre, first, results.end());
        results.erase(first, results.end());
        stack.pop_back();
        if (stack.empty()) return r;
        results.push_back(std::move(r));
    }
}

// A List from a range of a vector, moving the elements.
template <class It>
auto listFromMoved(It first, It last) {
    using T = std::remove_cvref_t<decltype(*first)>;
    List<T> out;
    while (last != first) {
        --last;
        out = List<T>::cons(std::move(*last), std::move(out));
    }
    return out;
}
template <class T>
List<T> listFromMoved(std::vector<T>&& v) {
    return listFromMoved(v.begin(), v.end());
}

// The labels of a stack of forests in pre-order, on demand. Each cell's
// computation runs once, so the stack moves from one cell to the next.
template <class A>
List<A> flattenForests(std::vector<List<Tree<A>>> stack) {
    using Step = typename List<A>::Step;
    return List<A>::lazyStep([stack = std::move(stack)]() mutable -> Step {
        while (!stack.empty()) {
            const auto& st = stack.back().step();
            if (!st) {
                stack.pop_back();
                continue;
            }
            A label = st->head.rootLabel;
            List<Tree<A>> below = st->head.subForest;
            List<Tree<A>> rest = st->tail;
            stack.back() = std::move(rest);
            stack.push_back(std::move(below));
            return typename List<A>::Cons{std::move(label), flattenForests<A>(std::move(stack))};
        }
        return Step();
    });
}

// The labels of the forest's trees, then the levels below them.
template <class A>
List<List<A>> levelsOf(List<Tree<A>> forest) {
    return List<List<A>>::lazy([forest = std::move(forest)]() -> List<List<A>> {
        if (forest.null()) return List<List<A>>();
        auto labels = Functor<ListK>::fmap([](const Tree<A>& t) { return t.rootLabel; }, forest);
        auto below = Monad<ListK>::bind(forest, [](const Tree<A>& t) { return t.subForest; });
        return List<List<A>>::cons(std::move(labels), levelsOf<A>(std::move(below)));
    });
}

// The result type of a callable that is not generic (a function, a
// function pointer or a lambda with fixed parameter types).
template <class F>
struct FixedResult : FixedResult<decltype(&F::operator())> {};
template <class R, class... Args>
struct FixedResult<R (*)(Args...)> {
    using type = std::remove_cvref_t<R>;
};
template <class R, class C, class... Args>
struct FixedResult<R (C::*)(Args...) const> {
    using type = std::remove_cvref_t<R>;
};
template <class R, class C, class... Args>
struct FixedResult<R (C::*)(Args...)> {
    using type = std::remove_cvref_t<R>;
};

// Seeds given as a List or as any other range, as a List.
template <class S>
List<S> seedList(List<S> xs) {
    return xs;
}
template <class Range>
auto seedList(const Range& xs) {
    using S = std::remove_cvref_t<decltype(*std::begin(xs))>;
    return List<S>::fromRange(std::begin(xs), std::end(xs));
}

template <class F, class S>
using UnfoldLabel = std::remove_cvref_t<decltype(std::declval<const F&>()(std::declval<const S&>()).first)>;

template <class F, class S>
Tree<UnfoldLabel<F, S>> unfoldTreeWith(const std::shared_ptr<const F>& f, const S& seed) {
    auto r = (*f)(seed);
    using A = UnfoldLabel<F, S>;
    auto seeds = seedList(r.second);
    using S2 = ArgOf<decltype(seeds)>;
    auto g = [f](const S2& s) { return unfoldTreeWith(f, s); };
    return Tree<A>(std::move(r.first), mapList<Tree<A>>(std::make_shared<const decltype(g)>(std::move(g)), seeds));
}

// fmap over trees: one shared mapper for the whole tree, each subtree
// mapped when its cell is demanded.
template <class A, class B, class F>
struct TreeMapper : std::enable_shared_from_this<TreeMapper<A, B, F>> {
    F f;
    explicit TreeMapper(F fn) : f(std::move(fn)) {}
    Tree<B> operator()(const Tree<A>& t) const {
        return Tree<B>(f(t.rootLabel), mapList<Tree<B>>(this->shared_from_this(), t.subForest));
    }
};

template <class C, class A, class B, class F>
Tree<C> liftA2Tree(const std::shared_ptr<const F>& f, const Tree<A>& ta, const Tree<B>& tb) {
    // Node(f(x, y), [fmap (f x) over tb's subtrees] ++ [liftA2 f t tb | t <- ta's subtrees])
    const A& x = ta.rootLabel;
    auto inner = [f, x](const B& y) { return (*f)(x, y); };
    std::shared_ptr<const TreeMapper<B, C, decltype(inner)>> left =
        std::make_shared<TreeMapper<B, C, decltype(inner)>>(inner);
    auto right = [f, tb](const Tree<A>& t) { return liftA2Tree<C>(f, t, tb); };
    List<Tree<C>> kids = mapList<Tree<C>>(left, tb.subForest)
                             .append(mapList<Tree<C>>(std::make_shared<const decltype(right)>(right), ta.subForest));
    return Tree<C>((*f)(x, tb.rootLabel), std::move(kids));
}

template <class B, class A, class F>
Tree<B> bindTree(const std::shared_ptr<const F>& f, const Tree<A>& t) {
    Tree<B> r = (*f)(t.rootLabel);
    auto rest = [f](const Tree<A>& c) { return bindTree<B>(f, c); };
    List<Tree<B>> kids = r.subForest.append(mapList<Tree<B>>(std::make_shared<const decltype(rest)>(rest), t.subForest));
    return Tree<B>(std::move(r.rootLabel), std::move(kids));
}

// The order of two trees by a label comparison cmp(a, b) returning an
// Ordering: labels in pre-order, a tree with fewer subtrees before one
// with more when all shared parts are equal. An explicit stack of forest
// pairs, so the depth of the trees does not matter.
template <class Cmp, class A, class B>
Ordering compareTrees(Cmp& cmp, const Tree<A>& a, const Tree<B>& b) {
    if (Ordering o = cmp(a.rootLabel, b.rootLabel); o != EQ) return o;
    std::vector<std::pair<const List<Tree<A>>*, const List<Tree<B>>*>> stack;
    stack.emplace_back(&a.subForest, &b.subForest);
    while (!stack.empty()) {
        auto& top = stack.back();
        const auto& sa = top.first->step();
        const auto& sb = top.second->step();
        if (!sa && !sb) {
            stack.pop_back();
            continue;
        }
        if (!sa) return LT;
        if (!sb) return GT;
        if (Ordering o = cmp(sa->head.rootLabel, sb->head.rootLabel); o != EQ) return o;
        top.first = &sa->tail;
        top.second = &sb->tail;
        stack.emplace_back(&sa->head.subForest, &sb->head.subForest);
    }
    return EQ;
}

// Hashes a tree: the label with h, then the subtrees as a list (each tree,
// then their number as an Int). An explicit stack of forests.
template <class H, class A>
std::uint64_t hashTree(H& h, std::uint64_t salt, const Tree<A>& t) {
    std::vector<std::pair<const List<Tree<A>>*, Int>> stack;
    salt = h(salt, t.rootLabel);
    stack.emplace_back(&t.subForest, 0);
    while (!stack.empty()) {
        auto& top = stack.back();
        const auto& st = top.first->step();
        if (!st) {
            salt = hashInt(salt, top.second);
            stack.pop_back();
            continue;
        }
        top.first = &st->tail;
        ++top.second;
        salt = h(salt, st->head.rootLabel);
        stack.emplace_back(&st->head.subForest, 0);
    }
    return salt;
}

template <class A>
List<A> flattenBelow(const Tree<A>& t) {
    return flattenForests<A>(std::vector<List<Tree<A>>>{t.subForest});
}

}  // namespace detail

// ---- Operations ------------------------------------------------------------

// The labels in pre-order (a node before its subtrees, subtrees front to
// back), produced on demand: works on unbounded trees.
template <class A>
List<A> flatten(const Tree<A>& t) {
    return List<A>::cons(t.rootLabel, detail::flattenBelow(t));
}

// The labels level by level, top first, each level front to back; produced
// on demand.
template <class A>
List<List<A>> levels(const Tree<A>& t) {
    return detail::levelsOf<A>(List<Tree<A>>::cons(t, {}));
}

// The fold of a tree: f(label, results of the subtrees) at every node,
// bottom up. The subtrees' results arrive as a List<B>. The result type B
// is taken from f (give it explicitly, foldTree<B>(f, t), when f is a
// generic lambda). Runs in constant stack; never returns on an unbounded
// tree.
template <class B = void, class F, class A>
auto foldTree(F f, const Tree<A>& t) {
    using R = std::conditional_t<std::is_void_v<B>, typename detail::FixedResult<F>, std::type_identity<B>>;
    using Out = typename R::type;
    auto onNode = [&f](const Tree<A>& node, std::size_t, auto first, auto last) -> Out {
        return f(node.rootLabel, detail::listFromMoved(first, last));
    };
    return detail::postorder<Out>(t, onNode);
}

// Builds a tree from a seed: f(seed) gives a pair of the label and the
// seeds of the subtrees (a List or any range). The root is built now, each
// subtree when it is demanded, so the tree may be unbounded.
template <class F, class S>
auto unfoldTree(F f, S seed) {
    return detail::unfoldTreeWith(std::make_shared<const F>(std::move(f)), seed);
}

// A forest built from seeds, each tree as by unfoldTree, on demand.
template <class F, class S>
auto unfoldForest(F f, List<S> seeds) {
    auto fp = std::make_shared<const F>(std::move(f));
    using T = decltype(detail::unfoldTreeWith(fp, std::declval<const S&>()));
    auto g = [fp](const S& s) { return detail::unfoldTreeWith(fp, s); };
    return detail::mapList<T>(std::make_shared<const decltype(g)>(std::move(g)), std::move(seeds));
}

// ---- Comparison --------------------------------------------------------------

template <class A>
    requires std::equality_comparable<A>
bool operator==(const Tree<A>& a, const Tree<A>& b) {
    auto cmp = [](const A& x, const A& y) { return x == y ? EQ : GT; };
    return detail::compareTrees(cmp, a, b) == EQ;
}
template <class A>
    requires std::three_way_comparable<A>
std::weak_ordering operator<=>(const Tree<A>& a, const Tree<A>& b) {
    auto cmp = [](const A& x, const A& y) {
        auto c = x <=> y;
        return c < 0 ? LT : (c > 0 ? GT : EQ);
    };
    Ordering o = detail::compareTrees(cmp, a, b);
    return o == LT ? std::weak_ordering::less : (o == GT ? std::weak_ordering::greater : std::weak_ordering::equivalent);
}

template <>
struct Eq1<TreeK> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const Tree<A>& a, const Tree<B>& b) {
        auto cmp = [&eq](const A& x, const B& y) { return eq(x, y) ? EQ : GT; };
        return detail::compareTrees(cmp, a, b) == EQ;
    }
};
template <>
struct Ord1<TreeK> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const Tree<A>& a, const Tree<B>& b) {
        return detail::compareTrees(cmp, a, b);
    }
};

// ---- Functor, Foldable, Traversable -------------------------------------------

template <>
struct Functor<TreeK> : FunctorDefaults<TreeK, Functor<TreeK>> {
    // The root's label is computed now, every subtree when it is demanded.
    template <class F, class A>
    static auto fmap(F&& f, const Tree<A>& t) {
        using G = std::decay_t<F>;
        using B = Result<const G&, const A&>;
        std::shared_ptr<const detail::TreeMapper<A, B, G>> m =
            std::make_shared<detail::TreeMapper<A, B, G>>(G(std::forward<F>(f)));
        return (*m)(t);
    }
};

template <>
struct Foldable<TreeK> : FoldableDefaults<TreeK, Foldable<TreeK>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const Tree<A>& t) {
        return Foldable<ListK>::foldr(std::forward<F>(f), std::move(z), flatten(t));
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const Tree<A>& t) {
        detail::preorder(t, [&](const Tree<A>& node) { z = f(std::move(z), node.rootLabel); });
        return z;
    }
    template <class A>
    static Int length(const Tree<A>& t) {
        Int n = 0;
        detail::preorder(t, [&n](const Tree<A>&) { ++n; });
        return n;
    }
    template <class F, class B, class A>
    static B foldl(F&& f, B z, const Tree<A>& t) {
        return foldlStrict(std::forward<F>(f), std::move(z), t);
    }
    template <class A>
    static List<A> toList(const Tree<A>& t) {
        return flatten(t);
    }
    template <class A>
    static bool null(const Tree<A>&) {
        return false;
    }
};

template <>
struct Foldable1<TreeK> : Foldable1Defaults<TreeK, Foldable1<TreeK>> {
    template <class A>
    static NonEmpty<A> toNonEmpty(const Tree<A>& t) {
        return NonEmpty<A>(t.rootLabel, detail::flattenBelow(t));
    }
    template <class A>
    static A head1(const Tree<A>& t) {
        return t.rootLabel;
    }
};

template <>
struct Traversable<TreeK> : TraversableDefaults<TreeK, Traversable<TreeK>> {
    // The effects run in pre-order; the results are then put back into a
    // tree of the same shape.
    template <class F, class A>
    static auto traverse(F&& f, const Tree<A>& t) {
        using E = detail::EffectOf<F, A>;
        using G = typename E::G;
        using B = typename E::B;
        std::vector<const A*> pre;
        detail::preorder(t, [&pre](const Tree<A>& node) { pre.push_back(&node.rootLabel); });
        auto g = [&f](const A* x) { return f(*x); };
        auto vs = detail::traverseToVector<G, B>(g, pre.begin(), pre.end(), pre.size());
        return Functor<G>::fmap([t](const std::vector<B>& v) { return rebuild(t, v); }, std::move(vs));
    }
    // A tree of t's shape whose labels are v, in pre-order.
    template <class A, class B>
    static Tree<B> rebuild(const Tree<A>& t, const std::vector<B>& v) {
        auto onNode = [&v](const Tree<A>&, std::size_t pre, auto first, auto last) {
            return Tree<B>(v[pre], detail::listFromMoved(first, last));
        };
        return detail::postorder<Tree<B>>(t, onNode);
    }
};

// ---- Applicative and Monad -------------------------------------------------------

template <>
struct Applicative<TreeK> : ApplicativeDefaults<TreeK, Applicative<TreeK>> {
    // A leaf.
    template <class A>
    static Tree<std::decay_t<A>> pure(A&& x) {
        return Tree<std::decay_t<A>>(std::forward<A>(x));
    }
    // Node(f(x, y), (f(x, ·) over y's subtrees) ++ (liftA2(f, ·, tb) over x's
    // subtrees)); subtrees on demand.
    template <class F, class A, class B>
    static auto liftA2(F&& f, const Tree<A>& ta, const Tree<B>& tb) {
        using G = std::decay_t<F>;
        using C = Result<const G&, const A&, const B&>;
        return detail::liftA2Tree<C>(std::make_shared<const G>(std::forward<F>(f)), ta, tb);
    }
};

template <>
struct Monad<TreeK> : MonadDefaults<TreeK, Monad<TreeK>> {
    // f(label) gives Node(y, ys); the result is Node(y, ys ++ (bind over the
    // subtrees)), subtrees on demand.
    template <class A, class F>
    static auto bind(const Tree<A>& t, F&& f) {
        using G = std::decay_t<F>;
        using TB = Result<const G&, const A&>;
        return detail::bindTree<ArgOf<TB>>(std::make_shared<const G>(std::forward<F>(f)), t);
    }
};

// ---- Text form -----------------------------------------------------------------

template <>
struct Show1<TreeK> {
    // Subtrees print at precedence 0, so only the outermost node may need
    // parentheses. The nodes are printed with an explicit stack of the
    // forests still open (and whether one of their trees has been printed
    // yet), so a tree of any depth prints in constant stack.
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const Tree<A>& t, std::string& out) {
        showParen(d >= 11, out, [&] {
            std::vector<std::pair<List<Tree<A>>, bool>> open;
            auto begin = [&](const Tree<A>& n) {
                out += "Node {rootLabel = ";
                sp(0, n.rootLabel, out);
                out += ", subForest = [";
                open.emplace_back(n.subForest, false);
            };
            begin(t);
            while (!open.empty()) {
                auto& [rest, started] = open.back();
                if (rest.null()) {
                    out += "]}";
                    open.pop_back();
                    continue;
                }
                if (started) out += ',';
                started = true;
                const Tree<A> child = rest.head();
                rest = List<Tree<A>>(rest.tail());
                begin(child);  // may move `open`'s entries: nothing above is used after it
            }
        });
    }
};
template <class A>
struct Show<Tree<A>> {
    static void showsPrec(int d, const Tree<A>& t, std::string& out) {
        Show1<TreeK>::liftShowsPrec(ShowsPrecOf<A>{}, ShowListOf<A>{}, d, t, out);
    }
};

template <>
struct Read1<TreeK> {
    // "Node {rootLabel = x, subForest = [...]}", the label read at
    // precedence 0, inside any parentheses.
    template <class A>
    static Reader<Tree<A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
        // The reader refers to itself for the subtrees; it is rebuilt at each
        // level rather than tied into a cycle of shared pointers.
        Reader<Tree<A>> self([rp, rl](std::string_view in, std::size_t pos, int d) {
            return liftReadPrec<A>(rp, rl)(in, pos, d);
        });
        auto forest = readListWith(std::move(self));
        auto body = bindP(thenP(ident("Node"), thenP(punc("{"), thenP(ident("rootLabel"), thenP(punc("="), reset(rp))))),
                          [forest](const A& x) {
                              return thenSkipP(
                                  thenP(punc(","),
                                        thenP(ident("subForest"),
                                              thenP(punc("="), mapP(
                                                                   [x](const std::vector<Tree<A>>& kids) {
                                                                       return Tree<A>(x, List<Tree<A>>::fromVector(kids));
                                                                   },
                                                                   reset(forest))))),
                                  punc("}"));
                          });
        return parens(prec(11, std::move(body)));
    }
};
template <class A>
struct Read<Tree<A>> {
    static Reader<Tree<A>> readPrec() { return Read1<TreeK>::liftReadPrec<A>(core::readPrec<A>(), readListPrec<A>()); }
};

// ---- Hashing and bytes ------------------------------------------------------------

template <HashableType A>
struct Hashable<Tree<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Tree<A>& t) {
        auto h = [](std::uint64_t s, const A& x) { return core::hashWithSalt(s, x); };
        return detail::hashTree(h, salt, t);
    }
};
template <>
struct Hashable1<TreeK> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const Tree<A>& t) {
        return detail::hashTree(h, salt, t);
    }
};

// The label, then the number of subtrees as an Int, then each subtree the
// same way (pre-order). Encoding and decoding use explicit stacks, so a
// hostile input nesting millions of levels fails or succeeds without
// exhausting the stack.
template <BinaryType A>
struct Binary<Tree<A>> {
    static void put(Encoder& out, const Tree<A>& t) {
        core::put<A>(out, t.rootLabel);
        out.putCount(t.subForest.length());
        std::vector<const List<Tree<A>>*> stack{&t.subForest};
        while (!stack.empty()) {
            const auto& st = stack.back()->step();
            if (!st) {
                stack.pop_back();
                continue;
            }
            const Tree<A>& c = st->head;
            stack.back() = &st->tail;
            core::put<A>(out, c.rootLabel);
            out.putCount(c.subForest.length());
            stack.push_back(&c.subForest);
        }
    }
    static DecodeResult<Tree<A>> get(Decoder& in) {
        struct Frame {
            A label;
            std::size_t left;
            std::vector<Tree<A>> kids;
        };
        std::vector<Frame> stack;
        auto open = [&]() -> std::optional<std::string> {
            auto x = core::get<A>(in);
            if (!x) return x.error();
            auto n = in.getCount();
            if (!n) return n.error();
            stack.push_back(Frame{std::move(x).value(), *n, {}});
            return std::nullopt;
        };
        if (auto e = open()) return Left(std::move(*e));
        for (;;) {
            Frame& top = stack.back();
            if (top.left > 0) {
                --top.left;
                if (auto e = open()) return Left(std::move(*e));
                continue;
            }
            Tree<A> done(std::move(top.label), detail::listFromMoved(std::move(top.kids)));
            stack.pop_back();
            if (stack.empty()) return Right(std::move(done));
            stack.back().kids.push_back(std::move(done));
        }
    }
};

}  // namespace core
