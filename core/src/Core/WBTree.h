#pragma once
// The engine under core::Map, core::IntMap and core::Set: a persistent
// weight-balanced binary search tree (balance parameters delta = 3,
// ratio = 2), shared between values through intrusive reference counts.
//
// Nodes are immutable once built. An update copies the nodes on the path
// it changes and shares every other subtree with the old tree, so old and
// new values stay valid side by side and may be read from any number of
// threads without locks (only the reference counts are atomic).
//
// Every subtree of size n has height at most log_{4/3}(n + 1) (about
// 2.41 log2 n, so under 80 for any size that fits in memory); the
// recursive operations below recurse at most that deep. Dropping a tree
// frees it by a loop over one child and recursion into the other, also
// bounded by the height, so a ten-million-element tree is freed in
// constant stack.
//
// Not for direct use: the containers wrap it.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "Core/CellPool.h"
#include "Core/Error.h"

namespace core::detail {

// Nodes come from the per-thread cell pool (Core/CellPool.h), so the nodes
// of a map built in one go sit next to each other.
template <class K, class V>
struct WBNode : PooledCell {
    template <class... Args>
    WBNode(std::uint32_t n, const WBNode* l, const WBNode* r, Args&&... args)
        : size(n), left(l), right(r), kv(std::forward<Args>(args)...) {}
    mutable std::atomic<std::uint32_t> refs{1};
    std::uint32_t size;
    const WBNode* left;
    const WBNode* right;
    std::pair<const K, V> kv;
};

// Raised when a tree would hold more elements than a node can count.
[[noreturn]] void treeTooLarge();

template <class K, class V>
struct WBTree {
    using Node = WBNode<K, V>;
    using KV = std::pair<const K, V>;

    static constexpr std::size_t delta = 3;
    static constexpr std::size_t ratio = 2;

    // An owning handle to a (possibly empty) tree.
    class Ref {
    public:
        Ref() noexcept = default;
        explicit Ref(const Node* p) noexcept : p_(p) {}
        Ref(const Ref& o) noexcept : p_(o.p_) { retain(p_); }
        Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
        Ref& operator=(const Ref& o) noexcept {
            Ref(o).swap(*this);
            return *this;
        }
        Ref& operator=(Ref&& o) noexcept {
            Ref(std::move(o)).swap(*this);
            return *this;
        }
        ~Ref() { drop(p_); }
        void swap(Ref& o) noexcept { std::swap(p_, o.p_); }
        const Node* get() const noexcept { return p_; }
        const Node* operator->() const noexcept { return p_; }
        explicit operator bool() const noexcept { return p_ != nullptr; }
        // Gives up ownership.
        const Node* release() noexcept { return std::exchange(p_, nullptr); }

    private:
        const Node* p_ = nullptr;
    };

    static void retain(const Node* p) noexcept {
        if (p) p->refs.fetch_add(1, std::memory_order_relaxed);
    }
    // Drops one reference to p and frees every node no longer referenced.
    static void drop(const Node* p) noexcept {
        while (p) {
            // A sole owner needs no atomic decrement: nobody else can reach p.
            if (p->refs.load(std::memory_order_acquire) != 1 &&
                p->refs.fetch_sub(1, std::memory_order_acq_rel) != 1)
                return;
            const Node* l = p->left;
            const Node* r = p->right;
            delete p;
            drop(l);  // depth bounded by the height
            p = r;
        }
    }
    // A new handle sharing p.
    static Ref share(const Node* p) noexcept {
        retain(p);
        return Ref(p);
    }

    static std::size_t size(const Node* t) noexcept { return t ? t->size : 0; }

    template <class... Args>
    static Ref node(Ref l, Ref r, Args&&... kv) {
        const std::size_t n = size(l.get()) + size(r.get()) + 1;
        if (n > UINT32_MAX) treeTooLarge();
        const Node* lp = l.get();
        const Node* rp = r.get();
        Ref out(new Node(static_cast<std::uint32_t>(n), lp, rp, std::forward<Args>(kv)...));
        l.release();
        r.release();
        return out;
    }
    template <class... Args>
    static Ref leaf(Args&&... kv) {
        return node(Ref(), Ref(), std::forward<Args>(kv)...);
    }

    // ---- balancing ---------------------------------------------------------

