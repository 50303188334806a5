// The raising sites of the placeholders of Sequenced and Traversed.
#include "WithIndex.h"

#include <string>

namespace nerrow::detail {

namespace {
// The site is taken with the compiler builtins behind std::source_location,
// which every supported compiler has even where its standard library's
// std::source_location is unusable (clang 14 with libstdc++ 12).
[[noreturn]] void raiseAt(const char* message, const char* file = __builtin_FILE(), int line = __builtin_LINE(),
                          const char* function = __builtin_FUNCTION()) {
    std::string text(message);
    text += "\n  raised at ";
    text += file;
    text += ':';
    text += std::to_string(line);
    text += " in ";
    text += function;
    core::raise(text);
}
}  // namespace

void sequencedValueUsed() {
    raiseAt("Sequenced: value used");
}

void traversedValueUsed() {
    raiseAt("Traversed: value used");
}

}  // namespace nerrow::detail
