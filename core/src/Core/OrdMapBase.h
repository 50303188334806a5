#pragma once
// The operations shared by core::Map<K, V> and core::IntMap<V> (see
// Core/Map.h for the documentation of each). Both are persistent
// weight-balanced trees (Core/WBTree.h); this base holds the root and
// returns results as the derived type `Self`; its kind tag `Fam` names the
// same map over other values (`Fam::apply<B>`) and the type's name for
// messages (`Fam::typeName`).
#include <algorithm>
#include <compare>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <string>
#include <ranges>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Lazy.h"
#include "Core/LazyFold.h"
#include "Core/List.h"
#include "Core/WBTree.h"

namespace core::detail {

// A cursor over a tree by position, for the lazy right folds: it keeps the
// tree alive, since a deferred rest may outlive the call that made it.
template <class K, class V>
struct WBCursor {
    typename WBTree<K, V>::Ref root;
    std::size_t i;
    bool done() const { return i >= WBTree<K, V>::size(root.get()); }
    const std::pair<const K, V>& get() const { return WBTree<K, V>::elemAt(root.get(), i)->kv; }
    WBCursor next() const { return WBCursor{root, i + 1}; }
};

template <class K, class V, class Self, class Fam>
class OrdMapBase {
protected:
    using Tree = WBTree<K, V>;
    using Node = typename Tree::Node;
    using Ref = typename Tree::Ref;

public:
    using key_type = K;
    using mapped_type = V;
    using value_type = std::pair<const K, V>;
    using size_type = std::size_t;
    using difference_type = std::ptrdiff_t;

    // Bidirectional iterator over the entries in ascending key order. It
    // does not keep the map alive: keep the map while iterating.
    class const_iterator {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = std::pair<const K, V>;
        using difference_type = std::ptrdiff_t;
        using reference = const value_type&;
        using pointer = const value_type*;

        const_iterator() = default;
        reference operator*() const { return path_.current()->kv; }
        pointer operator->() const { return &path_.current()->kv; }
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
        friend class OrdMapBase;
        explicit const_iterator(const Node* root) : path_(root) {}
        WBPath<K, V> path_;
    };
    using iterator = const_iterator;
    using reverse_iterator = std::reverse_iterator<const_iterator>;

    // ---- construction ------------------------------------------------------

    // The empty map.
    OrdMapBase() noexcept = default;
    // From (key, value) pairs; of equal keys the last one wins.
    OrdMapBase(std::initializer_list<std::pair<K, V>> xs) : root_(fromPairs(std::vector<std::pair<K, V>>(xs))) {}

    static Self empty() { return Self(); }
    static Self singleton(K k, V v) { return Self(Tree::leaf(std::move(k), std::move(v))); }
    // From any input range of pairs; of equal keys the last one wins.
    // O(n log n), or O(n) when the keys are already ascending.
    template <std::ranges::input_range R>
    static Self fromList(R&& xs) {
        std::vector<std::pair<K, V>> v;
        if constexpr (std::ranges::sized_range<R>) v.reserve(std::ranges::size(xs));
        for (auto&& kv : xs) v.emplace_back(kv.first, kv.second);
        return Self(fromPairs(std::move(v)));
    }
    static Self fromList(std::initializer_list<std::pair<K, V>> xs) {
        return Self(fromPairs(std::vector<std::pair<K, V>>(xs)));
    }
    // From a list of pairs; of equal keys the last one wins.
    static Self fromList(const List<std::pair<K, V>>& xs) { return Self(fromPairs(xs.toVector())); }
    // From pairs whose keys are strictly ascending (not checked): O(n).
    static Self fromDistinctAscList(std::vector<std::pair<K, V>> xs) {
        return Self(Tree::buildAscending(xs, 0, xs.size()));
    }
    // From pairs; f(new, old) combines the values of equal keys, in order.
    template <class F, std::ranges::input_range R>
    static Self fromListWith(F f, R&& xs) {
        Self m;
        for (auto&& kv : xs) m = m.insertWith(f, kv.first, kv.second);
        return m;
    }

    // ---- queries -----------------------------------------------------------

