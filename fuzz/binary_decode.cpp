// Decodes arbitrary bytes as several types. Decoding must never crash or
// read out of bounds, and any input that decodes must re-encode to exactly
// the same bytes (the encodings are canonical), decode again to an equal
// value, and hash alike.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "Core/Binary.h"
#include "Core/Hashable.h"
#include "Core/IntMap.h"
#include "Core/Map.h"
#include "Core/Set.h"
#include "Core/Array.h"
#include "Core/Seq.h"
#include "Core/Shapes.h"
#include "Core/Tree.h"
#include "Data/These.h"

namespace {

// CompareValues is false for types holding doubles, whose NaNs are never
// equal to themselves; their bytes are still compared.
template <class T, bool CompareValues = true>
void check(std::string_view input) {
    auto r = core::decode<T>(input);
    if (!r) {
        if (r.error().empty()) std::abort();  // every failure has a message
        return;
    }
    if (core::encode(*r) != input) std::abort();
    auto again = core::decode<T>(input);
    if (!again || core::encode(*again) != input) std::abort();
    if constexpr (CompareValues)
        if (!(*again == *r)) std::abort();
    if constexpr (core::HashableType<T>)
        if (core::hash(*again) != core::hash(*r)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    using core::Either;
    using core::Int;
    using core::Integer;
    using core::List;
    using core::Text;
    check<List<Int>>(input);
    check<Text>(input);
    check<std::string>(input);
    check<Integer>(input);
    check<core::Rational>(input);
    check<core::Char>(input);
    check<Either<Text, std::optional<Int>>>(input);
    check<std::pair<Integer, List<bool>>>(input);
    check<std::tuple<core::Ordering, core::Unit, std::int16_t, std::vector<Text>>>(input);
    check<core::NonEmpty<std::optional<core::Char>>>(input);
    check<List<std::vector<core::Unit>>>(input);
    check<std::vector<Either<Integer, double>>, false>(input);
    // Ordered containers: decoded trees must also be well formed.
    check<core::Map<Int, Text>>(input);
    check<core::IntMap<bool>>(input);
    check<core::Set<std::int16_t>>(input);
    if (auto m = core::decode<core::Map<std::int8_t, core::Unit>>(input); m && !m->valid()) std::abort();
    if (auto s = core::decode<core::Set<core::Unit>>(input); s && s->size() > 1) std::abort();
    // Sequences, trees and arrays: counts, deep trees, bounds against counts.
    check<core::Seq<Int>>(input);
    check<core::Tree<std::int8_t>>(input);
    check<core::Array<Int, std::int8_t>>(input);
    check<core::Array<std::pair<std::int8_t, bool>, core::Unit>>(input);
    check<core::Sum1<core::OptionalK, core::Prod1K<core::VectorK, core::U1K>, std::int8_t>>(input);
    // These: an 8-byte tag, then the fields it announces.
    check<these::These<Int, these::These<Text, List<bool>>>>(input);
    return 0;
}
