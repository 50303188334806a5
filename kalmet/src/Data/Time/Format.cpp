// The wrappers of Data/Time/Format.h are templates over the value read and
// live in the header; the reading and writing they call are in
// Data/Time/Format/Parse.cpp and Format.cpp.
#include "Data/Time/Format.h"
