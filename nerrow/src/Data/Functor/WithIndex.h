#pragma once
// Re-exports FunctorWithIndex and imap.
#include "WithIndex.h"

namespace nerrow::functor {
using nerrow::FunctorWithIndex;
using nerrow::FunctorWithIndexDefaults;
using nerrow::imap;
using nerrow::imapDefault;
using nerrow::IndexOf;
using nerrow::IndexT;
using nerrow::IsFunctorWithIndex;
}  // namespace nerrow::functor
