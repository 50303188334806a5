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
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <variant>

#include "Core/Applicative.h"
#include "Core/Assoc.h"
#include "Core/Bifunctor.h"
#include "Core/Binary.h"
#include "Core/Classes.h"
#include "Core/Either.h"
#include "Core/Error.h"
#include "Core/Foldable.h"
#include "Core/Functor.h"
#include "Core/Hashable.h"
#include "Core/Hashable1.h"
#include "Core/Monad.h"
#include "Core/Read.h"
#include "Core/Semigroup.h"
#include "Core/Show.h"
#include "Core/Traversable.h"
#include "Core/Lazy.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/Types.h"

namespace these {

using core::Lazy;
using core::LazyField;

namespace detail {
// The type a field deduces from an argument: the value type of a deferred
// value or field, std::string for string literals and character pointers
// (a These of pointers into temporary storage is a trap), else the decayed
// type.
template <class X>
struct FieldTypeOf {
    using type = std::decay_t<X>;
};
template <class T>
struct FieldTypeOf<Lazy<T>> {
    using type = T;
};
template <class T>
struct FieldTypeOf<LazyField<T>> {
    using type = T;
};
template <>
struct FieldTypeOf<const char*> {
    using type = std::string;
};
template <>
struct FieldTypeOf<char*> {
    using type = std::string;
};
template <class X>
using FieldType = typename FieldTypeOf<std::decay_t<X>>::type;

// An argument that can initialise a field of type T: the field itself, a
// deferred T, or anything T is constructible from.
template <class X, class T>
concept FieldInit = std::is_same_v<std::remove_cvref_t<X>, LazyField<T>> ||
                    std::is_same_v<std::remove_cvref_t<X>, Lazy<T>> || std::is_constructible_v<T, X>;

template <class T, class X>
LazyField<T> makeField(X&& x) {
    using D = std::remove_cvref_t<X>;
    if constexpr (std::is_same_v<D, LazyField<T>> || std::is_same_v<D, Lazy<T>>)
        return LazyField<T>(std::forward<X>(x));
    else
        return LazyField<T>(T(std::forward<X>(x)));
}

// A field of type T from a field of type X: shared when the types agree,
// converted at once when the value is already there, else converted when
// first demanded (building never evaluates).
template <class T, class X>
LazyField<T> convertField(LazyField<X> f) {
    if constexpr (std::is_same_v<T, X>)
        return f;
    else if (f.evaluated())
        return LazyField<T>(T(f.force()));
    else
        return LazyField<T>(core::defer([f = std::move(f)] { return T(f.force()); }));
}

// The storage of one side of a These: a small trivially copyable value in
// place, or a shared deferred value. Which of the two is held is recorded
// by the enclosing These, so a These<int, int> is three words.
template <class T>
inline constexpr bool slotInline = std::is_trivially_copyable_v<T> && sizeof(T) <= 16;

// The bytes start zeroed, so that copying an unused side is well defined.
template <class T, bool = slotInline<T>>
union Slot {
    Slot() noexcept : raw{} {}
    ~Slot() {}
    unsigned char raw[sizeof(T) > sizeof(Lazy<T>) ? sizeof(T) : sizeof(Lazy<T>)];
    T value;
    Lazy<T> deferred;
};
template <class T>
union Slot<T, false> {
    Slot() noexcept : raw{} {}
    ~Slot() {}
    unsigned char raw[sizeof(Lazy<T>)];
    Lazy<T> deferred;
};
}  // namespace detail

// The deduced one-sided halves: This(a) and That(b) convert to any These
// whose side matches. A deferred argument stays deferred; string literals
// are held as std::string.
template <class A>
struct ThisOf {
    LazyField<A> left;
};
template <class B>
struct ThatOf {
    LazyField<B> right;
};
template <class A>
ThisOf<detail::FieldType<A>> This(A&& a) {
    return {detail::makeField<detail::FieldType<A>>(std::forward<A>(a))};
}
template <class B>
ThatOf<detail::FieldType<B>> That(B&& b) {
    return {detail::makeField<detail::FieldType<B>>(std::forward<B>(b))};
}

template <class A, class B>
class These {
public:
    using left_type = A;
    using right_type = B;
    // Alternative indices.
    static constexpr int ThisIndex = 0, ThatIndex = 1, TheseIndex = 2;

    // Both values (the third alternative). Each argument is a value, a
    // core::Lazy or a core::LazyField of the side's type; deferred ones stay
    // unevaluated. With class template argument deduction,
    // `these::These(a, b)` needs no type names: a deferred argument gives
    // its value type, and a string literal std::string.
    template <class X, class Y>
        requires detail::FieldInit<X, A> && detail::FieldInit<Y, B>
    These(X&& a, Y&& b) : tag_(2) {
        setLeft(detail::makeField<A>(std::forward<X>(a)));
        setRight(detail::makeField<B>(std::forward<Y>(b)));
    }
    // One side, converted to this side's type without being evaluated.
    template <class X>
        requires std::is_constructible_v<A, const X&>
    These(ThisOf<X> t) : tag_(0) {
        setLeft(detail::convertField<A>(std::move(t.left)));
    }
    template <class Y>
        requires std::is_constructible_v<B, const Y&>
    These(ThatOf<Y> t) : tag_(1) {
        setRight(detail::convertField<B>(std::move(t.right)));
    }

