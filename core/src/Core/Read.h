#pragma once
// Reading values back from their text form (see Core/Show.h for the form).
//
//   core::read<int>("(-3)")                 -> 3 negated
//   core::read<std::optional<int>>(" ( Just 3 ) ")
//   core::readEither<std::vector<int>>("[1,2,3]")
//
// Reading accepts exactly what printing produces, with any number of
// enclosing parentheses and white space between tokens; constructor names
// are whole identifier tokens ("Justx" is not "Just" followed by x). A
// negative number needs parentheses above precedence 6, a constructor with
// fields above precedence 10.
//
// A type becomes readable by specialising `core::Read<T>` with
//   static Reader<T> readPrec();
// and optionally
//   static Reader<std::vector<T>> readListPrec();
// when its lists have a form of their own (characters read strings).
#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Either.h"
#include "Core/Integer.h"
#include "Core/Kinds.h"
#include "Core/Lex.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/Rational.h"
#include "Core/ReadP.h"
#include "Core/Text.h"
#include "Core/Types.h"

namespace core {

template <class T, class = void>
struct Read;

template <class T>
concept Readable = requires { { Read<T>::readPrec() } -> std::same_as<Reader<T>>; };

template <class T>
Reader<T> readPrec() {
    static_assert(Readable<T>, "no Read implementation for this type");
    return Read<T>::readPrec();
}

// The standard list form "[e1,e2]" with the given element reader (run at
// precedence 0), inside any number of parentheses. Loops over the
// elements, so long lists do not deepen the stack.
template <class T>
Reader<std::vector<T>> readListWith(Reader<T> elem) {
    auto body = Reader<std::vector<T>>([elem](std::string_view in, std::size_t pos, int) {
        Parses<std::vector<T>> out;
        for (const auto& open : punc("[")(in, pos, 0)) {
            for (const auto& close : punc("]")(in, open.rest, 0)) out.push_back({{}, close.rest});
            Parses<std::vector<T>> frontier;
            for (auto& e : elem(in, open.rest, 0)) frontier.push_back({std::vector<T>{std::move(e.value)}, e.rest});
            while (!frontier.empty()) {
                Parses<std::vector<T>> next;
                for (auto& f : frontier) {
                    for (const auto& close : punc("]")(in, f.rest, 0)) out.push_back({f.value, close.rest});
                    for (const auto& comma : punc(",")(in, f.rest, 0)) {
                        auto es = elem(in, comma.rest, 0);
                        for (std::size_t i = 0; i < es.size(); ++i) {
                            std::vector<T> xs = i + 1 < es.size() ? f.value : std::move(f.value);
                            xs.push_back(std::move(es[i].value));
                            next.push_back({std::move(xs), es[i].rest});
                        }
                    }
                }
                frontier = std::move(next);
            }
        }
        return out;
    });
    return parens(std::move(body));
}

namespace detail {
template <class T>
concept HasOwnReadList = requires { { Read<T>::readListPrec() } -> std::same_as<Reader<std::vector<T>>>; };
}  // namespace detail

template <class T>
Reader<std::vector<T>> readListPrec() {
    if constexpr (detail::HasOwnReadList<T>)
        return Read<T>::readListPrec();
    else
        return readListWith(readPrec<T>());
}

// Every (value, unread rest) reading a T from the front of s at precedence d.
template <class T>
std::vector<std::pair<T, std::string_view>> readsPrec(int d, std::string_view s) {
    return readPrec<T>().run(s, d);
}
template <class T>
std::vector<std::pair<std::vector<T>, std::string_view>> readList(std::string_view s) {
    return readListPrec<T>().run(s, 0);
}

// Reads the whole of s (white space allowed around it) as a T: the message
// is "no parse" when nothing reads, "nesting too deep" when nothing reads
// because the text nests deeper than readers may (see Core/ReadP.h), and
// "ambiguous parse" when several readings do.
template <class T>
Either<std::string, T> readEither(std::string_view s) {
    auto whole = thenSkipP(readPrec<T>(), thenP(skipSpacesAndComments(), eofP()));
    const bool outerExceeded = detail::ReaderDepth::exceeded;
    detail::ReaderDepth::exceeded = false;
    auto rs = whole(s, 0, 0);
    const bool tooDeep = detail::ReaderDepth::exceeded;
    detail::ReaderDepth::exceeded = outerExceeded || tooDeep;
    if (rs.empty()) return Left(std::string(tooDeep ? "nesting too deep" : "no parse"));
    if (rs.size() > 1) return Left(std::string("ambiguous parse"));
    return Right(std::move(rs.front().value));
}
template <class T>
std::optional<T> read(std::string_view s) {
    auto r = readEither<T>(s);
    if (r.isLeft()) return std::nullopt;
    return std::move(r).value();
}

// --- Building readers for constructors ---------------------------------------

namespace detail {
template <class Acc>
Parses<Acc> readFieldsAtImpl(std::string_view, Parses<Acc> acc) {
    return acc;
}
template <class Acc, class F, class... Rest>
auto readFieldsAtImpl(std::string_view in, Parses<Acc> acc, const Reader<F>& f, const Reader<Rest>&... rest) {
    using Next = decltype(std::tuple_cat(std::declval<Acc>(), std::declval<std::tuple<F>>()));
    Parses<Next> next;
    for (auto& a : acc)
        for (auto& x : f(in, a.rest, 11)) next.push_back({std::tuple_cat(a.value, std::tuple<F>(std::move(x.value))), x.rest});
    return readFieldsAtImpl(in, std::move(next), rest...);
}
}  // namespace detail

template <class Acc, class... Fields>
auto readFieldsAt(std::string_view in, Parses<Acc> acc, const Reader<Fields>&... fields) {
    return detail::readFieldsAtImpl(in, std::move(acc), fields...);
}

// A nullary constructor: the identifier alone, at any precedence.
template <class T>
Reader<T> readNullary(std::string_view name, T value) {
    return thenP(ident(name), pureP(std::move(value)));
}
// A constructor with fields: the identifier, then the fields at precedence
// 11; rejected above precedence 10 unless parenthesised (wrap in parens).
template <class R, class F, class... Fields>
Reader<R> readConstructor(std::string_view name, F build, Reader<Fields>... fields) {
    auto body = Reader<R>([name = std::string(name), build, fields...](std::string_view in, std::size_t pos, int) {
        Parses<R> out;
        for (const auto& h : ident(name)(in, pos, 10)) {
            // Thread every field's results through, left to right.
            Parses<std::tuple<>> start{{{}, h.rest}};
            auto all = readFieldsAt(in, std::move(start), fields...);
            for (auto& a : all) out.push_back({std::apply(build, std::move(a.value)), a.rest});
        }
        return out;
    });
    return prec(10, std::move(body));
}

// A number: an optional minus sign (allowed at precedence 6 and below),
// then a number token that `convert` accepts; inside any parentheses.
template <class T, class Convert>
Reader<T> readNumber(Convert convert) {
    auto positive = bindP(lexP(), [convert](const Lexeme& l) {
        if (l.kind != Lexeme::Kind::Number) return pfail<T>();
        auto v = convert(l.number, false);
        return v ? pureP(std::move(*v)) : pfail<T>();
    });
    auto negative = prec(6, thenP(symbol("-"), bindP(lexP(), [convert](const Lexeme& l) {
                                      if (l.kind != Lexeme::Kind::Number) return pfail<T>();
                                      auto v = convert(l.number, true);
                                      return v ? pureP(std::move(*v)) : pfail<T>();
                                  })));
    return parens(alt(std::move(negative), std::move(positive)));
}

// Reads integers of any built-in type; out-of-range values do not parse.
std::optional<Integer> lexemeToInteger(const LexNumber& n, bool negate);
std::optional<double> lexemeToDouble(const LexNumber& n, bool negate);

template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, char> &&
             !std::is_same_v<T, char32_t>)
