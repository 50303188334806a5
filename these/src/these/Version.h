#pragma once
// The version of the these library that a program was linked against.

namespace these {

// "major.minor.patch" of the library loaded at run time.
const char* version() noexcept;

}  // namespace these