    // The number of entries, O(1).
    std::size_t size() const noexcept { return Tree::size(root_.get()); }
    // True for the empty map.
    bool null() const noexcept { return !root_; }
    // The value at k.
    std::optional<V> lookup(const K& k) const {
        const Node* n = Tree::find(root_.get(), k);
        return n ? std::optional<V>(n->kv.second) : std::nullopt;
    }
    // A pointer to the value at k (null when absent), valid while the map is.
    const V* find(const K& k) const {
        const Node* n = Tree::find(root_.get(), k);
        return n ? &n->kv.second : nullptr;
    }
    // The value at k, or def when absent.
    V findWithDefault(const V& def, const K& k) const {
        const Node* n = Tree::find(root_.get(), k);
        return n ? n->kv.second : def;
    }
    bool member(const K& k) const { return Tree::find(root_.get(), k) != nullptr; }
    bool contains(const K& k) const { return member(k); }
    // The value at k; raises core::Error when k is absent.
    const V& at(const K& k) const {
        const Node* n = Tree::find(root_.get(), k);
        if (!n) raise(std::string(Fam::typeName) + ".at: key is not an element of the map");
        return n->kv.second;
    }
    // The entries with the smallest and the largest key.
    std::optional<value_type> lookupMin() const { return entry(Tree::minNode(root_.get())); }
    std::optional<value_type> lookupMax() const { return entry(Tree::maxNode(root_.get())); }
    // The entry with the greatest key below k, at most k, the least key
    // at least k, above k.
    std::optional<value_type> lookupLT(const K& k) const { return entry(Tree::lookupLT(root_.get(), k)); }
    std::optional<value_type> lookupLE(const K& k) const { return entry(Tree::lookupLE(root_.get(), k)); }
    std::optional<value_type> lookupGE(const K& k) const { return entry(Tree::lookupGE(root_.get(), k)); }
    std::optional<value_type> lookupGT(const K& k) const { return entry(Tree::lookupGT(root_.get(), k)); }
    // The entry at position i in key order; raises core::Error when i is
    // not below size().
    const value_type& elemAt(std::size_t i) const {
        if (i >= size()) raise(std::string(Fam::typeName) + ".elemAt: index out of range");
        return Tree::elemAt(root_.get(), i)->kv;
    }
    // The position of k in key order, if present.
    std::optional<std::size_t> lookupIndex(const K& k) const {
        if (!member(k)) return std::nullopt;
        return Tree::rank(root_.get(), k);
    }

    // ---- updates (each returns a new map sharing the untouched nodes) -----

    // k mapped to v (replacing any value at k).
    Self insert(const K& k, const V& v) const {
        auto keepNew = [](const V& n, const V&) -> const V& { return n; };
        return Self(Tree::insertWith(root_.get(), k, v, keepNew));
    }
    // k mapped to v, or to f(v, old) when k is present.
    template <class F>
    Self insertWith(F&& f, const K& k, const V& v) const {
        auto combine = [&f](const V& n, const V& o) -> V { return f(n, o); };
        return Self(Tree::insertWith(root_.get(), k, v, combine));
    }
    // k mapped to v, or to f(k, v, old) when k is present.
    template <class F>
    Self insertWithKey(F&& f, const K& k, const V& v) const {
        auto combine = [&f, &k](const V& n, const V& o) -> V { return f(k, n, o); };
        return Self(Tree::insertWith(root_.get(), k, v, combine));
    }
    // Without k (the same map when k is absent).
    Self erase(const K& k) const { return Self(Tree::erase(root_.get(), k)); }
    // The value at k replaced by f(value); the same map when k is absent.
    template <class F>
    Self adjust(F&& f, const K& k) const {
        if (!Tree::find(root_.get(), k)) return self();
        auto g = [&f](const K&, const V& v) -> V { return f(v); };
        return Self(Tree::adjustFound(root_.get(), k, g));
    }
    template <class F>
    Self adjustWithKey(F&& f, const K& k) const {
        if (!Tree::find(root_.get(), k)) return self();
        auto g = [&f](const K& key, const V& v) -> V { return f(key, v); };
        return Self(Tree::adjustFound(root_.get(), k, g));
    }
    // f(optional value at k) decides: a value is stored at k, nullopt
    // removes k.
    template <class F>
    Self alter(F&& f, const K& k) const {
        const Node* n = Tree::find(root_.get(), k);
        std::optional<V> r = f(n ? std::optional<V>(n->kv.second) : std::optional<V>());
        if (r) return insert(k, *r);
        return n ? erase(k) : self();
    }
    // f(value at k) decides: a value replaces it, nullopt removes k.
    template <class F>
    Self update(F&& f, const K& k) const {
        const Node* n = Tree::find(root_.get(), k);
        if (!n) return self();
        std::optional<V> r = f(n->kv.second);
        return r ? insert(k, *r) : erase(k);
    }
    // Without the smallest (largest) key; the empty map stays empty.
    Self deleteMin() const { return root_ ? Self(Tree::deleteMin(root_.get())) : self(); }
    Self deleteMax() const { return root_ ? Self(Tree::deleteMax(root_.get())) : self(); }

