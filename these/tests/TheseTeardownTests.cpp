#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "Data/These.h"

using these::These;

// Values whose fields are long chains of deferred maps or combinations,
// never forced, are freed in constant stack.
TEST(These, TenMillionDeferredMapsAndCombinationsDropInConstantStack) {
    constexpr long n = 10'000'000;
    using T = These<long, long>;
    std::optional<T> t(T(1L, 2L));
    for (long i = 0; i < n; ++i)
        t.emplace(core::bimap([](long a) { return a + 1; }, [](long b) { return b - 1; }, *t));
    t.reset();

    using S = These<std::string, std::string>;
    std::optional<S> s(S(std::string("a"), std::string("b")));
    const S one(std::string("x"), std::string("y"));
    for (long i = 0; i < n; ++i) s.emplace(core::Semigroup<S>::combine(*s, one));
    s.reset();

    // A short chain still evaluates to the right values.
    std::optional<T> u(T(1L, 2L));
    for (long i = 0; i < 1000; ++i)
        u.emplace(core::bimap([](long a) { return a + 1; }, [](long b) { return b - 1; }, *u));
    EXPECT_EQ(u->left(), 1001);
    EXPECT_EQ(u->right(), -998);
}
