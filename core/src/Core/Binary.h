#pragma once
// core::Binary: encoding values to bytes and decoding them back.
//
//   std::string bytes = core::encode(std::pair{core::Text("id"), Int{7}});
//   auto back = core::decode<std::pair<core::Text, Int>>(bytes);
//   if (back) use(*back); else report(back.error());   // Either<std::string, T>
//
// An implementation is a specialisation of `Binary<T>` with
//
//   static void put(Encoder& out, const T& x);
//   static DecodeResult<T> get(Decoder& in);       // Either<std::string, T>
//
// and, when every value of T encodes to no bytes at all (Unit), also
// `static constexpr bool encodesToNothing = true;`. Every other
// implementation must write at least one byte per value: list decoding
// relies on it to reject counts larger than the input before decoding any
// element. `core::BinaryType<T>` tells whether an implementation exists.
//
// Decoding reads from a byte span and never past its end. It fails with a
// message, never with a crash, on any input: a truncated input gives "Not
// enough bytes", bytes left after the value give "Not all input consumed"
// (core::decode only), and malformed input the messages listed below. No
// memory is reserved from a count read from the input before the bytes it
// announces are known to be there. Encodings are canonical: a successful
// decode re-encodes to exactly the bytes it read.
//
// The encodings (see also docs/binary.md):
//
//   Int, and every    the value in its own width (Int: 8 bytes), two's
//   integer type      complement, most significant byte first.
//   Bool              one byte, 0 or 1; other bytes fail "Invalid Bool value".
//   Char              the UTF-8 form of the code point (1 to 4 bytes); an
//                     invalid, overlong or surrogate sequence fails "Invalid
//                     Char". Putting a value that is not a Unicode scalar
//                     value writes U+FFFD, as Text does.
//   double, float     the IEEE 754 bits in 8 or 4 bytes, most significant
//                     byte first (exact, NaN payloads included).
//   Ordering          one byte: 0 (LT), 1 (EQ), 2 (GT); else "Invalid
//                     Ordering value".
//   Unit              nothing.
//   Void              has no values; decoding fails "Void has no values".
//   Integer           a tag byte. 0: the value fits an Int and follows as an
//                     Int. 1: it does not; a sign byte (0 positive, 1
//                     negative), the length of the magnitude as an Int, and
//                     the magnitude's bytes, most significant first, with no
//                     leading zero byte. Other tags fail "Invalid Integer
//                     tag", other sign bytes "Invalid Integer sign", a big
//                     form of a value that fits an Int or with a leading zero
//                     "Non-canonical Integer".
//   Rational          the numerator, then the denominator, as Integers; a
//                     denominator that is not positive or a fraction not in
//                     lowest terms fails "Invalid Rational".
//   Text              the length in bytes as an Int, then the UTF-8 bytes;
//                     invalid UTF-8 fails "Invalid UTF-8 in Text".
//   std::string       the same layout, but the bytes are taken as they are:
//                     a std::string may hold any bytes, and every one
//                     round-trips. A valid UTF-8 string and the Text of it
//                     have the same encoding.
//   List, std::vector the number of elements as an Int, then each element.
//   NonEmpty          the same; a count of 0 fails "Empty NonEmpty".
//   std::optional     a tag byte: 0 for Nothing; 1 then the value. Other
//                     tags fail "Invalid Maybe tag".
//   Either            a tag byte: 0 then the Left value; 1 then the Right
//                     value. Other tags fail "Invalid Either tag".
//   std::pair,        each component in order, with nothing around them.
//   std::tuple
//
// A negative count or length fails "Negative length". A count larger than
// the bytes that remain fails "Not enough bytes" at once, except for
// elements that encode to nothing; of those, one decoder accepts at most
// `Decoder::maxEmptyElements` in total, beyond which it fails "Too many
// empty elements" (so that a few bytes cannot demand unbounded memory).
#include <algorithm>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ranges>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "Core/Either.h"
#include "Core/Integer.h"
#include "Core/List.h"
#include "Core/NonEmpty.h"
#include "Core/Rational.h"
#include "Core/Text.h"
#include "Core/Types.h"

