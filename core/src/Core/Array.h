#pragma once
// core::Array<I, A>: an immutable array over the range of an index type
// (see Core/Ix.h), with its elements in the order of that range.
//
//   auto a = core::listArray(std::pair<Int, Int>{1, 3}, {'a', 'b', 'c'});
//   a.at(2)                          // 'b'; core::Error outside the bounds
//   a.bounds()                       // (1, 3)
//   core::update(a, {{2, 'x'}})      // a new array: a, x, c (the `//` operation)
//   core::accumArray([](int acc, int x) { return acc + x; }, 0,
//                    std::pair<Int, Int>{0, 9}, pairs)   // a histogram
//   for (char c : a) ...             // the elements in index order
//
// Arrays share their elements: copying is cheap, `update` copies the
// elements once. Values may be used from any number of threads.
//
// Failures: `at` with an index outside the bounds raises core::Error
// "Array.at: index 5 out of range (1,3)"; building an array from index/value
// pairs with an index outside the bounds raises the same form of message
// for "array" or "accumArray" or "update"; `listArray` with fewer elements
// than the range raises "listArray: not enough elements"; `array` leaving
// an index without a value raises "array: undefined element at index 2".
//
// Interfaces (tag ArrayK<I>): Functor (same bounds), Foldable and
// Traversable (elements in index order), Eq/Ord (by their assocs, so all
// empty arrays are equal, as arrays with equal assocs have equal bounds),
// Eq1/Ord1, Show/Read and Show1/Read1 in the form
// `array (1,3) [(1,'a'),(2,'b'),(3,'c')]`, Hashable/Hashable1 (the bounds,
// then the elements as a list, empty arrays alike), Binary (the bounds,
// then the elements as a list; a count that disagrees with the bounds
// fails "Array bounds and element count disagree").
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Core/Binary.h"
#include "Core/Classes.h"
#include "Core/Error.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Hashable.h"
#include "Core/Hashable1.h"
#include "Core/Ix.h"
#include "Core/Kinds.h"
#include "Core/LazyFold.h"
#include "Core/List.h"
#include "Core/Read.h"
#include "Core/Show.h"
#include "Core/Traversable.h"

namespace core {

template <IxType I, class A>
class Array {
public:
    using index_type = I;
    using value_type = A;
    using Bounds = std::pair<I, I>;
    using const_iterator = const A*;
    using iterator = const A*;

    // Elements in range order; their number must be the bounds' rangeSize
    // (raises core::Error "Array: element count does not match the bounds"
    // otherwise).
    Array(Bounds b, std::vector<A> elems) : bounds_(std::move(b)) {
        if (static_cast<Int>(elems.size()) != Ix<I>::rangeSize(bounds_))
            raise("Array: element count does not match the bounds");
        store(std::move(elems));
    }

    Array(const Array&) = default;
    Array& operator=(const Array&) = default;
    // A moved-from array keeps its bounds but holds no elements (every
    // access raises).
    Array(Array&& o) noexcept(std::is_nothrow_move_constructible_v<Bounds>)
        : bounds_(std::move(o.bounds_)), store_(std::move(o.store_)), data_(std::exchange(o.data_, nullptr)),
          n_(std::exchange(o.n_, 0)) {}
    Array& operator=(Array&& o) noexcept(std::is_nothrow_move_assignable_v<Bounds>) {
        if (this != &o) {
            bounds_ = std::move(o.bounds_);
            store_ = std::move(o.store_);
            data_ = std::exchange(o.data_, nullptr);
            n_ = std::exchange(o.n_, 0);
        }
        return *this;
    }

    const Bounds& bounds() const noexcept { return bounds_; }
    // The number of elements.
    std::size_t size() const noexcept { return n_; }
    bool empty() const noexcept { return n_ == 0; }

    // The element at index i; raises core::Error naming the index and the
    // bounds when i is outside them.
    const A& at(const I& i) const {
        if constexpr (std::is_integral_v<I>) {
            // One unsigned comparison checks both bounds.
            const auto k = static_cast<std::uint64_t>(i) - static_cast<std::uint64_t>(bounds_.first);
            if (k >= n_) [[unlikely]]
                outOfRange("Array.at", i, bounds_);
            return data_[k];
        } else {
            if (!Ix<I>::inRange(bounds_, i)) [[unlikely]]
                outOfRange("Array.at", i, bounds_);
            const auto k = static_cast<std::size_t>(Ix<I>::unsafeIndex(bounds_, i));
            if (k >= n_) [[unlikely]]
                outOfRange("Array.at", i, bounds_);
            return data_[k];
        }
    }
    const A& operator[](const I& i) const { return at(i); }
    // The element at index i, or nullopt outside the bounds.
    std::optional<A> lookup(const I& i) const {
        if (!Ix<I>::inRange(bounds_, i)) return std::nullopt;
        const auto k = static_cast<std::size_t>(Ix<I>::unsafeIndex(bounds_, i));
        if (k >= n_) return std::nullopt;
        return data_[k];
    }
    // The element at position k (0 to size() - 1) in range order; unchecked.
    const A& atPosition(std::size_t k) const noexcept { return data_[k]; }

