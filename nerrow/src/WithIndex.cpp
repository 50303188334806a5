// The raising sites of the placeholders of Sequenced and Traversed.
#include "WithIndex.h"

#include <source_location>
#include <string>

namespace nerrow::detail {

namespace {
[[noreturn]] void raiseAt(const char* message, const std::source_location& where) {
    std::string text(message);
    text += "\n  raised at ";
    text += where.file_name();
    text += ':';
    text += std::to_string(where.line());
    text += " in ";
    text += where.function_name();
    core::raise(text);
}
}  // namespace

void sequencedValueUsed() {
    raiseAt("Sequenced: value used", std::source_location::current());
}

void traversedValueUsed() {
    raiseAt("Traversed: value used", std::source_location::current());
}

}  // namespace nerrow::detail