    // A deferred value moves in without touching its reference count.
    static These makeThis(Lazy<A> a) {
        These t(0);
        t.moveLeft(std::move(a));
        return t;
    }
    static These makeThat(Lazy<B> b) {
        These t(1);
        t.moveRight(std::move(b));
        return t;
    }
    static These makeThese(Lazy<A> a, Lazy<B> b) {
        These t(2);
        t.moveLeft(std::move(a));
        t.moveRight(std::move(b));
        return t;
    }
    static These makeThese(Lazy<A> a, LazyField<B> b) {
        These t(2);
        t.moveLeft(std::move(a));
        t.setRight(std::move(b));
        return t;
    }
    static These makeThese(LazyField<A> a, Lazy<B> b) {
        These t(2);
        t.setLeft(std::move(a));
        t.moveRight(std::move(b));
        return t;
    }
    static These makeThis(LazyField<A> a) {
        These t(0);
        t.setLeft(std::move(a));
        return t;
    }
    static These makeThat(LazyField<B> b) {
        These t(1);
        t.setRight(std::move(b));
        return t;
    }
    static These makeThese(LazyField<A> a, LazyField<B> b) {
        These t(2);
        t.setLeft(std::move(a));
        t.setRight(std::move(b));
        return t;
    }

    These(const These& o) : tag_(o.tag_), deferred_(o.deferred_) {
        if (hasLeft()) copySlot(l_, o.l_, deferred_ & LeftDeferred);
        if (hasRight()) copySlot(r_, o.r_, deferred_ & RightDeferred);
    }
    These(These&& o) noexcept : tag_(o.tag_), deferred_(o.deferred_) {
        if (hasLeft()) moveSlot(l_, o.l_, deferred_ & LeftDeferred);
        if (hasRight()) moveSlot(r_, o.r_, deferred_ & RightDeferred);
    }
    These& operator=(const These& o) {
        if (this != &o) {
            These tmp(o);
            *this = std::move(tmp);
        }
        return *this;
    }
    These& operator=(These&& o) noexcept {
        if (this != &o) {
            destroy();
            tag_ = o.tag_;
            deferred_ = o.deferred_;
            if (hasLeft()) moveSlot(l_, o.l_, deferred_ & LeftDeferred);
            if (hasRight()) moveSlot(r_, o.r_, deferred_ & RightDeferred);
        }
        return *this;
    }
    ~These() { destroy(); }

    // 0 for This, 1 for That, 2 for These.
    int index() const noexcept { return tag_; }
    bool isThis() const noexcept { return tag_ == 0; }
    bool isThat() const noexcept { return tag_ == 1; }
    bool isThese() const noexcept { return tag_ == 2; }
    bool hasLeft() const noexcept { return tag_ != 1; }
    bool hasRight() const noexcept { return tag_ != 0; }

    // The fields, unevaluated (a deferred field is shared, not copied);
    // precondition hasLeft() / hasRight(), else core::Error.
    LazyField<A> leftField() const {
        if (!hasLeft()) core::raise("These: no left value in a That");
        return fieldOf(l_, deferred_ & LeftDeferred);
    }
    LazyField<B> rightField() const {
        if (!hasRight()) core::raise("These: no right value in a This");
        return fieldOf(r_, deferred_ & RightDeferred);
    }
    // The values, evaluated on demand.
    const A& left() const {
        if (!hasLeft()) core::raise("These: no left value in a That");
        return valueOf(l_, deferred_ & LeftDeferred);
    }
    const B& right() const {
        if (!hasRight()) core::raise("These: no right value in a This");
        return valueOf(r_, deferred_ & RightDeferred);
    }

