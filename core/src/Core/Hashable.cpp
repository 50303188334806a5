#include "Core/Hashable.h"

#include <vector>

#include "Core/IntegerGmp.h"

namespace core {

std::uint64_t hashBigMagnitude(std::uint64_t salt, int sign, const std::uint64_t* limbs,
                               std::size_t count) noexcept {
    salt = hashInt(salt, sign < 0 ? -1 : 1);
    for (std::size_t i = 0; i < count; ++i) salt = hashInt(salt, static_cast<Int>(limbs[i]));
    return hashInt(salt, static_cast<Int>(count));
}

std::uint64_t hashUtf8(std::uint64_t salt, std::string_view bytes) noexcept {
    Int n = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        Char c;
        if (b < 0x80) {
            c = b;
            ++i;
        } else if (auto d = utf8::decode(bytes.substr(i))) {
            c = d->c;
            i += d->size;
        } else {
            // Not the start of a valid sequence: one replacement character
            // for this byte, as Text's repair does.
            c = 0xFFFD;
            ++i;
        }
        salt = hashInt(salt, static_cast<Int>(c));
        ++n;
    }
    return hashInt(salt, n);
}

std::uint64_t hashBigInteger(std::uint64_t salt, const Integer& x) {
    mpz_srcptr z = bigMpz(x);
    if (!z) return hashInt(salt, x.unsafeInt());
    // The magnitude as 64-bit words, least significant first, whatever the
    // size of GMP's own limbs.
    std::size_t count = (mpz_sizeinbase(z, 2) + 63) / 64;
    std::vector<std::uint64_t> limbs(count);
    mpz_export(limbs.data(), &count, -1, sizeof(std::uint64_t), 0, 0, z);
    return hashBigMagnitude(salt, mpz_sgn(z), limbs.data(), count);
}

}  // namespace core
