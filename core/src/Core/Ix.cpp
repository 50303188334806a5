#include "Core/Ix.h"

namespace core {

namespace detail {
void ixRangeTooLarge() { raise("Ix.rangeSize: range too large"); }
void ixOutOfRange(const std::string& what, const std::string& index, const std::string& bounds) {
    raise(what + ": index " + index + " out of range " + bounds);
}
}  // namespace detail

Int Ix<Integer>::rangeSize(const Bounds& b) {
    if (b.second < b.first) return 0;
    Integer n = b.second - b.first + Integer(1);
    if (!n.isSmall()) detail::ixRangeTooLarge();
    return n.unsafeInt();
}

std::vector<Integer> Ix<Integer>::range(const Bounds& b) {
    const Int n = rangeSize(b);
    std::vector<Integer> out;
    out.reserve(static_cast<std::size_t>(n));
    Integer x = b.first;
    for (Int k = 0; k < n; ++k) {
        out.push_back(x);
        x += Integer(1);
    }
    return out;
}

}  // namespace core
