#pragma once
// The version of the kalmet library that a program was linked against.

namespace kalmet {

// "major.minor.patch" of the library loaded at run time.
const char* version() noexcept;

}  // namespace kalmet
