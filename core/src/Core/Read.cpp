#include "Core/Read.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace core {

namespace {
// Exponents beyond this are not expanded into digits: such a number does
// not parse as a whole number (it would need more memory than any input
// could justify).
constexpr long maxWholeExponent = 100000;

template <class T>
Reader<T> lexemeReader(std::function<std::optional<T>(const Lexeme&)> f) {
    return bindP(lexP(), [f = std::move(f)](const Lexeme& l) {
        auto v = f(l);
        return v ? pureP(std::move(*v)) : pfail<T>();
    });
}
}  // namespace

std::optional<Integer> lexemeToInteger(const LexNumber& n, bool negate) {
    std::optional<Integer> v = n.toInteger();
    if (!v && n.base == 10) {
        // A whole number may be written with a fraction of zeros or an
        // exponent that makes it whole ("1e3", "2.50e1").
        std::string digits = n.digits;
        if (n.fraction) digits += *n.fraction;
        Integer e = n.exponent.value_or(Integer(0)) - Integer(static_cast<Int>(n.fraction ? n.fraction->size() : 0));
        auto ei = e.toInt();
        if (!ei || *ei > maxWholeExponent) return std::nullopt;
        if (*ei >= 0) {
            digits.append(static_cast<std::size_t>(*ei), '0');
        } else {
            auto cut = static_cast<std::size_t>(-*ei);
            if (cut > digits.size()) cut = digits.size();
            for (std::size_t i = digits.size() - cut; i < digits.size(); ++i)
                if (digits[i] != '0') return std::nullopt;
            digits.resize(digits.size() - cut);
            if (digits.empty()) digits.push_back('0');
        }
        v = Integer::fromDigits(digits);
    }
    if (!v) return std::nullopt;
    return negate ? -*v : *v;
}

std::optional<double> lexemeToDouble(const LexNumber& n, bool negate) {
    double v;
    if (n.base != 10) {
        auto i = n.toInteger();
        if (!i) return std::nullopt;
        v = i->toDouble();
    } else {
        std::string s = n.toDecimalString();
        errno = 0;
        v = std::strtod(s.c_str(), nullptr);
    }
    return negate ? -v : v;
}

Reader<Integer> Read<Integer>::readPrec() { return readNumber<Integer>(lexemeToInteger); }

Reader<Rational> Read<Rational>::readPrec() {
    auto body = bindP(step(core::readPrec<Integer>()), [](const Integer& n) {
        return thenP(symbol("%"), bindP(step(core::readPrec<Integer>()), [n](const Integer& d) {
                         if (d.signum() == 0) return pfail<Rational>();
                         return pureP(Rational(n, d));
                     }));
    });
    return parens(prec(7, std::move(body)));
}

Reader<double> Read<double>::readPrec() {
    auto number = readNumber<double>(lexemeToDouble);
    auto special = parens(alt(readNullary("Infinity", HUGE_VAL), readNullary("NaN", std::nan(""))));
    auto negInf = parens(prec(6, thenP(symbol("-"), thenP(ident("Infinity"), pureP(-HUGE_VAL)))));
    return choice<double>({std::move(number), std::move(special), std::move(negInf)});
}

Reader<bool> Read<bool>::readPrec() {
    return parens(alt(readNullary("False", false), readNullary("True", true)));
}

Reader<Char> Read<Char>::readPrec() {
    return parens(lexemeReader<Char>([](const Lexeme& l) -> std::optional<Char> {
        if (l.kind != Lexeme::Kind::Char) return std::nullopt;
        return l.ch;
    }));
}

namespace {
Reader<std::string> stringLiteral() {
    return parens(lexemeReader<std::string>([](const Lexeme& l) -> std::optional<std::string> {
        if (l.kind != Lexeme::Kind::String) return std::nullopt;
        return l.text;
    }));
}
}  // namespace

Reader<std::vector<Char>> Read<Char>::readListPrec() {
    auto str = mapP(
        [](const std::string& s) {
            std::vector<Char> out;
            std::string_view v = s;
            while (auto d = utf8::decode(v)) {
                out.push_back(d->c);
                v.remove_prefix(d->size);
            }
            return out;
        },
        stringLiteral());
    return alt(std::move(str), readListWith(Read<Char>::readPrec()));
}

Reader<std::string> Read<std::string>::readPrec() {
    return mapP(
        [](const std::vector<Char>& cs) {
            std::string s;
            for (Char c : cs) utf8::append(s, c);
            return s;
        },
        Read<Char>::readListPrec());
}

Reader<Text> Read<Text>::readPrec() {
    return mapP([](const std::string& s) { return Text(s); }, Read<std::string>::readPrec());
}

Reader<Unit> Read<Unit>::readPrec() { return parens(paren(pureP(Unit{}))); }

Reader<Ordering> Read<Ordering>::readPrec() {
    return parens(choice<Ordering>({readNullary("LT", LT), readNullary("EQ", EQ), readNullary("GT", GT)}));
}

}  // namespace core