    // ---- splitting and combining -------------------------------------------

    // The entries with keys below k and those with keys above k.
    std::pair<Self, Self> split(const K& k) const {
        auto s = Tree::split(root_.get(), k);
        return {Self(std::move(s.lt)), Self(std::move(s.gt))};
    }
    // split, with the value at k in the middle.
    std::tuple<Self, std::optional<V>, Self> splitLookup(const K& k) const {
        auto s = Tree::split(root_.get(), k);
        std::optional<V> v = s.found ? std::optional<V>(s.found->kv.second) : std::nullopt;
        return {Self(std::move(s.lt)), std::move(v), Self(std::move(s.gt))};
    }
    // Left-biased union: on a common key the value of *this is kept.
    Self union_(const Self& other) const {
        auto keepLeft = [](const V& a, const V&) -> const V& { return a; };
        return Self(Tree::unionWith(root_.get(), other.root_.get(), keepLeft));
    }
    // Union; on a common key the value is f(value here, value in other).
    template <class F>
    Self unionWith(F&& f, const Self& other) const {
        auto combine = [&f](const V& a, const V& b) -> V { return f(a, b); };
        return Self(Tree::unionWith(root_.get(), other.root_.get(), combine));
    }
    // The entries whose key is not in other (of any value type).
    template <class W>
    Self difference(const typename Fam::template apply<W>& other) const {
        return Self(Tree::difference(root_.get(), other.root().get()));
    }
    // The entries whose key is in other (values from *this).
    template <class W>
    Self intersection(const typename Fam::template apply<W>& other) const {
        auto first = [](const K&, const V& a, const W&) -> V { return a; };
        return Self(Tree::template intersectionWith<W, V>(root_.get(), other.root().get(), first));
    }
    // The common keys, valued f(value here, value in other).
    template <class F, class W>
    auto intersectionWith(F&& f, const typename Fam::template apply<W>& other) const {
        using X = std::remove_cvref_t<std::invoke_result_t<F&, const V&, const W&>>;
        auto g = [&f](const K&, const V& a, const W& b) -> X { return f(a, b); };
        return typename Fam::template apply<X>(
            Tree::template intersectionWith<W, X>(root_.get(), other.root().get(), g));
    }
    // The common keys, valued f(key, value here, value in other).
    template <class F, class W>
    auto intersectionWithKey(F&& f, const typename Fam::template apply<W>& other) const {
        using X = std::remove_cvref_t<std::invoke_result_t<F&, const K&, const V&, const W&>>;
        return typename Fam::template apply<X>(
            Tree::template intersectionWith<W, X>(root_.get(), other.root().get(), f));
    }
    // True when every key of *this is in other and f(value here, value
    // there) holds for each.
    template <class W, class F>
    bool isSubmapOfBy(F&& f, const typename Fam::template apply<W>& other) const {
        if (size() > other.size()) return false;
        for (const auto& kv : *this) {
            const W* w = other.find(kv.first);
            if (!w || !f(kv.second, *w)) return false;
        }
        return true;
    }
    // The entries satisfying p(key, value).
    template <class P>
    Self filterWithKey(P&& p) const {
        return Self(Tree::filter(root_.get(), p));
    }
    // The entries whose value satisfies p.
    template <class P>
    Self filter(P&& p) const {
        auto q = [&p](const K&, const V& v) { return static_cast<bool>(p(v)); };
        return Self(Tree::filter(root_.get(), q));
    }
    // (entries satisfying p(key, value), the others).
    template <class P>
    std::pair<Self, Self> partitionWithKey(P&& p) const {
        auto q = [&p](const K& k, const V& v) { return static_cast<bool>(p(k, v)); };
        auto nq = [&p](const K& k, const V& v) { return !static_cast<bool>(p(k, v)); };
        return {Self(Tree::filter(root_.get(), q)), Self(Tree::filter(root_.get(), nq))};
    }
    // The first n entries in key order, the rest; dropping them.
    Self take(std::size_t n) const {
        if (n >= size()) return self();
        if (n == 0) return Self();
        return Self(Tree::split(root_.get(), Tree::elemAt(root_.get(), n)->kv.first).lt);
    }
    Self drop(std::size_t n) const {
        if (n >= size()) return Self();
        if (n == 0) return self();
        auto s = Tree::split(root_.get(), Tree::elemAt(root_.get(), n - 1)->kv.first);
        return Self(std::move(s.gt));
    }