namespace core {

// The result of a decoding step: the failure message or the value.
template <class T>
using DecodeResult = Either<std::string, T>;

// The failure messages of the decoders of this module.
namespace decodeError {
inline constexpr const char* notEnoughBytes = "Not enough bytes";
inline constexpr const char* trailingBytes = "Not all input consumed";
inline constexpr const char* negativeLength = "Negative length";
inline constexpr const char* tooManyEmpty = "Too many empty elements";
inline constexpr const char* invalidBool = "Invalid Bool value";
inline constexpr const char* invalidChar = "Invalid Char";
inline constexpr const char* invalidOrdering = "Invalid Ordering value";
inline constexpr const char* voidValue = "Void has no values";
inline constexpr const char* invalidIntegerTag = "Invalid Integer tag";
inline constexpr const char* invalidIntegerSign = "Invalid Integer sign";
inline constexpr const char* nonCanonicalInteger = "Non-canonical Integer";
inline constexpr const char* invalidRational = "Invalid Rational";
inline constexpr const char* invalidText = "Invalid UTF-8 in Text";
inline constexpr const char* emptyNonEmpty = "Empty NonEmpty";
inline constexpr const char* invalidMaybeTag = "Invalid Maybe tag";
inline constexpr const char* invalidEitherTag = "Invalid Either tag";
}  // namespace decodeError

// Appends encoded values to a byte string.
class Encoder {
public:
    Encoder() = default;

    void putByte(std::uint8_t b) { out_.push_back(static_cast<char>(b)); }
    void putBytes(std::string_view bytes) { out_.append(bytes); }
    // The low `width` bytes of v (1 to 8), most significant first.
    void putWord(std::uint64_t v, std::size_t width) {
        char buf[8];
        for (std::size_t i = 0; i < width; ++i) buf[i] = static_cast<char>(v >> (8 * (width - 1 - i)));
        out_.append(buf, width);
    }
    // An Int: 8 bytes, two's complement, most significant first.
    void putInt(Int v) { putWord(static_cast<std::uint64_t>(v), 8); }
    // A count or length, written as an Int.
    void putCount(std::size_t n) { putInt(static_cast<Int>(n)); }

    const std::string& bytes() const noexcept { return out_; }
    std::size_t size() const noexcept { return out_.size(); }
    // Hands over the bytes, leaving the encoder empty.
    std::string take() noexcept { return std::move(out_); }

private:
    std::string out_;
};

// Reads encoded values from a byte span, front to back. Every read checks
// the bytes that remain first; a failed read of bytes leaves the position
// unchanged. The decoder does not own the bytes: they must outlive it.
class Decoder {
public:
    // The most elements that encode to nothing (Unit, empty tuples) that one
    // decoder produces, summed over all the lists it decodes.
    static constexpr std::size_t maxEmptyElements = std::size_t{1} << 20;

    explicit Decoder(std::string_view bytes) noexcept : data_(bytes.data()), size_(bytes.size()) {}
    explicit Decoder(std::span<const std::uint8_t> bytes) noexcept
        : data_(reinterpret_cast<const char*>(bytes.data())), size_(bytes.size()) {}

    std::size_t position() const noexcept { return pos_; }
    std::size_t remaining() const noexcept { return size_ - pos_; }
    bool atEnd() const noexcept { return pos_ == size_; }

