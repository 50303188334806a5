#include "Core/Error.h"

namespace core {

void raise(const char* message) { throw Error(message); }
void raise(const std::string& message) { throw Error(message); }

}  // namespace core
