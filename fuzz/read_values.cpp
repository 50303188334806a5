// Reads arbitrary bytes as several types with text forms. Reading must
// never crash, hang or read out of bounds, and whatever reads must print
// back to text that reads as the same value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 4096) return 0;  // the readers backtrack; keep single runs short
    std::string_view s(reinterpret_cast<const char*>(data), size);
    check<std::int64_t>(s);
    check<core::Integer>(s);
    check<core::Rational>(s);
    check<std::string>(s);
    check<core::Char>(s);
    check<std::vector<std::optional<int>>>(s);
    check<std::pair<core::Either<int, std::string>, std::vector<std::vector<bool>>>>(s);
    check<core::Map<int, std::string>>(s);
    check<core::IntMap<std::optional<bool>>>(s);
    check<core::Set<core::Char>>(s);
    check<core::Seq<int>>(s);
    check<core::Tree<int>>(s);
    check<core::Array<std::pair<int, bool>, core::Char>>(s);
    check<core::Prod1<core::OptionalK, core::VectorK, int>>(s);
    check<pomrel::Fix<pomrel::ListFK<int>>>(s);  // nested layers, holes read recursively
    check<these::These<int, these::These<std::string, std::vector<int>>>>(s);
    check<these::These1<core::ListK, core::OptionalK, int>>(s);
    auto d = core::read<double>(s);
    (void)d;
    return 0;
}
