#pragma once
// core::Seq<A>: a finite persistent sequence with cheap access at both
// ends and logarithmic indexing, updating, splitting and concatenation.
//
//   core::Seq<int> s{1, 2, 3};
//   s = core::snocSeq(std::move(s), 4);      // |>   1 2 3 4
//   s = core::consSeq(0, std::move(s));      // <|   0 1 2 3 4
//   s.at(2)                                  // 2; core::Error out of bounds
//   s.update(2, 9)                           // 0 1 9 3 4 (s is unchanged)
//   auto [l, r] = s.splitAt(2);              // 0 1 | 2 3 4
//   l.append(r)                              // 0 1 2 3 4
//   for (int x : s) ...                      // random-access iterators
//
// Representation: a buffer at each end (the front one stored in reverse)
// and, between them, a weight-balanced tree of chunks of up to 64
// elements, each node caching the number of elements below it. Pushing at
// an end writes into that end's buffer: in place when the buffer is held
// by this value alone (pass the sequence as an rvalue, as above), else
// into a copy of the buffer (at most 1024 elements); a full buffer moves
// into the tree as a balanced subtree. So pushes cost O(1) amortised, `at`,
// `update`, `adjust`, `splitAt`, `take`, `drop`, `insertAt`, `deleteAt`
// and `append` O(log n) (plus at most one chunk copied).
//
// Values are immutable (nothing another holder can see is ever changed)
// and may be shared between threads. The tree's depth is logarithmic, so
// destroying or walking a sequence of ten million elements uses a few
// dozen stack frames.
//
// Indexed operations (the keyed operations of the indexed library):
// mapWithIndex(f(i, x)), foldrWithIndex(f(i, x, Lazy<B> rest), z) (the
// rest of the fold deferred, so f can stop early), foldlWithIndex(f(acc, i,
// x), z) (a strict loop), foldMapWithIndex(f(i, x)), traverseWithIndex(f(i,
// x)); positions count from 0.
//
// Interfaces (tag SeqK): Functor, Foldable, Traversable, Applicative and
// Monad (as lists: every combination, left elements outermost), Semigroup
// and Monoid (concatenation), Eq/Ord (lexicographic) and Eq1/Ord1,
// Show/Read and Show1/Read1 as `fromList [1,2]`, Hashable/Hashable1 and
// Binary exactly as a list of the elements.
#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/Binary.h"
#include "Core/CellPool.h"
#include "Core/Classes.h"
#include "Core/Error.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Hashable.h"
#include "Core/Hashable1.h"
#include "Core/Kinds.h"
#include "Core/LazyFold.h"
#include "Core/List.h"
#include "Core/Monad.h"
#include "Core/Read.h"
#include "Core/Semigroup.h"
#include "Core/Show.h"
#include "Core/Traversable.h"

