#pragma once
// core::Set<A>: an immutable ordered set, ordered by A's operator<.
//
//   core::Set<int> s{3, 1, 2, 3};        // {1, 2, 3}
//   auto t = s.insert(0);                // s is unchanged; t shares its nodes
//   t.member(0);                         // true
//   core::show(t);                       // fromList [0,1,2,3]
//
// The persistent weight-balanced tree of core::Map (Core/WBTree.h) holding
// elements only: updates return a new set sharing every untouched node,
// copies are O(1), and a set may be read by any number of threads at once
// without locks. At most 2^32 - 1 elements.
//
// Operations (n the size, m <= n the smaller operand):
//   empty(), singleton(x), fromList(range | {..}) (of equal elements the
//   last is kept), 
//   fromDistinctAscList(v)                                       building
//   size() O(1), null(), member(x), lookupMin(), lookupMax(),
//   lookupLT/LE/GE/GT(x), elemAt(i), findIndex(x)                O(log n)
//   insert(x), erase(x), deleteMin(), deleteMax()                O(log n)
//   split(x), splitMember(x), take(n), drop(n)                   O(log n)
//   union_(o) (`union` is a C++ keyword), intersection(o), difference(o),
//   isSubsetOf(o), disjoint(o)                          O(m log(n/m + 1))
//   filter(p), partition(p), map(f) (re-sorted), toAscList(),
//   toDescList(), elems()                                        O(n)
//   foldr(f, z): f(x, Lazy<B> rest), stops when rest is unused;
//   foldl(f, z): acc = f(acc, x), a loop.
//   begin()/end(): bidirectional iterators over const A&, ascending.
//
// Interfaces: Foldable (ascending order), Eq/Ord (== and <=>: the
// ascending element lists), Eq1/Ord1, Show/Read and Show1/Read1
// (`fromList [1,2]`), Hashable/Hashable1 (the element count as an Int, then
// each element in ascending order), Binary (the element count as an Int, then each element
// in ascending order; "Set elements not strictly ascending" on bytes out
// of order or repeated), Semigroup (union), Monoid (empty). Kind tag `SetK`.
#include <algorithm>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <ranges>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Binary.h"
#include "Core/Classes.h"
#include "Core/Foldable.h"
#include "Core/Hashable.h"
#include "Core/Hashable1.h"
#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/LazyFold.h"
#include "Core/List.h"
#include "Core/Read.h"
#include "Core/Semigroup.h"
#include "Core/Show.h"
#include "Core/Types.h"
#include "Core/WBTree.h"

namespace core {

namespace detail {
// A lazy-fold cursor over a set's tree by position; keeps the tree alive.
template <class A>
struct SetCursor {
    typename WBTree<A, Unit>::Ref root;
    std::size_t i;
    bool done() const { return i >= WBTree<A, Unit>::size(root.get()); }
    const A& get() const { return WBTree<A, Unit>::elemAt(root.get(), i)->kv.first; }
    SetCursor next() const { return SetCursor{root, i + 1}; }
};
}  // namespace detail

template <class A>
class Set {
    using Tree = detail::WBTree<A, Unit>;
    using Node = typename Tree::Node;
    using Ref = typename Tree::Ref;

public:
    using value_type = A;
    using key_type = A;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;

    // Bidirectional iterator over the elements in ascending order. It does
    // not keep the set alive: keep the set while iterating.
    class const_iterator {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = A;
        using difference_type = std::ptrdiff_t;
        using reference = const A&;
        using pointer = const A*;

        const_iterator() = default;
        reference operator*() const { return path_.current()->kv.first; }
        pointer operator->() const { return &path_.current()->kv.first; }
        const_iterator& operator++() {
            path_.next();
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator old = *this;
            path_.next();
            return old;
        }
        const_iterator& operator--() {
            path_.prev();
            return *this;
        }
        const_iterator operator--(int) {
            const_iterator old = *this;
            path_.prev();
            return old;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) noexcept {
            return a.path_.current() == b.path_.current();
        }

    private:
        friend class Set;
        explicit const_iterator(const Node* root) : path_(root) {}
        detail::WBPath<A, Unit> path_;
    };
    using iterator = const_iterator;
    using reverse_iterator = std::reverse_iterator<const_iterator>;

    // ---- construction ------------------------------------------------------

    Set() noexcept = default;
    Set(std::initializer_list<A> xs) : root_(fromVector(std::vector<A>(xs))) {}
    explicit Set(Ref r) noexcept : root_(std::move(r)) {}