    // A node with element kv over l and r, where the sizes of l and r are
    // off balance by at most one insertion or deletion (or one step of
    // `link`/`merge`); restores the balance with a single or double rotation.
    static Ref balance(const KV& kv, Ref l, Ref r) {
        const std::size_t sl = size(l.get()), sr = size(r.get());
        if (sl + sr <= 1) return node(std::move(l), std::move(r), kv);
        if (sr > delta * sl) return rotateL(kv, std::move(l), std::move(r));
        if (sl > delta * sr) return rotateR(kv, std::move(l), std::move(r));
        return node(std::move(l), std::move(r), kv);
    }
    static Ref rotateL(const KV& kv, Ref l, Ref r) {
        const Node* rn = r.get();
        const Node* ly = rn->left;
        if (size(ly) < ratio * size(rn->right)) {
            // single: (l kv ly) r.kv r.right
            Ref inner = node(std::move(l), share(ly), kv);
            return node(std::move(inner), share(rn->right), rn->kv);
        }
        // double: (l kv ly.left) ly.kv (ly.right r.kv r.right)
        Ref a = node(std::move(l), share(ly->left), kv);
        Ref b = node(share(ly->right), share(rn->right), rn->kv);
        return node(std::move(a), std::move(b), ly->kv);
    }
    static Ref rotateR(const KV& kv, Ref l, Ref r) {
        const Node* ln = l.get();
        const Node* ry = ln->right;
        if (size(ry) < ratio * size(ln->left)) {
            Ref inner = node(share(ry), std::move(r), kv);
            return node(share(ln->left), std::move(inner), ln->kv);
        }
        Ref a = node(share(ln->left), share(ry->left), ln->kv);
        Ref b = node(share(ry->right), std::move(r), kv);
        return node(std::move(a), std::move(b), ry->kv);
    }

    static Ref insertMax(const KV& kv, const Node* t) {
        if (!t) return leaf(kv);
        return balance(t->kv, share(t->left), insertMax(kv, t->right));
    }
    static Ref insertMin(const KV& kv, const Node* t) {
        if (!t) return leaf(kv);
        return balance(t->kv, insertMin(kv, t->left), share(t->right));
    }
    // The tree of l, kv, r where every key of l is below kv's and every key
    // of r above it; l and r may differ in size arbitrarily.
    static Ref link(const KV& kv, Ref l, Ref r) {
        if (!l) return insertMin(kv, r.get());
        if (!r) return insertMax(kv, l.get());
        const Node* ln = l.get();
        const Node* rn = r.get();
        if (delta * ln->size < rn->size) return balance(rn->kv, link(kv, std::move(l), share(rn->left)), share(rn->right));
        if (delta * rn->size < ln->size) return balance(ln->kv, share(ln->left), link(kv, share(ln->right), std::move(r)));
        return node(std::move(l), std::move(r), kv);
    }
    // l and r glued together (every key of l below every key of r).
    static Ref merge(Ref l, Ref r) {
        if (!l) return r;
        if (!r) return l;
        const Node* ln = l.get();
        const Node* rn = r.get();
        if (delta * ln->size < rn->size) return balance(rn->kv, merge(std::move(l), share(rn->left)), share(rn->right));
        if (delta * rn->size < ln->size) return balance(ln->kv, share(ln->left), merge(share(ln->right), std::move(r)));
        return glue(ln, rn);
    }
    // Two balanced-against-each-other trees glued.
    static Ref glue(const Node* l, const Node* r) {
        if (!l) return share(r);
        if (!r) return share(l);
        if (l->size > r->size) {
            const Node* m = maxNode(l);
            return balance(m->kv, deleteMax(l), share(r));
        }
        const Node* m = minNode(r);
        return balance(m->kv, share(l), deleteMin(r));
    }
    static const Node* minNode(const Node* t) noexcept {
        if (!t) return nullptr;
        while (t->left) t = t->left;
        return t;
    }
    static const Node* maxNode(const Node* t) noexcept {
        if (!t) return nullptr;
        while (t->right) t = t->right;
        return t;
    }
    static Ref deleteMin(const Node* t) {
        if (!t->left) return share(t->right);
        return balance(t->kv, deleteMin(t->left), share(t->right));
    }
    static Ref deleteMax(const Node* t) {
        if (!t->right) return share(t->left);
        return balance(t->kv, share(t->left), deleteMax(t->right));
    }

    // ---- queries -----------------------------------------------------------