namespace core {

template <class A>
class Seq;

namespace detail {

[[noreturn]] void seqIndexOutOfBounds(const char* what, Int i, std::size_t size);

// The tree between the two end buffers: weight-balanced (weights are node
// counts), every node holding one non-empty chunk of elements.
// Tree nodes, chunk headers and end-buffer headers come from core's cell
// pool: a sequence grown one element at a time makes a node and a chunk
// per 64 elements, and the general allocator's bookkeeping for these small
// blocks cost as much as the pushes themselves.
template <class T>
struct SeqAlloc {
    using value_type = T;
    SeqAlloc() noexcept = default;
    template <class U>
    SeqAlloc(const SeqAlloc<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if constexpr (alignof(T) > alignof(std::max_align_t))
            return static_cast<T*>(::operator new(n * sizeof(T), std::align_val_t(alignof(T))));
        else
            return static_cast<T*>(cellAllocate(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept {
        if constexpr (alignof(T) > alignof(std::max_align_t))
            ::operator delete(p, std::align_val_t(alignof(T)));
        else
            cellFree(p, n * sizeof(T));
    }
    template <class U>
    friend bool operator==(const SeqAlloc&, const SeqAlloc<U>&) noexcept {
        return true;
    }
};
template <class T, class... Args>
std::shared_ptr<T> seqShared(Args&&... args) {
    return std::allocate_shared<T>(SeqAlloc<std::remove_const_t<T>>(), std::forward<Args>(args)...);
}

template <class A>
struct SeqNode;
template <class A>
using SeqTree = std::shared_ptr<const SeqNode<A>>;
template <class A>
using SeqChunk = std::shared_ptr<const std::vector<A>>;

template <class A>
struct SeqNode {
    SeqTree<A> left;
    SeqChunk<A> chunk;
    SeqTree<A> right;
    std::size_t size;    // elements in this subtree
    std::size_t weight;  // nodes in this subtree
};

template <class A>
struct SeqOps {
    using Tree = SeqTree<A>;
    using Chunk = SeqChunk<A>;
    static constexpr std::size_t delta = 3;
    static constexpr std::size_t ratio = 2;

    static std::size_t size(const Tree& t) noexcept { return t ? t->size : 0; }
    static std::size_t weight(const Tree& t) noexcept { return t ? t->weight : 0; }

    static Tree node(Tree l, Chunk c, Tree r) {
        const std::size_t s = size(l) + c->size() + size(r);
        const std::size_t w = weight(l) + 1 + weight(r);
        return seqShared<const SeqNode<A>>(SeqNode<A>{std::move(l), std::move(c), std::move(r), s, w});
    }
    static Tree singleL(Tree l, Chunk c, const Tree& r) { return node(node(std::move(l), std::move(c), r->left), r->chunk, r->right); }
    static Tree doubleL(Tree l, Chunk c, const Tree& r) {
        const Tree& rl = r->left;
        return node(node(std::move(l), std::move(c), rl->left), rl->chunk, node(rl->right, r->chunk, r->right));
    }
    static Tree singleR(const Tree& l, Chunk c, Tree r) { return node(l->left, l->chunk, node(l->right, std::move(c), std::move(r))); }
    static Tree doubleR(const Tree& l, Chunk c, Tree r) {
        const Tree& lr = l->right;
        return node(node(l->left, l->chunk, lr->left), lr->chunk, node(lr->right, std::move(c), std::move(r)));
    }
    // A node of l, c and r, rotated back into balance after one side
    // changed by a bounded amount.
    static Tree balance(Tree l, Chunk c, Tree r) {
        const std::size_t wl = weight(l), wr = weight(r);
        if (wl + wr <= 1) return node(std::move(l), std::move(c), std::move(r));
        if (wr > delta * wl) {
            if (weight(r->left) < ratio * weight(r->right)) return singleL(std::move(l), std::move(c), r);
            return doubleL(std::move(l), std::move(c), r);
        }
        if (wl > delta * wr) {
            if (weight(l->right) < ratio * weight(l->left)) return singleR(l, std::move(c), std::move(r));
            return doubleR(l, std::move(c), std::move(r));
        }
        return node(std::move(l), std::move(c), std::move(r));
    }
    static Tree insertMax(Chunk c, const Tree& t) {
        if (!t) return node(nullptr, std::move(c), nullptr);
        return balance(t->left, t->chunk, insertMax(std::move(c), t->right));
    }
    static Tree insertMin(Chunk c, const Tree& t) {
        if (!t) return node(nullptr, std::move(c), nullptr);
        return balance(insertMin(std::move(c), t->left), t->chunk, t->right);
    }
    // All of l, then c, then all of r.
    static Tree link(const Tree& l, Chunk c, const Tree& r) {
        if (!l) return insertMin(std::move(c), r);
        if (!r) return insertMax(std::move(c), l);
        if (delta * weight(l) < weight(r)) return balance(link(l, std::move(c), r->left), r->chunk, r->right);
        if (delta * weight(r) < weight(l)) return balance(l->left, l->chunk, link(l->right, std::move(c), r));
        return node(l, std::move(c), r);
    }
    static std::pair<Chunk, Tree> deleteFindMin(const Tree& t) {
        if (!t->left) return {t->chunk, t->right};
        auto [m, l2] = deleteFindMin(t->left);
        return {m, balance(std::move(l2), t->chunk, t->right)};
    }
    static std::pair<Chunk, Tree> deleteFindMax(const Tree& t) {
        if (!t->right) return {t->chunk, t->left};
        auto [m, r2] = deleteFindMax(t->right);
        return {m, balance(t->left, t->chunk, std::move(r2))};
    }
    // All of l, then all of r.
    static Tree merge(const Tree& l, const Tree& r) {
        if (!l) return r;
        if (!r) return l;
        if (delta * weight(l) < weight(r)) return balance(merge(l, r->left), r->chunk, r->right);
        if (delta * weight(r) < weight(l)) return balance(l->left, l->chunk, merge(l->right, r));
        if (weight(l) > weight(r)) {
            auto [m, l2] = deleteFindMax(l);
            return balance(std::move(l2), std::move(m), r);
        }
        auto [m, r2] = deleteFindMin(r);
        return balance(l, std::move(m), std::move(r2));
    }
    static Chunk slice(const Chunk& c, std::size_t from, std::size_t to) {
        return detail::seqShared<const std::vector<A>>(c->begin() + static_cast<std::ptrdiff_t>(from),
                                                      c->begin() + static_cast<std::ptrdiff_t>(to));
    }
    // The first i elements and the rest.
    static std::pair<Tree, Tree> split(const Tree& t, std::size_t i) {
        if (!t) return {nullptr, nullptr};
        if (i == 0) return {nullptr, t};
        if (i >= t->size) return {t, nullptr};
        const std::size_t ls = size(t->left);
        const std::size_t cs = t->chunk->size();
        if (i <= ls) {
            auto [l, r] = split(t->left, i);
            return {std::move(l), link(r, t->chunk, t->right)};
        }
        if (i >= ls + cs) {
            auto [l, r] = split(t->right, i - ls - cs);
            return {link(t->left, t->chunk, l), std::move(r)};
        }
        const std::size_t k = i - ls;
        return {insertMax(slice(t->chunk, 0, k), t->left), insertMin(slice(t->chunk, k, cs), t->right)};
    }
    // The tree with the element at i replaced by f(old).
    template <class F>
    static Tree modify(const Tree& t, std::size_t i, F& f) {
        const std::size_t ls = size(t->left);
        if (i < ls) return node(modify(t->left, i, f), t->chunk, t->right);
        const std::size_t cs = t->chunk->size();
        if (i < ls + cs) {
            auto c = detail::seqShared<std::vector<A>>(*t->chunk);
            A& e = (*c)[i - ls];
            e = f(static_cast<const A&>(e));
            return node(t->left, std::move(c), t->right);
        }
        return node(t->left, t->chunk, modify(t->right, i - ls - cs, f));
    }
    // A balanced tree of the chunks [lo, hi).
    static Tree build(const std::vector<Chunk>& cs, std::size_t lo, std::size_t hi) {
        if (lo >= hi) return nullptr;
        const std::size_t mid = lo + (hi - lo) / 2;
        return node(build(cs, lo, mid), cs[mid], build(cs, mid + 1, hi));
    }
    // Visits the chunks in order.
    template <class Visit>
    static void forEachChunk(const Tree& t, Visit& visit) {
        for (const SeqNode<A>* n = t.get(); n;) {
            forEachChunk(n->left, visit);
            visit(*n->chunk);
            n = n->right.get();
        }
    }
    // Checks the invariants (sizes, weights, balance, non-empty chunks).
    static bool valid(const Tree& t) {
        if (!t) return true;
        if (t->chunk->empty()) return false;
        if (t->size != size(t->left) + t->chunk->size() + size(t->right)) return false;
        if (t->weight != weight(t->left) + 1 + weight(t->right)) return false;
        const std::size_t wl = weight(t->left), wr = weight(t->right);
        if (wl + wr > 1 && (wl > delta * wr || wr > delta * wl)) return false;
        return valid(t->left) && valid(t->right);
    }
};

}  // namespace detail

template <class A>
class Seq {
    using Ops = detail::SeqOps<A>;
    using Tree = detail::SeqTree<A>;
    using Buffer = std::shared_ptr<std::vector<A>>;

public:
    using value_type = A;
    using size_type = std::size_t;
    // Elements in one chunk of the tree at most.
    static constexpr std::size_t chunkSize = 64;
    // Elements in each end buffer at most; a full buffer moves into the tree
    // as a balanced subtree of chunks.
    static constexpr std::size_t bufferSize = 16 * chunkSize;

    // The empty sequence (allocates nothing).
    Seq() noexcept = default;
    Seq(std::initializer_list<A> xs) : Seq(fromVector(std::vector<A>(xs))) {}
    Seq(const Seq&) = default;
    Seq& operator=(const Seq&) = default;
    // A moved-from sequence is empty.
    Seq(Seq&& o) noexcept
        : front_(std::move(o.front_)), mid_(std::move(o.mid_)), back_(std::move(o.back_)), size_(std::exchange(o.size_, 0)) {}
    Seq& operator=(Seq&& o) noexcept {
        if (this != &o) {
            front_ = std::move(o.front_);
            mid_ = std::move(o.mid_);
            back_ = std::move(o.back_);
            size_ = std::exchange(o.size_, 0);
        }
        return *this;
    }

    // The elements of a vector, in order.
    static Seq fromVector(std::vector<A> xs) {
        Seq s;
        s.size_ = xs.size();
        s.mid_ = treeOf(std::move(xs));
        return s;
    }
    // The elements of a finite range (a List, a vector, ...), in order.
    template <class Range>
    static Seq fromRange(const Range& xs) {
        return fromVector(std::vector<A>(std::begin(xs), std::end(xs)));
    }
    // A balanced tree of the elements of v, in chunks.
    static Tree treeOf(std::vector<A>&& xs) {
        if (xs.empty()) return nullptr;
        std::vector<detail::SeqChunk<A>> cs;
        cs.reserve(xs.size() / chunkSize + 1);
        for (std::size_t i = 0; i < xs.size(); i += chunkSize) {
            const std::size_t j = std::min(xs.size(), i + chunkSize);
            cs.push_back(detail::seqShared<const std::vector<A>>(std::make_move_iterator(xs.begin() + static_cast<std::ptrdiff_t>(i)),
                                                                std::make_move_iterator(xs.begin() + static_cast<std::ptrdiff_t>(j))));
        }
        return Ops::build(cs, 0, cs.size());
    }
    static Seq fromList(const List<A>& xs) { return fromRange(xs); }
    static Seq singleton(A x) { return Seq().pushBack(std::move(x)); }
    // n copies of x.
    static Seq replicate(std::size_t n, const A& x) { return fromVector(std::vector<A>(n, x)); }

    std::size_t size() const noexcept { return size_; }
    Int length() const noexcept { return static_cast<Int>(size_); }
    bool empty() const noexcept { return size_ == 0; }
    bool null() const noexcept { return size_ == 0; }

    // The element at position i (from 0); raises core::Error
    // "Seq.index: position 5 out of bounds (size 3)" outside 0..size()-1.
    const A& at(Int i) const {
        if (i < 0 || static_cast<std::size_t>(i) >= size_) detail::seqIndexOutOfBounds("Seq.index", i, size_);
        return get(static_cast<std::size_t>(i));
    }
    const A& operator[](Int i) const { return at(i); }
    // The element at position i, or nullopt outside the bounds.
    std::optional<A> lookup(Int i) const {
        if (i < 0 || static_cast<std::size_t>(i) >= size_) return std::nullopt;
        return get(static_cast<std::size_t>(i));
    }
    // The first and last elements; raise core::Error on an empty sequence.
    const A& front() const {
        if (empty()) raise("Seq.front: empty sequence");
        return get(0);
    }
    const A& back() const {
        if (empty()) raise("Seq.back: empty sequence");
        return get(size_ - 1);
    }

    // x in front (<|).
    Seq pushFront(A x) const& { return Seq(*this).pushFront(std::move(x)); }
    Seq pushFront(A x) && {
        ownEnd(front_);
        if (front_->size() == bufferSize) {
            spillFront();
            ownEnd(front_);
        }
        front_->push_back(std::move(x));
        ++size_;
        return std::move(*this);
    }
    // x at the back (|>).
    Seq pushBack(A x) const& { return Seq(*this).pushBack(std::move(x)); }
    Seq pushBack(A x) && {
        ownEnd(back_);
        if (back_->size() == bufferSize) {
            spillBack();
            ownEnd(back_);
        }
        back_->push_back(std::move(x));
        ++size_;
        return std::move(*this);
    }

    // This sequence followed by other (><).
    Seq append(const Seq& other) const {
        if (empty()) return other;
        if (other.empty()) return *this;
        Seq out;
        out.front_ = front_;
        out.back_ = other.back_;
        Tree t = Ops::merge(mid_, backTree());
        Tree u = Ops::merge(other.frontTree(), other.mid_);
        out.mid_ = Ops::merge(t, u);
        out.size_ = size_ + other.size_;
        return out;
    }

    // The first i elements and the rest (i is clamped to 0..size()).
    std::pair<Seq, Seq> splitAt(Int i) const {
        if (i <= 0) return {Seq(), *this};
        if (static_cast<std::size_t>(i) >= size_) return {*this, Seq()};
        Tree all = whole();
        auto [l, r] = Ops::split(all, static_cast<std::size_t>(i));
        return {fromTree(std::move(l)), fromTree(std::move(r))};
    }
    // The first n elements (all when n >= size()).
    Seq take(Int n) const { return splitAt(n).first; }
    // Without the first n elements.
    Seq drop(Int n) const { return splitAt(n).second; }

    // The sequence with the element at i replaced by x; unchanged when i is
    // out of bounds.
    Seq update(Int i, A x) const {
        return adjust([&x](const A&) { return x; }, i);
    }
    // The sequence with the element at i replaced by f(element); unchanged
    // when i is out of bounds.
    template <class F>
    Seq adjust(F f, Int i) const {
        if (i < 0 || static_cast<std::size_t>(i) >= size_) return *this;
        std::size_t k = static_cast<std::size_t>(i);
        Seq out = *this;
        const std::size_t fs = endSize(front_);
        if (k < fs) {
            auto c = detail::seqShared<std::vector<A>>(*front_);
            A& e = (*c)[fs - 1 - k];
            e = f(static_cast<const A&>(e));
            out.front_ = std::move(c);
            return out;
        }
        k -= fs;
        const std::size_t ms = Ops::size(mid_);
        if (k < ms) {
            out.mid_ = Ops::modify(mid_, k, f);
            return out;
        }
        k -= ms;
        auto c = detail::seqShared<std::vector<A>>(*back_);
        A& e = (*c)[k];
        e = f(static_cast<const A&>(e));
        out.back_ = std::move(c);
        return out;
    }
    // x inserted before position i (at the end when i >= size(), at the
    // front when i <= 0).
    Seq insertAt(Int i, A x) const {
        auto [l, r] = splitAt(i);
        return std::move(l).pushBack(std::move(x)).append(r);
    }
    // Without the element at i; unchanged when i is out of bounds.
    Seq deleteAt(Int i) const {
        if (i < 0 || static_cast<std::size_t>(i) >= size_) return *this;
        auto [l, r] = splitAt(i);
        return l.append(r.drop(1));
    }
    // The elements in reverse order.
    Seq reverse() const {
        std::vector<A> v;
        v.reserve(size_);
        forEach([&v](const A& x) { v.push_back(x); });
        std::reverse(v.begin(), v.end());
        return fromVector(std::move(v));
    }

    std::vector<A> toVector() const {
        std::vector<A> v;
        v.reserve(size_);
        forEach([&v](const A& x) { v.push_back(x); });
        return v;
    }
    List<A> toList() const { return List<A>::fromVector(toVector()); }

    // Visits every element in order (a loop over chunks; the tree's depth
    // is logarithmic).
    template <class Visit>
    void forEach(Visit&& visit) const {
        if (front_)
            for (auto it = front_->rbegin(); it != front_->rend(); ++it) visit(*it);
        auto chunk = [&visit](const std::vector<A>& c) {
            for (const A& x : c) visit(x);
        };
        Ops::forEachChunk(mid_, chunk);
        if (back_)
            for (const A& x : *back_) visit(x);
    }

    // Checks the internal invariants (for tests).
    bool valid() const {
        return Ops::valid(mid_) && size_ == endSize(front_) + Ops::size(mid_) + endSize(back_) &&
               endSize(front_) <= bufferSize && endSize(back_) <= bufferSize;
    }

    // Random-access iteration; an iterator refers into the sequence, which
    // must outlive it. Stepping within a chunk is O(1), crossing into the
    // next chunk O(log n).
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using iterator_concept = std::random_access_iterator_tag;
        using value_type = A;
        using difference_type = std::ptrdiff_t;
        using pointer = const A*;
        using reference = const A&;

        const_iterator() = default;
        reference operator*() const {
            if (i_ < start_ || i_ >= start_ + len_) s_->locate(i_, data_, start_, len_, rev_);
            return rev_ ? data_[len_ - 1 - (i_ - start_)] : data_[i_ - start_];
        }
        pointer operator->() const { return &**this; }
        reference operator[](difference_type n) const { return *(*this + n); }
        const_iterator& operator++() {
            ++i_;
            return *this;
        }
        const_iterator operator++(int) {
            auto t = *this;
            ++i_;
            return t;
        }
        const_iterator& operator--() {
            --i_;
            return *this;
        }
        const_iterator operator--(int) {
            auto t = *this;
            --i_;
            return t;
        }
        const_iterator& operator+=(difference_type n) {
            i_ = static_cast<std::size_t>(static_cast<difference_type>(i_) + n);
            return *this;
        }
        const_iterator& operator-=(difference_type n) { return *this += -n; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const const_iterator& a, const const_iterator& b) {
            return static_cast<difference_type>(a.i_) - static_cast<difference_type>(b.i_);
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.i_ == b.i_; }
        friend auto operator<=>(const const_iterator& a, const const_iterator& b) { return a.i_ <=> b.i_; }
        // The position in the sequence.
        std::size_t position() const noexcept { return i_; }

    private:
        friend class Seq;
        const_iterator(const Seq* s, std::size_t i) : s_(s), i_(i) {}
        const Seq* s_ = nullptr;
        std::size_t i_ = 0;
        mutable const A* data_ = nullptr;
        mutable std::size_t start_ = 0;
        mutable std::size_t len_ = 0;
        mutable bool rev_ = false;
    };
    using iterator = const_iterator;
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size_); }

private:
    static std::size_t endSize(const Buffer& b) noexcept { return b ? b->size() : 0; }
    // The back buffer shared as a chunk of a tree: from then on it is held
    // twice, so neither holder writes to it in place.
    static detail::SeqChunk<A> freeze(const Buffer& b) { return detail::SeqChunk<A>(b); }