struct Read<T> {
    static Reader<T> readPrec() {
        return readNumber<T>([](const LexNumber& n, bool neg) -> std::optional<T> {
            auto v = lexemeToInteger(n, neg);
            if (!v) return std::nullopt;
            if (*v < Integer(std::numeric_limits<T>::min()) || *v > Integer(std::numeric_limits<T>::max()))
                return std::nullopt;
            if constexpr (std::is_signed_v<T>)
                return static_cast<T>(v->unsafeInt());
            else
                return static_cast<T>(std::stoull(v->toString()));
        });
    }
};
template <>
struct Read<Integer> {
    static Reader<Integer> readPrec();
};
template <>
struct Read<Rational> {
    // n % d at precedence 7; a zero denominator does not parse.
    static Reader<Rational> readPrec();
};
template <>
struct Read<double> {
    // Numbers (with fraction and exponent), Infinity and NaN.
    static Reader<double> readPrec();
};
template <>
struct Read<bool> {
    static Reader<bool> readPrec();
};
template <>
struct Read<Char> {
    static Reader<Char> readPrec();
    // A string literal, or the standard list of characters.
    static Reader<std::vector<Char>> readListPrec();
};
template <>
struct Read<std::string> {
    static Reader<std::string> readPrec();
};
template <>
struct Read<Text> {
    static Reader<Text> readPrec();
};
template <>
struct Read<Unit> {
    static Reader<Unit> readPrec();
};
template <>
struct Read<Ordering> {
    static Reader<Ordering> readPrec();
};