    // The indices of the range, in order.
    std::vector<I> indices() const { return Ix<I>::range(bounds_); }
    // The elements in index order.
    const std::vector<A>& elems() const noexcept {
        static const std::vector<A> none;
        return store_ ? *store_ : none;
    }
    // The (index, element) pairs in index order.
    std::vector<std::pair<I, A>> assocs() const {
        std::vector<I> is = indices();
        std::vector<std::pair<I, A>> out;
        out.reserve(n_);
        for (std::size_t k = 0; k < n_; ++k) out.emplace_back(std::move(is[k]), data_[k]);
        return out;
    }

    const_iterator begin() const noexcept { return data_; }
    const_iterator end() const noexcept { return data_ + n_; }

    // The shared element storage (used by folds whose deferred parts must
    // keep the elements alive).
    const std::shared_ptr<const std::vector<A>>& storage() const noexcept { return store_; }

    [[noreturn]] static void outOfRange(const char* what, const I& i, const Bounds& b) {
        detail::ixOutOfRange(what, detail::showForError(i), detail::showForError(b));
    }

private:
    void store(std::vector<A>&& elems) {
        store_ = std::make_shared<const std::vector<A>>(std::move(elems));
        data_ = store_->data();
        n_ = store_->size();
    }

    Bounds bounds_;
    std::shared_ptr<const std::vector<A>> store_;
    const A* data_ = nullptr;
    std::size_t n_ = 0;
};

template <class I>
struct ArrayK {
    template <class A>
    using apply = Array<I, A>;
};
template <class I, class A>
struct KindOf<Array<I, A>> {
    using kind = ArrayK<I>;
    using arg = A;
};

// ---- Construction ----------------------------------------------------------

// The first rangeSize(b) elements of xs (a List, possibly unbounded, or any
// range), in index order; raises core::Error "listArray: not enough
// elements" when xs is shorter.
template <IxType I, class Range>
auto listArray(const std::pair<I, I>& b, const Range& xs) {
    using A = std::remove_cvref_t<decltype(*std::begin(xs))>;
    const auto n = static_cast<std::size_t>(Ix<I>::rangeSize(b));
    std::vector<A> v;
    v.reserve(n);
    for (auto it = std::begin(xs); v.size() < n && it != std::end(xs); ++it) v.push_back(*it);
    if (v.size() < n) raise("listArray: not enough elements");
    return Array<I, A>(b, std::move(v));
}
template <IxType I, class A>
Array<I, A> listArray(const std::pair<I, I>& b, std::initializer_list<A> xs) {
    return listArray<I, std::initializer_list<A>>(b, xs);
}

namespace detail {
template <class I, class A, class Range, class Combine>
Array<I, A> arrayFromPairs(const char* what, const std::pair<I, I>& b, std::vector<std::optional<A>> cells,
                           const Range& pairs, Combine combine) {
    for (const auto& [i, x] : pairs) {
        if (!Ix<I>::inRange(b, i)) Array<I, A>::outOfRange(what, i, b);
        auto& cell = cells[static_cast<std::size_t>(Ix<I>::unsafeIndex(b, i))];
        combine(cell, x);
    }
    std::vector<A> v;
    v.reserve(cells.size());
    const std::vector<I> is = cells.empty() ? std::vector<I>() : Ix<I>::range(b);
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (!cells[k]) raise(std::string(what) + ": undefined element at index " + showForError(is[k]));
        v.push_back(std::move(*cells[k]));
    }
    return Array<I, A>(b, std::move(v));
}
}  // namespace detail