    // Makes the end buffer one that this value alone holds (a shared one
    // is copied: at most bufferSize elements).
    static void ownEnd(Buffer& b) {
        if (!b) {
            b = detail::seqShared<std::vector<A>>();
            b->reserve(8);
        } else if (b.use_count() != 1) {
            auto c = detail::seqShared<std::vector<A>>();
            c->reserve(b->size() + 1);
            c->assign(b->begin(), b->end());
            b = std::move(c);
        }
    }
    // The end buffers as balanced trees of chunks.
    Tree frontTree() const {
        if (!front_ || front_->empty()) return nullptr;
        return treeOf(std::vector<A>(front_->rbegin(), front_->rend()));
    }
    Tree backTree() const {
        if (!back_ || back_->empty()) return nullptr;
        if (back_->size() <= chunkSize) return Ops::node(nullptr, freeze(back_), nullptr);
        return treeOf(std::vector<A>(*back_));
    }
    // A full end buffer moves into the tree.
    void spillFront() {
        // A buffer held by this value alone is emptied and kept, with its
        // capacity, for the next pushes.
        if (front_.use_count() == 1) {
            std::reverse(front_->begin(), front_->end());
            mid_ = Ops::merge(treeOf(std::move(*front_)), mid_);
            front_->clear();
        } else {
            mid_ = Ops::merge(frontTree(), mid_);
            front_.reset();
        }
    }
    void spillBack() {
        if (back_.use_count() == 1) {
            mid_ = Ops::merge(mid_, treeOf(std::move(*back_)));
            back_->clear();
        } else {
            mid_ = Ops::merge(mid_, backTree());
            back_.reset();
        }
    }
    // Everything as one tree.
    Tree whole() const { return Ops::merge(Ops::merge(frontTree(), mid_), backTree()); }
    static Seq fromTree(Tree t) {
        Seq s;
        s.size_ = Ops::size(t);
        s.mid_ = std::move(t);
        return s;
    }

