#pragma once
// Text forms (Show and Read) of the functor combinators and the monoid
// wrappers, with the usual constructor and field names:
//
//   Identity 1, Const 1, Constant 1, Proxy, Compose (Just [1]),
//   Pair (Just 1) [2], InL (Just 1), InR [2], IdentityT (Just 1),
//   Backwards [1], Reverse [1], Tagged 1, ZipList {getZipList = [1,2]},
//   Dual {getDual = 1}, Any {getAny = True}, All {getAll = False},
//   Additive {getAdditive = 1}, Multiplicative {getMultiplicative = 2},
//   First {getFirst = Just 1}, Last {getLast = Nothing}, Min {getMin = 1},
//   Max {getMax = 2}
//
// A constructor with a field is parenthesised at precedence 11 and above;
// a record is printed with its field at precedence 0 inside the braces.
// Each is read back by the matching Read implementation.
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "Core/FunctorTypes.h"
#include "Core/Monoids.h"
#include "Core/Read.h"
#include "Core/Show.h"

namespace core {

#define CORE_UNARY_TEXT_FORM(Template, Params, Args, Name, Field)                                  \
    template <Params>                                                                             \
    struct Show<Template<Args>> {                                                                 \
        static void showsPrec(int d, const Template<Args>& x, std::string& out) {                 \
            showsUnaryWith(ShowsPrecOf<Field>{}, Name, d, x.value, out);                          \
        }                                                                                         \
    };                                                                                            \
    template <Params>                                                                             \
    struct Read<Template<Args>> {                                                                 \
        static Reader<Template<Args>> readPrec() {                                                \
            return readUnaryWith<Template<Args>>(Name, core::readPrec<Field>(),                   \
                                                 [](Field f) { return Template<Args>{std::move(f)}; }); \
        }                                                                                         \
    };

#define CORE_RECORD_TEXT_FORM(Template, Params, Args, Name, FieldName, Field)                      \
    template <Params>                                                                             \
    struct Show<Template<Args>> {                                                                 \
        static void showsPrec(int d, const Template<Args>& x, std::string& out) {                 \
            showsRecordWith(ShowsPrecOf<Field>{}, Name, FieldName, d, x.value, out);              \
        }                                                                                         \
    };                                                                                            \
    template <Params>                                                                             \
    struct Read<Template<Args>> {                                                                 \
        static Reader<Template<Args>> readPrec() {                                                \
            return readRecordWith<Template<Args>>(Name, FieldName, core::readPrec<Field>(),       \
                                                  [](const Field& f) { return Template<Args>{f}; }); \
        }                                                                                         \
    };

#define CORE_COMMA ,

CORE_UNARY_TEXT_FORM(Identity, class A, A, "Identity", A)
CORE_UNARY_TEXT_FORM(Const, class C CORE_COMMA class A, C CORE_COMMA A, "Const", C)
CORE_UNARY_TEXT_FORM(Constant, class C CORE_COMMA class A, C CORE_COMMA A, "Constant", C)
CORE_UNARY_TEXT_FORM(Compose, class F CORE_COMMA class G CORE_COMMA class A, F CORE_COMMA G CORE_COMMA A, "Compose",
                     Apply<F CORE_COMMA Apply<G CORE_COMMA A>>)
CORE_UNARY_TEXT_FORM(IdentityT, class M CORE_COMMA class A, M CORE_COMMA A, "IdentityT", Apply<M CORE_COMMA A>)
CORE_UNARY_TEXT_FORM(Backwards, class F CORE_COMMA class A, F CORE_COMMA A, "Backwards", Apply<F CORE_COMMA A>)
CORE_UNARY_TEXT_FORM(Reverse, class F CORE_COMMA class A, F CORE_COMMA A, "Reverse", Apply<F CORE_COMMA A>)
CORE_UNARY_TEXT_FORM(Tagged, class S CORE_COMMA class B, S CORE_COMMA B, "Tagged", B)

CORE_RECORD_TEXT_FORM(ZipList, class A, A, "ZipList", "getZipList", List<A>)
CORE_RECORD_TEXT_FORM(Dual, class A, A, "Dual", "getDual", A)
CORE_RECORD_TEXT_FORM(Additive, class A, A, "Additive", "getAdditive", A)
CORE_RECORD_TEXT_FORM(Multiplicative, class A, A, "Multiplicative", "getMultiplicative", A)
CORE_RECORD_TEXT_FORM(First, class A, A, "First", "getFirst", std::optional<A>)
CORE_RECORD_TEXT_FORM(Last, class A, A, "Last", "getLast", std::optional<A>)
CORE_RECORD_TEXT_FORM(Min, class A, A, "Min", "getMin", A)
CORE_RECORD_TEXT_FORM(Max, class A, A, "Max", "getMax", A)

#undef CORE_UNARY_TEXT_FORM
#undef CORE_RECORD_TEXT_FORM
#undef CORE_COMMA

template <>
struct Show<Any> {
    static void showsPrec(int d, const Any& x, std::string& out) {
        showsRecordWith(ShowsPrecOf<bool>{}, "Any", "getAny", d, x.value, out);
    }
};
template <>
struct Read<Any> {
    static Reader<Any> readPrec() {
        return readRecordWith<Any>("Any", "getAny", core::readPrec<bool>(), [](bool b) { return Any{b}; });
    }
};
template <>
struct Show<All> {
    static void showsPrec(int d, const All& x, std::string& out) {
        showsRecordWith(ShowsPrecOf<bool>{}, "All", "getAll", d, x.value, out);
    }
};
template <>
struct Read<All> {
    static Reader<All> readPrec() {
        return readRecordWith<All>("All", "getAll", core::readPrec<bool>(), [](bool b) { return All{b}; });
    }
};

template <class A>
struct Show<Proxy<A>> {
    static void showsPrec(int, const Proxy<A>&, std::string& out) { out += "Proxy"; }
};
template <class A>
struct Read<Proxy<A>> {
    static Reader<Proxy<A>> readPrec() { return parens(readNullary("Proxy", Proxy<A>{})); }
};

// Pair x y: both containers at precedence 11.
template <class F, class G, class A>
struct Show<Product<F, G, A>> {
    static void showsPrec(int d, const Product<F, G, A>& p, std::string& out) {
        showsBinaryWith(ShowsPrecOf<Apply<F, A>>{}, ShowsPrecOf<Apply<G, A>>{}, "Pair", d, p.first, p.second, out);
    }
};
template <class F, class G, class A>
struct Read<Product<F, G, A>> {
    static Reader<Product<F, G, A>> readPrec() {
        return readBinaryWith<Product<F, G, A>>("Pair", core::readPrec<Apply<F, A>>(), core::readPrec<Apply<G, A>>(),
                                                [](Apply<F, A> x, Apply<G, A> y) {
                                                    return Product<F, G, A>{std::move(x), std::move(y)};
                                                });
    }
};

// InL x or InR y.
template <class F, class G, class A>
struct Show<Sum<F, G, A>> {
    static void showsPrec(int d, const Sum<F, G, A>& s, std::string& out) {
        if (s.isInL())
            showsUnaryWith(ShowsPrecOf<Apply<F, A>>{}, "InL", d, s.left(), out);
        else
            showsUnaryWith(ShowsPrecOf<Apply<G, A>>{}, "InR", d, s.right(), out);
    }
};
template <class F, class G, class A>
struct Read<Sum<F, G, A>> {
    static Reader<Sum<F, G, A>> readPrec() {
        using S = Sum<F, G, A>;
        return alt(readUnaryWith<S>("InL", core::readPrec<Apply<F, A>>(),
                                    [](Apply<F, A> x) { return S{decltype(S::value)(std::in_place_index<0>, std::move(x))}; }),
                   readUnaryWith<S>("InR", core::readPrec<Apply<G, A>>(),
                                    [](Apply<G, A> y) { return S{decltype(S::value)(std::in_place_index<1>, std::move(y))}; }));
    }
};

// The lifted forms of the one-element and no-element functors.
template <>
struct Show1<IdentityK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP& sp, const SL&, int d, const Identity<A>& x, std::string& out) {
        showsUnaryWith(sp, "Identity", d, x.value, out);
    }
};
template <>
struct Read1<IdentityK> {
    template <class A>
    static Reader<Identity<A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>>) {
        return readUnaryWith<Identity<A>>("Identity", std::move(rp), [](A a) { return Identity<A>{std::move(a)}; });
    }
};
template <>
struct Show1<ProxyK> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL&, int, const Proxy<A>&, std::string& out) {
        out += "Proxy";
    }
};
template <>
struct Read1<ProxyK> {
    template <class A>
    static Reader<Proxy<A>> liftReadPrec(Reader<A>, Reader<std::vector<A>>) {
        return Read<Proxy<A>>::readPrec();
    }
};
template <class C>
struct Show1<ConstK<C>> {
    template <class SP, class SL, class A>
    static void liftShowsPrec(const SP&, const SL&, int d, const Const<C, A>& x, std::string& out) {
        Show<Const<C, A>>::showsPrec(d, x, out);
    }
};
template <class C>
struct Read1<ConstK<C>> {
    template <class A>
    static Reader<Const<C, A>> liftReadPrec(Reader<A>, Reader<std::vector<A>>) {
        return Read<Const<C, A>>::readPrec();
    }
};

}  // namespace core
