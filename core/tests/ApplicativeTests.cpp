#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Core/Applicative.h"
#include "Core/FunctorTypes.h"
#include "Core/Monad.h"
#include "Core/State.h"

using core::Fn;
using core::List;

namespace {
// Values of a few applicatives built from random ints: `make(x)` gives an
// effectful value whose effect depends on x.
struct Optionals {
    using K = core::OptionalK;
    static std::optional<int> make(int x) { return x % 3 == 0 ? std::nullopt : std::optional<int>(x); }
    template <class T>
    static bool same(const T& a, const T& b) { return a == b; }
};
struct Eithers {
    using K = core::EitherK<std::string>;
    static core::Either<std::string, int> make(int x) {
        return x % 4 == 0 ? core::Either<std::string, int>::left("e" + std::to_string(x))
                          : core::Either<std::string, int>::right(x);
    }
    template <class T>
    static bool same(const T& a, const T& b) { return a == b; }
};
struct Lists {
    using K = core::ListK;
    static List<int> make(int x) { return List<int>::replicate(static_cast<std::size_t>(x % 3 + 3) % 3, x); }
    template <class T>
    static bool same(const T& a, const T& b) { return a == b; }
};
struct Vectors {
    using K = core::VectorK;
    static std::vector<int> make(int x) { return std::vector<int>(static_cast<std::size_t>(x % 3 + 3) % 3, x); }
    template <class T>
    static bool same(const T& a, const T& b) { return a == b; }
};
struct Writers {
    using K = core::PairK<std::string>;
    static std::pair<std::string, int> make(int x) { return {std::to_string(x) + ";", x}; }
    template <class T>
    static bool same(const T& a, const T& b) { return a == b; }
};
struct Identities {
    using K = core::IdentityK;
    static core::Identity<int> make(int x) { return {x}; }
    template <class T>
    static bool same(const T& a, const T& b) { return a == b; }
};
struct States {
    using K = core::StateLK<int>;
    // Adds x to the state and returns the old state plus x.
    static core::StateL<int, int> make(int x) {
        return {[x](int s) { return std::pair<int, int>(s + x, s * 2 + x); }};
    }
    template <class T>
    static bool same(const T& a, const T& b) {
        for (int s : {0, 1, -7}) {
            if (!(a.run(s) == b.run(s))) return false;
        }
        return true;
    }
};
struct Readers {
    using K = core::FunctionK<int>;
    static Fn<int, int> make(int x) {
        return [x](int r) { return r * 3 + x; };
    }
    template <class T>
    static bool same(const T& a, const T& b) {
        for (int r : {0, 2, -5}) {
            if (!(a(r) == b(r))) return false;
        }
        return true;
    }
};
struct ZipLists {
    using K = core::ZipListK;
    static core::ZipList<int> make(int x) { return {List<int>::replicate(static_cast<std::size_t>(x % 4 + 4) % 4, x)}; }
    // pure is unbounded: compare a prefix.
    template <class T>
    static bool same(const T& a, const T& b) { return a.value.take(20) == b.value.take(20); }
};

template <class W>
void checkApplicativeLaws(int x, int y, int z) {
    using K = typename W::K;
    auto u = W::make(x);
    auto v = W::make(y);
    auto w = W::make(z);
    auto idFn = Fn<int, int>([](int a) { return a; });
    // Identity: pure id <*> v = v.
    RC_ASSERT(W::same(core::ap(core::pure<K>(idFn), v), v));
    // Homomorphism: pure f <*> pure x = pure (f x).
    auto f = Fn<int, int>([](int a) { return a * 7 - 2; });
    RC_ASSERT(W::same(core::ap(core::pure<K>(f), core::pure<K>(x)), core::pure<K>(f(x))));
    // Interchange: fs <*> pure y = pure ($ y) <*> fs.
    auto fs = core::fmap([](int a) { return Fn<int, int>([a](int b) { return a - b; }); }, u);
    auto atY = Fn<Fn<int, int>, int>([y](const Fn<int, int>& g) { return g(y); });
    RC_ASSERT(W::same(core::ap(fs, core::pure<K>(y)), core::ap(core::pure<K>(atY), fs)));
    // Associativity of combination, and pure as its unit.
    auto pair = [](auto a, auto b) { return std::pair(a, b); };
    auto left = core::fmap([](const std::pair<std::pair<int, int>, int>& p) {
        return std::tuple(p.first.first, p.first.second, p.second);
    }, core::liftA2(pair, core::liftA2(pair, u, v), w));
    auto right = core::fmap([](const std::pair<int, std::pair<int, int>>& p) {
        return std::tuple(p.first, p.second.first, p.second.second);
    }, core::liftA2(pair, u, core::liftA2(pair, v, w)));
    RC_ASSERT(W::same(left, right));
    RC_ASSERT(W::same(core::apRight(core::pure<K>(core::unit), v), v));
    RC_ASSERT(W::same(core::apLeft(v, core::pure<K>(core::unit)), v));
    // liftA2 and ap agree.
    auto minus = [](int a, int b) { return a - b; };
    RC_ASSERT(W::same(core::liftA2(minus, u, v), core::ap(fs, v)));
}

template <class W>
void checkMonadLaws(int x, int y) {
    using K = typename W::K;
    auto f = [](int a) { return W::make(a + 1); };
    auto g = [](int a) { return W::make(a * 2); };
    auto m = W::make(y);
    RC_ASSERT(W::same(core::bind(core::pure<K>(x), f), f(x)));
    RC_ASSERT(W::same(core::bind(m, [](int a) { return core::pure<K>(a); }), m));
    RC_ASSERT(W::same(core::bind(core::bind(m, f), g), core::bind(m, [&](int a) { return core::bind(f(a), g); })));
    RC_ASSERT(W::same(core::then(m, f(x)), core::bind(m, [&](int) { return f(x); })));
}
}  // namespace

