#pragma once
// Everything of the generic vocabulary in one include: the shared types,
// the kind tags, every interface with its free functions, and their
// implementations for the standard and core types. See docs/names.md for
// the names of operators.
#include "Core/Applicative.h"
#include "Core/Arrow.h"
#include "Core/Assoc.h"
#include "Core/Bifunctor.h"
#include "Core/Classes.h"
#include "Core/Distributive.h"
#include "Core/Either.h"
#include "Core/Error.h"
#include "Core/Foldable.h"
#include "Core/Foldable1.h"
#include "Core/Functor.h"
#include "Core/FunctorTypes.h"
#include "Core/Kinds.h"
#include "Core/Lazy.h"
#include "Core/List.h"
#include "Core/Monad.h"
#include "Core/Monoids.h"
#include "Core/NonEmpty.h"
#include "Core/Num.h"
#include "Core/Semigroup.h"
#include "Core/State.h"
#include "Core/Text.h"
#include "Core/Traversable.h"
#include "Core/Types.h"
