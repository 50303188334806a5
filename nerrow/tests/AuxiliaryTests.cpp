// Indexing, Sequenced, Traversed, FromMaybe, SMaybe, the helpers, the
// wrapper-composition helpers, and the defaults against the direct
// implementations.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "CoerceCompat.h"
#include "Support.h"

using core::Int;
using core::Lazy;
using core::List;
using core::NonEmpty;
using core::Unit;
using nt::Strings;

namespace {
// A kind that supplies only the plain Traversable: its Int-indexed
// operations all come from the defaults (itraverse through Indexing, imap
// and ifoldMap through itraverse, the other folds through ifoldMap).
template <class A>
struct Bag {
    using value_type = A;
    std::vector<A> items;
    friend bool operator==(const Bag&, const Bag&) = default;
};
struct BagK {
    template <class A>
    using apply = Bag<A>;
};
}  // namespace

template <class A>
struct core::KindOf<Bag<A>> {
    using kind = BagK;
    using arg = A;
};
template <>
struct core::Functor<BagK> : core::FunctorDefaults<BagK, core::Functor<BagK>> {
    template <class F, class A>
    static auto fmap(F&& f, const Bag<A>& b) {
        return Bag<core::Result<F&, const A&>>{core::fmap(f, b.items)};
    }
};
template <>
struct core::Foldable<BagK> : core::FoldableDefaults<BagK, core::Foldable<BagK>> {
    template <class F, class B, class A>
    static B foldr(F&& f, Lazy<B> z, const Bag<A>& b) {
        return core::Foldable<core::VectorK>::foldr(std::forward<F>(f), std::move(z), b.items);
    }
};
template <>
struct core::Traversable<BagK> : core::TraversableDefaults<BagK, core::Traversable<BagK>> {
    template <class F, class A>
    static auto traverse(F&& f, const Bag<A>& b) {
        auto r = core::traverse(std::forward<F>(f), b.items);
        using V = core::ArgOf<decltype(r)>;
        return core::fmap([](V v) { return Bag<typename V::value_type>{std::move(v)}; }, std::move(r));
    }
};
template <>
struct nerrow::IndexOf<BagK> {
    using type = Int;
};
template <>
struct nerrow::FunctorWithIndex<BagK> : nerrow::FunctorWithIndexDefaults<BagK, nerrow::FunctorWithIndex<BagK>> {};
template <>
struct nerrow::FoldableWithIndex<BagK> : nerrow::FoldableWithIndexDefaults<BagK, nerrow::FoldableWithIndex<BagK>> {};
template <>
struct nerrow::TraversableWithIndex<BagK> : nerrow::TraversableWithIndexDefaults<BagK, nerrow::TraversableWithIndex<BagK>> {};

TEST(Defaults, AKindWithOnlyThePlainTraverseGetsEveryIndexedOperation) {
    Bag<char> b{{'a', 'b', 'c'}};
    nt::expectOrders(b, {"0:a", "1:b", "2:c"});
    EXPECT_EQ(nerrow::imap([](Int i, char c) { return std::string(1, c) + std::to_string(i); }, b).items,
              (std::vector<std::string>{"a0", "b1", "c2"}));
    nt::expectOrders(Bag<char>{}, {});
}

TEST(Defaults, DefaultItraverseNumbersFromZeroOnEveryCall) {
    Bag<char> b{{'x', 'y', 'z'}};
    for (int round = 0; round < 2; ++round) {
        auto t = nerrow::itraverse([](Int i, char c) { return nt::logged(std::to_string(i), c); }, b);
        EXPECT_EQ(t.first, (Strings{"0", "1", "2"}));
    }
    int calls = 0;
    auto e = nerrow::itraverse([&calls](Int, char c) { ++calls; return std::optional<char>(c); }, Bag<char>{});
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(e, std::optional<Bag<char>>(Bag<char>{}));
}

