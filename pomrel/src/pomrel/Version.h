#pragma once
// The version of the pomrel library that a program was linked against.

namespace pomrel {

// "major.minor.patch" of the library loaded at run time.
const char* version() noexcept;

}  // namespace pomrel