// An array from (index, value) pairs: every index of the bounds must get
// a value; of several values for one index the last is kept. Raises
// core::Error for an index outside the bounds or one left without a value.
template <IxType I, class Range>
auto array(const std::pair<I, I>& b, const Range& pairs) {
    using A = std::remove_cvref_t<decltype(std::begin(pairs)->second)>;
    std::vector<std::optional<A>> cells(static_cast<std::size_t>(Ix<I>::rangeSize(b)));
    return detail::arrayFromPairs<I, A>("array", b, std::move(cells), pairs,
                                        [](std::optional<A>& cell, const A& x) { cell = x; });
}
template <IxType I, class A>
Array<I, A> array(const std::pair<I, I>& b, std::initializer_list<std::pair<I, A>> pairs) {
    return array<I, std::initializer_list<std::pair<I, A>>>(b, pairs);
}

// Every element starts as `init`; each (i, x) of pairs, in order, replaces
// the element e at i by f(e, x). Raises core::Error for an index outside
// the bounds.
template <class F, class A, IxType I, class Range>
Array<I, A> accumArray(F f, const A& init, const std::pair<I, I>& b, const Range& pairs) {
    std::vector<A> v(static_cast<std::size_t>(Ix<I>::rangeSize(b)), init);
    for (const auto& [i, x] : pairs) {
        if (!Ix<I>::inRange(b, i)) Array<I, A>::outOfRange("accumArray", i, b);
        A& e = v[static_cast<std::size_t>(Ix<I>::unsafeIndex(b, i))];
        e = f(std::move(e), x);
    }
    return Array<I, A>(b, std::move(v));
}

// A new array with the elements at the given indices replaced (of several
// values for one index the last is kept): the `//` operation. Raises
// core::Error for an index outside the bounds.
template <IxType I, class A, class Range>
Array<I, A> update(const Array<I, A>& a, const Range& pairs) {
    std::vector<A> v = a.elems();
    for (const auto& [i, x] : pairs) {
        if (!Ix<I>::inRange(a.bounds(), i)) Array<I, A>::outOfRange("update", i, a.bounds());
        v[static_cast<std::size_t>(Ix<I>::unsafeIndex(a.bounds(), i))] = x;
    }
    return Array<I, A>(a.bounds(), std::move(v));
}
template <IxType I, class A>
Array<I, A> update(const Array<I, A>& a, std::initializer_list<std::pair<I, A>> pairs) {
    return update<I, A, std::initializer_list<std::pair<I, A>>>(a, pairs);
}

// Like update, combining: the element e at i becomes f(e, x).
template <class F, IxType I, class A, class Range>
Array<I, A> accum(F f, const Array<I, A>& a, const Range& pairs) {
    std::vector<A> v = a.elems();
    for (const auto& [i, x] : pairs) {
        if (!Ix<I>::inRange(a.bounds(), i)) Array<I, A>::outOfRange("accum", i, a.bounds());
        A& e = v[static_cast<std::size_t>(Ix<I>::unsafeIndex(a.bounds(), i))];
        e = f(std::move(e), x);
    }
    return Array<I, A>(a.bounds(), std::move(v));
}

// Free-function forms of the accessors.
template <IxType I, class A>
const std::pair<I, I>& bounds(const Array<I, A>& a) {
    return a.bounds();
}
template <IxType I, class A>
std::vector<I> indices(const Array<I, A>& a) {
    return a.indices();
}
template <IxType I, class A>
const std::vector<A>& elems(const Array<I, A>& a) {
    return a.elems();
}
template <IxType I, class A>
std::vector<std::pair<I, A>> assocs(const Array<I, A>& a) {
    return a.assocs();
}

// ---- Comparison ------------------------------------------------------------

namespace detail {
// Assocs-based comparison: arrays with elements compare bounds' first index
// and then elements as the assocs lists would; empty arrays are equal.
template <class CmpI, class CmpA, class I, class A, class B>
Ordering compareArrays(CmpI& cmpI, CmpA& cmpA, const Array<I, A>& a, const Array<I, B>& b) {
    if (a.empty() || b.empty()) return a.empty() ? (b.empty() ? EQ : LT) : GT;
    if (a.bounds() == b.bounds()) {
        std::size_t n = a.size();
        for (std::size_t k = 0; k < n; ++k)
            if (Ordering o = cmpA(a.atPosition(k), b.atPosition(k)); o != EQ) return o;
        return EQ;
    }
    std::vector<I> ia = a.indices(), ib = b.indices();
    std::size_t n = std::min(ia.size(), ib.size());
    for (std::size_t k = 0; k < n; ++k) {
        if (Ordering o = cmpI(ia[k], ib[k]); o != EQ) return o;
        if (Ordering o = cmpA(a.atPosition(k), b.atPosition(k)); o != EQ) return o;
    }
    return ia.size() < ib.size() ? LT : (ia.size() > ib.size() ? GT : EQ);
}
}  // namespace detail

