#include "Core/Integer.h"

#include <gmp.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <numeric>

#include "Core/Error.h"
#include "Core/IntegerGmp.h"

// The inline form is an Int and GMP's long-taking functions are used on it;
// a small value is also viewed as a one-limb GMP integer.
static_assert(sizeof(long) == sizeof(core::Int), "GMP's long must be 64 bits");
static_assert(GMP_NUMB_BITS == 64 && sizeof(mp_limb_t) == 8, "64-bit GMP limbs without nails expected");

namespace core {

namespace detail {

BigInt* bigCopy(const BigInt* b) {
    auto* r = new BigInt;
    mpz_init_set(r->v, b->v);
    return r;
}

void bigFree(BigInt* b) noexcept {
    mpz_clear(b->v);
    delete b;
}

}  // namespace detail

namespace {

using detail::BigInt;

constexpr std::uint64_t magnitude(Int v) noexcept {
    return v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

// Powers whose result would exceed this many bits (512 MiB) raise
// core::Error instead of exhausting memory, at which point GMP would abort
// the process.
constexpr mp_bitcnt_t kMaxBits = mp_bitcnt_t{1} << 32;

[[noreturn]] void tooLarge() { raise("Integer: result too large"); }
[[noreturn]] void divideByZero() { raise("divide by zero"); }

// A read-only GMP view of any Integer. A small value is presented as a
// one-limb integer on the stack, so mixed small/big operations never copy
// the small operand to the heap.
class View {
public:
    explicit View(const Integer& x) noexcept {
        if (const BigInt* b = x.bigRep()) {
            p_ = b->v;
        } else {
            const Int s = x.unsafeInt();
            limb_ = magnitude(s);
            mpz_roinit_n(tmp_, &limb_, s < 0 ? -1 : (s > 0 ? 1 : 0));
            p_ = tmp_;
        }
    }
    View(const View&) = delete;
    View& operator=(const View&) = delete;
    operator mpz_srcptr() const noexcept { return p_; }

private:
    mp_limb_t limb_ = 0;
    mpz_t tmp_;
    mpz_srcptr p_;
};

// A GMP temporary that receives a result. `release` turns it into an
// Integer: a value that fits becomes the inline form, otherwise the limbs
// move to the heap node without copying. Unreleased, it frees itself.
class Temp {
public:
    Temp() noexcept { mpz_init(v); }
    explicit Temp(mp_bitcnt_t bits) { mpz_init2(v, bits); }
    Temp(const Temp&) = delete;
    Temp& operator=(const Temp&) = delete;
    ~Temp() {
        if (live_) mpz_clear(v);
    }
    Integer release() {
        if (mpz_fits_slong_p(v)) return Integer(static_cast<Int>(mpz_get_si(v)));
        auto* b = new BigInt;  // on failure the destructor still frees v
        b->v[0] = v[0];        // the mpz struct owns its limbs by pointer: a move
        live_ = false;
        return Integer::adopt(b);
    }

    operator mpz_ptr() noexcept { return v; }

    mpz_t v;

private:
    bool live_ = true;
};

// A 128-bit intermediate (sum, difference or product of two Ints).
Integer fromWide(__int128 v) {
    if (v >= INT64_MIN && v <= INT64_MAX) return Integer(static_cast<Int>(v));
    const unsigned __int128 m = v < 0 ? -static_cast<unsigned __int128>(v) : static_cast<unsigned __int128>(v);
    Temp t(128);
    mp_limb_t* p = mpz_limbs_write(t.v, 2);
    p[0] = static_cast<mp_limb_t>(m);
    p[1] = static_cast<mp_limb_t>(m >> 64);
    const mp_size_t n = p[1] ? 2 : 1;
    mpz_limbs_finish(t.v, v < 0 ? -n : n);
    return t.release();
}

// Digits already checked to be a non-empty run of '0'..'9'.
Integer parseDigits(std::string_view d, bool negative) {
    std::size_t z = 0;
    while (z + 1 < d.size() && d[z] == '0') ++z;
    d.remove_prefix(z);
    if (d.size() <= 19) {  // 10^19 - 1 < 2^64: accumulate without allocating
        std::uint64_t m = 0;
        for (char c : d) m = m * 10 + static_cast<std::uint64_t>(c - '0');
        if (!negative) {
            if (m <= static_cast<std::uint64_t>(INT64_MAX)) return Integer(static_cast<Int>(m));
        } else if (m <= std::uint64_t{1} << 63) {
            return Integer(static_cast<Int>(std::uint64_t{0} - m));
        }
        Temp t;
        mpz_set_ui(t, m);
        if (negative) mpz_neg(t, t);
        return t.release();
    }
    const std::string text(d);  // GMP wants a terminated string
    Temp t;
    mpz_set_str(t, text.c_str(), 10);
    if (negative) mpz_neg(t, t);
    return t.release();
}

bool allDigits(std::string_view s) noexcept {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

int sign(int c) noexcept { return (c > 0) - (c < 0); }

// True when the pair can be divided with machine instructions: both small
// and not INT64_MIN / -1, whose quotient overflows. The divisor is non-zero.
bool smallDivision(const Integer& a, const Integer& b) noexcept {
    return a.isSmall() && b.isSmall() && !(a.unsafeInt() == INT64_MIN && b.unsafeInt() == -1);
}

void checkDivisor(const Integer& b) {
    if (b.isSmall() && b.unsafeInt() == 0) divideByZero();
}

}  // namespace

Integer Integer::adopt(detail::BigInt* rep) {
    Integer r;
    if (!rep) return r;
    if (mpz_fits_slong_p(rep->v)) {
        r.small_ = mpz_get_si(rep->v);
        detail::bigFree(rep);
    } else {
        r.big_ = rep;
    }
    return r;
}

std::optional<Integer> Integer::fromString(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || !allDigits(text)) return std::nullopt;
    return parseDigits(text, negative);
}

Integer Integer::fromDigits(std::string_view digits) {
    if (digits.size() <= 18) {
        // At most 18 digits always fit: the common case, checked and
        // accumulated in one pass.
        if (digits.empty()) raise("Integer.fromDigits: empty digit string");
        Int v = 0;
        for (char c : digits) {
            const unsigned d = static_cast<unsigned char>(c) - static_cast<unsigned>('0');
            if (d > 9) raise("Integer.fromDigits: not a decimal digit");
            v = v * 10 + static_cast<Int>(d);
        }
        return Integer(v);
    }
    if (!allDigits(digits)) raise("Integer.fromDigits: not a decimal digit");
    return parseDigits(digits, false);
}

Integer Integer::fromUnsigned(unsigned long long v) {
    if (v <= static_cast<unsigned long long>(INT64_MAX)) return Integer(static_cast<Int>(v));
    Temp t;
    mpz_set_ui(t, static_cast<unsigned long>(v));
    return t.release();
}

Integer Integer::pow10(unsigned n) {
    if (n <= 18) {
        Int v = 1;
        for (unsigned i = 0; i < n; ++i) v *= 10;
        return Integer(v);
    }
    // log2(10) < 10/3: 10^n has fewer than 10n/3 + 1 bits.
    if (n > kMaxBits / 10 * 3) tooLarge();
    Temp t;
    mpz_ui_pow_ui(t, 10, n);
    return t.release();
}

Integer Integer::pow(const Integer& b, unsigned long e) {
    if (e == 0) return Integer(1);
    if (!b.big_) {
        const Int v = b.small_;
        if (v == 0 || v == 1) return b;
        if (v == -1) return Integer(e % 2 ? -1 : 1);
        // |v| >= 2, so only exponents below 64 can fit.
        if (e < 64) {
            Int r = 1, base = v;
            unsigned long k = e;
            bool overflow = false;
            while (true) {
                if ((k & 1) && __builtin_mul_overflow(r, base, &r)) {
                    overflow = true;
                    break;
                }
                k >>= 1;
                if (k == 0) break;
                if (__builtin_mul_overflow(base, base, &base)) {
                    overflow = true;
                    break;
                }
            }
            if (!overflow) return Integer(r);
        }
    }
    const View vb(b);
    const std::size_t bits = mpz_sizeinbase(vb, 2);
    if (e > kMaxBits / bits) tooLarge();
    Temp t;
    mpz_pow_ui(t, vb, e);
    return t.release();
}

std::string Integer::toString() const {
    if (!big_) {
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, small_);
        return std::string(buf, res.ptr);
    }
    std::string out;
    appendTo(out);
    return out;
}

void Integer::appendTo(std::string& out) const {
    if (!big_) {
        char buf[24];
        const auto res = std::to_chars(buf, buf + sizeof buf, small_);
        out.append(buf, res.ptr);
        return;
    }
    const std::size_t old = out.size();
    // sizeinbase may exceed the digit count by one; room for '-' and the
    // terminator GMP writes.
    out.resize(old + mpz_sizeinbase(big_->v, 10) + 2);
    mpz_get_str(out.data() + old, 10, big_->v);
    out.resize(old + std::strlen(out.data() + old));
}

double Integer::toDouble() const noexcept {
    if (!big_) return static_cast<double>(small_);
    // Take the top 64 bits and fold every lower bit into a sticky bit, so
    // that the one rounding of uint64 -> double is correctly rounded for
    // the whole value (53 of the 64 bits survive; the sticky bit lies far
    // below the rounding position and only breaks exact ties).
    const mpz_srcptr v = big_->v;
    const std::size_t n = mpz_sizeinbase(v, 2);  // > 63 for a big value
    const mp_bitcnt_t low = n - 64;              // bits below the window
    const std::size_t li = low / 64;
    const unsigned off = static_cast<unsigned>(low % 64);
    const std::size_t size = mpz_size(v);
    std::uint64_t top = mpz_getlimbn(v, static_cast<mp_size_t>(li)) >> off;
    if (off && li + 1 < size) top |= mpz_getlimbn(v, static_cast<mp_size_t>(li + 1)) << (64 - off);
    bool sticky = off && (mpz_getlimbn(v, static_cast<mp_size_t>(li)) & ((std::uint64_t{1} << off) - 1));
    for (std::size_t i = 0; !sticky && i < li; ++i) sticky = mpz_getlimbn(v, static_cast<mp_size_t>(i)) != 0;
    if (sticky) top |= 1;
    const double m = std::ldexp(static_cast<double>(top), static_cast<int>(std::min<mp_bitcnt_t>(low, 1 << 20)));
    return mpz_sgn(v) < 0 ? -m : m;
}

int Integer::signum() const noexcept {
    if (!big_) return (small_ > 0) - (small_ < 0);
    return mpz_sgn(big_->v);
}

Integer Integer::addSlow(const Integer& a, const Integer& b) {
    if (!a.big_ && !b.big_) return fromWide(static_cast<__int128>(a.small_) + b.small_);
    Temp t;
    mpz_add(t, View(a), View(b));
    return t.release();
}

Integer Integer::subSlow(const Integer& a, const Integer& b) {
    if (!a.big_ && !b.big_) return fromWide(static_cast<__int128>(a.small_) - b.small_);
    Temp t;
    mpz_sub(t, View(a), View(b));
    return t.release();
}

Integer Integer::mulSlow(const Integer& a, const Integer& b) {
    if (!a.big_ && !b.big_) return fromWide(static_cast<__int128>(a.small_) * b.small_);
    Temp t;
    mpz_mul(t, View(a), View(b));
    return t.release();
}

Integer Integer::negSlow(const Integer& a) {
    if (!a.big_) return fromWide(-static_cast<__int128>(a.small_));
    Temp t;
    mpz_neg(t, a.big_->v);
    return t.release();
}

int Integer::cmpSlow(const Integer& a, const Integer& b) noexcept {
    if (!a.big_ && !b.big_) return (a.small_ > b.small_) - (a.small_ < b.small_);
    if (!b.big_) return sign(mpz_cmp_si(a.big_->v, b.small_));
    if (!a.big_) return -sign(mpz_cmp_si(b.big_->v, a.small_));
    return sign(mpz_cmp(a.big_->v, b.big_->v));
}

Integer quot(const Integer& a, const Integer& b) {
    checkDivisor(b);
    if (smallDivision(a, b)) return Integer(a.small_ / b.small_);
    Temp q;
    mpz_tdiv_q(q, View(a), View(b));
    return q.release();
}

Integer rem(const Integer& a, const Integer& b) {
    checkDivisor(b);
    if (smallDivision(a, b)) return Integer(a.small_ % b.small_);
    Temp r;
    mpz_tdiv_r(r, View(a), View(b));
    return r.release();
}

std::pair<Integer, Integer> quotRem(const Integer& a, const Integer& b) {
    checkDivisor(b);
    if (smallDivision(a, b)) return {Integer(a.small_ / b.small_), Integer(a.small_ % b.small_)};
    Temp q, r;
    mpz_tdiv_qr(q, r, View(a), View(b));
    Integer iq = q.release();
    return {std::move(iq), r.release()};
}

Integer div(const Integer& a, const Integer& b) {
    checkDivisor(b);
    if (smallDivision(a, b)) {
        Int q = a.small_ / b.small_;
        const Int r = a.small_ % b.small_;
        if (r != 0 && ((r < 0) != (b.small_ < 0))) --q;
        return Integer(q);
    }
    Temp q;
    mpz_fdiv_q(q, View(a), View(b));
    return q.release();
}

Integer mod(const Integer& a, const Integer& b) {
    checkDivisor(b);
    if (smallDivision(a, b)) {
        Int r = a.small_ % b.small_;
        if (r != 0 && ((r < 0) != (b.small_ < 0))) r += b.small_;
        return Integer(r);
    }
    Temp r;
    mpz_fdiv_r(r, View(a), View(b));
    return r.release();
}

std::pair<Integer, Integer> divMod(const Integer& a, const Integer& b) {
    checkDivisor(b);
    if (smallDivision(a, b)) {
        Int q = a.small_ / b.small_;
        Int r = a.small_ % b.small_;
        if (r != 0 && ((r < 0) != (b.small_ < 0))) {
            --q;
            r += b.small_;
        }
        return {Integer(q), Integer(r)};
    }
    Temp q, r;
    mpz_fdiv_qr(q, r, View(a), View(b));
    Integer iq = q.release();
    return {std::move(iq), r.release()};
}

Integer gcd(const Integer& a, const Integer& b) {
    if (!a.big_ && !b.big_) {
        // Magnitudes as unsigned: gcd(INT64_MIN, 0) is 2^63, which is big.
        return Integer::fromUnsigned(std::gcd(magnitude(a.small_), magnitude(b.small_)));
    }
    Temp g;
    mpz_gcd(g, View(a), View(b));
    return g.release();
}

}  // namespace core