    const A& get(std::size_t i) const {
        const A* data;
        std::size_t start, len;
        bool rev;
        locate(i, data, start, len, rev);
        return rev ? data[len - 1 - (i - start)] : data[i - start];
    }
    // The chunk holding position i: its data, the position of its first
    // element, its length and whether it is stored in reverse.
    void locate(std::size_t i, const A*& data, std::size_t& start, std::size_t& len, bool& rev) const {
        const std::size_t fs = endSize(front_);
        if (i < fs) {
            data = front_->data(), start = 0, len = fs, rev = true;
            return;
        }
        const std::size_t ms = Ops::size(mid_);
        if (i < fs + ms) {
            std::size_t k = i - fs, base = fs;
            const detail::SeqNode<A>* n = mid_.get();
            for (;;) {
                const std::size_t ls = Ops::size(n->left);
                if (k < ls) {
                    n = n->left.get();
                    continue;
                }
                const std::size_t cs = n->chunk->size();
                if (k < ls + cs) {
                    data = n->chunk->data(), start = base + ls, len = cs, rev = false;
                    return;
                }
                k -= ls + cs;
                base += ls + cs;
                n = n->right.get();
            }
        }
        data = back_->data(), start = fs + ms, len = back_->size(), rev = false;
    }

    Buffer front_;  // reversed: the first element is front_->back()
    Tree mid_;
    Buffer back_;
    std::size_t size_ = 0;
};

// The tag of Seq.
struct SeqK {
    template <class A>
    using apply = Seq<A>;
};
template <class A>
struct KindOf<Seq<A>> {
    using kind = SeqK;
    using arg = A;
};

// ---- Free functions --------------------------------------------------------

// x in front of s (<|). Pass s as an rvalue to write in place.
template <class A, class S>
    requires std::is_same_v<std::remove_cvref_t<S>, Seq<A>>
Seq<A> consSeq(A x, S&& s) {
    return std::forward<S>(s).pushFront(std::move(x));
}
// x after the end of s (|>). Pass s as an rvalue to write in place.
template <class S, class A>
    requires std::is_same_v<std::remove_cvref_t<S>, Seq<A>>
Seq<A> snocSeq(S&& s, A x) {
    return std::forward<S>(s).pushBack(std::move(x));
}
// a followed by b (><).
template <class A>
Seq<A> appendSeq(const Seq<A>& a, const Seq<A>& b) {
    return a.append(b);
}
// The element at position i; raises core::Error out of bounds.
template <class A>
const A& index(const Seq<A>& s, Int i) {
    return s.at(i);
}
template <class A>
Seq<A> reverse(const Seq<A>& s) {
    return s.reverse();
}

// f(i, x) for every element at position i.
template <class F, class A>
auto mapWithIndex(F&& f, const Seq<A>& s) {
    using B = Result<F&, Int, const A&>;
    std::vector<B> v;
    v.reserve(s.size());
    Int i = 0;
    s.forEach([&](const A& x) { v.push_back(f(i++, x)); });
    return Seq<B>::fromVector(std::move(v));
}

namespace detail {
// A cursor for the lazy right fold: it keeps a copy of the sequence.
template <class A>
struct SeqIndexCursor {
    std::shared_ptr<const Seq<A>> s;
    typename Seq<A>::const_iterator it;
    static SeqIndexCursor start(const Seq<A>& seq) {
        auto p = std::make_shared<const Seq<A>>(seq);
        auto b = p->begin();
        return {std::move(p), b};
    }
    bool done() const { return it.position() >= s->size(); }
    std::pair<Int, const A*> get() const { return {static_cast<Int>(it.position()), &*it}; }
    SeqIndexCursor next() const { return {s, it + 1}; }
};
}  // namespace detail

// Right fold with positions: f(i, x, rest) where rest is the fold of the
// elements after x, deferred (core::Lazy<B>); z is a B or a Lazy<B>.
template <class F, class Z, class A>
auto foldrWithIndex(F f, Z&& z, const Seq<A>& s) {
    auto lz = detail::asLazy(std::forward<Z>(z));
    using B = typename decltype(lz)::value_type;
    if (s.empty()) return B(lz.force());
    auto g = [f = std::move(f)](const std::pair<Int, const A*>& p, const Lazy<B>& rest) -> B {
        return f(p.first, *p.second, rest);
    };
    return B(detail::lazyFoldr<B>(std::move(g), std::move(lz),
                                  detail::SeqIndexCursor<A>::start(s))
                 .force());
}
// Strict left fold with positions: acc = f(acc, i, x) for each element in
// order; a loop.
template <class F, class B, class A>
B foldlWithIndex(F&& f, B z, const Seq<A>& s) {
    Int i = 0;
    s.forEach([&](const A& x) { z = f(std::move(z), i++, x); });
    return z;
}
// The combination of f(i, x) over the elements in order, in the result's
// Monoid.
template <class F, class A>
auto foldMapWithIndex(F&& f, const Seq<A>& s) {
    using M = Result<F&, Int, const A&>;
    static_assert(IsMonoid<M>, "foldMapWithIndex: no Monoid implementation for the result type");
    M acc = Monoid<M>::mempty();
    Int i = 0;
    s.forEach([&](const A& x) { acc = Semigroup<M>::combine(acc, f(i++, x)); });
    return acc;
}
// The effects of f(i, x) in order, rebuilt into a sequence.
template <class F, class A>
auto traverseWithIndex(F&& f, const Seq<A>& s) {
    using GB = Result<F&, Int, const A&>;
    using G = KindOfT<GB>;
    using B = ArgOf<GB>;
    std::vector<std::pair<Int, const A*>> items;
    items.reserve(s.size());
    Int i = 0;
    s.forEach([&](const A& x) { items.emplace_back(i++, &x); });
    auto g = [&f](const std::pair<Int, const A*>& p) { return f(p.first, *p.second); };
    auto vs = detail::traverseToVector<G, B>(g, items.begin(), items.end(), items.size());
    return Functor<G>::fmap([](std::vector<B> v) { return Seq<B>::fromVector(std::move(v)); }, std::move(vs));
}

// ---- Comparison ------------------------------------------------------------

template <class A>
    requires std::equality_comparable<A>
bool operator==(const Seq<A>& a, const Seq<A>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}
template <class A>
    requires std::three_way_comparable<A>
auto operator<=>(const Seq<A>& a, const Seq<A>& b) {
    return std::lexicographical_compare_three_way(a.begin(), a.end(), b.begin(), b.end());
}
template <>
struct Eq1<SeqK> : detail::RangeClasses<SeqK> {};
template <>
struct Ord1<SeqK> : detail::RangeClasses<SeqK> {};

// ---- Functor, Foldable, Traversable, Applicative, Monad ------------------------

template <>
struct Functor<SeqK> : FunctorDefaults<SeqK, Functor<SeqK>> {
    template <class F, class A>
    static auto fmap(F&& f, const Seq<A>& s) {
        using B = Result<F&, const A&>;
        std::vector<B> v;
        v.reserve(s.size());
        s.forEach([&](const A& x) { v.push_back(f(x)); });
        return Seq<B>::fromVector(std::move(v));
    }
};

template <>
struct Foldable<SeqK> : FoldableDefaults<SeqK, Foldable<SeqK>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const Seq<A>& s) {
        if (s.empty()) return z.force();
        auto g = [f = std::decay_t<F>(std::forward<F>(f))](const std::pair<Int, const A*>& p, const Lazy<B>& rest) -> B {
            return f(*p.second, rest);
        };
        return detail::lazyFoldr<B>(std::move(g), std::move(z),
                                    detail::SeqIndexCursor<A>::start(s))
            .force();
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const Seq<A>& s) {
        s.forEach([&](const A& x) { z = f(std::move(z), x); });
        return z;
    }
    template <class F, class B, class A>
    static B foldl(F&& f, B z, const Seq<A>& s) {
        return foldlStrict(std::forward<F>(f), std::move(z), s);
    }
    template <class F, class B, class A>
    static B foldrStrict(F&& f, B z, const Seq<A>& s) {
        for (auto it = s.end(); it != s.begin();) {
            --it;
            z = f(*it, std::move(z));
        }
        return z;
    }
    template <class A>
    static List<A> toList(const Seq<A>& s) {
        return s.toList();
    }
    template <class A>
    static bool null(const Seq<A>& s) {
        return s.empty();
    }
    template <class A>
    static Int length(const Seq<A>& s) {
        return s.length();
    }
};

