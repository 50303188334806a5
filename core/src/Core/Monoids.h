#pragma once
// Monoid and semigroup wrappers: the same type combined in another way.
//
//   Endo<A>            {fn}: functions A -> A, combined by composition
//                      (combine(f, g) applies g first, then f)
//   Dual<A>            {value}: the combination of A, reversed
//   Any, All           {value}: bool under || and && (both stop early)
//   Additive<A>        {value}: A under plus, identity 0      (Sum)
//   Multiplicative<A>  {value}: A under times, identity 1     (Product)
//   First<A>, Last<A>  {value}: the first / last present optional value
//   Min<A>, Max<A>     {value}: the smaller / larger (semigroups only);
//                      Min keeps the left of equals, Max the right
//
// `Sum` and `Product` name the functor sum and product in this library
// (Core/FunctorTypes.h), so the numeric monoids are Additive and
// Multiplicative.
#include <functional>
#include <optional>
#include <utility>

#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/Num.h"
#include "Core/Semigroup.h"

namespace core {

// ---- Endo ----------------------------------------------------------------

template <class A>
struct Endo {
    std::function<A(A)> fn;
    A operator()(A x) const { return fn(std::move(x)); }
};
template <class A>
A appEndo(const Endo<A>& e, A x) {
    return e.fn(std::move(x));
}
template <class A>
struct Semigroup<Endo<A>> : SemigroupDefaults<Endo<A>, Semigroup<Endo<A>>> {
    static Endo<A> combine(const Endo<A>& f, const Endo<A>& g) {
        return {[f = f.fn, g = g.fn](A x) { return f(g(std::move(x))); }};
    }
};
template <class A>
struct Monoid<Endo<A>> : MonoidDefaults<Endo<A>, Monoid<Endo<A>>> {
    static Endo<A> mempty() {
        return {[](A x) { return x; }};
    }
};

// ---- Dual ----------------------------------------------------------------

template <class A>
struct Dual {
    A value;
    friend bool operator==(const Dual&, const Dual&) = default;
    friend auto operator<=>(const Dual&, const Dual&) = default;
};
template <class A>
Dual(A) -> Dual<A>;
template <class A>
const A& getDual(const Dual<A>& d) {
    return d.value;
}
template <class A>
    requires IsSemigroup<A>
struct Semigroup<Dual<A>> : SemigroupDefaults<Dual<A>, Semigroup<Dual<A>>> {
    static Dual<A> combine(const Dual<A>& a, const Dual<A>& b) { return {Semigroup<A>::combine(b.value, a.value)}; }
    static Dual<A> stimes(Int n, const Dual<A>& x) { return {Semigroup<A>::stimes(n, x.value)}; }
};
template <class A>
    requires IsMonoid<A>
struct Monoid<Dual<A>> : MonoidDefaults<Dual<A>, Monoid<Dual<A>>> {
    static Dual<A> mempty() { return {Monoid<A>::mempty()}; }
};

// ---- Any and All ---------------------------------------------------------

struct Any {
    bool value = false;
    friend bool operator==(const Any&, const Any&) = default;
    friend auto operator<=>(const Any&, const Any&) = default;
};
struct All {
    bool value = true;
    friend bool operator==(const All&, const All&) = default;
    friend auto operator<=>(const All&, const All&) = default;
};
inline bool getAny(Any a) { return a.value; }
inline bool getAll(All a) { return a.value; }

template <>
struct Semigroup<Any> : SemigroupDefaults<Any, Semigroup<Any>> {
    static Any combine(Any a, Any b) { return {a.value || b.value}; }
    static Any combineLazy(Any a, const Lazy<Any>& b) { return a.value ? a : b.force(); }
    static Any stimes(Int n, Any a) {
        if (n < 1) detail::stimesNonPositive<Any>();
        return a;
    }
};
template <>
struct Monoid<Any> : MonoidDefaults<Any, Monoid<Any>> {
    static Any mempty() { return {false}; }
};
template <>
struct Semigroup<All> : SemigroupDefaults<All, Semigroup<All>> {
    static All combine(All a, All b) { return {a.value && b.value}; }
    static All combineLazy(All a, const Lazy<All>& b) { return a.value ? b.force() : a; }
    static All stimes(Int n, All a) {
        if (n < 1) detail::stimesNonPositive<All>();
        return a;
    }
};
template <>
struct Monoid<All> : MonoidDefaults<All, Monoid<All>> {
    static All mempty() { return {true}; }
};

// ---- Additive and Multiplicative -----------------------------------------

template <class A>
struct Additive {
    A value;
    friend bool operator==(const Additive&, const Additive&) = default;
    friend auto operator<=>(const Additive&, const Additive&) = default;
};
template <class A>
Additive(A) -> Additive<A>;
template <class A>
struct Multiplicative {
    A value;
    friend bool operator==(const Multiplicative&, const Multiplicative&) = default;
    friend auto operator<=>(const Multiplicative&, const Multiplicative&) = default;
};
template <class A>
Multiplicative(A) -> Multiplicative<A>;

template <class A>
    requires IsNum<A>
struct Semigroup<Additive<A>> : SemigroupDefaults<Additive<A>, Semigroup<Additive<A>>> {
    static Additive<A> combine(const Additive<A>& a, const Additive<A>& b) { return {Num<A>::plus(a.value, b.value)}; }
    // n copies added: n times x.
    static Additive<A> stimes(Int n, const Additive<A>& x) {
        if (n < 1) detail::stimesNonPositive<Additive<A>>();
        return {Num<A>::times(detail::numLiteral<A>(n), x.value)};
    }
};
template <class A>
    requires IsNum<A>
struct Monoid<Additive<A>> : MonoidDefaults<Additive<A>, Monoid<Additive<A>>> {
    static Additive<A> mempty() { return {detail::numLiteral<A>(0)}; }
};
template <class A>
    requires IsNum<A>
struct Semigroup<Multiplicative<A>> : SemigroupDefaults<Multiplicative<A>, Semigroup<Multiplicative<A>>> {
    static Multiplicative<A> combine(const Multiplicative<A>& a, const Multiplicative<A>& b) {
        return {Num<A>::times(a.value, b.value)};
    }
};
template <class A>
    requires IsNum<A>
struct Monoid<Multiplicative<A>> : MonoidDefaults<Multiplicative<A>, Monoid<Multiplicative<A>>> {
    static Multiplicative<A> mempty() { return {detail::numLiteral<A>(1)}; }
};

// ---- First and Last ------------------------------------------------------

template <class A>
struct First {
    std::optional<A> value;
    friend bool operator==(const First&, const First&) = default;
    friend auto operator<=>(const First&, const First&) = default;
};
template <class A>
struct Last {
    std::optional<A> value;
    friend bool operator==(const Last&, const Last&) = default;
    friend auto operator<=>(const Last&, const Last&) = default;
};
template <class A>
struct Semigroup<First<A>> : SemigroupDefaults<First<A>, Semigroup<First<A>>> {
    static First<A> combine(const First<A>& a, const First<A>& b) { return a.value ? a : b; }
    static First<A> combineLazy(const First<A>& a, const Lazy<First<A>>& b) { return a.value ? a : b.force(); }
};
template <class A>
struct Monoid<First<A>> : MonoidDefaults<First<A>, Monoid<First<A>>> {
    static First<A> mempty() { return {}; }
};
template <class A>
struct Semigroup<Last<A>> : SemigroupDefaults<Last<A>, Semigroup<Last<A>>> {
    static Last<A> combine(const Last<A>& a, const Last<A>& b) { return b.value ? b : a; }
};
template <class A>
struct Monoid<Last<A>> : MonoidDefaults<Last<A>, Monoid<Last<A>>> {
    static Last<A> mempty() { return {}; }
};

// ---- Min and Max ---------------------------------------------------------

template <class A>
struct Min {
    A value;
    friend bool operator==(const Min&, const Min&) = default;
    friend auto operator<=>(const Min&, const Min&) = default;
};
template <class A>
Min(A) -> Min<A>;
template <class A>
struct Max {
    A value;
    friend bool operator==(const Max&, const Max&) = default;
    friend auto operator<=>(const Max&, const Max&) = default;
};
template <class A>
Max(A) -> Max<A>;
template <class A>
struct Semigroup<Min<A>> : SemigroupDefaults<Min<A>, Semigroup<Min<A>>> {
    static Min<A> combine(const Min<A>& a, const Min<A>& b) { return b.value < a.value ? b : a; }
    static Min<A> stimes(Int n, const Min<A>& x) {
        if (n < 1) detail::stimesNonPositive<Min<A>>();
        return x;
    }
};
template <class A>
struct Semigroup<Max<A>> : SemigroupDefaults<Max<A>, Semigroup<Max<A>>> {
    static Max<A> combine(const Max<A>& a, const Max<A>& b) { return b.value < a.value ? a : b; }
    static Max<A> stimes(Int n, const Max<A>& x) {
        if (n < 1) detail::stimesNonPositive<Max<A>>();
        return x;
    }
};

}  // namespace core