    static Set empty() { return Set(); }
    static Set singleton(A x) { return Set(Tree::leaf(std::move(x), unit)); }
    // From any input range; of equal elements the last one is kept.
    template <std::ranges::input_range R>
    static Set fromList(R&& xs) {
        std::vector<A> v;
        if constexpr (std::ranges::sized_range<R>) v.reserve(std::ranges::size(xs));
        for (auto&& x : xs) v.push_back(x);
        return Set(fromVector(std::move(v)));
    }
    static Set fromList(std::initializer_list<A> xs) { return Set(fromVector(std::vector<A>(xs))); }
    static Set fromList(const List<A>& xs) { return Set(fromVector(xs.toVector())); }
    // From strictly ascending elements (not checked): O(n).
    static Set fromDistinctAscList(std::vector<A> xs) {
        std::vector<std::pair<A, Unit>> v;
        v.reserve(xs.size());
        for (auto& x : xs) v.emplace_back(std::move(x), unit);
        return Set(Tree::buildAscending(v, 0, v.size()));
    }

    // ---- queries -----------------------------------------------------------

    std::size_t size() const noexcept { return Tree::size(root_.get()); }
    bool null() const noexcept { return !root_; }
    bool member(const A& x) const { return Tree::find(root_.get(), x) != nullptr; }
    bool contains(const A& x) const { return member(x); }
    std::optional<A> lookupMin() const { return element(Tree::minNode(root_.get())); }
    std::optional<A> lookupMax() const { return element(Tree::maxNode(root_.get())); }
    std::optional<A> lookupLT(const A& x) const { return element(Tree::lookupLT(root_.get(), x)); }
    std::optional<A> lookupLE(const A& x) const { return element(Tree::lookupLE(root_.get(), x)); }
    std::optional<A> lookupGE(const A& x) const { return element(Tree::lookupGE(root_.get(), x)); }
    std::optional<A> lookupGT(const A& x) const { return element(Tree::lookupGT(root_.get(), x)); }
    // The element at position i in ascending order; raises core::Error when
    // i is not below size().
    const A& elemAt(std::size_t i) const {
        if (i >= size()) raise("Set.elemAt: index out of range");
        return Tree::elemAt(root_.get(), i)->kv.first;
    }
    std::optional<std::size_t> findIndex(const A& x) const {
        if (!member(x)) return std::nullopt;
        return Tree::rank(root_.get(), x);
    }

    // ---- updates -----------------------------------------------------------

    // With x; an equal element already there is replaced by x.
    Set insert(const A& x) const {
        auto keep = [](const Unit& u, const Unit&) -> const Unit& { return u; };
        return Set(Tree::insertWith(root_.get(), x, unit, keep));
    }
    // Without x (the same set when x is absent).
    Set erase(const A& x) const { return Set(Tree::erase(root_.get(), x)); }
    Set deleteMin() const { return root_ ? Set(Tree::deleteMin(root_.get())) : *this; }
    Set deleteMax() const { return root_ ? Set(Tree::deleteMax(root_.get())) : *this; }

    // ---- splitting and combining -------------------------------------------

    // The elements below x and those above x.
    std::pair<Set, Set> split(const A& x) const {
        auto s = Tree::split(root_.get(), x);
        return {Set(std::move(s.lt)), Set(std::move(s.gt))};
    }
    // split, with whether x is a member in the middle.
    std::tuple<Set, bool, Set> splitMember(const A& x) const {
        auto s = Tree::split(root_.get(), x);
        return {Set(std::move(s.lt)), s.found != nullptr, Set(std::move(s.gt))};
    }
    // The elements of either set; of equal elements, the one of *this.
    Set union_(const Set& o) const {
        auto keep = [](const Unit& a, const Unit&) -> const Unit& { return a; };
        return Set(Tree::unionWith(root_.get(), o.root_.get(), keep));
    }
    // The elements of *this that are also in o.
    Set intersection(const Set& o) const {
        auto keep = [](const A&, const Unit&, const Unit&) { return unit; };
        return Set(Tree::template intersectionWith<Unit, Unit>(root_.get(), o.root_.get(), keep));
    }
    // The elements of *this that are not in o.
    Set difference(const Set& o) const { return Set(Tree::difference(root_.get(), o.root_.get())); }
    bool isSubsetOf(const Set& o) const {
        if (size() > o.size()) return false;
        for (const A& x : *this)
            if (!o.member(x)) return false;
        return true;
    }
    bool disjoint(const Set& o) const { return intersection(o).null(); }
    template <class P>
    Set filter(P&& p) const {
        auto q = [&p](const A& x, const Unit&) { return static_cast<bool>(p(x)); };
        return Set(Tree::filter(root_.get(), q));
    }
    // (elements satisfying p, the others).
    template <class P>
    std::pair<Set, Set> partition(P&& p) const {
        auto q = [&p](const A& x, const Unit&) { return static_cast<bool>(p(x)); };
        auto nq = [&p](const A& x, const Unit&) { return !static_cast<bool>(p(x)); };
        return {Set(Tree::filter(root_.get(), q)), Set(Tree::filter(root_.get(), nq))};
    }
    Set take(std::size_t n) const {
        if (n >= size()) return *this;
        if (n == 0) return Set();
        return Set(Tree::split(root_.get(), Tree::elemAt(root_.get(), n)->kv.first).lt);
    }
    Set drop(std::size_t n) const {
        if (n >= size()) return Set();
        if (n == 0) return *this;
        return Set(Tree::split(root_.get(), Tree::elemAt(root_.get(), n - 1)->kv.first).gt);
    }
    // The set of f(x) for every element x (sorted and deduplicated again).
    template <class F>
    auto map(F&& f) const {
        using B = std::remove_cvref_t<std::invoke_result_t<F&, const A&>>;
        std::vector<B> out;
        out.reserve(size());
        for (const A& x : *this) out.push_back(f(x));
        return Set<B>::fromList(out);
    }