namespace {
// Small enough that the laws' arithmetic cannot overflow.
int smallInt() {
    return *rc::gen::inRange(-100000, 100000);
}
}  // namespace

RC_GTEST_PROP(ApplicativeLaws, HoldForSeveralImplementations, ()) {
    const int x = smallInt(), y = smallInt(), z = smallInt();
    checkApplicativeLaws<Optionals>(x, y, z);
    checkApplicativeLaws<Eithers>(x, y, z);
    checkApplicativeLaws<Lists>(x, y, z);
    checkApplicativeLaws<Vectors>(x, y, z);
    checkApplicativeLaws<Writers>(x, y, z);
    checkApplicativeLaws<Identities>(x, y, z);
    checkApplicativeLaws<States>(x, y, z);
    checkApplicativeLaws<Readers>(x, y, z);
    checkApplicativeLaws<ZipLists>(x, y, z);
}

RC_GTEST_PROP(MonadLaws, HoldForSeveralImplementations, ()) {
    const int x = smallInt(), y = smallInt();
    checkMonadLaws<Optionals>(x, y);
    checkMonadLaws<Eithers>(x, y);
    checkMonadLaws<Lists>(x, y);
    checkMonadLaws<Vectors>(x, y);
    checkMonadLaws<Writers>(x, y);
    checkMonadLaws<Identities>(x, y);
    checkMonadLaws<States>(x, y);
    checkMonadLaws<Readers>(x, y);
}

