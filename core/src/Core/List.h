#pragma once
// core::List<A>: an immutable lazy cons list, possibly unbounded.
//
//   core::List<int> xs{1, 2, 3};
//   auto nats = core::List<int>::iterate([](int n) { return n + 1; }, 0);
//   for (int x : nats.take(5)) ...;         // 0 1 2 3 4
//   std::vector<int> v = xs.toVector();
//
// Each cell is produced on demand, at most once, and then shared by every
// copy of the list (cells are core::Lazy values). Iteration, strict folds,
// conversions and destruction are loops, so a list of ten million cells
// uses constant stack; destroying a long list unlinks its cells one by one.
// Lists may be shared between threads; cells are forced thread-safely.
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <new>
#include <optional>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Error.h"
#include "Core/Lazy.h"

namespace core {

template <class A>
class List {
public:
    using value_type = A;
    struct Cons {
        A head;
        List tail;
    };
    class Step;

    // The empty list (allocates nothing).
    List() noexcept = default;
    List(std::initializer_list<A> xs) : List(fromRange(xs.begin(), xs.end())) {}
    explicit List(const std::vector<A>& xs) : List(fromRange(xs.begin(), xs.end())) {}

    List(const List&) = default;
    List(List&&) noexcept = default;
    List& operator=(const List&) = default;
    List& operator=(List&&) noexcept = default;
    ~List() { release(std::move(s_)); }

    // x in front of xs.
    static List cons(A x, List xs) {
        return List(Lazy<Step>::ready(Cons{std::move(x), std::move(xs)}));
    }
    // A list whose first step is computed by f() (returning a List) on
    // demand: the building block of lazy producers.
    template <class F>
        requires std::is_convertible_v<std::invoke_result_t<F&>, List>
    static List lazy(F f) {
        return List(Lazy<Step>::fromFunction([f = std::move(f)]() mutable -> Step {
            List l = f();
            return l.s_ ? l.s_.force() : Step();
        }));
    }
    // A list whose first step is computed by f() (returning a Step) on
    // demand: one allocation per cell, the cheapest lazy producer.
    template <class F>
        requires std::is_convertible_v<std::invoke_result_t<F&>, Step>
    static List lazyStep(F f) {
        return List(Lazy<Step>::fromFunction(std::move(f)));
    }
    // x in front of a tail computed on demand.
    template <class F>
    static List consLazy(A x, F tailFn) {
        return cons(std::move(x), lazy(std::move(tailFn)));
    }
    template <class It>
    static List fromRange(It first, It last) {
        // One evaluated cell per element, front to back, without recursion.
        Builder b;
        for (; first != last; ++first) b.push_back(*first);
        return std::move(b).build();
    }
    static List fromVector(const std::vector<A>& xs) { return fromRange(xs.begin(), xs.end()); }
    static List fromVector(std::vector<A>&& xs) {
        Builder b;
        for (auto&& x : xs) b.push_back(A(std::move(x)));  // auto&&: std::vector<bool> yields proxies
        return std::move(b).build();
    }

    // Builds an evaluated list front to back in one pass, one cell per
    // element, for producers that know their elements in order (strict
    // traversals, conversions):
    //   List<int>::Builder b; b.push_back(1); b.push_back(2);
    //   List<int> xs = std::move(b).build();   // [1, 2]
    // The cells are private to the builder until build(), which is what
    // lets it link each new cell behind the previous one.
    class Builder {
    public:
        Builder() noexcept = default;
        Builder(const Builder&) = delete;
        Builder& operator=(const Builder&) = delete;
        Builder(Builder&& o) noexcept : first_(std::move(o.first_)), last_(std::exchange(o.last_, nullptr)) {}

        void push_back(A x) {
            List cell(Lazy<Step>::ready(Cons{std::move(x), List()}));
            List* slot = last_ ? last_ : &first_;
            *slot = std::move(cell);
            last_ = &slot->s_->value()->tail;
        }
        // The list built so far; the builder is left empty.
        List build() && {
            last_ = nullptr;
            return std::move(first_);
        }

