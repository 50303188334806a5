#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cmath>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Data/Fix.h"

using pomrel::Fix;
using pomrel::ListF;
using pomrel::ListFK;

namespace {

using Peano = Fix<core::OptionalK>;
using IntList = Fix<ListFK<int>>;
using L = ListF<int, IntList>;

Peano zero() { return Peano(std::optional<Peano>()); }
Peano succ(Peano p) { return Peano(std::optional<Peano>(std::move(p))); }

IntList fromVector(const std::vector<int>& xs) {
    IntList out = L();
    for (auto i = xs.rbegin(); i != xs.rend(); ++i) out = L(*i, out);
    return out;
}
ListF<int, int> countdown(int n) { return n <= 0 ? ListF<int, int>() : ListF<int, int>(n, n - 1); }

template <class T>
std::vector<std::pair<T, std::string_view>> readsAt(int d, std::string_view s) {
    return core::readsPrec<T>(d, s);
}

}  // namespace

TEST(FixText, MaybeFixPrintsAndReadsWithTheFixedPrefixes) {
    EXPECT_EQ(core::show(zero()), "Fix Nothing");
    std::string out;
    core::showsPrec(11, zero(), out);
    EXPECT_EQ(out, "(Fix Nothing)");
    EXPECT_EQ(core::show(succ(zero())), "Fix (Just (Fix Nothing))");

    auto m = pomrel::unfoldMu(pomrel::unFix, succ(zero()));
    pomrel::Nu n(pomrel::unFix, succ(zero()));
    EXPECT_EQ(core::show(m), "unfoldMu unFix (Fix (Just (Fix Nothing)))");
    EXPECT_EQ(core::show(n), "unfoldNu unFix (Fix (Just (Fix Nothing)))");
    out.clear();
    core::showsPrec(11, n, out);
    EXPECT_EQ(out, "(unfoldNu unFix (Fix (Just (Fix Nothing))))");

    EXPECT_EQ(core::read<Peano>("(Fix Nothing)"), zero());
    EXPECT_EQ(core::read<Peano>("Fix Nothing"), zero());
    EXPECT_EQ(core::read<Peano>(" ( ( Fix ( Just (Fix Nothing) ) ) ) "), succ(zero()));
    EXPECT_TRUE(readsAt<Peano>(11, "Fix Nothing").empty());
    EXPECT_EQ(readsAt<Peano>(11, "(Fix Nothing)").size(), 1u);
    EXPECT_EQ(readsAt<Peano>(10, "Fix Nothing").size(), 1u);

    for (std::string text : {"unfoldMu unFix (Fix (Just (Fix Nothing)))", "(unfoldMu unFix (Fix Nothing))"}) {
        auto back = core::read<pomrel::Mu<core::OptionalK>>(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(core::read<pomrel::Mu<core::OptionalK>>(core::show(*back)), back);
    }
    std::ostringstream os;
    os << succ(zero()) << ' ' << m;
    EXPECT_EQ(os.str(), "Fix (Just (Fix Nothing)) unfoldMu unFix (Fix (Just (Fix Nothing)))");
    auto nu = core::read<pomrel::Nu<core::OptionalK>>("unfoldNu unFix (Fix (Just (Fix Nothing)))");
    ASSERT_TRUE(nu.has_value());
    EXPECT_EQ(core::show(*nu), "unfoldNu unFix (Fix (Just (Fix Nothing)))");
}

TEST(FixText, IdentifiersMatchAsWholeTokensAndBadTextFails) {
    for (std::string bad : {"Fixx Nothing", "FixNothing", "Fix Nothingg", "fix Nothing", "Fix", "Fix (", "Fix (Just",
                            "Fix (Just (Fix Nothing)", "Fix Nothing)", "Fix Just (Fix Nothing)", ""}) {
        EXPECT_FALSE(core::read<Peano>(bad).has_value()) << bad;
    }
    for (std::string bad : {"unfoldMux unFix (Fix Nothing)", "unfoldMu unFixx (Fix Nothing)", "unfoldMu (Fix Nothing)",
                            "unfoldMu unFix Fix Nothing", "unfoldNu unFix (Fix Nothing)"}) {
        EXPECT_FALSE(core::read<pomrel::Mu<core::OptionalK>>(bad).has_value()) << bad;
    }
    EXPECT_FALSE(core::read<pomrel::Nu<core::OptionalK>>("unfoldMu unFix (Fix Nothing)").has_value());
}

TEST(FixText, HostileNestingFailsCleanly) {
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "Fix (";
    EXPECT_FALSE(core::read<Peano>(deep).has_value());
    std::string closed = deep + "Fix Nothing" + std::string(100000, ')');
    EXPECT_FALSE(core::read<IntList>(closed).has_value());
    std::string parens(100000, '(');
    EXPECT_FALSE(core::read<IntList>(parens + "Fix Nil").has_value());
}

TEST(FixText, BaseFunctorTextForms) {
    EXPECT_EQ(core::show(fromVector({1, -2})), "Fix (Cons 1 (Fix (Cons (-2) (Fix Nil))))");
    using Tree = Fix<pomrel::TreeFK<int>>;
    using T = pomrel::TreeF<int, Tree>;
    Tree t = T{1, {Tree(T{2, {}}), Tree(T{3, {}})}};
    EXPECT_EQ(core::show(t), "Fix (NodeF 1 [Fix (NodeF 2 []),Fix (NodeF 3 [])])");
    EXPECT_EQ(core::read<Tree>(core::show(t)), t);
    using Bin = Fix<pomrel::BinaryFK<std::string>>;
    using B = pomrel::BinaryF<std::string, Bin>;
    Bin b = B(Bin(B()), "x", Bin(B()));
    EXPECT_EQ(core::show(b), "Fix (Bin (Fix Tip) \"x\" (Fix Tip))");
    EXPECT_EQ(core::read<Bin>(core::show(b)), b);
    using Ne = Fix<pomrel::NonEmptyFK<int>>;
    using N = pomrel::NonEmptyF<int, Ne>;
    Ne ne = N{1, Ne(N{2, std::nullopt})};
    EXPECT_EQ(core::show(ne), "Fix (NonEmptyF 1 (Just (Fix (NonEmptyF 2 Nothing))))");
    EXPECT_EQ(core::read<Ne>(core::show(ne)), ne);
    EXPECT_EQ(core::show(ListF<int, int>(1, 2)), "Cons 1 2");
    using LII = ListF<int, int>;
    EXPECT_EQ(core::read<LII>("Cons 1 2"), std::optional<LII>(LII(1, 2)));
}

RC_GTEST_PROP(FixText, ReadShowRoundTripsForFixMuAndNu, (const std::vector<int>& raw)) {
    IntList x = fromVector(raw);
    RC_ASSERT(core::read<IntList>(core::show(x)) == std::optional<IntList>(x));
    auto coalg = [](const std::vector<int>& v) {
        using R = ListF<int, std::vector<int>>;
        return v.empty() ? R() : R(v.front(), std::vector<int>(v.begin() + 1, v.end()));
    };
    auto m = pomrel::unfoldMu(coalg, raw);
    auto mBack = core::read<pomrel::Mu<ListFK<int>>>(core::show(m));
    RC_ASSERT(mBack.has_value());
    RC_ASSERT(*mBack == m);
    RC_ASSERT(core::show(*mBack) == core::show(m));
    pomrel::Nu n(coalg, raw);
    auto nBack = core::read<pomrel::Nu<ListFK<int>>>(core::show(n));
    RC_ASSERT(nBack.has_value());
    RC_ASSERT(*nBack == n);
}

TEST(FixOrder, ComparesLayerByLayerWithTieRules) {
    EXPECT_LT(zero(), succ(zero()));
    EXPECT_GT(succ(succ(zero())), succ(zero()));
    EXPECT_EQ(core::compare(succ(zero()), succ(zero())), core::EQ);
    EXPECT_NE(zero(), succ(zero()));
    EXPECT_LT(fromVector({1, 2}), fromVector({1, 3}));
    EXPECT_LT(fromVector({1}), fromVector({1, 0}));
    EXPECT_GT(fromVector({2}), fromVector({1, 9, 9}));

    IntList a = fromVector({4, 5});
    IntList b = fromVector({4, 5});
    ASSERT_FALSE(a.sameAs(b));
    EXPECT_TRUE(core::max(a, b).sameAs(b));
    EXPECT_TRUE(core::min(a, b).sameAs(a));
    IntList c = fromVector({4, 6});
    EXPECT_TRUE(core::max(a, c).sameAs(c));
    EXPECT_TRUE(core::max(c, a).sameAs(c));
    EXPECT_TRUE(core::min(c, a).sameAs(a));
}

TEST(FixOrder, SharedLayersCompareThroughTheElementsToo) {
    // A NaN is not equal to itself, so neither is a Fix holding one, even
    // when both sides are the same value.
    using D = Fix<ListFK<double>>;
    using LD = ListF<double, D>;
    D nan = LD(std::nan(""), D(LD()));
    D other = LD(std::nan(""), D(LD()));
    EXPECT_FALSE(nan == nan);
    EXPECT_TRUE(nan != nan);
    EXPECT_EQ(nan == nan, nan == other);
    EXPECT_EQ(core::compare(nan, nan), core::compare(nan, other));
    D one = LD(1.0, D(LD()));
    EXPECT_TRUE(one == one);
}

TEST(FixOrder, MuAndNuCompareThroughFixWhateverTheirSeeds) {
    auto fromInt = pomrel::unfoldNu(countdown, 3);
    auto fromString = pomrel::unfoldNu(
        [](const std::string& s) {
            using R = ListF<int, std::string>;
            return s.empty() ? R() : R(static_cast<int>(s.size()), s.substr(1));
        },
        std::string("abc"));
    EXPECT_EQ(fromInt, fromString);
    EXPECT_EQ(pomrel::unfoldMu(countdown, 2), pomrel::wrapMu(ListF<int, pomrel::Mu<ListFK<int>>>(
                                                  2, pomrel::unfoldMu(pomrel::unFix, fromVector({1})))));
    EXPECT_LT(pomrel::unfoldMu(countdown, 2), pomrel::unfoldMu(countdown, 3));
    // Unending values that differ compare in finite time.
    auto nats = [](long n) { return ListF<long, long>(n, n + 1); };
    auto evens = [](long n) { return ListF<long, long>(n, n + 2); };
    EXPECT_NE(pomrel::Nu(nats, 0L), pomrel::Nu(evens, 0L));
    EXPECT_LT(pomrel::Nu(nats, 0L), pomrel::Nu(evens, 0L));
}

TEST(FixHash, MixesTheLayerThroughTheLiftedHashOnly) {
    const std::uint64_t s = 42;
    EXPECT_EQ(core::hashWithSalt(s, zero()), core::hashIndex(s, 0));
    EXPECT_EQ(core::hashWithSalt(s, succ(zero())), core::hashIndex(core::hashIndex(s, 1), 0));
    EXPECT_EQ(core::hash(zero()), core::hashIndex(core::defaultSalt, 0));
    // Cons 7 (Fix Nil): index 1, the element, then the hole.
    EXPECT_EQ(core::hashWithSalt(s, fromVector({7})), core::hashIndex(core::hashInt(core::hashIndex(s, 1), 7), 0));
    EXPECT_EQ(core::hash(fromVector({1, 2, 3})), core::hash(pomrel::listToFix(core::List<int>{1, 2, 3})));
    EXPECT_NE(core::hash(fromVector({1, 2})), core::hash(fromVector({2, 1})));
    // A rose tree's children hash as a list: each child, then the count.
    using Tree = Fix<pomrel::TreeFK<int>>;
    using T = pomrel::TreeF<int, Tree>;
    Tree leaf = T{5, {}};
    EXPECT_EQ(core::hashWithSalt(s, leaf), core::hashInt(core::hashInt(s, 5), 0));
}

TEST(FixDeep, MillionLayersFoldCompareShowAndHashWithoutOverflow) {
    constexpr int n = 1000000;
    IntList a = L();
    IntList b = L();
    for (int i = 0; i < n; ++i) {
        a = L(i % 7, a);
        b = L(i % 7, b);
    }
    auto sum = [](const ListF<int, long>& l) -> long { return l.isNil() ? 0 : l.head() + l.tail(); };
    long expected = 0;
    for (int i = 0; i < n; ++i) expected += i % 7;
    EXPECT_EQ(pomrel::cata(sum, a), expected);
    EXPECT_EQ(pomrel::refold(sum, countdown, n), static_cast<long>(n) * (n + 1) / 2);
    EXPECT_TRUE(a == b);
    EXPECT_EQ(core::hash(a), core::hash(b));
    IntList c = L(9, b);
    EXPECT_LT(a, c);
    std::string text = core::show(a);
    EXPECT_EQ(text.substr(0, 14), "Fix (Cons 0 (F");
    EXPECT_EQ(text.back(), ')');
    // A lazily built deep structure: unfold, then fold and convert back.
    auto deepUnfold = pomrel::unfoldFix(countdown, n);
    EXPECT_EQ(pomrel::cata(sum, deepUnfold), static_cast<long>(n) * (n + 1) / 2);
    auto hoisted = pomrel::hoistFix(
        [](const auto& l) {
            using R = std::decay_t<decltype(l.tail())>;
            return l.isNil() ? ListF<int, R>() : ListF<int, R>(l.head() + 1, l.tail());
        },
        deepUnfold);
    EXPECT_EQ(pomrel::cata(sum, hoisted), static_cast<long>(n) * (n + 1) / 2 + n);
}

TEST(FixDeep, TenMillionLayersAreDestroyedInConstantStack) {
    {
        IntList xs = L();
        for (int i = 0; i < 10000000; ++i) xs = L(i, xs);
        EXPECT_EQ(xs.unFix().head(), 9999999);
    }
    {
        // Forced deferred layers too.
        auto xs = pomrel::unfoldFix(countdown, 2000000);
        const IntList* cur = &xs;
        while (!cur->unFix().isNil()) cur = &cur->unFix().tail();
        SUCCEED();
    }
    {
        // Shared tails survive the drop of one holder.
        IntList tail = fromVector({1, 2, 3});
        {
            IntList longer = tail;
            for (int i = 0; i < 1000; ++i) longer = L(i, longer);
        }
        EXPECT_EQ(core::show(tail), "Fix (Cons 1 (Fix (Cons 2 (Fix (Cons 3 (Fix Nil))))))");
    }
}