TEST(Defaults, DefaultsAgreeWithTheDirectImplementations) {
    using FL = nerrow::FoldableWithIndex<core::ListK>;
    using DL = nerrow::FoldableWithIndexDefaults<core::ListK, FL>;
    List<int> xs{3, 1, 4, 1, 5};
    auto cat = [](Int i, int x) { return std::to_string(i) + "=" + std::to_string(x) + ";"; };
    EXPECT_EQ(DL::ifoldMapStrict(cat, xs), FL::ifoldMapStrict(cat, xs));
    EXPECT_EQ(nerrow::ifoldMapDefault(cat, xs), FL::ifoldMap(cat, xs));
    auto r = [](Int i, int x, const Lazy<std::string>& acc) { return "(" + std::to_string(i + x) + acc.force() + ")"; };
    EXPECT_EQ(DL::ifoldr(r, core::now(std::string("z")), xs), FL::ifoldr(r, core::now(std::string("z")), xs));
    auto l = [](Int i, std::string acc, int x) { return "(" + acc + std::to_string(i * x) + ")"; };
    EXPECT_EQ(DL::ifoldl(l, std::string("z"), xs), FL::ifoldl(l, std::string("z"), xs));
    EXPECT_EQ(DL::ifoldlStrict(l, std::string("z"), xs), FL::ifoldlStrict(l, std::string("z"), xs));
    auto rs = [](Int i, int x, std::string acc) { return "(" + std::to_string(i - x) + acc + ")"; };
    EXPECT_EQ(DL::ifoldrStrict(rs, std::string("z"), xs), FL::ifoldrStrict(rs, std::string("z"), xs));
    auto sq = [](Int i, int x) { return i * x; };
    EXPECT_EQ(nerrow::imapDefault(sq, xs), nerrow::FunctorWithIndex<core::ListK>::imap(sq, xs));
    using TL = nerrow::TraversableWithIndexDefaults<core::ListK, nerrow::TraversableWithIndex<core::ListK>>;
    auto lg = [](Int i, int x) { return nt::logged(std::to_string(i), x); };
    EXPECT_EQ(TL::itraverse(lg, xs), nerrow::itraverse(lg, xs));

    // The non-empty folds' defaults against NonEmpty's own.
    using F1 = nerrow::Foldable1WithIndex<core::NonEmptyK>;
    using D1 = nerrow::Foldable1WithIndexDefaults<core::NonEmptyK, F1>;
    NonEmpty<int> ne(2, List<int>{7, 1, 8});
    auto f = [](Int i, int x) { return "<" + std::to_string(i) + ":" + std::to_string(x) + ">"; };
    auto gr = [](Int i, int x, const Lazy<std::string>& b) { return "r" + std::to_string(i + x) + b.force(); };
    auto grs = [](Int i, int x, std::string b) { return "r" + std::to_string(i + x) + b; };
    auto gl = [](Int i, std::string b, int x) { return b + "l" + std::to_string(i * x); };
    EXPECT_EQ(D1::ifoldMap1(f, ne), F1::ifoldMap1(f, ne));
    EXPECT_EQ(D1::ifoldMap1Strict(f, ne), F1::ifoldMap1Strict(f, ne));
    EXPECT_EQ(D1::ifoldrMap1(f, gr, ne), F1::ifoldrMap1(f, gr, ne));
    EXPECT_EQ(D1::ifoldlMap1(f, gl, ne), F1::ifoldlMap1(f, gl, ne));
    EXPECT_EQ(D1::ifoldlMap1Strict(f, gl, ne), F1::ifoldlMap1Strict(f, gl, ne));
    EXPECT_EQ(D1::ifoldrMap1Strict(f, grs, ne), F1::ifoldrMap1Strict(f, grs, ne));
    NonEmpty<int> one(9);
    auto never = [](auto&&...) -> std::string { throw std::runtime_error("g called"); };
    EXPECT_EQ(D1::ifoldrMap1(f, never, one), "<0:9>");
    EXPECT_EQ(D1::ifoldlMap1(f, never, one), "<0:9>");
    EXPECT_EQ(D1::ifoldrMap1Strict(f, never, one), "<0:9>");
    EXPECT_EQ(D1::ifoldlMap1Strict(f, never, one), "<0:9>");
}