template <class T>
Reader<std::optional<T>> readOptionalWith(Reader<T> elem) {
    return parens(alt(readNullary("Nothing", std::optional<T>()),
                      readConstructor<std::optional<T>>(
                          "Just", [](T x) { return std::optional<T>(std::move(x)); }, std::move(elem))));
}
template <class T>
struct Read<std::optional<T>> {
    static Reader<std::optional<T>> readPrec() { return readOptionalWith(core::readPrec<T>()); }
};

template <class L, class R>
Reader<Either<L, R>> readEitherWith(Reader<L> l, Reader<R> r) {
    return parens(alt(readConstructor<Either<L, R>>(
                          "Left", [](L x) { return Either<L, R>(core::Left(std::move(x))); }, std::move(l)),
                      readConstructor<Either<L, R>>(
                          "Right", [](R y) { return Either<L, R>(core::Right(std::move(y))); }, std::move(r))));
}
template <class L, class R>
struct Read<Either<L, R>> {
    static Reader<Either<L, R>> readPrec() { return readEitherWith(core::readPrec<L>(), core::readPrec<R>()); }
};

// "(" a "," b ")" with the components at precedence 0.
template <class A, class B>
Reader<std::pair<A, B>> readPairWith(Reader<A> a, Reader<B> b) {
    auto inner = bindP(reset(std::move(a)), [b = std::move(b)](const A& x) {
        return thenP(punc(","), mapP([x](const B& y) { return std::pair<A, B>(x, y); }, reset(b)));
    });
    return parens(paren(std::move(inner)));
}
template <class A, class B>
struct Read<std::pair<A, B>> {
    static Reader<std::pair<A, B>> readPrec() { return readPairWith(core::readPrec<A>(), core::readPrec<B>()); }
};

template <class... Ts>
    requires(sizeof...(Ts) >= 2)
struct Read<std::tuple<Ts...>> {
    static Reader<std::tuple<Ts...>> readPrec() {
        auto body = Reader<std::tuple<Ts...>>([](std::string_view in, std::size_t pos, int) {
            Parses<std::tuple<Ts...>> out;
            for (const auto& open : punc("(")(in, pos, 0)) {
                auto fields = readTupleFields<0, Ts...>(in, Parses<std::tuple<>>{{{}, open.rest}});
                for (auto& f : fields)
                    for (const auto& close : punc(")")(in, f.rest, 0)) out.push_back({f.value, close.rest});
            }
            return out;
        });
        return parens(std::move(body));
    }

private:
    template <std::size_t I, class... Us, class Acc>
    static auto readTupleFields(std::string_view in, Parses<Acc> acc) {
        if constexpr (I == sizeof...(Us)) {
            return acc;
        } else {
            using F = std::tuple_element_t<I, std::tuple<Us...>>;
            using Next = decltype(std::tuple_cat(std::declval<Acc>(), std::declval<std::tuple<F>>()));
            Parses<Next> next;
            for (auto& a : acc) {
                Parses<Unit> seps;
                if constexpr (I == 0)
                    seps.push_back({Unit{}, a.rest});
                else
                    seps = punc(",")(in, a.rest, 0);
                for (const auto& s : seps)
                    for (auto& x : core::readPrec<F>()(in, s.rest, 0))
                        next.push_back({std::tuple_cat(a.value, std::tuple<F>(std::move(x.value))), x.rest});
            }
            return readTupleFields<I + 1, Us...>(in, std::move(next));
        }
    }
};

