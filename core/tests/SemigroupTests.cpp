#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Core/Foldable.h"
#include "Core/FunctorTypes.h"
#include "Core/Monoids.h"
#include "Core/Semigroup.h"

using core::List;
using core::Ordering;

namespace {
template <class T, class Eq>
void checkMonoidLaws(const T& a, const T& b, const T& c, Eq same) {
    using core::combine;
    RC_ASSERT(same(combine(combine(a, b), c), combine(a, combine(b, c))));
    RC_ASSERT(same(combine(core::mempty<T>(), a), a));
    RC_ASSERT(same(combine(a, core::mempty<T>()), a));
    RC_ASSERT(same(core::mconcat(List<T>{a, b, c}), combine(a, combine(b, c))));
    RC_ASSERT(same(core::mconcat(std::vector<T>{a, b, c}), combine(a, combine(b, c))));
    RC_ASSERT(same(core::sconcat(core::NonEmpty<T>(a, List<T>{b, c})), combine(a, combine(b, c))));
    RC_ASSERT(same(core::stimes(3, a), combine(a, combine(a, a))));
}
template <class T>
void checkMonoidLaws(const T& a, const T& b, const T& c) {
    checkMonoidLaws(a, b, c, [](const T& x, const T& y) { return x == y; });
}
Ordering orderingOf(int x) {
    return static_cast<Ordering>(((x % 3) + 3) % 3);
}
std::optional<std::string> optionalOf(const std::string& s) {
    return s.size() % 2 ? std::optional<std::string>(s) : std::nullopt;
}
}  // namespace

RC_GTEST_PROP(MonoidLaws, IdentityAndAssociativity,
              (const std::string& s1, const std::string& s2, const std::string& s3, int x, int y, int z)) {
    checkMonoidLaws(s1, s2, s3);
    checkMonoidLaws(core::Text(s1), core::Text(s2), core::Text(s3));
    checkMonoidLaws(std::vector<int>{x}, std::vector<int>{y, z}, std::vector<int>());
    checkMonoidLaws(List<int>{x, y}, List<int>(), List<int>{z});
    checkMonoidLaws(optionalOf(s1), optionalOf(s2), optionalOf(s3));
    checkMonoidLaws(std::pair(s1, core::Additive<int>{x}), std::pair(s2, core::Additive<int>{y}),
                    std::pair(s3, core::Additive<int>{z}));
    checkMonoidLaws(std::tuple(s1, core::All{x > 0}), std::tuple(s2, core::All{y > 0}), std::tuple(s3, core::All{z > 0}));
    checkMonoidLaws(orderingOf(x), orderingOf(y), orderingOf(z));
    checkMonoidLaws(core::Any{x > 0}, core::Any{y > 0}, core::Any{z > 0});
    checkMonoidLaws(core::Additive<std::int64_t>{x}, core::Additive<std::int64_t>{y}, core::Additive<std::int64_t>{z});
    checkMonoidLaws(core::Multiplicative<std::int64_t>{x}, core::Multiplicative<std::int64_t>{y},
                    core::Multiplicative<std::int64_t>{z});
    checkMonoidLaws(core::First<int>{x > 0 ? std::optional<int>(x) : std::nullopt}, core::First<int>{y},
                    core::First<int>{});
    checkMonoidLaws(core::Last<int>{x}, core::Last<int>{}, core::Last<int>{z > 0 ? std::optional<int>(z) : std::nullopt});
    checkMonoidLaws(core::Dual<std::string>{s1}, core::Dual<std::string>{s2}, core::Dual<std::string>{s3});
    checkMonoidLaws(core::Identity<std::string>{s1}, core::Identity<std::string>{s2}, core::Identity<std::string>{s3});
    checkMonoidLaws(core::Const<std::string, int>{s1}, core::Const<std::string, int>{s2},
                    core::Const<std::string, int>{s3});
    checkMonoidLaws(core::Unit{}, core::Unit{}, core::Unit{});
    // Functions and Endo are compared by applying them.
    auto endo = [](int k) { return core::Endo<int>{[k = k % 1000](int v) { return v * 2 + k; }}; };
    checkMonoidLaws(endo(x), endo(y), endo(z),
                    [](const core::Endo<int>& f, const core::Endo<int>& g) { return f(1) == g(1) && f(-3) == g(-3); });
    auto fn = [](const std::string& s) { return core::Fn<int, std::string>([s](int v) { return s + std::to_string(v); }); };
    checkMonoidLaws(fn(s1), fn(s2), fn(s3), [](const auto& f, const auto& g) { return f(7) == g(7); });
}