    private:
        List first_;
        List* last_ = nullptr;  // the empty tail to fill next (null: first_)
    };

    // x, f(x), f(f(x)), ...: unbounded; each element is computed when its
    // cell is first demanded.
    template <class F>
    static List iterate(F f, A x) {
        return lazyStep([f = std::move(f), x = std::move(x)]() mutable -> Step {
            A next = f(x);
            return Cons{std::move(x), iterate(std::move(f), std::move(next))};
        });
    }
    // x, x, x, ...: unbounded; each cell is made on demand (a cell that
    // pointed to itself would never be freed).
    static List repeat(A x) {
        return lazyStep([x]() -> Step { return Cons{x, repeat(x)}; });
    }
    // n copies of x.
    static List replicate(std::size_t n, const A& x) {
        List out;
        for (std::size_t i = 0; i < n; ++i) out = cons(x, std::move(out));
        return out;
    }
    // Unfolds a seed: f(seed) gives nullopt to stop, or the next element and
    // the next seed. Produced on demand, so it may be unbounded.
    template <class F, class S>
    static List unfoldr(F f, S seed) {
        return lazyStep([f = std::move(f), seed = std::move(seed)]() mutable -> Step {
            auto r = f(seed);
            if (!r) return Step();
            auto& [x, s2] = *r;
            return Cons{std::move(x), unfoldr(std::move(f), std::move(s2))};  // runs once
        });
    }

    // Forces the first step only.
    bool null() const { return !s_ || !s_.force().has_value(); }
    bool empty() const { return null(); }
    // The first step: nullopt for the empty list.
    const Step& step() const {
        static const Step end;
        return s_ ? s_.force() : end;
    }
    // The first element; raises core::Error on the empty list.
    const A& head() const {
        const Step& st = step();
        if (!st) raise("head: empty list");
        return st->head;
    }
    // Everything after the first element; raises core::Error on the empty list.
    const List& tail() const {
        const Step& st = step();
        if (!st) raise("tail: empty list");
        return st->tail;
    }

    // The tail of a non-empty list that the caller gives up (raises
    // core::Error on the empty list). When the caller's handle is the first
    // cell's only one, no other thread can reach that cell, so its tail is
    // moved out rather than shared, with no count changes. Lazy producers
    // use it on the list they read from, which their pending cell holds.
    static List tailOf(List&& xs) {
        const List& t = xs.tail();
        if (xs.s_->unique()) return std::move(xs.s_->value()->tail);
        return t;
    }

    // The first n elements, on demand. Taken from a list the caller gives
    // up (a temporary), the cells already read are freed as the result is
    // walked rather than kept by the temporary until the end of the
    // statement.
    List take(std::size_t n) const& { return takeFrom(*this, n); }
    List take(std::size_t n) && { return takeFrom(std::move(*this), n); }
    // Without the first n elements (forces them; a loop).
    List drop(std::size_t n) const {
        const List* cur = this;
        for (; n > 0; --n) {
            const Step& st = cur->step();
            if (!st) return List();
            cur = &st->tail;
        }
        return *cur;
    }

    // This list followed by `other`, on demand: `other` is not looked at
    // until this list is used up. As with take, appending to a temporary
    // frees its cells as they are read.
    List append(List other) const& { return appendFrom(*this, std::move(other)); }
    List append(List other) && { return appendFrom(std::move(*this), std::move(other)); }
    // This list followed by a list computed only when this one is used up.
    List appendLazy(Lazy<List> other) const& { return appendFrom(*this, std::move(other)); }
    List appendLazy(Lazy<List> other) && { return appendFrom(std::move(*this), std::move(other)); }

