#pragma once
// The version of the tarvel library that a program was linked against.

namespace tarvel {

// "major.minor.patch" of the library loaded at run time.
const char* version() noexcept;

}  // namespace tarvel