    DecodeResult<std::uint8_t> getByte() {
        if (pos_ == size_) return Left(std::string(decodeError::notEnoughBytes));
        return Right(static_cast<std::uint8_t>(data_[pos_++]));
    }
    // The next n bytes, as a view into the input.
    DecodeResult<std::string_view> getBytes(std::size_t n) {
        if (n > remaining()) return Left(std::string(decodeError::notEnoughBytes));
        std::string_view v(data_ + pos_, n);
        pos_ += n;
        return Right(v);
    }
    // The next n bytes without consuming them (fewer at the end).
    std::string_view peek(std::size_t n) const noexcept {
        return std::string_view(data_ + pos_, std::min(n, remaining()));
    }
    // An unsigned value of `width` bytes (1 to 8), most significant first.
    DecodeResult<std::uint64_t> getWord(std::size_t width) {
        if (width > remaining()) return Left(std::string(decodeError::notEnoughBytes));
        std::uint64_t v = 0;
        for (std::size_t i = 0; i < width; ++i) v = (v << 8) | static_cast<unsigned char>(data_[pos_ + i]);
        pos_ += width;
        return Right(v);
    }
    DecodeResult<Int> getInt() {
        auto w = getWord(8);
        if (!w) return Left(w.error());
        return Right(static_cast<Int>(*w));
    }
    // A count or length written as an Int: fails on a negative value, and
    // on one larger than the bytes that remain, because every element takes
    // at least one byte. For elements that encode to nothing, pass
    // `elementsEncodeToNothing`: the count then draws on the decoder's
    // allowance of maxEmptyElements instead.
    DecodeResult<std::size_t> getCount(bool elementsEncodeToNothing = false) {
        auto n = getInt();
        if (!n) return Left(n.error());
        if (*n < 0) return Left(std::string(decodeError::negativeLength));
        const auto count = static_cast<std::uint64_t>(*n);
        if (elementsEncodeToNothing) {
            if (count > emptyAllowance_) return Left(std::string(decodeError::tooManyEmpty));
            emptyAllowance_ -= static_cast<std::size_t>(count);
        } else if (count > remaining()) {
            return Left(std::string(decodeError::notEnoughBytes));
        }
        return Right(static_cast<std::size_t>(count));
    }

private:
    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    std::size_t emptyAllowance_ = maxEmptyElements;
};

// The byte encoding of T; specialise it for your own types. The primary
// template is empty: BinaryType<T> is false until a specialisation provides
// put and get.
template <class T, class = void>
struct Binary {};

// True when T has a Binary implementation.
template <class T>
concept BinaryType = requires(Encoder& e, Decoder& d, const T& x) {
    Binary<T>::put(e, x);
    { Binary<T>::get(d) } -> std::same_as<DecodeResult<T>>;
};

// True when every value of T encodes to no bytes (declared by the
// implementation as `encodesToNothing`).
template <class T>
constexpr bool encodesToNothing() {
    if constexpr (requires { Binary<T>::encodesToNothing; })
        return Binary<T>::encodesToNothing;
    else
        return false;
}

template <BinaryType T>
void put(Encoder& out, const T& x) {
    Binary<T>::put(out, x);
}
template <BinaryType T>
DecodeResult<T> get(Decoder& in) {
    return Binary<T>::get(in);
}

// Writes a finite range as a list: the number of elements as an Int, then
// each element in order.
template <std::ranges::input_range Range>
    requires BinaryType<std::ranges::range_value_t<Range>>
void putList(Encoder& out, const Range& xs) {
    std::size_t n = 0;
    if constexpr (std::ranges::sized_range<const Range>) {
        n = static_cast<std::size_t>(std::ranges::size(xs));
    } else {
        for (auto it = std::ranges::begin(xs); it != std::ranges::end(xs); ++it) ++n;
    }
    out.putCount(n);
    for (const auto& x : xs) core::put<std::ranges::range_value_t<Range>>(out, x);
}

// Reads n elements of T.
template <BinaryType T>
DecodeResult<std::vector<T>> getElements(Decoder& in, std::size_t n) {
    std::vector<T> out;
    // The count is already checked against the input, but an element may
    // be much larger in memory than in bytes: grow as elements arrive.
    out.reserve(std::min<std::size_t>(n, 64));
    for (std::size_t i = 0; i < n; ++i) {
        auto x = core::get<T>(in);
        if (!x) return Left(x.error());
        out.push_back(std::move(x).value());
    }
    return Right(std::move(out));
}

// Reads a list written by putList.
template <BinaryType T>
DecodeResult<std::vector<T>> getList(Decoder& in) {
    auto n = in.getCount(encodesToNothing<T>());
    if (!n) return Left(n.error());
    return getElements<T>(in, *n);
}

// The bytes of x.
template <BinaryType T>
std::string encode(const T& x) {
    Encoder e;
    core::put<T>(e, x);
    return e.take();
}

// Decodes a whole input as one T: fails if the value is malformed or
// truncated, or if bytes are left after it ("Not all input consumed").
template <BinaryType T>
DecodeResult<T> decode(std::string_view bytes) {
    Decoder d(bytes);
    auto r = core::get<T>(d);
    if (r && !d.atEnd()) return Left(std::string(decodeError::trailingBytes));
    return r;
}
template <BinaryType T>
DecodeResult<T> decode(std::span<const std::uint8_t> bytes) {
    return decode<T>(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

// ---- Implementations for the standard types ----

// Integers of every width except bool and Char: their own width, most
// significant byte first.
template <class T>
struct Binary<T, std::enable_if_t<std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, Char>>> {
    static void put(Encoder& out, T x) {
        out.putWord(static_cast<std::uint64_t>(static_cast<std::make_unsigned_t<T>>(x)), sizeof(T));
    }
    static DecodeResult<T> get(Decoder& in) {
        auto w = in.getWord(sizeof(T));
        if (!w) return Left(w.error());
        return Right(static_cast<T>(static_cast<std::make_unsigned_t<T>>(*w)));
    }
};

template <>
struct Binary<bool> {
    static void put(Encoder& out, bool b) { out.putByte(b ? 1 : 0); }
    static DecodeResult<bool> get(Decoder& in);
};

template <>
struct Binary<Char> {
    static void put(Encoder& out, Char c);
    static DecodeResult<Char> get(Decoder& in);
};

template <>
struct Binary<double> {
    static void put(Encoder& out, double x);
    static DecodeResult<double> get(Decoder& in);
};
template <>
struct Binary<float> {
    static void put(Encoder& out, float x);
    static DecodeResult<float> get(Decoder& in);
};

template <>
struct Binary<Ordering> {
    static void put(Encoder& out, Ordering o) { out.putByte(static_cast<std::uint8_t>(o)); }
    static DecodeResult<Ordering> get(Decoder& in);
};

template <>
struct Binary<Unit> {
    static constexpr bool encodesToNothing = true;
    static void put(Encoder&, Unit) {}
    static DecodeResult<Unit> get(Decoder&) { return Right(unit); }
};

template <>
struct Binary<Void> {
    static void put(Encoder&, const Void& v) { absurd<void>(v); }
    static DecodeResult<Void> get(Decoder&) { return Left(std::string(decodeError::voidValue)); }
};

template <>
struct Binary<Integer> {
    static void put(Encoder& out, const Integer& x);
    static DecodeResult<Integer> get(Decoder& in);
};

template <>
struct Binary<Rational> {
    static void put(Encoder& out, const Rational& x);
    static DecodeResult<Rational> get(Decoder& in);
};

template <>
struct Binary<Text> {
    static void put(Encoder& out, const Text& t) {
        out.putCount(t.sizeBytes());
        out.putBytes(t.view());
    }
    static DecodeResult<Text> get(Decoder& in);
};

template <>
struct Binary<std::string> {
    static void put(Encoder& out, const std::string& s) {
        out.putCount(s.size());
        out.putBytes(s);
    }
    static DecodeResult<std::string> get(Decoder& in);
};

template <BinaryType A, class Alloc>
struct Binary<std::vector<A, Alloc>> {
    static void put(Encoder& out, const std::vector<A, Alloc>& xs) { putList(out, xs); }
    static DecodeResult<std::vector<A, Alloc>> get(Decoder& in) {
        if constexpr (std::is_same_v<Alloc, std::allocator<A>>) {
            return getList<A>(in);
        } else {
            auto v = getList<A>(in);
            if (!v) return Left(v.error());
            return Right(std::vector<A, Alloc>(std::make_move_iterator(v->begin()), std::make_move_iterator(v->end())));
        }
    }
};

template <BinaryType A>
struct Binary<List<A>> {
    static void put(Encoder& out, const List<A>& xs) { putList(out, xs); }
    static DecodeResult<List<A>> get(Decoder& in) {
        auto v = getList<A>(in);
        if (!v) return Left(v.error());
        return Right(fromBack(std::move(v).value(), 0));
    }
    // The list of v[skip..], built back to front.
    static List<A> fromBack(std::vector<A>&& v, std::size_t skip) {
        List<A> out;
        for (std::size_t i = v.size(); i > skip; --i) out = List<A>::cons(std::move(v[i - 1]), std::move(out));
        return out;
    }
};

template <BinaryType A>
struct Binary<NonEmpty<A>> {
    static void put(Encoder& out, const NonEmpty<A>& xs) {
        out.putCount(1 + xs.tail.length());
        core::put<A>(out, xs.head);
        for (const A& x : xs.tail) core::put<A>(out, x);
    }
    static DecodeResult<NonEmpty<A>> get(Decoder& in) {
        auto n = in.getCount(encodesToNothing<A>());
        if (!n) return Left(n.error());
        if (*n == 0) return Left(std::string(decodeError::emptyNonEmpty));
        auto v = getElements<A>(in, *n);
        if (!v) return Left(v.error());
        std::vector<A> xs = std::move(v).value();
        List<A> tail = Binary<List<A>>::fromBack(std::move(xs), 1);
        return Right(NonEmpty<A>(std::move(xs[0]), std::move(tail)));
    }
};

template <BinaryType A>
struct Binary<std::optional<A>> {
    static void put(Encoder& out, const std::optional<A>& m) {
        if (!m) {
            out.putByte(0);
        } else {
            out.putByte(1);
            core::put<A>(out, *m);
        }
    }
    static DecodeResult<std::optional<A>> get(Decoder& in) {
        auto tag = in.getByte();
        if (!tag) return Left(tag.error());
        if (*tag == 0) return Right(std::optional<A>());
        if (*tag != 1) return Left(std::string(decodeError::invalidMaybeTag));
        auto x = core::get<A>(in);
        if (!x) return Left(x.error());
        return Right(std::optional<A>(std::move(x).value()));
    }
};

template <BinaryType L, BinaryType R>
struct Binary<Either<L, R>> {
    static void put(Encoder& out, const Either<L, R>& e) {
        if (e.isLeft()) {
            out.putByte(0);
            core::put<L>(out, e.unsafeLeft());
        } else {
            out.putByte(1);
            core::put<R>(out, e.unsafeRight());
        }
    }
    static DecodeResult<Either<L, R>> get(Decoder& in) {
        auto tag = in.getByte();
        if (!tag) return Left(tag.error());
        if (*tag == 0) {
            auto x = core::get<L>(in);
            if (!x) return Left(x.error());
            return Right(Either<L, R>::left(std::move(x).value()));
        }
        if (*tag == 1) {
            auto y = core::get<R>(in);
            if (!y) return Left(y.error());
            return Right(Either<L, R>::right(std::move(y).value()));
        }
        return Left(std::string(decodeError::invalidEitherTag));
    }
};

template <BinaryType A, BinaryType B>
struct Binary<std::pair<A, B>> {
    static constexpr bool encodesToNothing = core::encodesToNothing<A>() && core::encodesToNothing<B>();
    static void put(Encoder& out, const std::pair<A, B>& p) {
        core::put<A>(out, p.first);
        core::put<B>(out, p.second);
    }
    static DecodeResult<std::pair<A, B>> get(Decoder& in) {
        auto a = core::get<A>(in);
        if (!a) return Left(a.error());
        auto b = core::get<B>(in);
        if (!b) return Left(b.error());
        return Right(std::pair<A, B>(std::move(a).value(), std::move(b).value()));
    }
};

template <BinaryType... Ts>
struct Binary<std::tuple<Ts...>> {
    static constexpr bool encodesToNothing = (core::encodesToNothing<Ts>() && ...);
    static void put(Encoder& out, const std::tuple<Ts...>& t) { putEach(out, t, std::index_sequence_for<Ts...>()); }
    static DecodeResult<std::tuple<Ts...>> get(Decoder& in) {
        std::tuple<std::optional<Ts>...> parts;
        std::string error;
        if (!getEach(in, parts, error, std::index_sequence_for<Ts...>())) return Left(std::move(error));
        return Right(std::apply([](auto&... p) { return std::tuple<Ts...>(std::move(*p)...); }, parts));
    }

private:
    template <std::size_t... I>
    static void putEach(Encoder& out, const std::tuple<Ts...>& t, std::index_sequence<I...>) {
        (core::put<Ts>(out, std::get<I>(t)), ...);
    }
    template <std::size_t... I>
    static bool getEach(Decoder& in, std::tuple<std::optional<Ts>...>& parts, std::string& error,
                        std::index_sequence<I...>) {
        // && stops at the first failure and keeps the order of the parts.
        return (getOne<I>(in, parts, error) && ...);
    }
    template <std::size_t I>
    static bool getOne(Decoder& in, std::tuple<std::optional<Ts>...>& parts, std::string& error) {
        using E = std::tuple_element_t<I, std::tuple<Ts...>>;
        auto x = core::get<E>(in);
        if (!x) {
            error = x.error();
            return false;
        }
        std::get<I>(parts).emplace(std::move(x).value());
        return true;
    }
};

}  // namespace core