    // The node holding k, or null: one comparison per level. The step is
    // written as masked selections rather than branches: the direction at each
    // level of a search for a random key is a coin toss that a branch
    // predictor mispredicts half the time, and for keys that compile to
    // cheap comparisons this halves the time of a lookup in a large tree.
    static const Node* find(const Node* t, const K& k) {
        const Node* cand = nullptr;
        while (t) {
            const bool right = t->kv.first < k;
            cand = pick(right, cand, t);
            t = pick(right, t->right, t->left);
        }
        return (cand && !(k < cand->kv.first)) ? cand : nullptr;
    }
    // c ? a : b by masking, which compilers keep free of branches (a plain
    // conditional here compiles to a jump).
    static const Node* pick(bool c, const Node* a, const Node* b) noexcept {
        const std::uintptr_t m = std::uintptr_t{0} - static_cast<std::uintptr_t>(c);
        return reinterpret_cast<const Node*>((reinterpret_cast<std::uintptr_t>(a) & m) |
                                             (reinterpret_cast<std::uintptr_t>(b) & ~m));
    }
    // The i-th node in key order (0-based, i < size(t)).
    static const Node* elemAt(const Node* t, std::size_t i) noexcept {
        for (;;) {
            const std::size_t sl = size(t->left);
            if (i < sl) {
                t = t->left;
            } else if (i == sl) {
                return t;
            } else {
                i -= sl + 1;
                t = t->right;
            }
        }
    }
    // The number of keys below k.
    static std::size_t rank(const Node* t, const K& k) {
        std::size_t r = 0;
        while (t) {
            if (k < t->kv.first) {
                t = t->left;
            } else if (t->kv.first < k) {
                r += size(t->left) + 1;
                t = t->right;
            } else {
                return r + size(t->left);
            }
        }
        return r;
    }
    // The nodes with the greatest key below / at most / at least / above k.
    static const Node* lookupLT(const Node* t, const K& k) {
        const Node* best = nullptr;
        while (t) {
            if (t->kv.first < k) {
                best = t;
                t = t->right;
            } else {
                t = t->left;
            }
        }
        return best;
    }
    static const Node* lookupGT(const Node* t, const K& k) {
        const Node* best = nullptr;
        while (t) {
            if (k < t->kv.first) {
                best = t;
                t = t->left;
            } else {
                t = t->right;
            }
        }
        return best;
    }
    static const Node* lookupLE(const Node* t, const K& k) {
        const Node* best = nullptr;
        while (t) {
            if (k < t->kv.first) {
                t = t->left;
            } else {
                best = t;
                t = t->right;
            }
        }
        return best;
    }
    static const Node* lookupGE(const Node* t, const K& k) {
        const Node* best = nullptr;
        while (t) {
            if (t->kv.first < k) {
                t = t->right;
            } else {
                best = t;
                t = t->left;
            }
        }
        return best;
    }

    // ---- updates -----------------------------------------------------------

    // Inserts (k, v), or, when k is present, replaces its entry by
    // (k, combine(v, old value)).
    template <class C>
    static Ref insertWith(const Node* t, const K& k, const V& v, C& combine) {
        if (!t) return leaf(k, v);
        if (k < t->kv.first) return balance(t->kv, insertWith(t->left, k, v, combine), share(t->right));
        if (t->kv.first < k) return balance(t->kv, share(t->left), insertWith(t->right, k, v, combine));
        return node(share(t->left), share(t->right), k, combine(v, t->kv.second));
    }
    // t without k (t itself, shared, when k is absent).
    static Ref erase(const Node* t, const K& k) {
        if (!find(t, k)) return share(t);
        return eraseFound(t, k);
    }
    static Ref eraseFound(const Node* t, const K& k) {
        if (k < t->kv.first) return balance(t->kv, eraseFound(t->left, k), share(t->right));
        if (t->kv.first < k) return balance(t->kv, share(t->left), eraseFound(t->right, k));
        return glue(t->left, t->right);
    }
    // t with the value at k (which must be present) replaced by f(k, value).
    template <class F>
    static Ref adjustFound(const Node* t, const K& k, F& f) {
        if (k < t->kv.first) return node(adjustFound(t->left, k, f), share(t->right), t->kv);
        if (t->kv.first < k) return node(share(t->left), adjustFound(t->right, k, f), t->kv);
        return node(share(t->left), share(t->right), t->kv.first, f(t->kv.first, t->kv.second));
    }