    // ---- conversions and folds --------------------------------------------

    std::vector<A> toAscList() const { return std::vector<A>(begin(), end()); }
    std::vector<A> elems() const { return toAscList(); }
    std::vector<A> toDescList() const { return std::vector<A>(rbegin(), rend()); }
    // Right fold in ascending order: f(x, rest), rest the fold of the greater
    // elements as a core::Lazy<B>; a function that does not force it stops
    // the fold there.
    template <class F, class B>
    B foldr(F&& f, Lazy<B> z) const {
        if (!root_) return z.force();
        return detail::lazyFoldr<B>(std::decay_t<F>(std::forward<F>(f)), std::move(z), detail::SetCursor<A>{root_, 0})
            .force();
    }
    // Strict left fold in ascending order, a loop: acc = f(acc, x).
    template <class F, class B>
    B foldl(F&& f, B z) const {
        auto step = [&f, &z](const Node* n) { z = f(std::move(z), n->kv.first); };
        Tree::forEach(root_.get(), step);
        return z;
    }
    // Strict right fold from the greatest element down: acc = f(x, acc).
    template <class F, class B>
    B foldrStrict(F&& f, B z) const {
        auto step = [&f, &z](const Node* n) { z = f(n->kv.first, std::move(z)); };
        Tree::forEachDesc(root_.get(), step);
        return z;
    }

    // ---- iteration ---------------------------------------------------------

    const_iterator begin() const {
        const_iterator it(root_.get());
        it.path_.toMin();
        return it;
    }
    const_iterator end() const { return const_iterator(root_.get()); }
    reverse_iterator rbegin() const { return reverse_iterator(end()); }
    reverse_iterator rend() const { return reverse_iterator(begin()); }
    // The first element not below x.
    const_iterator lowerBound(const A& x) const {
        const_iterator it(root_.get());
        it.path_.toLowerBound(x);
        return it;
    }

    // True when the order, the sizes and the balance hold at every node.
    bool valid() const { return Tree::valid(root_.get()); }
    const Ref& root() const noexcept { return root_; }

    friend bool operator==(const Set& a, const Set& b)
        requires std::equality_comparable<A>
    {
        if (a.size() != b.size()) return false;
        return a.root_.get() == b.root_.get() || std::equal(a.begin(), a.end(), b.begin());
    }
    // Lexicographic order of the ascending element lists.
    friend auto operator<=>(const Set& a, const Set& b)
        requires std::three_way_comparable<A>
    {
        return std::lexicographical_compare_three_way(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    static std::optional<A> element(const Node* n) { return n ? std::optional<A>(n->kv.first) : std::nullopt; }
    static Ref fromVector(std::vector<A> v) {
        bool ascending = true;
        for (std::size_t i = 1; i < v.size() && ascending; ++i) ascending = v[i - 1] < v[i];
        if (!ascending) {
            // Stable, so that of equal elements the last one given is kept.
            std::stable_sort(v.begin(), v.end(), [](const A& a, const A& b) { return a < b; });
            std::size_t out = 0;
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (out > 0 && !(v[out - 1] < v[i])) {
                    v[out - 1] = std::move(v[i]);
                } else {
                    if (out != i) v[out] = std::move(v[i]);
                    ++out;
                }
            }
            v.erase(v.begin() + static_cast<std::ptrdiff_t>(out), v.end());
        }
        return fromDistinctAscList(std::move(v)).root_;
    }

    Ref root_;
};

// Kind tag of core::Set (Foldable only: a set cannot map its elements
// without an order on the results).
struct SetK {
    template <class A>
    using apply = Set<A>;
};
template <class A>
struct KindOf<Set<A>> {
    using kind = SetK;
    using arg = A;
};

template <>
struct Foldable<SetK> : FoldableDefaults<SetK, Foldable<SetK>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const Set<A>& s) {
        return s.foldr(std::forward<F>(f), std::move(z));
    }
    template <class F, class B, class A>
    static B foldlStrict(F&& f, B z, const Set<A>& s) {
        return s.foldl(std::forward<F>(f), std::move(z));
    }
    template <class F, class B, class A>
    static B foldrStrict(F&& f, B z, const Set<A>& s) {
        return s.foldrStrict(std::forward<F>(f), std::move(z));
    }
    template <class A>
    static List<A> toList(const Set<A>& s) {
        return List<A>::fromVector(s.toAscList());
    }
    template <class A>
    static bool null(const Set<A>& s) {
        return s.null();
    }
    template <class A>
    static Int length(const Set<A>& s) {
        return static_cast<Int>(s.size());
    }
    template <class A>
    static bool elem(const A& x, const Set<A>& s) {
        return s.member(x);
    }
};

