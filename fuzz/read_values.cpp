// Reads arbitrary bytes as one of several types with text forms. Reading must
// never crash, hang or read out of bounds, and whatever reads must print
// back to text that reads as the same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Core/IntMap.h"
#include "Core/Map.h"
#include "Core/Read.h"
#include "Core/Set.h"
#include "Core/Show.h"
#include "Core/Array.h"
#include "Core/Seq.h"
#include "Core/Shapes.h"
#include "Core/Tree.h"
#include "Data/Fix.h"
#include "Data/Functor/These.h"
#include "Data/These.h"

namespace {

template <class T>
void check(std::string_view s) {
    auto v = core::read<T>(s);
    if (!v) return;
    auto again = core::read<T>(core::show(*v));
    if (!again || !(*again == *v)) std::abort();
}

// Reads the double and checks nothing more: its text form need not read
// back to an equal value (NaN).
void readDouble(std::string_view s) {
    auto d = core::read<double>(s);
    (void)d;
}

// One reader per run, chosen by the first byte: running every reader on
// every input made each run cost about a millisecond under the sanitizers,
// and the fuzzer learns the selector byte like any other.
using Check = void (*)(std::string_view);
constexpr Check checks[] = {
    &check<std::int64_t>,
    &check<core::Integer>,
    &check<core::Rational>,
    &check<std::string>,
    &check<core::Char>,
    &check<std::vector<std::optional<int>>>,
    &check<std::pair<core::Either<int, std::string>, std::vector<std::vector<bool>>>>,
    &check<core::Map<int, std::string>>,
    &check<core::IntMap<std::optional<bool>>>,
    &check<core::Set<core::Char>>,
    &check<core::Seq<int>>,
    &check<core::Tree<int>>,
    &check<core::Array<std::pair<int, bool>, core::Char>>,
    &check<core::Prod1<core::OptionalK, core::VectorK, int>>,
    &check<pomrel::Fix<pomrel::ListFK<int>>>,  // nested layers, holes read recursively
    &check<these::These<int, these::These<std::string, std::vector<int>>>>,
    &check<these::These1<core::ListK, core::OptionalK, int>>,
    &readDouble,
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 4096) return 0;  // the readers backtrack; keep single runs short
    const std::string_view s(reinterpret_cast<const char*>(data) + 1, size - 1);
    checks[data[0] % std::size(checks)](s);
    return 0;
}