    // ---- splitting and set operations ------------------------------------

    struct Split {
        Ref lt;
        const Node* found = nullptr;  // the node at the key in the input, if any
        Ref gt;
    };
    // The keys below k, the entry at k, the keys above k.
    static Split split(const Node* t, const K& k) {
        if (!t) return Split{};
        if (k < t->kv.first) {
            Split s = split(t->left, k);
            s.gt = link(t->kv, std::move(s.gt), share(t->right));
            return s;
        }
        if (t->kv.first < k) {
            Split s = split(t->right, k);
            s.lt = link(t->kv, share(t->left), std::move(s.lt));
            return s;
        }
        return Split{share(t->left), t, share(t->right)};
    }

    // Left-biased union; on a common key the value is combine(left, right).
    template <class C>
    static Ref unionWith(const Node* a, const Node* b, C& combine) {
        if (!b) return share(a);
        if (!a) return share(b);
        Split s = split(b, a->kv.first);
        Ref l = unionWith(a->left, s.lt.get(), combine);
        Ref r = unionWith(a->right, s.gt.get(), combine);
        if (s.found) return link(KV(a->kv.first, combine(a->kv.second, s.found->kv.second)), std::move(l), std::move(r));
        if (l.get() == a->left && r.get() == a->right) return share(a);
        return link(a->kv, std::move(l), std::move(r));
    }
    // The entries of a whose key is not in b (b of any value type).
    template <class W>
    static Ref difference(const Node* a, const WBNode<K, W>* b) {
        if (!a) return Ref();
        if (!b) return share(a);
        Split s = split(a, b->kv.first);
        Ref l = difference(s.lt.get(), b->left);
        Ref r = difference(s.gt.get(), b->right);
        if (size(l.get()) + size(r.get()) == a->size) return share(a);
        return merge(std::move(l), std::move(r));
    }
    // The entries of a whose key is in b, valued f(k, a's value, b's value).
    template <class W, class X, class F>
    static typename WBTree<K, X>::Ref intersectionWith(const Node* a, const WBNode<K, W>* b, F& f) {
        using Out = WBTree<K, X>;
        if (!a || !b) return typename Out::Ref();
        auto s = WBTree<K, W>::split(b, a->kv.first);
        auto l = intersectionWith<W, X>(a->left, s.lt.get(), f);
        auto r = intersectionWith<W, X>(a->right, s.gt.get(), f);
        if (s.found)
            return Out::link(typename Out::KV(a->kv.first, f(a->kv.first, a->kv.second, s.found->kv.second)),
                             std::move(l), std::move(r));
        return Out::merge(std::move(l), std::move(r));
    }
    // The entries satisfying p(k, v); shares every subtree kept whole.
    template <class P>
    static Ref filter(const Node* t, P& p) {
        if (!t) return Ref();
        Ref l = filter(t->left, p);
        const bool keep = p(t->kv.first, t->kv.second);
        Ref r = filter(t->right, p);
        if (keep) {
            if (l.get() == t->left && r.get() == t->right) return share(t);
            return link(t->kv, std::move(l), std::move(r));
        }
        return merge(std::move(l), std::move(r));
    }
    // The same shape with every value replaced by f(k, v).
    template <class X, class F>
    static typename WBTree<K, X>::Ref mapWithKey(const Node* t, F& f) {
        using Out = WBTree<K, X>;
        if (!t) return typename Out::Ref();
        auto l = mapWithKey<X>(t->left, f);
        X x = f(t->kv.first, t->kv.second);
        auto r = mapWithKey<X>(t->right, f);
        return Out::node(std::move(l), std::move(r), t->kv.first, std::move(x));
    }

    // ---- building ----------------------------------------------------------