RC_GTEST_PROP(SemigroupLaws, MinMaxEitherNonEmpty, (int x, int y, int z)) {
    auto check = [](const auto& a, const auto& b, const auto& c) {
        RC_ASSERT(core::combine(core::combine(a, b), c) == core::combine(a, core::combine(b, c)));
        for (core::Int n = 1; n <= 5; ++n) {
            auto rep = a;
            for (core::Int i = 1; i < n; ++i) rep = core::combine(rep, a);
            RC_ASSERT(core::stimes(n, a) == rep);
        }
    };
    check(core::Min<int>{x}, core::Min<int>{y}, core::Min<int>{z});
    check(core::Max<int>{x}, core::Max<int>{y}, core::Max<int>{z});
    using E = core::Either<int, int>;
    check(x > 0 ? E::right(x) : E::left(x), y > 0 ? E::right(y) : E::left(y), E::left(z));
    check(core::NonEmpty<int>(x), core::NonEmpty<int>(y, List<int>{z}), core::NonEmpty<int>(z));
    check(std::string(1, 'a' + static_cast<char>(((x % 26) + 26) % 26)), std::string("b"), std::string());
    check(core::Additive<std::int64_t>{x}, core::Additive<std::int64_t>{y}, core::Additive<std::int64_t>{z});
}

TEST(Semigroup, StimesNeedsAPositiveCount) {
    for (core::Int n : {0, -1, -100}) {
        try {
            core::stimes(n, std::string("ab"));
            ADD_FAILURE() << "no error for " << n;
        } catch (const core::Error& e) {
            EXPECT_STREQ(e.what(), "stimes: positive multiplier expected");
        }
        EXPECT_THROW(core::stimes(n, core::Additive<int>{1}), core::Error);
        EXPECT_THROW(core::stimes(n, core::Any{true}), core::Error);
        EXPECT_THROW(core::stimes(n, core::Unit{}), core::Error);
    }
    // A large count takes O(log n) combinations.
    EXPECT_EQ(core::stimes(1'000'000, List<int>{1, 2}).length(), 2'000'000u);
    EXPECT_EQ(core::stimes(40, std::string("xy")).size(), 80u);
    EXPECT_EQ(core::stimes(1'000'000'000'000, core::Additive<std::int64_t>{3}).value, 3'000'000'000'000);
}

TEST(Semigroup, LazySemigroupsStopEarly) {
    // Ordering: the first difference decides, without looking further.
    auto ords = List<Ordering>::cons(core::EQ, List<Ordering>::cons(core::GT, List<Ordering>::repeat(core::LT)));
    EXPECT_EQ(core::mconcat(ords), core::GT);
    // Concatenating an unbounded list of lists, on demand.
    auto blocks = List<List<int>>::iterate([](const List<int>& l) { return List<int>::cons(l.head() + 1, {}); },
                                           List<int>{0});
    EXPECT_EQ(core::mconcat(blocks).take(3).toVector(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(core::fold(blocks).drop(10).head(), 10);
    // Either: the first Right wins.
    using E = core::Either<std::string, int>;
    EXPECT_EQ(core::combine(E::left("a"), E::right(1)).right(), 1);
    EXPECT_EQ(core::combine(E::left("a"), E::left("b")).left(), "b");
    // Dual reverses; Min keeps the left of equals, Max the right.
    EXPECT_EQ(core::combine(core::Dual<std::string>{"a"}, core::Dual<std::string>{"b"}).value, "ba");
    EXPECT_EQ(core::mempty<core::Endo<int>>()(5), 5);
}
