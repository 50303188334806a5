#pragma once
// these::These<A, B>: the inclusive-or of two types. A value holds a left
// value (This), a right value (That), or both (These), in that order: the
// alternatives' indices 0, 1 and 2 decide comparison, the byte tag and the
// hash.
//
//   these::These<int, char> a = these::This(1);   // only a left value
//   these::These<int, char> b = these::That('x'); // only a right value
//   auto c = these::These(1, 'x');                // both; types deduced
//
// Fields are stored without being evaluated: each is a core::LazyField,
// either a plain value or a core::Lazy computed on first demand. The maps
// of this library never run the caller's function while building their
// result, and an alternative they do not touch is returned as the very
// input value (its fields are shared, not recomputed).
//
// Also here: the eliminator `these`, `fromThese`, `mergeThese`,
// `mergeTheseWith`, the partitions (which produce their lists on demand,
// so they work on unbounded lists) and the distributions over pairs.
#include <compare>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>

#include "Core/Either.h"
#include "Core/Error.h"
#include "Core/Lazy.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/Types.h"

namespace these {

using core::Lazy;
using core::LazyField;

// The deduced one-sided halves: This(a) and That(b) convert to any These
// whose side matches.
template <class A>
struct ThisOf {
    LazyField<A> left;
};
template <class B>
struct ThatOf {
    LazyField<B> right;
};
template <class A>
ThisOf<std::decay_t<A>> This(A&& a) {
    return {LazyField<std::decay_t<A>>(std::forward<A>(a))};
}
template <class A>
ThisOf<A> This(Lazy<A> a) {
    return {LazyField<A>(std::move(a))};
}
template <class B>
ThatOf<std::decay_t<B>> That(B&& b) {
    return {LazyField<std::decay_t<B>>(std::forward<B>(b))};
}
template <class B>
ThatOf<B> That(Lazy<B> b) {
    return {LazyField<B>(std::move(b))};
}

template <class A, class B>
class These {
public:
    using left_type = A;
    using right_type = B;
    // Alternative indices.
    static constexpr int ThisIndex = 0, ThatIndex = 1, TheseIndex = 2;

    // Both values (the third alternative). With class template argument
    // deduction, `these::These(a, b)` needs no type names.
    These(LazyField<A> a, LazyField<B> b) : v_(std::in_place_index<2>, std::move(a), std::move(b)) {}
    template <class X>
        requires std::is_convertible_v<X, LazyField<A>>
    These(ThisOf<X> t) : v_(std::in_place_index<0>, LazyField<A>(convertField<A>(std::move(t.left)))) {}
    template <class Y>
        requires std::is_convertible_v<Y, LazyField<B>>
    These(ThatOf<Y> t) : v_(std::in_place_index<1>, LazyField<B>(convertField<B>(std::move(t.right)))) {}

    static These makeThis(LazyField<A> a) { return These(std::in_place_index<0>, std::move(a)); }
    static These makeThat(LazyField<B> b) { return These(std::in_place_index<1>, std::move(b)); }
    static These makeThese(LazyField<A> a, LazyField<B> b) { return These(std::move(a), std::move(b)); }

    // 0 for This, 1 for That, 2 for These.
    int index() const noexcept { return static_cast<int>(v_.index()); }
    bool isThis() const noexcept { return v_.index() == 0; }
    bool isThat() const noexcept { return v_.index() == 1; }
    bool isThese() const noexcept { return v_.index() == 2; }
    bool hasLeft() const noexcept { return v_.index() != 1; }
    bool hasRight() const noexcept { return v_.index() != 0; }

    // The fields, unevaluated; precondition hasLeft() / hasRight(), else
    // core::Error.
    const LazyField<A>& leftField() const {
        if (v_.index() == 0) return std::get<0>(v_);
        if (v_.index() == 2) return std::get<2>(v_).first;
        core::raise("These: no left value in a That");
    }
    const LazyField<B>& rightField() const {
        if (v_.index() == 1) return std::get<1>(v_);
        if (v_.index() == 2) return std::get<2>(v_).second;
        core::raise("These: no right value in a This");
    }
    // The values, evaluated on demand.
    const A& left() const { return leftField().force(); }
    const B& right() const { return rightField().force(); }

    // Case analysis on the unevaluated fields: onThis(LazyField<A>),
    // onThat(LazyField<B>), onThese(LazyField<A>, LazyField<B>).
    template <class F, class G, class H>
    decltype(auto) matchFields(F&& onThis, G&& onThat, H&& onThese) const {
        switch (v_.index()) {
            case 0: return std::forward<F>(onThis)(std::get<0>(v_));
            case 1: return std::forward<G>(onThat)(std::get<1>(v_));
            default: return std::forward<H>(onThese)(std::get<2>(v_).first, std::get<2>(v_).second);
        }
    }
    // Case analysis on the values.
    template <class F, class G, class H>
    decltype(auto) match(F&& onThis, G&& onThat, H&& onThese) const {
        switch (v_.index()) {
            case 0: return std::forward<F>(onThis)(std::get<0>(v_).force());
            case 1: return std::forward<G>(onThat)(std::get<1>(v_).force());
            default: return std::forward<H>(onThese)(std::get<2>(v_).first.force(), std::get<2>(v_).second.force());
        }
    }