    // A perfectly balanced tree of the strictly ascending entries
    // xs[lo, hi), moved out of xs.
    template <class Pair>
    // Each node's memory is taken after its left subtree and before its
    // right one, so the nodes lie in memory in key order and walking the
    // tree in order reads memory front to back.
    static Ref buildAscending(std::vector<Pair>& xs, std::size_t lo, std::size_t hi) {
        if (lo >= hi) return Ref();
        const std::size_t mid = lo + (hi - lo) / 2;
        Ref l = buildAscending(xs, lo, mid);
        constexpr bool overAligned = alignof(Node) > __STDCPP_DEFAULT_NEW_ALIGNMENT__;
        struct Slot {
            void* p = overAligned ? Node::operator new(sizeof(Node), std::align_val_t(alignof(Node)))
                                  : Node::operator new(sizeof(Node));
            ~Slot() {
                if (!p) return;
                if (overAligned)
                    Node::operator delete(p, sizeof(Node), std::align_val_t(alignof(Node)));
                else
                    Node::operator delete(p, sizeof(Node));
            }
        } slot;
        Ref r = buildAscending(xs, mid + 1, hi);
        const std::size_t n = hi - lo;
        if (n > UINT32_MAX) treeTooLarge();
        const Node* lp = l.get();
        const Node* rp = r.get();
        Ref out(::new (slot.p) Node(static_cast<std::uint32_t>(n), lp, rp, std::move(xs[mid].first),
                                    std::move(xs[mid].second)));
        slot.p = nullptr;
        l.release();
        r.release();
        return out;
    }

    // ---- walking -----------------------------------------------------------

    // f(node) for every node in key order; a loop down right spines and
    // recursion into left subtrees (depth bounded by the height).
    template <class F>
    static void forEach(const Node* t, F& f) {
        while (t) {
            forEach(t->left, f);
            f(t);
            t = t->right;
        }
    }
    // The same in descending key order.
    template <class F>
    static void forEachDesc(const Node* t, F& f) {
        while (t) {
            forEachDesc(t->right, f);
            f(t);
            t = t->left;
        }
    }
    // Checks the search-tree order, the stored sizes and the balance of
    // every node (for tests).
    static bool valid(const Node* t) {
        std::size_t n = 0;
        return validAt(t, nullptr, nullptr, n);
    }
    static bool validAt(const Node* t, const K* lo, const K* hi, std::size_t& n) {
        if (!t) {
            n = 0;
            return true;
        }
        if (lo && !(*lo < t->kv.first)) return false;
        if (hi && !(t->kv.first < *hi)) return false;
        std::size_t nl = 0, nr = 0;
        if (!validAt(t->left, lo, &t->kv.first, nl) || !validAt(t->right, &t->kv.first, hi, nr)) return false;
        n = nl + nr + 1;
        if (t->size != n) return false;
        if (nl + nr > 1 && (nl > delta * nr || nr > delta * nl)) return false;
        return true;
    }
};

// An in-order bidirectional walk over a tree, holding the path from the
// root to the current node. The tree must outlive the cursor.
template <class K, class V>
class WBPath {
public:
    using Node = WBNode<K, V>;
    WBPath() = default;
    explicit WBPath(const Node* root) : root_(root) {}
    const Node* current() const noexcept { return path_.empty() ? nullptr : path_.back(); }
    const Node* root() const noexcept { return root_; }
    void toMin() {
        path_.clear();
        reserve();
        for (const Node* t = root_; t; t = t->left) path_.push_back(t);
    }
    void toMax() {
        path_.clear();
        reserve();
        for (const Node* t = root_; t; t = t->right) path_.push_back(t);
    }
    // Positions at the first node whose key is not below k (end if none).
    void toLowerBound(const K& k) {
        path_.clear();
        reserve();
        std::size_t keep = 0;
        for (const Node* t = root_; t;) {
            path_.push_back(t);
            if (t->kv.first < k) {
                t = t->right;
            } else {
                keep = path_.size();
                t = t->left;
            }
        }
        path_.resize(keep);
    }
    void next() {
        const Node* t = path_.back();
        if (t->right) {
            for (t = t->right; t; t = t->left) path_.push_back(t);
            return;
        }
        path_.pop_back();
        while (!path_.empty() && path_.back()->right == t) {
            t = path_.back();
            path_.pop_back();
        }
    }
    void prev() {
        if (path_.empty()) {
            toMax();
            return;
        }
        const Node* t = path_.back();
        if (t->left) {
            for (t = t->left; t; t = t->right) path_.push_back(t);
            return;
        }
        path_.pop_back();
        while (!path_.empty() && path_.back()->left == t) {
            t = path_.back();
            path_.pop_back();
        }
    }

private:
    void reserve() {
        if (path_.capacity() == 0 && root_) {
            std::size_t h = 4;
            for (std::size_t n = root_->size; n; n >>= 1) h += 3;
            path_.reserve(h);
        }
    }
    const Node* root_ = nullptr;
    std::vector<const Node*> path_;
};

}  // namespace core::detail