template <>
struct Eq1<SetK> {
    template <class Eq, class A, class B>
    static bool liftEq(Eq&& eq, const Set<A>& a, const Set<B>& b) {
        return a.size() == b.size() && detail::rangeEq(eq, a.begin(), a.end(), b.begin(), b.end());
    }
};
template <>
struct Ord1<SetK> {
    template <class Cmp, class A, class B>
    static Ordering liftCompare(Cmp&& cmp, const Set<A>& a, const Set<B>& b) {
        return detail::rangeCompare(cmp, a.begin(), a.end(), b.begin(), b.end());
    }
};

template <class A>
struct Semigroup<Set<A>> : SemigroupDefaults<Set<A>, Semigroup<Set<A>>> {
    static Set<A> combine(const Set<A>& a, const Set<A>& b) { return a.union_(b); }
};
template <class A>
struct Monoid<Set<A>> : MonoidDefaults<Set<A>, Monoid<Set<A>>> {
    static Set<A> mempty() { return Set<A>(); }
};

// "fromList [x,...]", parenthesised at precedence 11 and above; the
// elements in their list form (so a set of characters shows a string).
template <>
struct Show1<SetK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL& sl, int d, const Set<A>& s, std::string& out) {
        showParen(d >= 11, out, [&] {
            out += "fromList ";
            sl(s.toAscList(), out);
        });
    }
};
template <class A>
    requires Showable<A>
struct Show<Set<A>> {
    static void showsPrec(int d, const Set<A>& s, std::string& out) {
        Show1<SetK>::liftShowsPrec(ShowsPrecOf<A>{}, ShowListOf<A>{}, d, s, out);
    }
};
template <>
struct Read1<SetK> {
    template <class A>
    static Reader<Set<A>> liftReadPrec(Reader<A>, Reader<std::vector<A>> rl) {
        return readUnaryWith<Set<A>>("fromList", std::move(rl),
                                     [](const std::vector<A>& xs) { return Set<A>::fromList(xs); });
    }
};
template <class A>
    requires Readable<A>
struct Read<Set<A>> {
    static Reader<Set<A>> readPrec() { return Read1<SetK>::liftReadPrec<A>(core::readPrec<A>(), readListPrec<A>()); }
};

template <>
struct Hashable1<SetK> {
    template <class H, class A>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const Set<A>& s) {
        salt = hashInt(salt, static_cast<Int>(s.size()));
        for (const A& x : s) salt = h(salt, x);
        return salt;
    }
};
template <class A>
    requires HashableType<A>
struct Hashable<Set<A>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const Set<A>& s) {
        return Hashable1<SetK>::liftHashWithSalt(detail::hashElement, salt, s);
    }
};

namespace decodeError {
inline constexpr const char* setOrder = "Set elements not strictly ascending";
}
template <BinaryType A>
struct Binary<Set<A>> {
    static void put(Encoder& out, const Set<A>& s) { putList(out, s); }
    static DecodeResult<Set<A>> get(Decoder& in) {
        auto n = in.getCount(encodesToNothing<A>());
        if (!n) return Left(n.error());
        std::vector<A> xs;
        xs.reserve(std::min<std::size_t>(*n, 64));
        for (std::size_t i = 0; i < *n; ++i) {
            auto x = core::get<A>(in);
            if (!x) return Left(x.error());
            if (!xs.empty() && !(xs.back() < *x)) return Left(std::string(decodeError::setOrder));
            xs.push_back(std::move(x).value());
        }
        return Right(Set<A>::fromDistinctAscList(std::move(xs)));
    }
};

}  // namespace core

template <class A>
    requires core::HashableType<core::Set<A>>
struct std::hash<core::Set<A>> {
    std::size_t operator()(const core::Set<A>& s) const { return static_cast<std::size_t>(core::hash(s)); }
};
