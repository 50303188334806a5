#pragma once
// The version of the comonad library that a program was linked against.

namespace comonad {

// "major.minor.patch" of the library loaded at run time.
const char* version() noexcept;

}  // namespace comonad