TEST(Applicative, EffectsRunLeftFirst) {
    // The writer logs left to right; Backwards reverses the order.
    auto logged = [](std::string s) { return std::pair<std::string, int>(s, 0); };
    EXPECT_EQ(core::apRight(logged("a"), logged("b")).first, "ab");
    core::Backwards<core::PairK<std::string>, int> ba{logged("a")}, bb{logged("b")};
    EXPECT_EQ(core::apRight(ba, bb).value.first, "ba");
    // The first Left wins; the first empty optional wins.
    using E = core::Either<std::string, int>;
    EXPECT_EQ(core::liftA2([](int a, int b) { return a + b; }, E::left("one"), E::left("two")).left(), "one");
    EXPECT_EQ(core::liftA2([](int a, int b) { return a + b; }, std::optional<int>(1), std::optional<int>()),
              std::nullopt);
    // Lists combine every pair, left elements outermost.
    auto pairs = core::liftA2([](int a, char b) { return std::pair(a, b); }, List<int>{1, 2}, List<char>{'x', 'y'});
    EXPECT_EQ(pairs.toVector(), (std::vector<std::pair<int, char>>{{1, 'x'}, {1, 'y'}, {2, 'x'}, {2, 'y'}}));
    // ZipList zips, and its pure is unbounded.
    auto zipped = core::liftA2([](int a, int b) { return a * b; }, core::ZipList<int>{List<int>{1, 2, 3}},
                               core::pure<core::ZipListK>(10));
    EXPECT_EQ(zipped.value.toVector(), (std::vector<int>{10, 20, 30}));
}

TEST(Monad, ListBindIsLazyAndSkipsLongEmptyRuns) {
    auto nats = List<int>::iterate([](int n) { return n + 1; }, 0);
    // Only every millionth element yields anything: the empty runs are
    // skipped in a loop, not by recursion.
    auto sparse = core::bind(nats, [](int n) { return n % 1'000'000 == 999'999 ? List<int>{n} : List<int>(); });
    EXPECT_EQ(sparse.take(2).toVector(), (std::vector<int>{999'999, 1'999'999}));
    EXPECT_EQ(core::join(List<List<int>>{{1}, {}, {2, 3}}).toVector(), (std::vector<int>{1, 2, 3}));
    auto half = [](int n) { return n % 2 == 0 ? std::optional<int>(n / 2) : std::nullopt; };
    EXPECT_EQ(core::kleisli(half, half)(12), std::optional<int>(3));
    EXPECT_EQ(core::kleisli(half, half)(6), std::nullopt);
}

TEST(Monad, TransformersAndWrappers) {
    using RT = core::ReaderT<int, core::OptionalK, int>;
    RT positive{[](int r) { return r > 0 ? std::optional<int>(r) : std::nullopt; }};
    auto doubled = core::bind(positive, [](int a) { return RT{[a](int r) { return std::optional<int>(a + r); }}; });
    EXPECT_EQ(core::runReaderT(doubled, 4), std::optional<int>(8));
    EXPECT_EQ(core::runReaderT(doubled, -1), std::nullopt);
    EXPECT_EQ(core::runReaderT(core::ask<core::OptionalK, int>(), 9), std::optional<int>(9));
    core::IdentityT<core::ListK, int> it{List<int>{1, 2}};
    auto it2 = core::bind(it, [](int a) { return core::IdentityT<core::ListK, int>{List<int>{a, a * 10}}; });
    EXPECT_EQ(it2.value.toVector(), (std::vector<int>{1, 10, 2, 20}));
    core::WrappedMonad<core::VectorK, int> wa{{1, 2}}, wb{{10}};
    EXPECT_EQ(core::liftA2([](int a, int b) { return a + b; }, wa, wb).value, (std::vector<int>{11, 12}));
    auto prod = core::Pair(std::optional<int>(1), std::vector<int>{1, 2});
    auto prod2 = core::bind(prod, [](int a) { return core::Pair(std::optional<int>(a + 1), std::vector<int>{a, -a}); });
    EXPECT_EQ(prod2.first, std::optional<int>(2));
    EXPECT_EQ(prod2.second, (std::vector<int>{1, -1, 2, -2}));
    // The writer's tell.
    auto logged = core::then(core::tell(std::string("start;")), std::pair<std::string, int>("end;", 5));
    EXPECT_EQ(logged, (std::pair<std::string, int>("start;end;", 5)));
}