    // Number of elements; forces the whole list (never returns on an
    // unbounded one).
    std::size_t length() const {
        std::size_t n = 0;
        for (auto it = begin(); it != end(); ++it) ++n;
        return n;
    }
    std::vector<A> toVector() const {
        std::vector<A> out;
        for (const A& x : *this) out.push_back(x);
        return out;
    }
    // Strict left fold: a loop, constant stack.
    template <class B, class F>
    B foldlStrict(F&& f, B acc) const {
        for (const A& x : *this) acc = f(std::move(acc), x);
        return acc;
    }

    // Forward iteration over the cells, forcing each as it is reached. The
    // iterator points into the list's own cells, so the list must outlive it.
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = A;
        using difference_type = std::ptrdiff_t;
        using pointer = const A*;
        using reference = const A&;

        const_iterator() = default;
        reference operator*() const { return cell_->head; }
        pointer operator->() const { return &cell_->head; }
        const_iterator& operator++() {
            cell_ = cell_->tail.firstCell();
            return *this;
        }
        const_iterator operator++(int) {
            auto t = *this;
            ++*this;
            return t;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) { return a.cell_ == b.cell_; }

    private:
        friend class List;
        explicit const_iterator(const Cons* c) : cell_(c) {}
        const Cons* cell_ = nullptr;
    };
    using iterator = const_iterator;
    const_iterator begin() const { return const_iterator(firstCell()); }
    const_iterator end() const { return const_iterator(); }

    // Element-wise equality; forces both lists up to the first difference.
    friend bool operator==(const List& a, const List& b) {
        auto i = a.begin(), j = b.begin();
        for (; i != a.end() && j != b.end(); ++i, ++j)
            if (!(*i == *j)) return false;
        return i == a.end() && j == b.end();
    }
    // Lexicographic order. (A template, so that whether A is ordered is asked
    // only when lists are compared: a type that holds a list of itself, such
    // as a tree, is still incomplete when its List is instantiated.)
    template <class B = A>
        requires std::three_way_comparable<B>
    friend auto operator<=>(const List& a, const List& b) {
        auto i = a.begin(), j = b.begin();
        for (; i != a.end() && j != b.end(); ++i, ++j)
            if (auto c = *i <=> *j; c != 0) return c;
        return (i == a.end()) == (j == b.end()) ? std::compare_three_way_result_t<A>::equivalent
               : i == a.end()                    ? std::compare_three_way_result_t<A>::less
                                                 : std::compare_three_way_result_t<A>::greater;
    }

private:
    // Null for the empty list, so that List() allocates nothing.
    using Handle = detail::LazyRef<Step>;
    explicit List(Lazy<Step> s) : s_(std::move(s.s_)) {}
    // Each cell of an append is made by one step that hands what it holds
    // on to the next: `other` (a List, or a deferred one) moves down the
    // chain rather than being shared at every cell, and a source cell that
    // only the append holds gives up its tail (tailOf). Past the end of
    // this list, the cell is a copy of the first step of `other`, whose
    // rest is shared.
    static const Step& firstStepOf(const List& l) { return l.step(); }
    static const Step& firstStepOf(const Lazy<List>& l) { return l.force().step(); }
    template <class Other>
    static List appendFrom(List self, Other other) {
        return lazyStep([self = std::move(self), other = std::move(other)]() mutable -> Step {
            const Step& st = self.step();
            if (!st) return firstStepOf(other);
            return Cons{st->head, appendFrom(tailOf(std::move(self)), std::move(other))};
        });
    }
    static List takeFrom(List self, std::size_t n) {
        if (n == 0) return List();
        return lazyStep([self = std::move(self), n]() mutable -> Step {
            const Step& st = self.step();
            if (!st) return Step();
            return Cons{st->head, takeFrom(tailOf(std::move(self)), n - 1)};
        });
    }
    const Cons* firstCell() const {
        if (!s_) return nullptr;
        const Step& st = s_.force();
        return st ? &*st : nullptr;
    }