TEST(Indexing, PureConsumesNoPositionAndTheCounterThreadsLeftToRight) {
    using G = core::OptionalK;
    auto tick = nerrow::Indexing<G, Int>{[](Int i) { return std::pair<Int, std::optional<Int>>(i + 1, i); }};
    auto p = core::Applicative<nerrow::IndexingK<G>>::pure(Int{100});
    auto both = core::liftA2([](Int a, Int b) { return a * 10 + b; }, tick, core::liftA2([](Int a, Int b) { return a + b; }, p, tick));
    auto [next, value] = nerrow::runIndexing(both)(3);
    EXPECT_EQ(next, 5);
    EXPECT_EQ(value, std::optional<Int>(3 * 10 + 104));
    auto r = core::apRight(tick, tick).run(0);
    EXPECT_EQ(r.first, 2);
    EXPECT_EQ(r.second, std::optional<Int>(1));
    auto l = core::apLeft(tick, tick).run(0);
    EXPECT_EQ(l.second, std::optional<Int>(0));
    auto m = core::fmap([](Int x) { return x * 2; }, tick).run(21);
    EXPECT_EQ(m, (std::pair<Int, std::optional<Int>>(22, 42)));
}

TEST(SequencedAndTraversed, MemptyRunsNoEffectAndItsResultRaisesOnlyWhenDemanded) {
    using T = nerrow::Traversed<core::PairK<Strings>, Lazy<int>>;
    T b{nt::logged("b", core::now(5))};
    T e = core::mempty<T>();
    auto left = core::combine(e, b);
    EXPECT_EQ(left.value.first, Strings{"b"});
    EXPECT_EQ(left.value.second.force(), 5);
    auto right = core::combine(b, e);
    EXPECT_EQ(right.value.first, Strings{"b"});
    try {
        (void)right.value.second.force();
        FAIL() << "the placeholder was not raised";
    } catch (const core::Error& err) {
        EXPECT_EQ(std::string(err.what()).rfind("Traversed: value used", 0), 0u) << err.what();
        EXPECT_NE(std::string(err.what()).find("WithIndex"), std::string::npos) << err.what();
    }
    using S = nerrow::Sequenced<core::OptionalK, Lazy<int>>;
    S s{std::optional<Lazy<int>>(core::now(1))};
    auto sm = core::combine(s, core::mempty<S>());
    ASSERT_TRUE(sm.value);
    try {
        (void)sm.value->force();
        FAIL() << "the placeholder was not raised";
    } catch (const core::Error& err) {
        EXPECT_EQ(std::string(err.what()).rfind("Sequenced: value used", 0), 0u) << err.what();
    }
    EXPECT_EQ(core::combine(core::mempty<S>(), s).value->force(), 1);
}

TEST(SequencedAndTraversed, EffectsRunInListOrderAndOnlyTheLastResultSurvives) {
    using T = nerrow::Traversed<core::PairK<Strings>, Lazy<int>>;
    List<T> xs{T{nt::logged("1", core::now(1))}, T{nt::logged("2", core::now(2))}, T{nt::logged("3", core::now(3))}};
    auto all = core::mconcat(xs);
    EXPECT_EQ(all.value.first, (Strings{"1", "2", "3"}));
    EXPECT_THROW((void)all.value.second.force(), core::Error);  // ends in mempty
    auto ne = core::sconcat(NonEmpty<T>(xs.head(), xs.tail()));
    EXPECT_EQ(ne.value.first, (Strings{"1", "2", "3"}));
    EXPECT_EQ(ne.value.second.force(), 3);
    EXPECT_EQ(core::stimes(2, xs.head()).value.first, (Strings{"1", "1"}));
    auto empty = core::mconcat(List<T>{});
    EXPECT_EQ(empty.value.first, Strings{});
    using S = nerrow::Sequenced<core::PairK<Strings>, Lazy<int>>;
    auto sq = core::sconcat(NonEmpty<S>(S{nt::logged("a", core::now(1))}, List<S>{S{nt::logged("b", core::now(2))}}));
    EXPECT_EQ(sq.value.first, (Strings{"a", "b"}));
    EXPECT_EQ(sq.value.second.force(), 2);
}

