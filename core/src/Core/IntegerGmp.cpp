#include "Core/IntegerGmp.h"

namespace core {

void toMpz(const Integer& x, mpz_t out) {
    if (const detail::BigInt* b = x.bigRep())
        mpz_set(out, b->v);
    else
        mpz_set_si(out, x.unsafeInt());
}

Integer fromMpz(const mpz_t x) {
    if (mpz_fits_slong_p(x)) return Integer(static_cast<Int>(mpz_get_si(x)));
    auto* b = new detail::BigInt;
    mpz_init_set(b->v, x);
    return Integer::adopt(b);
}

mpz_class toMpzClass(const Integer& x) {
    if (const detail::BigInt* b = x.bigRep()) return mpz_class(b->v);
    return mpz_class(static_cast<long>(x.unsafeInt()));
}

Integer fromMpzClass(const mpz_class& x) { return fromMpz(x.get_mpz_t()); }

}  // namespace core