    // Drops a reference to a chain of cells without recursion: while this
    // handle is the only owner of an evaluated cell, detach the cell's tail
    // first, then free the cell.
    static void release(Handle&& h) noexcept {
        Handle p = std::move(h);
        while (p && p->unique() && p->ready()) {
            Step& st = p->value();  // sole owner: safe to take apart
            if (!st) break;
            Handle next = std::move(st->tail.s_);
            // With its tail detached, a cell whose head needs no destructor
            // needs none at all.
            if constexpr (std::is_trivially_destructible_v<A>) p.freeTakenApart();
            p = std::move(next);
        }
    }
    Handle s_;
};

// One step of a list: the end, or a head and the rest (a Cons). Used like
// a std::optional<Cons>: built empty, from std::nullopt or from a Cons;
// tested with `if (st)` or has_value(); read with `st->head`, `st->tail`
// and `*st`. The end is marked by a value of the tail's handle that no
// list has (handles are null or aligned), so a step takes no more room
// than its Cons: a List<int> cell is a 16-byte deferred value header and
// 16 bytes of step, with no flag padded to a word.
template <class A>
class List<A>::Step {
public:
    Step() noexcept { markEnd(); }
    Step(std::nullopt_t) noexcept { markEnd(); }
    Step(const Cons& c) { construct(c); }
    Step(Cons&& c) noexcept(std::is_nothrow_move_constructible_v<A>) { construct(std::move(c)); }
    Step(const Step& o) {
        markEnd();
        if (o) construct(o.c_);
    }
    Step(Step&& o) noexcept(std::is_nothrow_move_constructible_v<A>) {
        markEnd();
        if (o) construct(std::move(o.c_));
    }
    Step& operator=(const Step& o) {
        if (this != &o) {
            Step copy(o);
            *this = std::move(copy);
        }
        return *this;
    }
    Step& operator=(Step&& o) noexcept(std::is_nothrow_move_constructible_v<A>) {
        if (this != &o) {
            reset();
            if (o) construct(std::move(o.c_));
        }
        return *this;
    }
    ~Step() {
        if (has_value()) c_.~Cons();
    }

    bool has_value() const noexcept { return tailWord() != endMark; }
    explicit operator bool() const noexcept { return has_value(); }
    // The head and the rest; only when has_value().
    const Cons& operator*() const& noexcept { return c_; }
    Cons& operator*() & noexcept { return c_; }
    Cons&& operator*() && noexcept { return std::move(c_); }
    const Cons* operator->() const noexcept { return &c_; }
    Cons* operator->() noexcept { return &c_; }
    // The head and the rest; throws std::bad_optional_access at the end.
    const Cons& value() const {
        if (!has_value()) throw std::bad_optional_access();
        return c_;
    }
    // Makes this the end.
    void reset() noexcept {
        if (has_value()) {
            c_.~Cons();
            markEnd();
        }
    }

private:
    static_assert(sizeof(List) == sizeof(std::uintptr_t));
    // Where Cons keeps its tail: members are laid out in order, each at the
    // next offset aligned for it.
    static constexpr std::size_t tailOffset = (sizeof(A) + alignof(List) - 1) / alignof(List) * alignof(List);
    static constexpr std::uintptr_t endMark = 1;

    template <class C>
    void construct(C&& c) {
        if constexpr (std::is_standard_layout_v<Cons>) static_assert(offsetof(Cons, tail) == tailOffset);
        ::new (static_cast<void*>(&c_)) Cons(std::forward<C>(c));
        assert(reinterpret_cast<const std::byte*>(&c_.tail) == bytes() + tailOffset);
    }
    const std::byte* bytes() const noexcept { return reinterpret_cast<const std::byte*>(&c_); }
    std::uintptr_t tailWord() const noexcept {
        std::uintptr_t w;
        std::memcpy(&w, bytes() + tailOffset, sizeof w);
        return w;
    }
    void markEnd() noexcept { std::memcpy(reinterpret_cast<std::byte*>(&c_) + tailOffset, &endMark, sizeof endMark); }

    union {
        Cons c_;
    };
};

// Shorthand constructors.
template <class A>
List<A> cons(A x, List<A> xs) {
    return List<A>::cons(std::move(x), std::move(xs));
}

}  // namespace core