    // ---- conversions -------------------------------------------------------

    // The entries in ascending key order.
    std::vector<std::pair<K, V>> toAscList() const {
        std::vector<std::pair<K, V>> out;
        out.reserve(size());
        for (const auto& kv : *this) out.emplace_back(kv.first, kv.second);
        return out;
    }
    std::vector<std::pair<K, V>> toDescList() const {
        std::vector<std::pair<K, V>> out;
        out.reserve(size());
        auto push = [&out](const Node* n) { out.emplace_back(n->kv.first, n->kv.second); };
        Tree::forEachDesc(root_.get(), push);
        return out;
    }
    std::vector<K> keys() const {
        std::vector<K> out;
        out.reserve(size());
        for (const auto& kv : *this) out.push_back(kv.first);
        return out;
    }
    std::vector<V> elems() const {
        std::vector<V> out;
        out.reserve(size());
        for (const auto& kv : *this) out.push_back(kv.second);
        return out;
    }

    // ---- keyed maps, folds and traversal ------------------------------------

    // The same keys, valued f(key, value).
    template <class F>
    auto mapWithKey(F&& f) const {
        using X = std::remove_cvref_t<std::invoke_result_t<F&, const K&, const V&>>;
        return typename Fam::template apply<X>(Tree::template mapWithKey<X>(root_.get(), f));
    }
    // The same keys, valued f(value).
    template <class F>
    auto map(F&& f) const {
        using X = std::remove_cvref_t<std::invoke_result_t<F&, const V&>>;
        auto g = [&f](const K&, const V& v) -> X { return f(v); };
        return typename Fam::template apply<X>(Tree::template mapWithKey<X>(root_.get(), g));
    }
    // Right fold in ascending key order: f(key, value, rest) where rest is
    // the fold of the greater keys as a core::Lazy<B>; a function that does
    // not force it stops the fold there. z is a B or a Lazy<B>.
    template <class F, class Z>
    auto foldrWithKey(F&& f, Z&& z) const {
        auto lz = asLazyStart(std::forward<Z>(z));
        using B = typename decltype(lz)::value_type;
        if (!root_) return B(lz.force());
        auto g = [f = std::decay_t<F>(std::forward<F>(f))](const value_type& kv, const Lazy<B>& rest) -> B {
            return f(kv.first, kv.second, rest);
        };
        return B(lazyFoldr<B>(std::move(g), std::move(lz), WBCursor<K, V>{root_, 0}).force());
    }
    // Strict left fold in ascending key order, a loop: acc = f(acc, key, value).
    template <class F, class B>
    B foldlWithKey(F&& f, B z) const {
        auto step = [&f, &z](const Node* n) { z = f(std::move(z), n->kv.first, n->kv.second); };
        Tree::forEach(root_.get(), step);
        return z;
    }
    // Strict right fold, from the greatest key down: acc = f(key, value, acc).
    template <class F, class B>
    B foldrWithKeyStrict(F&& f, B z) const {
        auto step = [&f, &z](const Node* n) { z = f(n->kv.first, n->kv.second, std::move(z)); };
        Tree::forEachDesc(root_.get(), step);
        return z;
    }
    // f(key, value) for every entry, in ascending key order.
    template <class F>
    void forEachWithKey(F&& f) const {
        auto step = [&f](const Node* n) { f(n->kv.first, n->kv.second); };
        Tree::forEach(root_.get(), step);
    }
    // f(key, value) combined in their monoid, in ascending key order
    // (see core::foldMapWithKey in Core/Map.h).