    // Same alternative and pairwise equal fields; the right values are
    // compared only when the left ones are equal.
    friend bool operator==(const These& x, const These& y) {
        if (x.index() != y.index()) return false;
        if (x.hasLeft() && !(x.left() == y.left())) return false;
        return !x.hasRight() || x.right() == y.right();
    }
    // Lexicographic on (index, left, right).
    friend auto operator<=>(const These& x, const These& y)
        requires std::three_way_comparable<A> && std::three_way_comparable<B>
    {
        using R = std::common_comparison_category_t<std::compare_three_way_result_t<A>,
                                                    std::compare_three_way_result_t<B>>;
        if (x.index() != y.index()) return static_cast<R>(x.index() <=> y.index());
        if (x.hasLeft())
            if (auto c = x.left() <=> y.left(); c != 0) return static_cast<R>(c);
        if (x.hasRight()) return static_cast<R>(x.right() <=> y.right());
        return R::equivalent;
    }

private:
    template <class T, class X>
    static LazyField<T> convertField(LazyField<X>&& f) {
        if constexpr (std::is_same_v<T, X>)
            return std::move(f);
        else
            return LazyField<T>(T(f.force()));
    }
    template <std::size_t I, class... Args>
    These(std::in_place_index_t<I> i, Args&&... args) : v_(i, std::forward<Args>(args)...) {}

