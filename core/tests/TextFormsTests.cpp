#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Core/Prelude.h"
#include "Core/Read.h"
#include "Core/Show.h"

using namespace core;

namespace {
template <class T>
void roundTrip(const T& x, const std::string& text) {
    EXPECT_EQ(show(x), text);
    auto back = read<T>(text);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(*back, x) << text;
    // Redundant parentheses and blanks read too.
    auto padded = read<T>(" ( " + text + " ) ");
    ASSERT_TRUE(padded.has_value()) << text;
    EXPECT_EQ(*padded, x);
}
}  // namespace

TEST(TextForms, FunctorCombinators) {
    roundTrip(Identity<int>{-1}, "Identity (-1)");
    roundTrip(Const<std::string, int>{"c"}, "Const \"c\"");
    roundTrip(Proxy<int>{}, "Proxy");
    roundTrip(Compose<OptionalK, ListK, int>{std::optional<List<int>>(List<int>{1})}, "Compose (Just [1])");
    roundTrip(Product<OptionalK, ListK, int>{std::optional<int>(1), List<int>{2}}, "Pair (Just 1) [2]");
    using S = Sum<OptionalK, ListK, int>;
    roundTrip(S{decltype(S::value)(std::in_place_index<0>, std::optional<int>(1))}, "InL (Just 1)");
    roundTrip(S{decltype(S::value)(std::in_place_index<1>, List<int>{2})}, "InR [2]");
    roundTrip(Tagged<char, int>{3}, "Tagged 3");
    roundTrip(ZipList<int>{List<int>{1, 2}}, "ZipList {getZipList = [1,2]}");
    roundTrip(std::optional<Identity<int>>(Identity<int>{2}), "Just (Identity 2)");
}

TEST(TextForms, MonoidWrappersUseRecordSyntax) {
    roundTrip(Dual<int>{1}, "Dual {getDual = 1}");
    roundTrip(Any{true}, "Any {getAny = True}");
    roundTrip(All{false}, "All {getAll = False}");
    roundTrip(Additive<int>{-3}, "Additive {getAdditive = -3}");
    roundTrip(First<int>{std::optional<int>(1)}, "First {getFirst = Just 1}");
    roundTrip(std::optional<Max<int>>(Max<int>{2}), "Just (Max {getMax = 2})");
    EXPECT_FALSE(read<Dual<int>>("Dual 1"));
    EXPECT_FALSE(read<Dual<int>>("Dual {getDuel = 1}"));
}

TEST(TextForms, LiftedFormsUseTheGivenElementOperations) {
    // Elements printed by a custom printer: always in brackets.
    auto sp = [](int, int x, std::string& out) { out += "<" + std::to_string(x) + ">"; };
    auto sl = [&](const auto& xs, std::string& out) {
        showListWith([&](int x, std::string& o) { sp(0, x, o); }, xs, out);
    };
    std::string out;
    liftShowsPrec(sp, sl, 11, std::optional<int>(1), out);
    EXPECT_EQ(out, "(Just <1>)");
    out.clear();
    liftShowsPrec(sp, sl, 0, std::vector<int>{1, 2}, out);
    EXPECT_EQ(out, "[<1>,<2>]");
    out.clear();
    liftShowsPrec2(sp, sl, ShowsPrecOf<char>{}, ShowListOf<char>{}, 0, Either<int, char>(Right('x')), out);
    EXPECT_EQ(out, "Right 'x'");
    out.clear();
    liftShowList(sp, sl, std::vector<std::optional<int>>{std::nullopt, 3}, out);
    EXPECT_EQ(out, "[Nothing,Just <3>]");

    // A reader that only accepts the digit 7 and gives 70.
    auto seven = thenP(symbol("#"), pureP(70));
    auto r = liftReadsPrec<OptionalK, int>(seven, readListWith(seven), 0, "Just #");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].first, std::optional<int>(70));
    EXPECT_TRUE((liftReadsPrec<OptionalK, int>(seven, readListWith(seven), 11, "Just #").empty()));
    auto l = liftReadList<OptionalK, int>(seven, readListWith(seven), "[Just #,Nothing]");
    ASSERT_EQ(l.size(), 1u);
    EXPECT_EQ(l[0].first.size(), 2u);
    auto e = liftReadsPrec2<EitherK2, int, bool>(seven, readListWith(seven), readPrec<bool>(), readListPrec<bool>(), 0,
                                                 "Left #");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].first, (Either<int, bool>(Left(70))));
    auto ne = liftReadsPrec<NonEmptyK, int>(readPrec<int>(), readListPrec<int>(), 0, "1 :| [2,3]");
    ASSERT_EQ(ne.size(), 1u);
    EXPECT_EQ(ne[0].first.toVector(), (std::vector<int>{1, 2, 3}));
}

RC_GTEST_PROP(TextForms, NestedCombinatorsRoundTrip, (int a, bool b, const std::vector<int>& xs)) {
    using P = Product<IdentityK, ListK, int>;
    std::vector<P> v;
    for (int x : xs) v.push_back(P{Identity<int>{x ^ a}, b ? List<int>{x / 2, -(x / 2)} : List<int>{}});
    auto back = read<std::vector<P>>(show(v));
    RC_ASSERT(back.has_value());
    RC_ASSERT(*back == v);
}