template <class I, class A>
    requires std::equality_comparable<A>
bool operator==(const Array<I, A>& a, const Array<I, A>& b) {
    if (a.empty() || b.empty()) return a.empty() && b.empty();
    if (!(a.bounds() == b.bounds())) return false;
    return std::equal(a.begin(), a.end(), b.begin());
}
template <class I, class A>
    requires std::three_way_comparable<A> && std::three_way_comparable<I>
std::weak_ordering operator<=>(const Array<I, A>& a, const Array<I, A>& b) {
    auto cmp = [](const auto& x, const auto& y) {
        auto c = x <=> y;
        return c < 0 ? LT : (c > 0 ? GT : EQ);
    };
    Ordering o = detail::compareArrays(cmp, cmp, a, b);
    return o == LT ? std::weak_ordering::less : (o == GT ? std::weak_ordering::greater : std::weak_ordering::equivalent);
}

template <class I>
struct Eq1<ArrayK<I>> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const Array<I, A>& a, const Array<I, B>& b) {
        if (a.empty() || b.empty()) return a.empty() && b.empty();
        if (!(a.bounds() == b.bounds())) return false;
        for (std::size_t k = 0; k < a.size(); ++k)
            if (!eq(a.atPosition(k), b.atPosition(k))) return false;
        return true;
    }
};
template <class I>
struct Ord1<ArrayK<I>> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const Array<I, A>& a, const Array<I, B>& b) {
        auto cmpI = [](const I& x, const I& y) { return core::compare(x, y); };
        return detail::compareArrays(cmpI, cmp, a, b);
    }
};

// ---- Functor, Foldable, Traversable -------------------------------------------

template <class I>
struct Functor<ArrayK<I>> : FunctorDefaults<ArrayK<I>, Functor<ArrayK<I>>> {
    template <class F, class A>
    static auto fmap(F&& f, const Array<I, A>& a) {
        using B = Result<F&, const A&>;
        std::vector<B> v;
        v.reserve(a.size());
        for (const A& x : a) v.push_back(f(x));
        return Array<I, B>(a.bounds(), std::move(v));
    }
};

template <class I>
struct Foldable<ArrayK<I>> : FoldableDefaults<ArrayK<I>, Foldable<ArrayK<I>>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const Array<I, A>& a) {
        if (a.empty()) return z.force();
        return detail::lazyFoldr<B>(std::decay_t<F>(std::forward<F>(f)), std::move(z),
                                    detail::VectorCursor<A>{a.storage(), 0})
            .force();
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const Array<I, A>& a) {
        for (const A& x : a) z = f(std::move(z), x);
        return z;
    }
    template <class F, class B, class A>
    static B foldl(F&& f, B z, const Array<I, A>& a) {
        return foldlStrict(std::forward<F>(f), std::move(z), a);
    }
    template <class F, class B, class A>
    static B foldrStrict(F&& f, B z, const Array<I, A>& a) {
        for (std::size_t k = a.size(); k > 0; --k) z = f(a.atPosition(k - 1), std::move(z));
        return z;
    }
    template <class A>
    static List<A> toList(const Array<I, A>& a) {
        return List<A>::fromRange(a.begin(), a.end());
    }
    template <class A>
    static bool null(const Array<I, A>& a) {
        return a.empty();
    }
    template <class A>
    static Int length(const Array<I, A>& a) {
        return static_cast<Int>(a.size());
    }
};

template <class I>
struct Traversable<ArrayK<I>> : TraversableDefaults<ArrayK<I>, Traversable<ArrayK<I>>> {
    template <class F, class A>
    static auto traverse(F&& f, const Array<I, A>& a) {
        using E = detail::EffectOf<F, A>;
        using G = typename E::G;
        using B = typename E::B;
        auto vs = detail::traverseToVector<G, B>(f, a.begin(), a.end(), a.size());
        return Functor<G>::fmap([b = a.bounds()](std::vector<B> v) { return Array<I, B>(b, std::move(v)); },
                                std::move(vs));
    }
};

// ---- Text form -----------------------------------------------------------------