template <class T>
struct Read<std::vector<T>> {
    static Reader<std::vector<T>> readPrec() { return readListPrec<T>(); }
};
template <class T>
struct Read<List<T>> {
    static Reader<List<T>> readPrec() {
        return mapP([](const std::vector<T>& v) { return List<T>::fromVector(v); }, readListPrec<T>());
    }
};
template <class T>
struct Read<NonEmpty<T>>;

// --- Lifted readers ----------------------------------------------------------
//
// Read1 reads a type constructor's values given how to read its elements:
//   template <> struct Read1<Tag> {
//       template <class A>
//       static Reader<Apply<Tag, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl);
//   };
// Read2 does the same for two-parameter tags with (rp1, rl1, rp2, rl2). The
// free functions below run them; the list forms read "[...]" of such values.

template <class K>
struct Read1;
template <class K2>
struct Read2;

template <class K, class A>
Reader<Apply<K, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
    return Read1<K>::template liftReadPrec<A>(std::move(rp), std::move(rl));
}
template <class K, class A>
Reader<std::vector<Apply<K, A>>> liftReadListPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
    return readListWith(liftReadPrec<K, A>(std::move(rp), std::move(rl)));
}
template <class K, class A>
std::vector<std::pair<Apply<K, A>, std::string_view>> liftReadsPrec(Reader<A> rp, Reader<std::vector<A>> rl, int d,
                                                                    std::string_view s) {
    return liftReadPrec<K, A>(std::move(rp), std::move(rl)).run(s, d);
}
template <class K, class A>
std::vector<std::pair<std::vector<Apply<K, A>>, std::string_view>> liftReadList(Reader<A> rp, Reader<std::vector<A>> rl,
                                                                                std::string_view s) {
    return liftReadListPrec<K, A>(std::move(rp), std::move(rl)).run(s, 0);
}
template <class K2, class A, class B>
Reader<Apply2<K2, A, B>> liftReadPrec2(Reader<A> rp1, Reader<std::vector<A>> rl1, Reader<B> rp2,
                                       Reader<std::vector<B>> rl2) {
    return Read2<K2>::template liftReadPrec2<A, B>(std::move(rp1), std::move(rl1), std::move(rp2), std::move(rl2));
}
template <class K2, class A, class B>
Reader<std::vector<Apply2<K2, A, B>>> liftReadListPrec2(Reader<A> rp1, Reader<std::vector<A>> rl1, Reader<B> rp2,
                                                        Reader<std::vector<B>> rl2) {
    return readListWith(liftReadPrec2<K2, A, B>(std::move(rp1), std::move(rl1), std::move(rp2), std::move(rl2)));
}
template <class K2, class A, class B>
std::vector<std::pair<Apply2<K2, A, B>, std::string_view>> liftReadsPrec2(Reader<A> rp1, Reader<std::vector<A>> rl1,
                                                                          Reader<B> rp2, Reader<std::vector<B>> rl2,
                                                                          int d, std::string_view s) {
    return liftReadPrec2<K2, A, B>(std::move(rp1), std::move(rl1), std::move(rp2), std::move(rl2)).run(s, d);
}
template <class K2, class A, class B>
std::vector<std::pair<std::vector<Apply2<K2, A, B>>, std::string_view>> liftReadList2(
    Reader<A> rp1, Reader<std::vector<A>> rl1, Reader<B> rp2, Reader<std::vector<B>> rl2, std::string_view s) {
    return liftReadListPrec2<K2, A, B>(std::move(rp1), std::move(rl1), std::move(rp2), std::move(rl2)).run(s, 0);
}

