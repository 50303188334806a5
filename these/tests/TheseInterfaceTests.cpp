#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Core/Prelude.h"
#include "Data/These.h"
#include "Data/These/Combinators.h"

using core::List;
using these::That;
using these::These;
using these::This;

using Log = std::vector<int>;
using TL = These<Log, int>;

namespace {
// A random These<std::string, int> from a shape index and two values.
These<std::string, int> make(int shape, const std::string& a, int b) {
    switch (((shape % 3) + 3) % 3) {
        case 0: return This(a);
        case 1: return That(b);
        default: return These(a, b);
    }
}
}  // namespace

TEST(TheseInterfaces, MappingTouchesOnlyTheRightValue) {
    int calls = 0;
    auto inc = [&](int x) {
        ++calls;
        return x + 1;
    };
    These<int, int> t = This(core::defer([] { return 3; }));
    auto m = core::fmap(inc, t);
    EXPECT_TRUE(m.leftField().sameAs(t.leftField()));
    auto both = core::fmap(inc, These<int, int>(These(1, 2)));
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(both.right(), 3);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(core::replace(std::string("x"), These<int, int>(These(1, 2))), (These<int, std::string>(These(1, std::string("x")))));
}

TEST(TheseInterfaces, FoldingSeesOnlyTheRightValue) {
    These<int, char> th = This(3);
    These<int, char> tc = These(3, 'c');
    EXPECT_EQ(core::length(tc), 1);
    EXPECT_EQ(core::length(th), 0);
    EXPECT_TRUE(core::toList(th).null());
    EXPECT_TRUE(core::null(th));
    EXPECT_EQ(core::toList(tc).toVector(), std::vector<char>{'c'});
    auto msg = [](auto f) {
        try {
            f();
        } catch (const core::Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(msg([&] { core::foldr1([](char a, char) { return a; }, th); }), "foldr1: empty structure");
    EXPECT_EQ(msg([&] { core::foldl1([](char a, char) { return a; }, th); }), "foldl1: empty structure");
    EXPECT_EQ(msg([&] { core::maximum(th); }), "maximum: empty structure");
    EXPECT_EQ(msg([&] { core::minimum(th); }), "minimum: empty structure");
    EXPECT_EQ(core::sum(These<int, int>(That(4))), 4);
    EXPECT_EQ(core::product(These<int, int>(This(4))), 1);
    EXPECT_EQ(core::foldr([](int b, const core::Lazy<int>& z) { return b - z.force(); }, 10, These<int, int>(These(0, 3))), -7);
}

TEST(TheseInterfaces, TwoSidedFoldsGoLeftFirst) {
    These<int, int> t = These(1, 2);
    EXPECT_EQ(core::bifoldl([](int z, int a) { return z * 10 + a; }, [](int z, int b) { return z * 10 + b; }, 0, t), 12);
    auto prepend = [](int x, const core::Lazy<List<int>>& z) { return List<int>::cons(x, z.force()); };
    EXPECT_EQ(core::bifoldr(prepend, prepend, List<int>(), t).toVector(), (std::vector<int>{1, 2}));
    auto str = [](int x) { return std::to_string(x); };
    EXPECT_EQ(core::bifoldMap(str, str, t), "12");
    EXPECT_EQ(core::bifoldMap1(str, str, These<int, int>(That(7))), "7");
    EXPECT_EQ(core::bifold(These<std::string, std::string>(These(std::string("a"), std::string("b")))), "ab");
}

TEST(TheseInterfaces, TraversalsRunEffectsInOrder) {
    int calls = 0;
    auto half = [&](int x) -> std::optional<int> {
        ++calls;
        return x % 2 == 0 ? std::optional<int>(x / 2) : std::nullopt;
    };
    These<char, int> th = This('a');
    auto r = core::traverse(half, th);
    EXPECT_EQ(calls, 0);
    ASSERT_TRUE(r.has_value());
    EXPECT_TRUE(r->leftField().sameAs(th.leftField()) || r->left() == 'a');
    EXPECT_EQ(core::traverse(half, These<char, int>(These('a', 4))), (std::optional<These<char, int>>(These('a', 2))));
    EXPECT_EQ(core::traverse(half, These<char, int>(That(3))), std::nullopt);
    // bitraverse: f's effect before g's.
    std::vector<std::string> order;
    auto logged = [&](std::string tag) {
        return [&order, tag](int x) {
            order.push_back(tag);
            return std::optional<int>(x);
        };
    };
    auto bt = core::bitraverse(logged("f"), logged("g"), These<int, int>(These(1, 2)));
    EXPECT_EQ(order, (std::vector<std::string>{"f", "g"}));
    EXPECT_EQ(bt, (std::optional<These<int, int>>(These(1, 2))));
    EXPECT_EQ(these::bitraverseThese(logged("f"), logged("g"), These<int, int>(This(5))),
              (std::optional<These<int, int>>(This(5))));
}

TEST(TheseInterfaces, CombinationKeepsEverySide) {
    using T = These<std::string, std::string>;
    EXPECT_EQ(core::combine(T(That(std::string("1"))), T(This(std::string("x")))), T(These(std::string("x"), std::string("1"))));
    EXPECT_EQ(core::combine(T(These(std::string("a"), std::string("b"))), T(These(std::string("c"), std::string("d")))),
              T(These(std::string("ac"), std::string("bd"))));
    EXPECT_EQ(core::combine(T(This(std::string("a"))), T(This(std::string("c")))), T(This(std::string("ac"))));
    core::NonEmpty<T> xs(T(This(std::string("a"))), List<T>{T(That(std::string("b"))), T(This(std::string("c")))});
    EXPECT_EQ(core::sconcat(xs), T(These(std::string("ac"), std::string("b"))));
    EXPECT_EQ(core::stimes(3, T(That(std::string("z")))), T(That(std::string("zzz"))));
    EXPECT_THROW(core::stimes(0, T(That(std::string("z")))), core::Error);
}

TEST(TheseInterfaces, ApplicativeAndMonadKeepALog) {
    std::function<int(int)> succ = [](int x) { return x + 1; };
    These<Log, std::function<int(int)>> ff = These(Log{1}, succ);
    EXPECT_EQ(core::ap(ff, TL(These(Log{2}, 5))), TL(These(Log{1, 2}, 6)));
    // This stops the computation: neither the other operand nor k is examined.
    These<Log, std::function<int(int)>> stop = This(Log{9});
    EXPECT_EQ(core::ap(stop, TL(That(1))), TL(This(Log{9})));
    int kCalls = 0;
    auto k = [&](int x) {
        ++kCalls;
        return TL(That(x * 2));
    };
    EXPECT_EQ(core::bind(TL(This(Log{9})), k), TL(This(Log{9})));
    EXPECT_EQ(kCalls, 0);
    EXPECT_EQ(core::bind(TL(These(Log{1}, 3)), k), TL(These(Log{1}, 6)));
    EXPECT_EQ(core::bind(TL(These(Log{1}, 3)), [](int) { return TL(This(Log{2})); }), TL(This(Log{1, 2})));
    EXPECT_EQ(core::pure<these::TheseK<Log>>(4), TL(That(4)));
    EXPECT_EQ(core::apRight(TL(These(Log{1}, 0)), TL(That(7))), TL(These(Log{1}, 7)));
    EXPECT_EQ(core::apLeft(TL(These(Log{1}, 0)), TL(These(Log{2}, 7))), TL(These(Log{1, 2}, 0)));
    EXPECT_EQ(core::apLeft(TL(That(5)), TL(This(Log{3}))), TL(This(Log{3})));
    EXPECT_EQ(core::liftA2([](int a, int b) { return a * b; }, TL(These(Log{1}, 3)), TL(These(Log{2}, 4))),
              TL(These(Log{1, 2}, 12)));
}

RC_GTEST_PROP(TheseLaws, FunctorIdentityAndComposition, (int shape, const std::string& a, int b)) {
    auto t = make(shape, a, b % 100000);  // keeps the arithmetic below from overflowing
    RC_ASSERT(core::fmap([](int x) { return x; }, t) == t);
    auto f = [](int x) { return x * 3; };
    auto g = [](int x) { return x - 7; };
    RC_ASSERT(core::fmap([&](int x) { return f(g(x)); }, t) == core::fmap(f, core::fmap(g, t)));
    RC_ASSERT(core::bimap([](const std::string& s) { return s; }, [](int x) { return x; }, t) == t);
}

RC_GTEST_PROP(TheseLaws, SemigroupIsAssociative,
              (int s1, int s2, int s3, const std::string& a1, const std::string& a2, const std::string& a3)) {
    using T = These<std::string, std::string>;
    auto mk = [](int s, const std::string& v) {
        return s % 3 == 0 ? T(This(v)) : s % 3 == 1 ? T(That(v + "!")) : T(These(v, v + "?"));
    };
    T x = mk(s1 & 0xff, a1), y = mk(s2 & 0xff, a2), z = mk(s3 & 0xff, a3);
    RC_ASSERT(core::combine(core::combine(x, y), z) == core::combine(x, core::combine(y, z)));
}

RC_GTEST_PROP(TheseLaws, ApplicativeAndMonadLaws, (int s1, int s2, const std::vector<int>& l1, const std::vector<int>& l2, int v)) {
    // Small values, so that the arithmetic of the test functions cannot overflow.
    s1 &= 0xffff;
    s2 &= 0xffff;
    v %= 100000;
    auto mk = [](int s, const Log& l, int x) {
        return (s & 0xff) % 3 == 0 ? TL(This(l)) : (s & 0xff) % 3 == 1 ? TL(That(x)) : TL(These(l, x));
    };
    TL m = mk(s1, l1, v);
    auto k = [&](int x) { return mk(s2 + x, l2, x * 2); };
    auto h = [&](int x) { return mk(s1 ^ x, l1, x - 1); };
    using P = these::TheseK<Log>;
    // Left identity, right identity, associativity.
    RC_ASSERT(core::bind(core::pure<P>(v), k) == k(v));
    RC_ASSERT(core::bind(m, [](int x) { return core::pure<P>(x); }) == m);
    RC_ASSERT(core::bind(core::bind(m, k), h) == core::bind(m, [&](int x) { return core::bind(k(x), h); }));
    // Applicative identity and homomorphism.
    std::function<int(int)> id = [](int x) { return x; };
    RC_ASSERT(core::ap(core::pure<P>(id), m) == m);
    std::function<int(int)> dbl = [](int x) { return 2 * x; };
    RC_ASSERT(core::ap(core::pure<P>(dbl), core::pure<P>(v)) == core::pure<P>(2 * v));
}

RC_GTEST_PROP(TheseLaws, TraversalIdentityAndRoundTrips, (int shape, const std::string& a, int b)) {
    b %= 100000;
    auto t = make(shape, a, b);
    RC_ASSERT(core::runIdentity(core::traverse([](int x) { return core::Identity<int>{x}; }, t)) == t);
    RC_ASSERT(these::swapThese(these::swapThese(t)) == t);
    using Nested = These<These<std::string, int>, int>;
    Nested n = (shape & 1) ? Nested(This(t)) : Nested(These(t, b + 1));
    RC_ASSERT(these::unassocThese(these::assocThese(n)) == n);
}
