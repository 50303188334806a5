#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "Core/Shapes.h"

using core::Int;
using core::List;

namespace {
using Opt = core::OptionalK;
using Vec = core::VectorK;
}  // namespace

TEST(Shapes, MapFoldAndTraverseLikeTheCombinatorsTheyMirror) {
    core::Par1<Int> p{3};
    EXPECT_EQ(core::fmap([](Int x) { return x + 1; }, p), core::Par1<Int>{4});
    EXPECT_EQ(core::toList(p).toVector(), (std::vector<Int>{3}));
    EXPECT_EQ(core::traverse([](Int x) { return std::optional<Int>(x * 2); }, p), std::optional(core::Par1<Int>{6}));

    core::Rec1<Vec, Int> r{{1, 2, 3}};
    EXPECT_EQ(core::fmap([](Int x) { return x * 10; }, r).value, (std::vector<Int>{10, 20, 30}));
    EXPECT_EQ(core::sum(r), 6);
    EXPECT_EQ(core::length(r), 3);

    core::K1<std::string, Int> k{"c"};
    auto k2 = core::fmap([](Int x) { return std::to_string(x); }, k);
    EXPECT_EQ(k2.value, "c");
    EXPECT_TRUE(core::null(k));
    auto kt = core::traverse([](Int x) { return std::optional<Int>(x); }, k);
    EXPECT_EQ(kt->value, "c");

    core::U1<Int> u;
    EXPECT_EQ(core::length(u), 0);
    EXPECT_EQ(core::traverse([](Int x) { return std::vector<Int>{x, x}; }, u), std::vector<core::U1<Int>>{core::U1<Int>{}});
    static_assert(!std::is_default_constructible_v<core::V1<Int>>);

    core::Comp1<Vec, Opt, Int> c{{std::optional<Int>(1), std::nullopt, std::optional<Int>(3)}};
    EXPECT_EQ(core::toList(c).toVector(), (std::vector<Int>{1, 3}));
    EXPECT_EQ(core::fmap([](Int x) { return -x; }, c).value[2], std::optional<Int>(-3));

    auto pr = core::prod1(std::vector<Int>{1, 2}, std::optional<Int>(3));
    EXPECT_EQ(core::toList(pr).toVector(), (std::vector<Int>{1, 2, 3}));
    std::string order;
    core::traverse([&order](Int x) {
        order += std::to_string(x);
        return std::optional<Int>(x);
    }, pr);
    EXPECT_EQ(order, "123");

    auto left = core::L1<Opt>(std::vector<Int>{4, 5});
    auto right = core::R1<Vec>(std::optional<Int>(6));
    EXPECT_EQ(core::sum(left), 9);
    EXPECT_EQ(core::sum(right), 6);
    EXPECT_NE(left, core::L1<Opt>(std::vector<Int>{4}));
    EXPECT_LT(left, right);
}

TEST(Shapes, TextFormsAndHashes) {
    EXPECT_EQ(core::show(core::Par1<Int>{-1}), "Par1 {unPar1 = -1}");
    EXPECT_EQ(core::show(core::Rec1<Opt, Int>{std::optional<Int>(2)}), "Rec1 {unRec1 = Just 2}");
    EXPECT_EQ(core::show(core::K1<Int, Int>{7}), "K1 {unK1 = 7}");
    EXPECT_EQ(core::show(core::U1<Int>{}), "U1");
    EXPECT_EQ(core::show(core::Comp1<Vec, Opt, Int>{{std::nullopt}}), "Comp1 {unComp1 = [Nothing]}");
    EXPECT_EQ(core::show(core::prod1(std::optional<Int>(1), std::vector<Int>{2})), "Just 1 :*: [2]");
    EXPECT_EQ(core::show(std::optional(core::prod1(std::vector<Int>{1}, std::vector<Int>{2}))), "Just ([1] :*: [2])");
    EXPECT_EQ(core::show(core::L1<Vec>(std::optional<Int>(1))), "L1 (Just 1)");
    EXPECT_EQ(core::show(core::R1<Opt>(std::vector<Int>{1})), "R1 [1]");

    EXPECT_EQ(core::read<core::Par1<Int>>("Par1 {unPar1 = (-1)}"), core::Par1<Int>{-1});
    EXPECT_EQ(core::read<core::U1<Int>>(" (U1) "), core::U1<Int>{});
    EXPECT_EQ((core::read<core::K1<Int, Int>>("K1 {unK1 = 7}")), (core::K1<Int, Int>{7}));
    using P = core::Prod1<Opt, Vec, Int>;
    EXPECT_EQ(core::read<P>("Just 1 :*: [2]"), std::optional<P>(core::prod1(std::optional<Int>(1), std::vector<Int>{2})));
    using S = core::Sum1<Vec, Opt, Int>;
    EXPECT_EQ(core::read<S>("R1 (Just 1)"), std::optional<S>(core::R1<Vec>(std::optional<Int>(1))));
    EXPECT_FALSE(core::read<S>("R1 Just 1").has_value());

    EXPECT_EQ(core::hash(core::Par1<Int>{5}), core::hash(Int{5}));
    EXPECT_EQ(core::hash(core::U1<Int>{}), core::hash(Int{0}));
    EXPECT_EQ(core::hash(core::prod1(std::vector<Int>{1}, std::vector<Int>{2})),
              core::hashWithSalt(core::hash(std::vector<Int>{1}), std::vector<Int>{2}));
    EXPECT_EQ(core::hash(core::R1<Opt>(std::vector<Int>{1})),
              core::hashWithSalt(core::hashIndex(core::defaultSalt, 1), std::vector<Int>{1}));
}

