#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Core/Hashable1.h"

using core::List;

namespace {
constexpr auto own = [](std::uint64_t s, const auto& x) { return core::hashWithSalt(s, x); };
}  // namespace

RC_GTEST_PROP(Hashable1, LiftingTheElementsOwnHashGivesTheTypesHash,
              (const std::vector<int>& v, std::uint64_t salt, int x, bool flag, const std::string& s)) {
    RC_ASSERT(core::liftHashWithSalt(own, salt, v) == core::hashWithSalt(salt, v));
    RC_ASSERT(core::liftHashWithSalt(own, salt, List<int>(v)) == core::hashWithSalt(salt, List<int>(v)));
    core::NonEmpty<int> ne(x, List<int>(v));
    RC_ASSERT(core::liftHashWithSalt(own, salt, ne) == core::hashWithSalt(salt, ne));
    std::optional<int> o = flag ? std::optional<int>(x) : std::nullopt;
    RC_ASSERT(core::liftHashWithSalt(own, salt, o) == core::hashWithSalt(salt, o));
    using E = core::Either<std::string, int>;
    E e = flag ? E::right(x) : E::left(s);
    RC_ASSERT(core::liftHashWithSalt(own, salt, e) == core::hashWithSalt(salt, e));
    RC_ASSERT(core::liftHashWithSalt2(own, own, salt, e) == core::hashWithSalt(salt, e));
    auto p = std::pair(s, x);
    RC_ASSERT(core::liftHashWithSalt(own, salt, p) == core::hashWithSalt(salt, p));
    RC_ASSERT(core::liftHashWithSalt2(own, own, salt, p) == core::hashWithSalt(salt, p));
    // Compose hashes the outer structure of inner structures.
    core::Compose<core::VectorK, core::OptionalK, int> c{{o, std::nullopt, x}};
    RC_ASSERT(core::hashWithSalt(salt, c) == core::hashWithSalt(salt, c.value));
    core::Product<core::ListK, core::VectorK, int> pr{List<int>(v), v};
    RC_ASSERT(core::hashWithSalt(salt, pr) == core::hashWithSalt(core::hashWithSalt(salt, pr.first), pr.second));
}

TEST(Hashable1, CombinatorsHashAsWhatTheyHold) {
    const std::uint64_t s = core::defaultSalt;
    EXPECT_EQ(core::hash(core::Identity<int>{5}), core::hash(5));
    EXPECT_EQ(core::hash(core::Const<std::string, int>{"k"}), core::hash(std::string("k")));
    EXPECT_EQ(core::hash(core::Proxy<int>{}), core::hashInt(s, 0));
    EXPECT_EQ(core::hash(core::Tagged<char, int>{7}), core::hash(7));
    EXPECT_EQ(core::hash(core::ZipList<int>{List<int>{1, 2}}), core::hash(List<int>{1, 2}));
    auto inl = core::InL<core::VectorK>(std::optional<int>(3));
    auto inr = core::InR<core::OptionalK>(std::vector<int>{3});
    EXPECT_EQ(core::hash(inl), core::hashWithSalt(core::hashIndex(s, 0), std::optional<int>(3)));
    EXPECT_EQ(core::hash(inr), core::hashWithSalt(core::hashIndex(s, 1), std::vector<int>{3}));
    // A custom element hash is used for every element.
    auto constant = [](std::uint64_t salt, int) { return salt + 1; };
    EXPECT_EQ(core::liftHashWithSalt(constant, 0, List<int>{8, 9}), core::hashInt(2, 2));
    EXPECT_EQ(core::liftHashWithSalt2(constant, own, 10, std::pair(1, 2)), core::hashWithSalt(11, 2));
    // Equal values hash alike; the Int rule is followed for Identity's content.
    EXPECT_EQ(core::hash(core::Identity<std::int64_t>{-1}), core::hashInt(s, -1));
}

static_assert(core::IsHashable1<core::ListK>);
static_assert(!core::IsHashable1<core::FunctionK<int>>, "functions cannot be hashed");
static_assert(!core::HashableType<core::Identity<core::Fn<int, int>>>);