template <class I>
struct Show1<ArrayK<I>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const Array<I, A>& a, std::string& out) {
        showParen(d >= 11, out, [&] {
            out += "array ";
            showsPrec(11, a.bounds(), out);
            out += ' ';
            std::vector<I> is = a.indices();
            out += '[';
            for (std::size_t k = 0; k < a.size(); ++k) {
                if (k > 0) out += ',';
                out += '(';
                showsPrec(0, is[k], out);
                out += ',';
                sp(0, a.atPosition(k), out);
                out += ')';
            }
            out += ']';
        });
    }
};
template <class I, class A>
struct Show<Array<I, A>> {
    static void showsPrec(int d, const Array<I, A>& a, std::string& out) {
        Show1<ArrayK<I>>::liftShowsPrec(ShowsPrecOf<A>{}, ShowListOf<A>{}, d, a, out);
    }
};

namespace detail {
// The array of the bounds and pairs when every index gets exactly one value
// within the bounds; nullopt otherwise (so that reading fails instead of
// raising).
template <class I, class A>
std::optional<Array<I, A>> arrayIfComplete(const std::pair<I, I>& b, const std::vector<std::pair<I, A>>& pairs) {
    auto n = rangeSizeChecked(b);
    if (!n || static_cast<std::size_t>(*n) != pairs.size()) return std::nullopt;
    std::vector<std::optional<A>> cells(pairs.size());
    for (const auto& [i, x] : pairs) {
        if (!Ix<I>::inRange(b, i)) return std::nullopt;
        auto& cell = cells[static_cast<std::size_t>(Ix<I>::unsafeIndex(b, i))];
        if (cell) return std::nullopt;
        cell = x;
    }
    std::vector<A> v;
    v.reserve(cells.size());
    for (auto& c : cells) v.push_back(std::move(*c));
    return Array<I, A>(b, std::move(v));
}
}  // namespace detail

template <class I>
struct Read1<ArrayK<I>> {
    // "array (lo,hi) [(i,x),...]" at precedence 10; the pairs must give
    // every index of the bounds exactly one value, else no parse.
    template <class A>
    static Reader<Array<I, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>>) {
        auto pairs = readListWith(readPairWith(readPrec<I>(), std::move(rp)));
        auto body = thenP(ident("array"), bindP(atPrec(11, readPrec<std::pair<I, I>>()), [pairs](const std::pair<I, I>& b) {
                              return bindP(atPrec(11, pairs), [b](const std::vector<std::pair<I, A>>& ps) {
                                  auto arr = detail::arrayIfComplete(b, ps);
                                  return arr ? pureP(std::move(*arr)) : pfail<Array<I, A>>();
                              });
                          }));
        return parens(prec(10, std::move(body)));
    }
};
template <class I, class A>
struct Read<Array<I, A>> {
    static Reader<Array<I, A>> readPrec() {
        return Read1<ArrayK<I>>::template liftReadPrec<A>(core::readPrec<A>(), readListPrec<A>());
    }
};

// ---- Hashing and bytes ------------------------------------------------------------

namespace detail {
template <class H, class I, class A>
std::uint64_t hashArray(H& h, std::uint64_t salt, const Array<I, A>& a) {
    // Equal arrays hash alike: every empty array is equal to every other.
    if (!a.empty()) salt = core::hashWithSalt(salt, a.bounds());
    for (const A& x : a) salt = h(salt, x);
    return hashInt(salt, static_cast<Int>(a.size()));
}
}  // namespace detail

template <HashableType I, HashableType A>
struct Hashable<Array<I, A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Array<I, A>& a) {
        auto h = [](std::uint64_t s, const A& x) { return core::hashWithSalt(s, x); };
        return detail::hashArray(h, salt, a);
    }
};
template <class I>
struct Hashable1<ArrayK<I>> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const Array<I, A>& a) {
        return detail::hashArray(h, salt, a);
    }
};

namespace decodeError {
inline constexpr const char* arrayCountMismatch = "Array bounds and element count disagree";
}

template <BinaryType I, BinaryType A>
struct Binary<Array<I, A>> {
    static void put(Encoder& out, const Array<I, A>& a) {
        core::put<std::pair<I, I>>(out, a.bounds());
        putList(out, a);
    }
    static DecodeResult<Array<I, A>> get(Decoder& in) {
        auto b = core::get<std::pair<I, I>>(in);
        if (!b) return Left(b.error());
        auto n = in.getCount(encodesToNothing<A>());
        if (!n) return Left(n.error());
        auto expected = detail::rangeSizeChecked(*b);
        if (!expected || static_cast<std::size_t>(*expected) != *n)
            return Left(std::string(decodeError::arrayCountMismatch));
        auto v = getElements<A>(in, *n);
        if (!v) return Left(v.error());
        return Right(Array<I, A>(*b, std::move(v).value()));
    }
};

}  // namespace core