TEST(FromMaybeAndSMaybe, EachElementLearnsWhetherAResultLiesToItsRight) {
    using FM = nerrow::FromMaybe<std::string>;
    auto tag = [](std::string name) {
        return FM{[name](const std::optional<std::string>& m) { return m ? name + "(" + *m + ")" : name; }};
    };
    auto pq = core::combine(tag("p"), tag("q"));
    EXPECT_EQ(nerrow::appFromMaybe(pq, std::nullopt), "p(q)");
    EXPECT_EQ(nerrow::appFromMaybe(pq, std::string("m")), "p(q(m))");
    auto three = core::sconcat(NonEmpty<FM>(tag("a"), List<FM>{tag("b"), tag("c")}));
    EXPECT_EQ(nerrow::appFromMaybe(three, std::nullopt), "a(b(c))");
    auto dual = core::combine(core::Dual<FM>{tag("a")}, core::Dual<FM>{tag("b")});
    EXPECT_EQ(nerrow::appFromMaybe(dual.value, std::nullopt), "b(a)");

    nerrow::SMaybe<int> n = nerrow::SNothing;
    auto j = nerrow::SJust(4);
    EXPECT_EQ(n.index(), 0);
    EXPECT_EQ(j.index(), 1);
    EXPECT_EQ(j.fromJust(), 4);
    EXPECT_FALSE(n == j);
}

TEST(Helpers, SkipAndUncurryStrict) {
    EXPECT_EQ(nerrow::skip(core::defer([]() -> int { throw std::runtime_error("forced"); })), core::unit);
    EXPECT_EQ(nerrow::uncurryStrict([](int a, const std::string& b) { return b + std::to_string(a); }, std::pair<int, std::string>(1, "x")),
              "x1");
}

TEST(CoerceCompat, WrappingAfterAFunction) {
    auto f = nerrow::wrapAfter<core::Dual>([](int x) { return x + 1; });
    static_assert(std::is_same_v<decltype(f(1)), core::Dual<int>>);
    EXPECT_EQ(f(1).value, 2);
    auto g = nerrow::wrapAfter2<core::Additive<int>>([](int x, int y) { return x * y; });
    EXPECT_EQ(g(6, 7).value, 42);
    auto h = nerrow::wrapAfter2<core::Dual>([](int x, int y) { return x - y; });
    EXPECT_EQ(h(1, 3).value, -2);
    static_assert(sizeof(core::Dual<int>) == sizeof(int));
    static_assert(sizeof(nerrow::Traversed<core::OptionalK, int>) == sizeof(std::optional<int>));
    static_assert(sizeof(nerrow::Sequenced<core::OptionalK, int>) == sizeof(std::optional<int>));
    static_assert(sizeof(nerrow::FromMaybe<int>) == sizeof(std::function<int(const std::optional<int>&)>));
    static_assert(sizeof(nerrow::Indexing<core::OptionalK, int>) ==
                  sizeof(std::function<std::pair<Int, std::optional<int>>(Int)>));
}

RC_GTEST_PROP(DefaultsLaws, TheDefaultItraverseAgreesWithTheListLoop, (const std::vector<int>& raw)) {
    const std::vector<int> v = nt::small(raw);
    Bag<int> b{v};
    List<int> xs(v);
    auto lg = [](Int i, int x) { return nt::logged(std::to_string(i) + ":" + std::to_string(x), x * 2); };
    auto viaDefault = nerrow::itraverse(lg, b);
    auto direct = nerrow::itraverse(lg, xs);
    RC_ASSERT(viaDefault.first == direct.first);
    RC_ASSERT(viaDefault.second.items == direct.second.toVector());
    auto cat = [](Int i, int x) { return std::to_string(i) + "," + std::to_string(x) + ";"; };
    RC_ASSERT(nerrow::ifoldMap(cat, b) == nerrow::ifoldMap(cat, xs));
    RC_ASSERT(nerrow::ifoldMapStrict(cat, b) == nerrow::ifoldMapStrict(cat, xs));
}