    // The tree's internals, for the containers and their interfaces.
    const Ref& root() const noexcept { return root_; }
    explicit OrdMapBase(Ref r) noexcept : root_(std::move(r)) {}
    // True when the order, the sizes and the balance hold at every node.
    bool valid() const { return Tree::valid(root_.get()); }

    // ---- iteration ---------------------------------------------------------

    const_iterator begin() const {
        const_iterator it(root_.get());
        it.path_.toMin();
        return it;
    }
    const_iterator end() const { return const_iterator(root_.get()); }
    reverse_iterator rbegin() const { return reverse_iterator(end()); }
    reverse_iterator rend() const { return reverse_iterator(begin()); }
    // The first entry whose key is not below k.
    const_iterator lowerBound(const K& k) const {
        const_iterator it(root_.get());
        it.path_.toLowerBound(k);
        return it;
    }

    // ---- comparison --------------------------------------------------------

    // Equal when they hold the same keys with equal values.
    friend bool operator==(const Self& a, const Self& b)
        requires std::equality_comparable<K> && std::equality_comparable<V>
    {
        if (a.size() != b.size()) return false;
        if (a.root_.get() == b.root_.get()) return true;
        auto i = a.begin();
        for (const auto& kv : b) {
            if (!(i->first == kv.first) || !(i->second == kv.second)) return false;
            ++i;
        }
        return true;
    }
    // Lexicographic order of the ascending entry lists.
    friend auto operator<=>(const Self& a, const Self& b)
        requires std::three_way_comparable<K> && std::three_way_comparable<V>
    {
        return std::lexicographical_compare_three_way(a.begin(), a.end(), b.begin(), b.end());
    }

private:
    Self self() const { return Self(root_); }
    static std::optional<value_type> entry(const Node* n) {
        return n ? std::optional<value_type>(n->kv) : std::nullopt;
    }
    template <class T>
    struct IsLazy : std::false_type {};
    template <class T>
    struct IsLazy<Lazy<T>> : std::true_type {};
    template <class Z>
    static auto asLazyStart(Z&& z) {
        if constexpr (IsLazy<std::remove_cvref_t<Z>>::value)
            return std::remove_cvref_t<Z>(std::forward<Z>(z));
        else
            return now(std::forward<Z>(z));
    }
    // Sorted by key (stable, so the last of equal keys can be kept), then
    // built balanced in O(n).
    static Ref fromPairs(std::vector<std::pair<K, V>> v) {
        bool ascending = true;
        for (std::size_t i = 1; i < v.size() && ascending; ++i) ascending = v[i - 1].first < v[i].first;
        if (!ascending) {
            std::stable_sort(v.begin(), v.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
            std::size_t out = 0;
            for (std::size_t i = 0; i < v.size(); ++i) {
                if (out > 0 && !(v[out - 1].first < v[i].first)) {
                    v[out - 1] = std::move(v[i]);  // equal key: the later one wins
                } else {
                    if (out != i) v[out] = std::move(v[i]);
                    ++out;
                }
            }
            v.erase(v.begin() + static_cast<std::ptrdiff_t>(out), v.end());
        }
        return Tree::buildAscending(v, 0, v.size());
    }

    Ref root_;
};

}  // namespace core::detail
