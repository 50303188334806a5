#include "Core/Binary.h"

#include <bit>
#include <cstring>

#include "Core/IntegerGmp.h"

namespace core {

namespace {

std::string message(const char* m) { return std::string(m); }

// Owns an mpz_t for the duration of a decode.
struct Mpz {
    Mpz() { mpz_init(v); }
    ~Mpz() { mpz_clear(v); }
    Mpz(const Mpz&) = delete;
    Mpz& operator=(const Mpz&) = delete;
    mpz_t v;
};

// The number of bytes of the UTF-8 sequence that starts with b, or 0 when
// b cannot start one.
std::size_t utf8SequenceLength(unsigned char b) noexcept {
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if ((b & 0xF8) == 0xF0) return 4;
    return 0;
}

}  // namespace

DecodeResult<bool> Binary<bool>::get(Decoder& in) {
    auto b = in.getByte();
    if (!b) return Left(b.error());
    if (*b > 1) return Left(message(decodeError::invalidBool));
    return Right(*b == 1);
}

void Binary<Char>::put(Encoder& out, Char c) {
    std::string s;
    utf8::append(s, c);
    out.putBytes(s);
}

DecodeResult<Char> Binary<Char>::get(Decoder& in) {
    const std::string_view front = in.peek(4);
    if (front.empty()) return Left(message(decodeError::notEnoughBytes));
    const std::size_t n = utf8SequenceLength(static_cast<unsigned char>(front[0]));
    if (n == 0) return Left(message(decodeError::invalidChar));
    if (n > front.size()) return Left(message(decodeError::notEnoughBytes));
    // utf8::decode rejects bad continuation bytes, overlong forms,
    // surrogates and values above U+10FFFF.
    auto d = utf8::decode(front.substr(0, n));
    if (!d || d->size != n) return Left(message(decodeError::invalidChar));
    (void)in.getBytes(n);
    return Right(d->c);
}

void Binary<double>::put(Encoder& out, double x) { out.putWord(std::bit_cast<std::uint64_t>(x), 8); }
DecodeResult<double> Binary<double>::get(Decoder& in) {
    auto w = in.getWord(8);
    if (!w) return Left(w.error());
    return Right(std::bit_cast<double>(*w));
}
void Binary<float>::put(Encoder& out, float x) { out.putWord(std::bit_cast<std::uint32_t>(x), 4); }
DecodeResult<float> Binary<float>::get(Decoder& in) {
    auto w = in.getWord(4);
    if (!w) return Left(w.error());
    return Right(std::bit_cast<float>(static_cast<std::uint32_t>(*w)));
}

DecodeResult<Ordering> Binary<Ordering>::get(Decoder& in) {
    auto b = in.getByte();
    if (!b) return Left(b.error());
    if (*b > 2) return Left(message(decodeError::invalidOrdering));
    return Right(static_cast<Ordering>(*b));
}

void Binary<Integer>::put(Encoder& out, const Integer& x) {
    mpz_srcptr z = bigMpz(x);
    if (!z) {
        out.putByte(0);
        out.putInt(x.unsafeInt());
        return;
    }
    out.putByte(1);
    out.putByte(mpz_sgn(z) < 0 ? 1 : 0);
    std::size_t n = (mpz_sizeinbase(z, 2) + 7) / 8;
    std::string mag(n, '\0');
    // Most significant byte first; the sign is dropped.
    mpz_export(mag.data(), &n, 1, 1, 0, 0, z);
    out.putCount(n);
    out.putBytes(std::string_view(mag.data(), n));
}

DecodeResult<Integer> Binary<Integer>::get(Decoder& in) {
    auto tag = in.getByte();
    if (!tag) return Left(tag.error());
    if (*tag == 0) {
        auto v = in.getInt();
        if (!v) return Left(v.error());
        return Right(Integer(*v));
    }
    if (*tag != 1) return Left(message(decodeError::invalidIntegerTag));
    auto sign = in.getByte();
    if (!sign) return Left(sign.error());
    if (*sign > 1) return Left(message(decodeError::invalidIntegerSign));
    auto n = in.getCount();  // checked against the bytes that remain
    if (!n) return Left(n.error());
    auto mag = in.getBytes(*n);
    if (!mag) return Left(mag.error());
    // Canonical: no leading zero byte, and a value that does not fit an
    // Int (those use tag 0). Both are cheap to test before building it.
    if (mag->empty() || mag->front() == '\0') return Left(message(decodeError::nonCanonicalInteger));
    if (mag->size() < 8) return Left(message(decodeError::nonCanonicalInteger));
    Mpz z;
    mpz_import(z.v, mag->size(), 1, 1, 0, 0, mag->data());
    if (*sign == 1) mpz_neg(z.v, z.v);
    if (mpz_fits_slong_p(z.v)) return Left(message(decodeError::nonCanonicalInteger));
    return Right(fromMpz(z.v));
}

void Binary<Rational>::put(Encoder& out, const Rational& x) {
    Binary<Integer>::put(out, x.numerator());
    Binary<Integer>::put(out, x.denominator());
}

DecodeResult<Rational> Binary<Rational>::get(Decoder& in) {
    auto n = Binary<Integer>::get(in);
    if (!n) return Left(n.error());
    auto d = Binary<Integer>::get(in);
    if (!d) return Left(d.error());
    // Only the form the encoder writes: positive denominator, lowest terms.
    if (d->signum() <= 0 || gcd(*n, *d) != Integer(1)) return Left(message(decodeError::invalidRational));
    return Right(Rational(std::move(n).value(), std::move(d).value()));
}

DecodeResult<Text> Binary<Text>::get(Decoder& in) {
    auto n = in.getCount();
    if (!n) return Left(n.error());
    auto bytes = in.getBytes(*n);
    if (!bytes) return Left(bytes.error());
    auto t = Text::fromUtf8(*bytes);
    if (!t) return Left(message(decodeError::invalidText));
    return Right(std::move(*t));
}

DecodeResult<std::string> Binary<std::string>::get(Decoder& in) {
    auto n = in.getCount();
    if (!n) return Left(n.error());
    auto bytes = in.getBytes(*n);
    if (!bytes) return Left(bytes.error());
    return Right(std::string(*bytes));
}

}  // namespace core
