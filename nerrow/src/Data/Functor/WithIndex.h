#pragma once
// FunctorWithIndex: imap, imapDefault, IndexOf / IndexT (everything lives
// in namespace nerrow, defined by WithIndex.h).
#include "../../WithIndex.h"
