#pragma once
// The version of the nerrow library that a program was linked against.

namespace nerrow {

// "major.minor.patch" of the library loaded at run time.
const char* version() noexcept;

}  // namespace nerrow