TEST(Shapes, LiftedFormsAndBytes) {
    auto eqLen = [](const std::string& a, Int b) { return static_cast<Int>(a.size()) == b; };
    EXPECT_TRUE(core::liftEq(eqLen, core::prod1(std::vector<std::string>{"ab"}, std::optional<std::string>("c")),
                             core::prod1(std::vector<Int>{2}, std::optional<Int>(1))));
    EXPECT_EQ(core::compare1(core::L1<Opt>(std::vector<Int>{9}), core::R1<Vec>(std::optional<Int>(0))), core::LT);
    EXPECT_EQ(core::compare1(core::Par1<Int>{1}, core::Par1<Int>{2}), core::LT);
    auto h = [](std::uint64_t s, Int x) { return core::hashWithSalt(s, x); };
    auto sum = core::R1<Opt>(std::vector<Int>{1, 2});
    EXPECT_EQ(core::liftHashWithSalt(h, 5, sum), core::hashWithSalt(5, sum));
    EXPECT_EQ(core::liftHashWithSalt(h, 5, core::Comp1<Vec, Opt, Int>{{std::nullopt}}),
              core::hashWithSalt(5, core::Comp1<Vec, Opt, Int>{{std::nullopt}}));

    using S = decltype(sum);
    std::string bytes = core::encode(sum);
    EXPECT_EQ(bytes, std::string(1, '\1') + core::encode(std::vector<Int>{1, 2}));
    EXPECT_EQ(core::decode<S>(bytes).value(), sum);
    EXPECT_EQ(core::decode<S>(std::string(1, '\2')).error(), "Invalid Sum1 tag");
    auto pr = core::prod1(std::vector<Int>{1}, std::optional<Int>(2));
    EXPECT_EQ(core::decode<decltype(pr)>(core::encode(pr)).value(), pr);
    EXPECT_EQ(core::encode(core::U1<Int>{}), "");
    EXPECT_EQ(core::encode(core::Par1<Int>{7}), core::encode(Int{7}));
    EXPECT_EQ(core::decode<core::V1<Int>>("").error(), "V1 has no values");
}

TEST(Shapes, LiftedTextFormsAgreeWithThePlainOnesAndReachEveryElement) {
    const core::ShowsPrecOf<Int> sp;
    const core::ShowListOf<Int> sl;
    auto lifted = [&](const auto& x) {
        std::string out;
        core::liftShowsPrec(sp, sl, 11, x, out);
        return out;
    };
    auto plain = [](const auto& x) {
        std::string out;
        core::showsPrec(11, x, out);
        return out;
    };
    const core::Par1<Int> par{-1};
    const core::Rec1<Opt, Int> rec{std::optional<Int>(2)};
    const core::K1<Int, Int> k{7};
    const core::U1<Int> u{};
    const core::Comp1<Vec, Opt, Int> comp{{std::optional<Int>(3), std::nullopt}};
    const auto prod = core::prod1(std::optional<Int>(1), std::vector<Int>{2});
    const auto sum = core::L1<Vec>(std::optional<Int>(-4));
    EXPECT_EQ(lifted(par), plain(par));
    EXPECT_EQ(lifted(rec), plain(rec));
    EXPECT_EQ(lifted(k), plain(k));
    EXPECT_EQ(lifted(u), plain(u));
    EXPECT_EQ(lifted(comp), plain(comp));
    EXPECT_EQ(lifted(prod), plain(prod));
    EXPECT_EQ(lifted(sum), plain(sum));

    // The caller's element printer is used for every element, at any depth.
    auto tagged = [](int, Int x, std::string& out) { out += "e" + std::to_string(x); };
    auto taggedList = [](const auto&, std::string& out) { out += "<list>"; };
    std::string out;
    core::liftShowsPrec(tagged, taggedList, 0, comp, out);
    EXPECT_EQ(out, "Comp1 {unComp1 = [Just e3,Nothing]}");
    out.clear();
    core::liftShowsPrec(tagged, taggedList, 0, prod, out);
    EXPECT_EQ(out, "Just e1 :*: <list>");

    // Reading with the element's own readers gives back the plain values.
    auto rp = core::readPrec<Int>();
    auto rl = core::readListPrec<Int>();
    auto readBack = [&](auto kind, const auto& x) {
        using K = decltype(kind);
        auto rs = core::liftReadPrec<K, Int>(rp, rl).run(core::show(x));
        return rs.size() == 1 && rs[0].second.empty() && rs[0].first == x;
    };
    EXPECT_TRUE(readBack(core::Par1K{}, par));
    EXPECT_TRUE(readBack(core::Rec1K<Opt>{}, rec));
    EXPECT_TRUE(readBack(core::K1K<Int>{}, k));
    EXPECT_TRUE(readBack(core::U1K{}, u));
    EXPECT_TRUE(readBack(core::Comp1K<Vec, Opt>{}, comp));
    EXPECT_TRUE(readBack(core::Prod1K<Opt, Vec>{}, prod));
    EXPECT_TRUE(readBack(core::Sum1K<Opt, Vec>{}, sum));
    // V1 has no values: nothing reads as one.
    EXPECT_TRUE((core::liftReadPrec<core::V1K, Int>(rp, rl).run("V1").empty()));
    EXPECT_FALSE(core::read<core::V1<Int>>("V1").has_value());
}
