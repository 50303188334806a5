// Each client module header alone gives every operation of the library:
// this file includes only the identity comonad's module.
#include <gtest/gtest.h>

#include <string>

#include "Control/Comonad/Identity.h"

namespace {

TEST(ModuleHeaders, TheIdentityModuleGivesTheCapabilitiesAndTransformers) {
    using W = core::IdentityT<comonad::EnvTK<char, comonad::StoreTK<int, core::IdentityK>>, int>;
    W w{comonad::EnvT<char, comonad::StoreTK<int, core::IdentityK>, int>{'e', comonad::store([](int s) { return s * 3; }, 2)}};
    EXPECT_EQ(comonad::ask(w), 'e');
    EXPECT_EQ(comonad::pos(w), 2);
    EXPECT_EQ(comonad::peek(5, w), 15);
    EXPECT_EQ(comonad::extract(comonad::seek(4, w)), 12);
    auto t = comonad::traced<std::string>([](const std::string& m) { return m.size(); });
    EXPECT_EQ(comonad::trace(std::string("ab"), core::IdentityT<comonad::TracedTK<std::string, core::IdentityK>, std::size_t>{t}), 2u);
    EXPECT_EQ(comonad::lower(comonad::lower(comonad::lower(w))).value, 6);
    EXPECT_EQ(comonad::decompose(comonad::compose(core::Identity<core::Identity<int>>{{1}})).value.value, 1);
}

}  // namespace
