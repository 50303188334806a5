// Cokleisli arrows: the table of their implementations and the arrow laws
// on a few comonads.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Control/Comonad.h"
#include "Control/Comonad/Env.h"
#include "Control/Comonad/Store.h"
#include "Core/Arrow.h"

using comonad::Cokleisli;
using comonad::runCokleisli;
using core::Either;
using core::List;
using core::NonEmpty;
using NE = core::NonEmptyK;

namespace {

NonEmpty<int> ne(const std::vector<int>& v) { return NonEmpty<int>::fromVector(v); }
template <class A>
std::vector<A> vec(const NonEmpty<A>& xs) {
    return xs.toVector();
}

// The sum of the current value and the next (or the value alone at the end).
Cokleisli<NE, int, int> withNext() {
    return {[](const NonEmpty<int>& w) { return w.head + (w.tail.null() ? 0 : w.tail.head()); }};
}
Cokleisli<NE, int, int> lengthArrow() {
    return {[](const NonEmpty<int>& w) { return static_cast<int>(w.length()); }};
}

TEST(Cokleisli, CategoryAndArrowTable) {
    auto idA = core::id<comonad::CokleisliK<NE>, int>();
    EXPECT_EQ(idA(ne({4, 5})), 4);
    // f after g: f(extend(g, w)).
    auto comp = core::compose(withNext(), lengthArrow());
    EXPECT_EQ(comp(ne({7, 8, 9})), 3 + 2);
    EXPECT_EQ(core::andThen(lengthArrow(), withNext())(ne({7, 8, 9})), 5);
    auto a = core::arr<comonad::CokleisliK<NE>, int>([](int x) { return x * 3; });
    EXPECT_EQ(a(ne({2, 100})), 6);
    NonEmpty<std::pair<int, std::string>> ps(std::pair<int, std::string>{1, "a"},
                                             List<std::pair<int, std::string>>{{2, "bb"}});
    Cokleisli<NE, std::string, std::size_t> totalLen{[](const NonEmpty<std::string>& w) {
        std::size_t n = 0;
        for (const auto& s : w.toList()) n += s.size();
        return n;
    }};
    auto split = core::split(withNext(), totalLen);
    EXPECT_EQ(split(ps), (std::pair<int, std::size_t>{3, 3}));
    auto f1 = core::first<std::string>(withNext());
    EXPECT_EQ(f1(ps), (std::pair<int, std::string>{3, "a"}));
    auto s2 = core::second<int>(totalLen);
    EXPECT_EQ(s2(ps), (std::pair<int, std::size_t>{1, 3}));
    auto fan = core::fanout(withNext(), lengthArrow());
    EXPECT_EQ(fan(ne({1, 2, 3})), (std::pair<int, int>{3, 3}));
    EXPECT_TRUE(static_cast<bool>(runCokleisli(withNext())));
}

TEST(Cokleisli, AppAndChoice) {
    using P = std::pair<Cokleisli<NE, int, int>, int>;
    auto app = core::app<comonad::CokleisliK<NE>, int, int>();
    NonEmpty<P> w(P{withNext(), 10}, List<P>{P{lengthArrow(), 20}});
    EXPECT_EQ(app(w), 30);  // withNext on the second components [10, 20]

    using E = Either<int, std::string>;
    auto l = core::left<std::string>(withNext());
    NonEmpty<E> le(E::left(5), List<E>{E::right("r"), E::left(100)});
    // Every position replaced by the current Left value: 5 + 5.
    auto r = l(le);
    ASSERT_TRUE(r.isLeft());
    EXPECT_EQ(r.unsafeLeft(), 10);
    NonEmpty<E> re(E::right("x"), List<E>{E::left(1)});
    ASSERT_TRUE(l(re).isRight());
    EXPECT_EQ(l(re).unsafeRight(), "x");

    Cokleisli<NE, std::string, std::size_t> size{[](const NonEmpty<std::string>& v) { return v.head.size(); }};
    auto both = core::splitChoice(withNext(), size);
    auto rr = both(NonEmpty<E>(E::right("abc")));
    ASSERT_TRUE(rr.isRight());
    EXPECT_EQ(rr.unsafeRight(), 3u);
    auto rl = both(NonEmpty<E>(E::left(4)));
    EXPECT_EQ(rl.unsafeLeft(), 4);  // a single position: no next value
    auto right = core::right<int>(size);
    EXPECT_EQ(right(NonEmpty<E>(E::right("ab"))).unsafeRight(), 2u);
    EXPECT_EQ(right(NonEmpty<E>(E::left(9))).unsafeLeft(), 9);
    Cokleisli<NE, std::string, int> sizeInt{[](const NonEmpty<std::string>& v) { return static_cast<int>(v.head.size()); }};
    auto merged = core::fanin(withNext(), sizeInt);
    EXPECT_EQ(merged(NonEmpty<E>(E::left(6), List<E>{E::right("zz")})), 12);  // the next position becomes 6 as well
    EXPECT_EQ(merged(NonEmpty<E>(E::right("abcd"))), 4);
}

TEST(Cokleisli, FunctorApplicativeMonad) {
    auto doubled = core::fmap([](int x) { return x * 2; }, withNext());
    EXPECT_EQ(doubled(ne({1, 2})), 6);
    auto p = core::pure<comonad::CokleisliFK<NE, int>>(std::string("c"));
    EXPECT_EQ(p(ne({1})), "c");
    auto plus = core::liftA2([](int a, int b) { return a * 100 + b; }, withNext(), lengthArrow());
    EXPECT_EQ(plus(ne({1, 2, 3})), 303);
    Cokleisli<NE, int, std::function<int(int)>> adder{[](const NonEmpty<int>& w) {
        int h = w.head;
        return std::function<int(int)>([h](int x) { return x + h; });
    }};
    EXPECT_EQ(core::ap(adder, lengthArrow())(ne({10, 20})), 12);
    EXPECT_EQ(core::apRight(withNext(), lengthArrow())(ne({5, 5, 5})), 3);
    EXPECT_EQ(core::apLeft(withNext(), lengthArrow())(ne({5, 5, 5})), 10);
    // k >>= f: f(k(w)) run on the same w.
    auto bound = core::bind(lengthArrow(), [](int n) {
        return Cokleisli<NE, int, int>{[n](const NonEmpty<int>& w) { return n * 1000 + w.head; }};
    });
    EXPECT_EQ(bound(ne({7, 8})), 2007);
}

TEST(Cokleisli, LoopFeedsTheSecondOutputBack) {
    // The fed-back value at each position is the doubled input there; the
    // output adds the fed-back values of the current position and the next.
    using D = int;
    using In = std::pair<int, core::Lazy<D>>;
    using Out = std::pair<int, core::Lazy<D>>;
    Cokleisli<core::IdentityK, In, Out> f{[](const core::Identity<In>& w) {
        int b = w.value.first;
        core::Lazy<D> d = w.value.second;
        return Out(b + 1, core::defer([b] { return b * 2; }));
    }};
    auto l = core::loop(f);
    EXPECT_EQ(l(core::Identity<int>{20}), 21);
    // Demanding the fed-back value of the current position before it is
    // produced is a self-dependency.
    Cokleisli<core::IdentityK, In, Out> selfish{[](const core::Identity<In>& w) {
        return Out(w.value.second.force(), core::defer([] { return 1; }));
    }};
    EXPECT_THROW(core::loop(selfish)(core::Identity<int>{1}), core::Error);
}

// Arrow laws, observed on a context: arr id = id; arr (g . f) = arr f >>> arr g;
// first (arr f) = arr (first f); first (f >>> g) = first f >>> first g;
// (f >>> g) >>> h = f >>> (g >>> h); left (arr f) = arr (left f).
RC_GTEST_PROP(CokleisliLaws, ArrowLawsOnNonEmpty, (int hIn, const std::vector<int>& tIn, int dIn)) {
    const int h = hIn % 10000;  // no overflow in the arithmetic below
    std::vector<int> t;
    for (int x : tIn) t.push_back(x % 10000);
    const int d = dIn % 10000;  // no overflow in the arithmetic below
    NonEmpty<int> w(h, List<int>(t));
    using K = comonad::CokleisliK<NE>;
    auto f = [](int x) { return x * 2 + 1; };
    auto g = [](int x) { return x - 7; };
    auto arrId = core::arr<K, int>([](int x) { return x; });
    auto idA = core::id<K, int>();
    RC_ASSERT(arrId(w) == idA(w));
    auto arrGF = core::arr<K, int>([&](int x) { return g(f(x)); });
    auto arrFG = core::andThen(core::arr<K, int>(f), core::arr<K, int>(g));
    RC_ASSERT(arrGF(w) == arrFG(w));
    auto pw = core::fmap([d](int x) { return std::pair<int, int>(x, d); }, w);
    using P = std::pair<int, int>;
    auto firstArr = core::first<int>(core::arr<K, int>(f));
    auto arrFirst = core::arr<K, P>([&](const P& p) { return P(f(p.first), p.second); });
    RC_ASSERT(firstArr(pw) == arrFirst(pw));
    auto firstComp = core::first<int>(core::andThen(withNext(), lengthArrow()));
    auto compFirst = core::andThen(core::first<int>(withNext()), core::first<int>(lengthArrow()));
    RC_ASSERT(firstComp(pw) == compFirst(pw));
    auto assocL = core::andThen(core::andThen(withNext(), lengthArrow()), withNext());
    auto assocR = core::andThen(withNext(), core::andThen(lengthArrow(), withNext()));
    RC_ASSERT(assocL(w) == assocR(w));
    using E = Either<int, int>;
    auto ew = core::fmap([](int x) { return x % 2 ? E::left(x) : E::right(x); }, w);
    auto lhs = core::left<int>(core::arr<K, int>(f))(ew);
    auto rhs = core::arr<K, E>([&](const E& e) { return e.isLeft() ? E::left(f(e.unsafeLeft())) : e; })(ew);
    RC_ASSERT(lhs == rhs);
}

RC_GTEST_PROP(CokleisliLaws, CategoryLawsOnEnvAndStore, (int eIn, int aIn, int sIn)) {
    const int e = eIn % 10000;  // no overflow in the arithmetic below
    const int a = aIn % 10000;  // no overflow in the arithmetic below
    const int s = sIn % 10000;  // no overflow in the arithmetic below
    using EK = comonad::EnvTK<int, core::IdentityK>;
    auto ew = comonad::env(e, a);
    Cokleisli<EK, int, int> plusEnv{[](const comonad::Env<int, int>& v) { return comonad::extract(v) + comonad::ask(v); }};
    RC_ASSERT(core::compose(plusEnv, core::id<comonad::CokleisliK<EK>, int>())(ew) == plusEnv(ew));
    RC_ASSERT(core::compose(core::id<comonad::CokleisliK<EK>, int>(), plusEnv)(ew) == plusEnv(ew));
    using SK = comonad::StoreTK<int, core::IdentityK>;
    auto sw = comonad::store([](int x) { return x * x; }, s % 1000);
    Cokleisli<SK, int, int> diff{[](const comonad::Store<int, int>& v) { return comonad::peeks([](int p) { return p + 1; }, v) - comonad::extract(v); }};
    RC_ASSERT(core::compose(diff, core::id<comonad::CokleisliK<SK>, int>())(sw) == diff(sw));
    RC_ASSERT(core::compose(core::compose(diff, diff), diff)(sw) == core::compose(diff, core::compose(diff, diff))(sw));
}

}  // namespace