// "Con x" with x read at precedence 11, inside any parentheses; rejected
// above precedence 10 unless parenthesised.
template <class R, class X, class Build>
Reader<R> readUnaryWith(std::string_view name, Reader<X> rx, Build build) {
    return parens(readConstructor<R>(name, std::move(build), std::move(rx)));
}
// "Con x y" with both read at precedence 11.
template <class R, class X, class Y, class Build>
Reader<R> readBinaryWith(std::string_view name, Reader<X> rx, Reader<Y> ry, Build build) {
    return parens(readConstructor<R>(name, std::move(build), std::move(rx), std::move(ry)));
}
// "Con {field = x}" (record syntax) with x read at precedence 0.
template <class R, class X, class Build>
Reader<R> readRecordWith(std::string_view con, std::string_view field, Reader<X> rx, Build build) {
    auto body = thenP(ident(con),
                      thenP(punc("{"), thenP(ident(field), thenP(punc("="), thenSkipP(mapP(std::move(build), reset(std::move(rx))),
                                                                                           punc("}"))))));
    return parens(prec(11, std::move(body)));
}

template <>
struct Read1<OptionalK> {
    template <class A>
    static Reader<std::optional<A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>>) {
        return readOptionalWith(std::move(rp));
    }
};
template <>
struct Read2<EitherK2> {
    template <class A, class B>
    static Reader<Either<A, B>> liftReadPrec2(Reader<A> rp1, Reader<std::vector<A>>, Reader<B> rp2, Reader<std::vector<B>>) {
        return readEitherWith(std::move(rp1), std::move(rp2));
    }
};
template <class L>
struct Read1<EitherK<L>> {
    template <class A>
    static Reader<Either<L, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>>) {
        return readEitherWith(core::readPrec<L>(), std::move(rp));
    }
};
template <>
struct Read2<PairK2> {
    template <class A, class B>
    static Reader<std::pair<A, B>> liftReadPrec2(Reader<A> rp1, Reader<std::vector<A>>, Reader<B> rp2,
                                                 Reader<std::vector<B>>) {
        return readPairWith(std::move(rp1), std::move(rp2));
    }
};
template <class W>
struct Read1<PairK<W>> {
    template <class A>
    static Reader<std::pair<W, A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>>) {
        return readPairWith(core::readPrec<W>(), std::move(rp));
    }
};
// Lists read with the element list reader (so lists of characters read strings).
template <>
struct Read1<VectorK> {
    template <class A>
    static Reader<std::vector<A>> liftReadPrec(Reader<A>, Reader<std::vector<A>> rl) {
        return rl;
    }
};
template <>
struct Read1<ListK> {
    template <class A>
    static Reader<List<A>> liftReadPrec(Reader<A>, Reader<std::vector<A>> rl) {
        return mapP([](const std::vector<A>& v) { return List<A>::fromVector(v); }, std::move(rl));
    }
};
template <>
struct Read1<NonEmptyK> {
    template <class A>
    static Reader<NonEmpty<A>> liftReadPrec(Reader<A> rp, Reader<std::vector<A>> rl) {
        auto body = bindP(step(std::move(rp)), [rl = std::move(rl)](const A& x) {
            return thenP(symbol(":|"), mapP([x](const std::vector<A>& rest) { return NonEmpty<A>(x, List<A>::fromVector(rest)); },
                                            step(rl)));
        });
        return parens(prec(5, std::move(body)));
    }
};

}  // namespace core

namespace core {
// x :| [rest], at precedence 5.
template <class T>
struct Read<NonEmpty<T>> {
    static Reader<NonEmpty<T>> readPrec() { return Read1<NonEmptyK>::liftReadPrec<T>(core::readPrec<T>(), readListPrec<T>()); }
};
}  // namespace core