template <>
struct Traversable<SeqK> : TraversableDefaults<SeqK, Traversable<SeqK>> {
    template <class F, class A>
    static auto traverse(F&& f, const Seq<A>& s) {
        using E = detail::EffectOf<F, A>;
        using G = typename E::G;
        using B = typename E::B;
        auto vs = detail::traverseToVector<G, B>(f, s.begin(), s.end(), s.size());
        return Functor<G>::fmap([](std::vector<B> v) { return Seq<B>::fromVector(std::move(v)); }, std::move(vs));
    }
};

template <>
struct Applicative<SeqK> : ApplicativeDefaults<SeqK, Applicative<SeqK>> {
    template <class A>
    static Seq<std::decay_t<A>> pure(A&& x) {
        return Seq<std::decay_t<A>>::singleton(std::forward<A>(x));
    }
    template <class F, class A, class B>
    static auto liftA2(F&& f, const Seq<A>& xs, const Seq<B>& ys) {
        using C = Result<F&, const A&, const B&>;
        std::vector<C> out;
        out.reserve(xs.size() * ys.size());
        xs.forEach([&](const A& x) { ys.forEach([&](const B& y) { out.push_back(f(x, y)); }); });
        return Seq<C>::fromVector(std::move(out));
    }
};

template <>
struct Monad<SeqK> : MonadDefaults<SeqK, Monad<SeqK>> {
    template <class A, class F>
    static auto bind(const Seq<A>& s, F&& f) {
        using MB = Result<F&, const A&>;
        using B = ArgOf<MB>;
        std::vector<B> out;
        s.forEach([&](const A& x) { f(x).forEach([&out](const B& y) { out.push_back(y); }); });
        return Seq<B>::fromVector(std::move(out));
    }
};