    // Case analysis on the unevaluated fields: onThis(LazyField<A>),
    // onThat(LazyField<B>), onThese(LazyField<A>, LazyField<B>).
    template <class F, class G, class H>
    decltype(auto) matchFields(F&& onThis, G&& onThat, H&& onThese) const {
        switch (tag_) {
            case 0: return std::forward<F>(onThis)(leftField());
            case 1: return std::forward<G>(onThat)(rightField());
            default: return std::forward<H>(onThese)(leftField(), rightField());
        }
    }
    // Case analysis on the values.
    template <class F, class G, class H>
    decltype(auto) match(F&& onThis, G&& onThat, H&& onThese) const {
        switch (tag_) {
            case 0: return std::forward<F>(onThis)(left());
            case 1: return std::forward<G>(onThat)(right());
            default: return std::forward<H>(onThese)(left(), right());
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
    static constexpr std::uint8_t LeftDeferred = 1, RightDeferred = 2;

    explicit These(std::uint8_t tag) noexcept : tag_(tag) {}

    void moveLeft(Lazy<A>&& l) noexcept {
        ::new (static_cast<void*>(&l_.deferred)) Lazy<A>(std::move(l));
        deferred_ |= LeftDeferred;
    }
    void moveRight(Lazy<B>&& l) noexcept {
        ::new (static_cast<void*>(&r_.deferred)) Lazy<B>(std::move(l));
        deferred_ |= RightDeferred;
    }
    void setLeft(LazyField<A> f) { deferred_ |= setSlot(l_, std::move(f)) ? LeftDeferred : 0; }
    void setRight(LazyField<B> f) { deferred_ |= setSlot(r_, std::move(f)) ? RightDeferred : 0; }

    // Stores f in s; true when it is held deferred.
    template <class T>
    static bool setSlot(detail::Slot<T>& s, LazyField<T>&& f) {
        if constexpr (detail::slotInline<T>) {
            if (const Lazy<T>* l = f.lazy()) {
                ::new (static_cast<void*>(&s.deferred)) Lazy<T>(*l);
                return true;
            }
            ::new (static_cast<void*>(&s.value)) T(f.force());  // held in place: nothing to evaluate
            return false;
        } else {
            ::new (static_cast<void*>(&s.deferred)) Lazy<T>(*f.lazy());
            return true;
        }
    }
    template <class T>
    static void copySlot(detail::Slot<T>& s, const detail::Slot<T>& o, bool deferred) {
        if constexpr (detail::slotInline<T>)
            if (!deferred) {
                ::new (static_cast<void*>(&s.value)) T(o.value);
                return;
            }
        ::new (static_cast<void*>(&s.deferred)) Lazy<T>(o.deferred);
    }
    template <class T>
    static void moveSlot(detail::Slot<T>& s, detail::Slot<T>& o, bool deferred) noexcept {
        if constexpr (detail::slotInline<T>)
            if (!deferred) {
                ::new (static_cast<void*>(&s.value)) T(o.value);
                return;
            }
        ::new (static_cast<void*>(&s.deferred)) Lazy<T>(std::move(o.deferred));
    }
    template <class T>
    static void destroySlot(detail::Slot<T>& s, bool deferred) noexcept {
        if (deferred) s.deferred.~Lazy<T>();
    }
    template <class T>
    static LazyField<T> fieldOf(const detail::Slot<T>& s, bool deferred) {
        if constexpr (detail::slotInline<T>)
            if (!deferred) return LazyField<T>(s.value);
        return LazyField<T>(s.deferred);
    }
    template <class T>
    static const T& valueOf(const detail::Slot<T>& s, bool deferred) {
        if constexpr (detail::slotInline<T>)
            if (!deferred) return s.value;
        return s.deferred.force();
    }
    void destroy() noexcept {
        if (hasLeft()) destroySlot(l_, deferred_ & LeftDeferred);
        if (hasRight()) destroySlot(r_, deferred_ & RightDeferred);
        deferred_ = 0;
    }

    detail::Slot<A> l_;
    detail::Slot<B> r_;
    std::uint8_t tag_;
    std::uint8_t deferred_ = 0;
};

template <class X, class Y>
These(X&&, Y&&) -> These<detail::FieldType<X>, detail::FieldType<Y>>;

// The kind tags: These<A, _> as a container of right values (TheseK<A>),
// and These as a two-parameter type (TheseK2).
template <class A>
struct TheseK {
    template <class B>
    using apply = These<A, B>;
};
struct TheseK2 {
    template <class A, class B>
    using apply = These<A, B>;
};

namespace detail {
// A deferred f(a), computed when first demanded. The deferred value
// captures what the field holds, a deferred value or a small value held in
// place, rather than the field itself: a smaller deferred state, and no
// test of which of the two it is when it runs.
template <class F, class A>
auto mapField(F f, LazyField<A> a) {
    using C = std::decay_t<std::invoke_result_t<F&, const A&>>;
    if (const Lazy<A>* l = a.lazy())
        return core::defer([f = std::move(f), l = *l] { return C(f(l.force())); });
    if constexpr (std::is_copy_constructible_v<A>)
        return core::defer([f = std::move(f), x = a.force()] { return C(f(x)); });
    else
        return core::defer([f = std::move(f), a = std::move(a)] { return C(f(a.force())); });
}
// A field holding a <> b, computed when first demanded.
template <class A>
LazyField<A> combineField(const LazyField<A>& a, const LazyField<A>& b) {
    return LazyField<A>(core::defer([a, b] { return core::Semigroup<A>::combine(a.force(), b.force()); }));
}
}  // namespace detail

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
    // Runs once, so f moves on to the next cell instead of being copied.
    return L::lazyStep([xs = std::move(xs), f = std::move(f)]() mutable -> typename L::Step {
        const core::List<T>* cur = &xs;
        for (;;) {
            const auto& st = cur->step();
            if (!st) return std::nullopt;
            if (std::optional<R> r = f(st->head))
                return typename L::Cons{std::move(*r), mapMaybeList<R>(st->tail, std::move(f))};
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

// --- Implementations of the generic interfaces ------------------------------------
//
// The one-parameter interfaces see These<A, B> as a container of its right
// value (a This holds none); the two-parameter ones see both, left first.

namespace core {

template <class A, class B>
struct KindOf<these::These<A, B>> {
    using kind = these::TheseK<A>;
    using arg = B;
};
template <class A, class B>
struct KindOf2<these::These<A, B>> {
    using kind = these::TheseK2;
    using first = A;
    using second = B;
};

template <>
struct Bifunctor<these::TheseK2> : BifunctorDefaults<these::TheseK2, Bifunctor<these::TheseK2>> {
    // Both maps deferred: building the result runs neither function.
    template <class F, class G, class A, class B>
    static auto bimap(F f, G g, const these::These<A, B>& t) {
        using R = these::These<Result<F&, const A&>, Result<G&, const B&>>;
        switch (t.index()) {
            case 0: return R::makeThis(these::detail::mapField(std::move(f), t.leftField()));
            case 1: return R::makeThat(these::detail::mapField(std::move(g), t.rightField()));
            default:
                return R::makeThese(these::detail::mapField(std::move(f), t.leftField()),
                                    these::detail::mapField(std::move(g), t.rightField()));
        }
    }
    template <class F, class A, class B>
    static auto first(F f, const these::These<A, B>& t) {
        using R = these::These<Result<F&, const A&>, B>;
        switch (t.index()) {
            case 0: return R::makeThis(these::detail::mapField(std::move(f), t.leftField()));
            case 1: return R::makeThat(t.rightField());
            default: return R::makeThese(these::detail::mapField(std::move(f), t.leftField()), t.rightField());
        }
    }
    template <class G, class A, class B>
    static auto second(G g, const these::These<A, B>& t) {
        using R = these::These<A, Result<G&, const B&>>;
        switch (t.index()) {
            case 0: return R::makeThis(t.leftField());
            case 1: return R::makeThat(these::detail::mapField(std::move(g), t.rightField()));
            default: return R::makeThese(t.leftField(), these::detail::mapField(std::move(g), t.rightField()));
        }
    }
};

template <class A>
struct Functor<these::TheseK<A>> : FunctorDefaults<these::TheseK<A>, Functor<these::TheseK<A>>> {
    // The right value mapped, on demand; a This is returned as it is.
    template <class F, class B>
    static auto fmap(F&& f, const these::These<A, B>& t) {
        return Bifunctor<these::TheseK2>::second(std::forward<F>(f), t);
    }
    template <class X, class B>
    static these::These<A, std::decay_t<X>> replace(X&& x, const these::These<A, B>& t) {
        using R = these::These<A, std::decay_t<X>>;
        switch (t.index()) {
            case 0: return R::makeThis(t.leftField());
            case 1: return R::makeThat(std::forward<X>(x));
            default: return R::makeThese(t.leftField(), std::forward<X>(x));
        }
    }
};

template <class A>
struct Foldable<these::TheseK<A>> : FoldableDefaults<these::TheseK<A>, Foldable<these::TheseK<A>>> {
    template <class F, class R, class B>
    static R foldr(F&& f, Lazy<R> z, const these::These<A, B>& t) {
        if (t.isThis()) return z.force();
        return f(t.right(), z);
    }
    template <class F, class R, class B>
    static R foldrStrict(F&& f, R z, const these::These<A, B>& t) {
        if (t.isThis()) return z;
        return f(t.right(), std::move(z));
    }
    template <class F, class R, class B>
    static R foldl(F&& f, R z, const these::These<A, B>& t) {
        if (t.isThis()) return z;
        return f(std::move(z), t.right());
    }
    template <class F, class R, class B>
    static R foldlStrict(F&& f, R z, const these::These<A, B>& t) {
        return foldl(std::forward<F>(f), std::move(z), t);
    }
    template <class F, class B>
    static auto foldMap(F&& f, const these::These<A, B>& t) {
        using M = Result<F&, const B&>;
        if (t.isThis()) return Monoid<M>::mempty();
        return Monoid<M>::mappend(f(t.right()), Monoid<M>::mempty());
    }
    template <class F, class B>
    static auto foldMapStrict(F&& f, const these::These<A, B>& t) {
        using M = Result<F&, const B&>;
        if (t.isThis()) return Monoid<M>::mempty();
        return Semigroup<M>::combine(Monoid<M>::mempty(), f(t.right()));
    }
    template <class F, class B>
    static B foldr1(F&&, const these::These<A, B>& t) {
        if (t.isThis()) raise("foldr1: empty structure");
        return t.right();
    }
    template <class F, class B>
    static B foldl1(F&&, const these::These<A, B>& t) {
        if (t.isThis()) raise("foldl1: empty structure");
        return t.right();
    }
    template <class B>
    static List<B> toList(const these::These<A, B>& t) {
        if (t.isThis()) return {};
        return List<B>::cons(t.right(), {});
    }
    template <class B>
    static bool null(const these::These<A, B>& t) {
        return t.isThis();
    }
    template <class B>
    static Int length(const these::These<A, B>& t) {
        return t.isThis() ? 0 : 1;
    }
    template <class B>
    static B maximum(const these::These<A, B>& t) {
        if (t.isThis()) raise("maximum: empty structure");
        return t.right();
    }
    template <class B>
    static B minimum(const these::These<A, B>& t) {
        if (t.isThis()) raise("minimum: empty structure");
        return t.right();
    }
};

template <class A>
struct Traversable<these::TheseK<A>> : TraversableDefaults<these::TheseK<A>, Traversable<these::TheseK<A>>> {
    // A This is pure of the input itself (f is not called); otherwise the
    // right value's effect, with the left value kept as it is.
    template <class F, class B>
    static auto traverse(F&& f, const these::These<A, B>& t) {
        using E = detail::EffectOf<F, B>;
        using C = typename E::B;
        using R = these::These<A, C>;
        using G = typename E::G;
        if (t.isThis()) return Applicative<G>::pure(R::makeThis(t.leftField()));
        if (t.isThat()) return Functor<G>::fmap([](C c) { return R::makeThat(std::move(c)); }, f(t.right()));
        return Functor<G>::fmap([a = t.leftField()](C c) { return R::makeThese(a, std::move(c)); }, f(t.right()));
    }
};

template <>
struct Bifoldable<these::TheseK2> : BifoldableDefaults<these::TheseK2, Bifoldable<these::TheseK2>> {
    template <class F, class G, class A, class B>
    static auto bifoldMap(F&& f, G&& g, const these::These<A, B>& t) {
        using M = Result<F&, const A&>;
        if (t.isThis()) return M(f(t.left()));
        if (t.isThat()) return M(g(t.right()));
        M fa = f(t.left());  // left first, whatever the argument order
        return Monoid<M>::mappend(fa, g(t.right()));
    }
    template <class F, class G, class R, class A, class B>
    static R bifoldr(F&& f, G&& g, Lazy<R> z, const these::These<A, B>& t) {
        if (t.isThis()) return f(t.left(), z);
        if (t.isThat()) return g(t.right(), z);
        // The rest may outlive this call (f may keep it unevaluated), so it
        // owns a copy of g rather than a reference to the caller's.
        Lazy<R> inner = defer([g = std::decay_t<G>(std::forward<G>(g)), b = t.rightField(), z] { return R(g(b.force(), z)); });
        return f(t.left(), inner);
    }
    template <class F, class G, class R, class A, class B>
    static R bifoldl(F&& f, G&& g, R z, const these::These<A, B>& t) {
        if (t.isThis()) return f(std::move(z), t.left());
        if (t.isThat()) return g(std::move(z), t.right());
        return g(f(std::move(z), t.left()), t.right());
    }
};

template <>
struct Bifoldable1<these::TheseK2> : Bifoldable1Defaults<these::TheseK2, Bifoldable1<these::TheseK2>> {
    template <class F, class G, class A, class B>
    static auto bifoldMap1(F&& f, G&& g, const these::These<A, B>& t) {
        using M = Result<F&, const A&>;
        if (t.isThis()) return M(f(t.left()));
        if (t.isThat()) return M(g(t.right()));
        M fa = f(t.left());
        return Semigroup<M>::combine(fa, g(t.right()));
    }
};

template <>
struct Bitraversable<these::TheseK2> : BitraversableDefaults<these::TheseK2, Bitraversable<these::TheseK2>> {
    // This and That map over their one effect; These runs f's effect, then g's.
    template <class F, class G, class A, class B>
    static auto bitraverse(F&& f, G&& g, const these::These<A, B>& t) {
        using EA = detail::EffectOf<F, A>;
        using EB = detail::EffectOf<G, B>;
        static_assert(std::is_same_v<typename EA::G, typename EB::G>, "bitraverse: both functions must give one applicative");
        using App = typename EA::G;
        using C = typename EA::B;
        using D = typename EB::B;
        using R = these::These<C, D>;
        if (t.isThis()) return Functor<App>::fmap([](C c) { return R::makeThis(std::move(c)); }, f(t.left()));
        if (t.isThat()) return Functor<App>::fmap([](D d) { return R::makeThat(std::move(d)); }, g(t.right()));
        auto fa = f(t.left());  // f's effect first: argument order is unspecified in C++
        auto gb = g(t.right());
        return Applicative<App>::liftA2([](const C& c, const D& d) { return R::makeThese(c, d); }, std::move(fa),
                                        std::move(gb));
    }
};

// Values on the same side are combined with that side's <>, the left
// operand's first; the combination is computed when first demanded.
template <class A, class B>
    requires IsSemigroup<A> && IsSemigroup<B>
struct Semigroup<these::These<A, B>> : SemigroupDefaults<these::These<A, B>, Semigroup<these::These<A, B>>> {
    using T = these::These<A, B>;
    static T combine(const T& x, const T& y) {
        using these::detail::combineField;
        const bool l = x.hasLeft() || y.hasLeft();
        const bool r = x.hasRight() || y.hasRight();
        auto side = [](bool hx, bool hy, const auto& fx, const auto& fy) {
            return hx && hy ? combineField(fx(), fy()) : hx ? fx() : fy();
        };
        auto xl = [&] { return x.leftField(); };
        auto yl = [&] { return y.leftField(); };
        auto xr = [&] { return x.rightField(); };
        auto yr = [&] { return y.rightField(); };
        if (l && r) return T::makeThese(side(x.hasLeft(), y.hasLeft(), xl, yl), side(x.hasRight(), y.hasRight(), xr, yr));
        if (l) return T::makeThis(side(x.hasLeft(), y.hasLeft(), xl, yl));
        return T::makeThat(side(x.hasRight(), y.hasRight(), xr, yr));
    }
    // x1 <> (x2 <> (... <> xn)); a single element is returned as it is.
    static T sconcat(const NonEmpty<T>& xs) {
        std::vector<T> v = xs.toVector();
        T acc = v.back();
        for (std::size_t i = v.size() - 1; i-- > 0;) acc = combine(v[i], acc);
        return acc;
    }
};

// The left values are a log combined with A's <>, the left operand's
// first; a This stops the computation.
template <class A>
    requires IsSemigroup<A>
struct Applicative<these::TheseK<A>> : ApplicativeDefaults<these::TheseK<A>, Applicative<these::TheseK<A>>> {
    template <class X>
    static these::These<A, std::decay_t<X>> pure(X&& x) {
        return these::These<A, std::decay_t<X>>::makeThat(std::forward<X>(x));
    }
    template <class FF, class X>
    static auto ap(const these::These<A, FF>& ff, const these::These<A, X>& fx) {
        using B = Result<const FF&, const X&>;
        using R = these::These<A, B>;
        using these::detail::combineField;
        if (ff.isThis()) return R::makeThis(ff.leftField());
        if (fx.isThis())
            return ff.isThat() ? R::makeThis(fx.leftField()) : R::makeThis(combineField(ff.leftField(), fx.leftField()));
        LazyField<B> y(defer([f = ff.rightField(), x = fx.rightField()] { return B(f.force()(x.force())); }));
        if (ff.isThat()) return fx.isThat() ? R::makeThat(std::move(y)) : R::makeThese(fx.leftField(), std::move(y));
        return fx.isThat() ? R::makeThese(ff.leftField(), std::move(y))
                           : R::makeThese(combineField(ff.leftField(), fx.leftField()), std::move(y));
    }
    template <class F, class X, class Y>
    static auto liftA2(F f, const these::These<A, X>& u, const these::These<A, Y>& v) {
        auto fu = Functor<these::TheseK<A>>::fmap(
            [f = std::move(f)](const X& x) { return [f, x](const Y& y) { return f(x, y); }; }, u);
        return ap(fu, v);
    }
    // u's log, then v's; v's value.
    template <class X, class Y>
    static these::These<A, Y> apRight(const these::These<A, X>& u, const these::These<A, Y>& v) {
        using R = these::These<A, Y>;
        if (u.isThis()) return R::makeThis(u.leftField());
        if (u.isThat()) return v;
        using these::detail::combineField;
        switch (v.index()) {
            case 0: return R::makeThis(combineField(u.leftField(), v.leftField()));
            case 1: return R::makeThese(u.leftField(), v.rightField());
            default: return R::makeThese(combineField(u.leftField(), v.leftField()), v.rightField());
        }
    }
    // u's log, then v's; u's value; a This v makes the result a This.
    template <class X, class Y>
    static these::These<A, X> apLeft(const these::These<A, X>& u, const these::These<A, Y>& v) {
        using R = these::These<A, X>;
        using these::detail::combineField;
        if (u.isThis()) return u;
        if (v.isThis())
            return u.isThat() ? R::makeThis(v.leftField()) : R::makeThis(combineField(u.leftField(), v.leftField()));
        if (u.isThat()) return v.isThat() ? u : R::makeThese(v.leftField(), u.rightField());
        return v.isThat() ? u : R::makeThese(combineField(u.leftField(), v.leftField()), u.rightField());
    }
};

template <class A>
    requires IsSemigroup<A>
struct Monad<these::TheseK<A>> : MonadDefaults<these::TheseK<A>, Monad<these::TheseK<A>>> {
    template <class X, class K>
    static auto bind(const these::These<A, X>& m, K&& k) {
        using MB = Result<K&, const X&>;
        using these::detail::combineField;
        if (m.isThis()) return MB::makeThis(m.leftField());
        if (m.isThat()) return MB(k(m.right()));
        MB r = k(m.right());
        switch (r.index()) {
            case 0: return MB::makeThis(combineField(m.leftField(), r.leftField()));
            case 1: return MB::makeThese(m.leftField(), r.rightField());
            default: return MB::makeThese(combineField(m.leftField(), r.leftField()), r.rightField());
        }
    }
};

template <>
struct Swap<these::TheseK2> {
    template <class A, class B>
    static these::These<B, A> swap(const these::These<A, B>& t) {
        using R = these::These<B, A>;
        switch (t.index()) {
            case 0: return R::makeThat(t.leftField());
            case 1: return R::makeThis(t.rightField());
            default: return R::makeThese(t.rightField(), t.leftField());
        }
    }
};

template <>
struct Assoc<these::TheseK2> {
    template <class A, class B, class C>
    static these::These<A, these::These<B, C>> assoc(const these::These<these::These<A, B>, C>& t) {
        using BC = these::These<B, C>;
        using R = these::These<A, BC>;
        if (t.isThat()) return R::makeThat(BC::makeThat(t.rightField()));
        const these::These<A, B>& inner = t.left();
        if (t.isThis()) {
            switch (inner.index()) {
                case 0: return R::makeThis(inner.leftField());
                case 1: return R::makeThat(BC::makeThis(inner.rightField()));
                default: return R::makeThese(inner.leftField(), BC::makeThis(inner.rightField()));
            }
        }
        switch (inner.index()) {
            case 0: return R::makeThese(inner.leftField(), BC::makeThat(t.rightField()));
            case 1: return R::makeThat(BC::makeThese(inner.rightField(), t.rightField()));
            default: return R::makeThese(inner.leftField(), BC::makeThese(inner.rightField(), t.rightField()));
        }
    }
    template <class A, class B, class C>
    static these::These<these::These<A, B>, C> unassoc(const these::These<A, these::These<B, C>>& t) {
        using AB = these::These<A, B>;
        using R = these::These<AB, C>;
        if (t.isThis()) return R::makeThis(AB::makeThis(t.leftField()));
        const these::These<B, C>& inner = t.right();
        if (t.isThat()) {
            switch (inner.index()) {
                case 0: return R::makeThis(AB::makeThat(inner.leftField()));
                case 1: return R::makeThat(inner.rightField());
                default: return R::makeThese(AB::makeThat(inner.leftField()), inner.rightField());
            }
        }
        switch (inner.index()) {
            case 0: return R::makeThis(AB::makeThese(t.leftField(), inner.leftField()));
            case 1: return R::makeThese(AB::makeThis(t.leftField()), inner.rightField());
            default: return R::makeThese(AB::makeThese(t.leftField(), inner.leftField()), inner.rightField());
        }
    }
};

// --- Comparison, text form, byte encoding and hashing -----------------------
//
// Equality and order (the lifted forms below) follow the alternative index,
// then the left value, then the right one; the right values are compared
// only when the left ones are equal.
//
// Text form: "This a", "That b", "These a b", the fields at precedence 11,
// the whole in parentheses at precedence 11 and above:
//   These 1 (Just 2)    This (-1)    Just (That 'x')
// Reading accepts the same with any number of enclosing parentheses and
// white space between tokens; the constructor names are whole identifiers.
//
// Byte encoding: the alternative index as an 8-byte big-endian Int (0, 1,
// 2), then the left value and/or the right value with their own encodings.
// Any other tag fails "Invalid These index".
//
// Hash: the index mixed into the salt as an Int (s * 0x9ffaac085635bc91 ^
// index), then the left value and/or the right value, in that order.

template <>
struct Eq2<these::TheseK2> {
    template <class EqA, class EqB, class A1, class B1, class A2, class B2>
    static bool liftEq2(EqA&& eqA, EqB&& eqB, const these::These<A1, B1>& x, const these::These<A2, B2>& y) {
        if (x.index() != y.index()) return false;
        if (x.hasLeft() && !eqA(x.left(), y.left())) return false;
        return !x.hasRight() || eqB(x.right(), y.right());
    }
};
template <>
struct Ord2<these::TheseK2> {
    template <class CmpA, class CmpB, class A1, class B1, class A2, class B2>
    static Ordering liftCompare2(CmpA&& cmpA, CmpB&& cmpB, const these::These<A1, B1>& x, const these::These<A2, B2>& y) {
        if (x.index() != y.index()) return x.index() < y.index() ? LT : GT;
        if (x.hasLeft())
            if (Ordering o = cmpA(x.left(), y.left()); o != EQ) return o;
        return x.hasRight() ? cmpB(x.right(), y.right()) : EQ;
    }
};
// The right values lifted; the left ones compared with A's own operations.
template <class A>
struct Eq1<these::TheseK<A>> {
    template <class Eq, class X, class Y>
    static bool liftEq(Eq&& eq, const these::These<A, X>& x, const these::These<A, Y>& y) {
        return Eq2<these::TheseK2>::liftEq2(detail::eqOp, std::forward<Eq>(eq), x, y);
    }
};
template <class A>
struct Ord1<these::TheseK<A>> {
    template <class Cmp, class X, class Y>
    static Ordering liftCompare(Cmp&& cmp, const these::These<A, X>& x, const these::These<A, Y>& y) {
        return Ord2<these::TheseK2>::liftCompare2(detail::cmpOp, std::forward<Cmp>(cmp), x, y);
    }
};

template <>
struct Show2<these::TheseK2> {
    template <class SP1, class SL1, class SP2, class SL2, class A, class B>
    static void liftShowsPrec2(const SP1& sp1, const SL1&, const SP2& sp2, const SL2&, int d, const these::These<A, B>& x,
                               std::string& out) {
        switch (x.index()) {
            case 0: showsUnaryWith(sp1, "This", d, x.left(), out); break;
            case 1: showsUnaryWith(sp2, "That", d, x.right(), out); break;
            default: showsBinaryWith(sp1, sp2, "These", d, x.left(), x.right(), out); break;
        }
    }
};
template <class A>
struct Show1<these::TheseK<A>> {
    template <class SP, class SL, class B>
    static void liftShowsPrec(const SP& sp, const SL& sl, int d, const these::These<A, B>& x, std::string& out) {
        Show2<these::TheseK2>::liftShowsPrec2(ShowsPrecOf<A>{}, ShowListOf<A>{}, sp, sl, d, x, out);
    }
};
template <class A, class B>
    requires Showable<A> && Showable<B>
struct Show<these::These<A, B>> {
    static void showsPrec(int d, const these::These<A, B>& x, std::string& out) {
        Show2<these::TheseK2>::liftShowsPrec2(ShowsPrecOf<A>{}, ShowListOf<A>{}, ShowsPrecOf<B>{}, ShowListOf<B>{}, d, x,
                                              out);
    }
};

namespace detail {
// "This a" | "That b" | "These a b", inside any parentheses; above
// precedence 10 only in parentheses.
template <class A, class B>
Reader<these::These<A, B>> readTheseWith(Reader<A> ra, Reader<B> rb) {
    using T = these::These<A, B>;
    return parens(alt(alt(readConstructor<T>("This", [](A a) { return T::makeThis(std::move(a)); }, ra),
                          readConstructor<T>("That", [](B b) { return T::makeThat(std::move(b)); }, rb)),
                      readConstructor<T>(
                          "These", [](A a, B b) { return T::makeThese(std::move(a), std::move(b)); }, ra, rb)));
}
}  // namespace detail

template <class A, class B>
    requires Readable<A> && Readable<B>
struct Read<these::These<A, B>> {
    static Reader<these::These<A, B>> readPrec() { return detail::readTheseWith(core::readPrec<A>(), core::readPrec<B>()); }
};
template <>
struct Read2<these::TheseK2> {
    template <class A, class B>
    static Reader<these::These<A, B>> liftReadPrec2(Reader<A> rp1, Reader<std::vector<A>>, Reader<B> rp2,
                                                   Reader<std::vector<B>>) {
        return detail::readTheseWith(std::move(rp1), std::move(rp2));
    }
};
template <class A>
struct Read1<these::TheseK<A>> {
    template <class B>
    static Reader<these::These<A, B>> liftReadPrec(Reader<B> rp, Reader<std::vector<B>>) {
        return detail::readTheseWith(core::readPrec<A>(), std::move(rp));
    }
};

namespace decodeError {
inline constexpr const char* invalidTheseIndex = "Invalid These index";
}  // namespace decodeError

template <BinaryType A, BinaryType B>
struct Binary<these::These<A, B>> {
    static void put(Encoder& out, const these::These<A, B>& x) {
        out.putInt(x.index());
        if (x.hasLeft()) core::put<A>(out, x.left());
        if (x.hasRight()) core::put<B>(out, x.right());
    }
    // The tag, then the fields it announces; nothing is built unless every
    // part decodes.
    static DecodeResult<these::These<A, B>> get(Decoder& in) {
        using T = these::These<A, B>;
        auto tag = in.getInt();
        if (!tag) return Left(tag.error());
        const Int t = *tag;
        if (t < 0 || t > 2) return Left(std::string(decodeError::invalidTheseIndex));
        std::optional<A> a;
        if (t != 1) {
            auto x = core::get<A>(in);
            if (!x) return Left(x.error());
            a.emplace(std::move(x).value());
        }
        if (t == 0) return Right(T::makeThis(std::move(*a)));
        auto y = core::get<B>(in);
        if (!y) return Left(y.error());
        if (t == 1) return Right(T::makeThat(std::move(y).value()));
        return Right(T::makeThese(std::move(*a), std::move(y).value()));
    }
};

template <>
struct Hashable2<these::TheseK2> {
    template <class H1, class H2, class A, class B>
    static std::uint64_t liftHashWithSalt2(H1&& h1, H2&& h2, std::uint64_t salt, const these::These<A, B>& x) {
        const std::uint64_t s = hashIndex(salt, static_cast<std::uint64_t>(x.index()));
        switch (x.index()) {
            case 0: return h1(s, x.left());
            case 1: return h2(s, x.right());
            default: return h2(h1(s, x.left()), x.right());
        }
    }
};
template <class A>
    requires HashableType<A>
struct Hashable1<these::TheseK<A>> {
    template <class H, class B>
    static std::uint64_t liftHashWithSalt(H&& h, std::uint64_t salt, const these::These<A, B>& x) {
        return Hashable2<these::TheseK2>::liftHashWithSalt2(detail::hashElement, std::forward<H>(h), salt, x);
    }
};
template <class A, class B>
    requires HashableType<A> && HashableType<B>
struct Hashable<these::These<A, B>> {
    static std::uint64_t hashWithSalt(std::uint64_t salt, const these::These<A, B>& x) {
        return Hashable2<these::TheseK2>::liftHashWithSalt2(detail::hashElement, detail::hashElement, salt, x);
    }
};

}  // namespace core
