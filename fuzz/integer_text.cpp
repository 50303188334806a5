// Decimal text to Integer: anything is either rejected or read back
// exactly. Input "x/y" also checks the arithmetic on the two values against
// GMP, so the fuzzer explores the joins between the inline and heap forms.
#include <gmp.h>
#include <gmpxx.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "Core/Integer.h"
#include "Core/IntegerGmp.h"

namespace {

void require(bool ok) {
    if (!ok) std::abort();
}

// The text GMP would print for a well-formed input, or nullopt.
std::optional<std::string> expected(std::string_view s) {
    std::string digits(s);
    if (!digits.empty() && (digits[0] == '+' || digits[0] == '-')) digits.erase(0, 1);
    if (digits.empty()) return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9') return std::nullopt;
    mpz_class m(digits, 10);
    if (!s.empty() && s[0] == '-') m = -m;
    return m.get_str();
}

std::optional<core::Integer> check(std::string_view s) {
    const auto x = core::Integer::fromString(s);
    const auto want = expected(s);
    require(x.has_value() == want.has_value());
    if (!x) return x;
    require(x->toString() == *want);
    require(x->isSmall() == (mpz_class(*want, 10).fits_slong_p() != 0));
    return x;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos) {
        check(text);
        return 0;
    }
    const auto a = check(text.substr(0, slash)), b = check(text.substr(slash + 1));
    if (!a || !b) return 0;
    const mpz_class ma = core::toMpzClass(*a), mb = core::toMpzClass(*b);
    auto same = [](const core::Integer& x, const mpz_class& m) {
        require(x.toString() == m.get_str());
        require(x.isSmall() == (m.fits_slong_p() != 0));
    };
    same(*a + *b, ma + mb);
    same(*a - *b, ma - mb);
    same(*a * *b, ma * mb);
    same(-*a, -ma);
    require(((*a <=> *b) < 0) == (ma < mb));
    require((*a == *b) == (ma == mb));
    if (mb != 0) {
        mpz_class q, r;
        mpz_fdiv_qr(q.get_mpz_t(), r.get_mpz_t(), ma.get_mpz_t(), mb.get_mpz_t());
        const auto [d, m] = divMod(*a, *b);
        same(d, q);
        same(m, r);
        mpz_tdiv_qr(q.get_mpz_t(), r.get_mpz_t(), ma.get_mpz_t(), mb.get_mpz_t());
        const auto [tq, tr] = quotRem(*a, *b);
        same(tq, q);
        same(tr, r);
    }
    return 0;
}