template <class A>
struct Semigroup<Seq<A>> : SemigroupDefaults<Seq<A>, Semigroup<Seq<A>>> {
    static Seq<A> combine(const Seq<A>& a, const Seq<A>& b) { return a.append(b); }
};
template <class A>
struct Monoid<Seq<A>> : MonoidDefaults<Seq<A>, Monoid<Seq<A>>> {
    static Seq<A> mempty() { return Seq<A>(); }
};

// ---- Text form -----------------------------------------------------------------

template <>
struct Show1<SeqK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL& sl, int d, const Seq<A>& s, std::string& out) {
        showParen(d >= 11, out, [&] {
            out += "fromList ";
            sl(s.toVector(), out);
        });
    }
};
template <class A>
struct Show<Seq<A>> {
    static void showsPrec(int d, const Seq<A>& s, std::string& out) {
        Show1<SeqK>::liftShowsPrec(ShowsPrecOf<A>{}, ShowListOf<A>{}, d, s, out);
    }
};
template <>
struct Read1<SeqK> {
    // "fromList [...]" at precedence 10, inside any parentheses.
    template <class A>
    static Reader<Seq<A>> liftReadPrec(Reader<A>, Reader<std::vector<A>> rl) {
        auto body = thenP(ident("fromList"),
                          mapP([](const std::vector<A>& v) { return Seq<A>::fromVector(v); }, atPrec(11, std::move(rl))));
        return parens(prec(10, std::move(body)));
    }
};
template <class A>
struct Read<Seq<A>> {
    static Reader<Seq<A>> readPrec() { return Read1<SeqK>::liftReadPrec<A>(core::readPrec<A>(), readListPrec<A>()); }
};

// ---- Hashing and bytes ------------------------------------------------------------

template <HashableType A>
struct Hashable<Seq<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Seq<A>& s) {
        s.forEach([&salt](const A& x) { salt = core::hashWithSalt(salt, x); });
        return hashInt(salt, s.length());
    }
};
template <>
struct Hashable1<SeqK> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const Seq<A>& s) {
        s.forEach([&](const A& x) { salt = h(salt, x); });
        return hashInt(salt, s.length());
    }
};

template <BinaryType A>
struct Binary<Seq<A>> {
    static void put(Encoder& out, const Seq<A>& s) {
        out.putCount(s.size());
        s.forEach([&out](const A& x) { core::put<A>(out, x); });
    }
    static DecodeResult<Seq<A>> get(Decoder& in) {
        auto v = getList<A>(in);
        if (!v) return Left(v.error());
        return Right(Seq<A>::fromVector(std::move(v).value()));
    }
};

}  // namespace core
