#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Core/Functor.h"
#include "Core/FunctorTypes.h"

using core::List;

namespace {
std::optional<int> optionalOf(bool present, int x) {
    return present ? std::optional<int>(x) : std::nullopt;
}
core::Either<std::string, int> eitherOf(bool right, int x) {
    return right ? core::Either<std::string, int>::right(x)
                 : core::Either<std::string, int>::left(std::to_string(x));
}
// Checks fmap id == id and fmap (g . f) == fmap g . fmap f on one value.
template <class FA>
void checkFunctorLaws(const FA& xs) {
    auto f = [](int x) { return static_cast<std::int64_t>(x) * 3 - 1; };
    auto g = [](std::int64_t y) { return std::to_string(y); };
    RC_ASSERT(core::fmap([](int x) { return x; }, xs) == xs);
    RC_ASSERT(core::fmap([&](int x) { return g(f(x)); }, xs) == core::fmap(g, core::fmap(f, xs)));
}
}  // namespace

RC_GTEST_PROP(FunctorLaws, IdentityAndComposition, (const std::vector<int>& v, bool flag, int x)) {
    checkFunctorLaws(v);
    checkFunctorLaws(List<int>(v));
    checkFunctorLaws(optionalOf(flag, x));
    checkFunctorLaws(eitherOf(flag, x));
    checkFunctorLaws(core::NonEmpty<int>(x, List<int>(v)));
    checkFunctorLaws(std::pair<std::string, int>("w", x));
    checkFunctorLaws(core::Identity<int>{x});
    checkFunctorLaws(core::Const<std::string, int>{"c"});
    checkFunctorLaws(core::Compose<core::VectorK, core::OptionalK, int>{{optionalOf(flag, x), std::nullopt, x}});
    checkFunctorLaws(core::Product<core::ListK, core::VectorK, int>{List<int>(v), v});
    checkFunctorLaws(core::InL<core::VectorK>(optionalOf(flag, x)));
    checkFunctorLaws(core::Reverse<core::VectorK, int>{v});
    checkFunctorLaws(core::Tagged<struct Phantom, int>{x});
    checkFunctorLaws(core::ZipList<int>{List<int>(v)});
    std::map<int, int> m;
    for (int e : v) m[e] = e / 2;
    checkFunctorLaws(m);
}

TEST(Functor, ListMappingIsLazy) {
    int calls = 0;
    auto nats = List<int>::iterate([](int n) { return n + 1; }, 0);
    auto squares = core::fmap(
        [&calls](int n) {
            ++calls;
            return n * n;
        },
        nats);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(squares.take(4).toVector(), (std::vector<int>{0, 1, 4, 9}));
    EXPECT_EQ(calls, 4);
    // Cells are shared: walking again calls nothing.
    EXPECT_EQ(squares.drop(3).head(), 9);
    EXPECT_EQ(calls, 4);
}

TEST(Functor, ReplaceAndFunctions) {
    EXPECT_EQ(core::replace('x', std::vector<int>{1, 2}), (std::vector<char>{'x', 'x'}));
    EXPECT_EQ(core::voided(std::optional<int>(3)), std::optional<core::Unit>(core::unit));
    EXPECT_EQ(core::replace(1, std::optional<int>()), std::optional<int>());
    core::Fn<int, int> twice = [](int r) { return r * 2; };
    auto shown = core::fmap([](int x) { return std::to_string(x); }, twice);
    EXPECT_EQ(shown(21), "42");
    // Either maps its Right only.
    auto l = core::fmap([](int x) { return x + 1; }, core::Either<std::string, int>::left("kept"));
    EXPECT_EQ(l.left(), "kept");
}

// A type without a Functor is detected without instantiating anything.
static_assert(core::IsFunctor<core::ListK>);
static_assert(core::IsFunctor<core::ComposeK<core::ListK, core::OptionalK>>);
static_assert(!core::IsFunctor<core::detail::NoKind>);
static_assert(!core::IsApplicative<core::ConstK<int>>, "Const needs a Monoid constant to be Applicative");
static_assert(core::IsApplicative<core::ConstK<std::string>>);
static_assert(!core::IsApplicative<core::PairK<int>>, "the writer needs a Monoid log");