    std::variant<LazyField<A>, LazyField<B>, std::pair<LazyField<A>, LazyField<B>>> v_;
};

template <class A, class B>
These(A, B) -> These<A, B>;
template <class A, class B>
These(Lazy<A>, Lazy<B>) -> These<A, B>;

// --- Elimination ------------------------------------------------------------

// f(a) for This a, g(b) for That b, h(a, b) for These a b.
template <class A, class B, class F, class G, class H>
auto these(F&& f, G&& g, H&& h, const These<A, B>& t) {
    return t.match(std::forward<F>(f), std::forward<G>(g), std::forward<H>(h));
}

// The pair of both values, with a default for a missing side.
template <class A, class B>
std::pair<A, B> fromThese(const A& a0, const B& b0, const These<A, B>& t) {
    return {t.hasLeft() ? t.left() : a0, t.hasRight() ? t.right() : b0};
}

// The one value, or combine(a, b) of both.
template <class A, class F>
A mergeThese(F&& combine, const These<A, A>& t) {
    if (t.isThis()) return t.left();
    if (t.isThat()) return t.right();
    return combine(t.left(), t.right());
}

// f(a), g(b), or combine(f(a), g(b)). The combining function receives the
// two results as core::Lazy<C> values, computed only if it uses them (a
// Lazy converts to its value, so a function taking C also works).
template <class A, class B, class F, class G, class H>
auto mergeTheseWith(F f, G g, H&& combine, const These<A, B>& t) {
    using C = std::decay_t<std::invoke_result_t<F&, const A&>>;
    if (t.isThis()) return C(f(t.left()));
    if (t.isThat()) return C(g(t.right()));
    Lazy<C> x = core::defer([f, a = t.leftField()] { return C(f(a.force())); });
    Lazy<C> y = core::defer([g, b = t.rightField()] { return C(g(b.force())); });
    return C(combine(x, y));
}

// --- Partitions -------------------------------------------------------------

namespace detail {
// The list of f(x) for the elements x of xs where f gives a value, in order,
// produced on demand. Skipping runs of elements is a loop.
template <class R, class T, class F>
core::List<R> mapMaybeList(core::List<T> xs, F f) {
    using L = core::List<R>;
    return L::lazyStep([xs = std::move(xs), f = std::move(f)]() -> typename L::Step {
        const core::List<T>* cur = &xs;
        for (;;) {
            const auto& st = cur->step();
            if (!st) return std::nullopt;
            if (std::optional<R> r = f(st->head)) return typename L::Cons{std::move(*r), mapMaybeList<R>(st->tail, f)};
            cur = &st->tail;
        }
    });
}
}  // namespace detail

// The This values, the That values and the pairs of the These values, each
// list in input order and produced as it is consumed.
template <class A, class B>
std::tuple<core::List<A>, core::List<B>, core::List<std::pair<A, B>>> partitionThese(const core::List<These<A, B>>& xs) {
    using T = These<A, B>;
    return {detail::mapMaybeList<A>(xs, [](const T& t) { return t.isThis() ? std::optional<A>(t.left()) : std::nullopt; }),
            detail::mapMaybeList<B>(xs, [](const T& t) { return t.isThat() ? std::optional<B>(t.right()) : std::nullopt; }),
            detail::mapMaybeList<std::pair<A, B>>(xs, [](const T& t) {
                return t.isThese() ? std::optional<std::pair<A, B>>(std::pair<A, B>(t.left(), t.right())) : std::nullopt;
            })};
}

// Every left value and every right value, each list in input order and
// produced as it is consumed.
template <class A, class B>
std::pair<core::List<A>, core::List<B>> partitionHereThere(const core::List<These<A, B>>& xs) {
    using T = These<A, B>;
    return {detail::mapMaybeList<A>(xs, [](const T& t) { return t.hasLeft() ? std::optional<A>(t.left()) : std::nullopt; }),
            detail::mapMaybeList<B>(xs, [](const T& t) { return t.hasRight() ? std::optional<B>(t.right()) : std::nullopt; })};
}

// This when there is no Right, That when there is no Left, else These; each
// side in input order.
template <class A, class B>
These<core::NonEmpty<A>, core::NonEmpty<B>> partitionEithersNE(const core::NonEmpty<core::Either<A, B>>& xs) {
    std::vector<A> ls;
    std::vector<B> rs;
    for (const auto& e : xs.tail) {
        if (e.isLeft())
            ls.push_back(e.unsafeLeft());
        else
            rs.push_back(e.unsafeRight());
    }
    using R = These<core::NonEmpty<A>, core::NonEmpty<B>>;
    auto lsList = core::List<A>::fromVector(ls);
    auto rsList = core::List<B>::fromVector(rs);
    if (xs.head.isLeft()) {
        core::NonEmpty<A> left(xs.head.unsafeLeft(), lsList);
        if (rs.empty()) return R::makeThis(std::move(left));
        return R::makeThese(std::move(left), core::NonEmpty<B>::fromVector(rs));
    }
    core::NonEmpty<B> right(xs.head.unsafeRight(), rsList);
    if (ls.empty()) return R::makeThat(std::move(right));
    return R::makeThese(core::NonEmpty<A>::fromVector(ls), std::move(right));
}

// --- Distribution over pairs ------------------------------------------------

namespace detail {
template <class P>
auto firstOf(const LazyField<P>& p) {
    using X = typename P::first_type;
    return LazyField<X>(core::defer([p] { return p.force().first; }));
}
template <class P>
auto secondOf(const LazyField<P>& p) {
    using Y = typename P::second_type;
    return LazyField<Y>(core::defer([p] { return p.force().second; }));
}
template <class X, class Y>
LazyField<std::pair<X, Y>> pairOf(const LazyField<X>& x, const LazyField<Y>& y) {
    return LazyField<std::pair<X, Y>>(core::defer([x, y] { return std::pair<X, Y>(x.force(), y.force()); }));
}
}  // namespace detail

// This (a, b) -> (This a, This b); That z -> (That z, That z), both the
// input itself; These (a, b) z -> (These a z, These b z).
template <class A, class B, class C>
std::pair<These<A, C>, These<B, C>> distrThesePair(const These<std::pair<A, B>, C>& t) {
    using L = These<A, C>;
    using R = These<B, C>;
    switch (t.index()) {
        case 0:
            return {L::makeThis(detail::firstOf(t.leftField())), R::makeThis(detail::secondOf(t.leftField()))};
        case 1:
            return {L::makeThat(t.rightField()), R::makeThat(t.rightField())};
        default:
            return {L::makeThese(detail::firstOf(t.leftField()), t.rightField()),
                    R::makeThese(detail::secondOf(t.leftField()), t.rightField())};
    }
}

template <class A, class B, class C>
These<std::pair<A, B>, C> undistrThesePair(const std::pair<These<A, C>, These<B, C>>& p) {
    using R = These<std::pair<A, B>, C>;
    const auto& [x, y] = p;
    if (x.isThat()) return R::makeThat(x.rightField());
    if (y.isThat()) return R::makeThat(x.isThese() ? x.rightField() : y.rightField());
    auto ab = detail::pairOf(x.leftField(), y.leftField());
    if (x.isThis() && y.isThis()) return R::makeThis(std::move(ab));
    return R::makeThese(std::move(ab), x.isThese() ? x.rightField() : y.rightField());
}

template <class A, class B, class C>
These<std::pair<A, C>, std::pair<B, C>> distrPairThese(const std::pair<These<A, B>, C>& p) {
    using R = These<std::pair<A, C>, std::pair<B, C>>;
    const auto& [t, z] = p;
    LazyField<C> zf(z);
    switch (t.index()) {
        case 0: return R::makeThis(detail::pairOf(t.leftField(), zf));
        case 1: return R::makeThat(detail::pairOf(t.rightField(), zf));
        default: return R::makeThese(detail::pairOf(t.leftField(), zf), detail::pairOf(t.rightField(), zf));
    }
}

template <class A, class B, class C>
std::pair<These<A, B>, C> undistrPairThese(const These<std::pair<A, C>, std::pair<B, C>>& t) {
    using R = These<A, B>;
    switch (t.index()) {
        case 0: return {R::makeThis(detail::firstOf(t.leftField())), t.left().second};
        case 1: return {R::makeThat(detail::firstOf(t.rightField())), t.right().second};
        default:
            return {R::makeThese(detail::firstOf(t.leftField()), detail::firstOf(t.rightField())), t.left().second};
    }
}

}  // namespace these
