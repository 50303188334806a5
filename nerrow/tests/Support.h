#pragma once
// Helpers shared by the nerrow tests: a writer applicative that logs, and
// a short text for every index type.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Core/Prelude.h"
#include "Data/Foldable/WithIndex.h"
#include "Data/Traversable/WithIndex.h"
#include "WithIndex.h"

namespace nt {

using core::Int;
using core::List;
using core::NonEmpty;
using Strings = std::vector<std::string>;

// 0, 1, 2, ...: an unbounded list, for the early-stop tests.
inline List<Int> naturals() {
    return List<Int>::iterate([](Int n) { return n + 1; }, 0);
}

inline std::string str(Int i) { return std::to_string(i); }
inline std::string str(int i) { return std::to_string(i); }
inline std::string str(char c) { return std::string(1, c); }
inline std::string str(const std::string& s) { return s; }
inline std::string str(core::Unit) { return "()"; }
inline std::string str(const core::Void&) { return "void"; }
template <class A>
std::string str(const List<A>& xs) {
    std::string out = "[";
    bool first = true;
    for (const A& x : xs) {
        if (!first) out += ",";
        first = false;
        out += str(x);
    }
    return out + "]";
}
template <class A, class B>
std::string str(const std::pair<A, B>& p) {
    return "(" + str(p.first) + "," + str(p.second) + ")";
}
template <class A, class B>
std::string str(const core::Either<A, B>& e) {
    return e.isLeft() ? "L" + str(e.unsafeLeft()) : "R" + str(e.unsafeRight());
}

// The generated numbers brought into a range where the tests' arithmetic
// cannot overflow.
inline std::vector<int> small(const std::vector<int>& raw) {
    std::vector<int> v;
    v.reserve(raw.size());
    for (int x : raw) v.push_back(x % 100000);
    return v;
}

// The writer applicative: effects append to a log, left first.
template <class A>
using Log = std::pair<Strings, A>;
template <class A>
Log<A> logged(std::string s, A x) {
    return Log<A>{Strings{std::move(s)}, std::move(x)};
}

// "i:x" entries collected by the indexed operations of one kind, so that
// their orders and indices can be compared.
template <class FA>
struct Orders {
    Strings fromToList, fromIfoldr, fromIfoldl, fromIfoldlStrict, fromIfoldrStrict, fromIfoldMap, fromItraverse;
};
template <class FA>
Orders<FA> orders(const FA& xs) {
    using I = nerrow::IndexT<core::KindOfT<FA>>;
    using A = core::ArgOf<FA>;
    Orders<FA> o;
    for (const auto& [i, x] : nerrow::itoList(xs)) o.fromToList.push_back(str(i) + ":" + str(x));
    o.fromIfoldr = nerrow::ifoldr(
        [](const I& i, const A& x, const core::Lazy<Strings>& rest) {
            Strings r{str(i) + ":" + str(x)};
            for (const auto& s : rest.force()) r.push_back(s);
            return r;
        },
        Strings{}, xs);
    o.fromIfoldl = nerrow::ifoldl(
        [](const I& i, Strings acc, const A& x) {
            acc.push_back(str(i) + ":" + str(x));
            return acc;
        },
        Strings{}, xs);
    o.fromIfoldlStrict = nerrow::ifoldlStrict(
        [](const I& i, Strings acc, const A& x) {
            acc.push_back(str(i) + ":" + str(x));
            return acc;
        },
        Strings{}, xs);
    o.fromIfoldrStrict = nerrow::ifoldrStrict(
        [](const I& i, const A& x, Strings acc) {
            acc.insert(acc.begin(), str(i) + ":" + str(x));
            return acc;
        },
        Strings{}, xs);
    o.fromIfoldMap = nerrow::ifoldMap([](const I& i, const A& x) { return Strings{str(i) + ":" + str(x)}; }, xs);
    o.fromItraverse =
        nerrow::itraverse([](const I& i, const A& x) { return logged(str(i) + ":" + str(x), x); }, xs).first;
    return o;
}

}  // namespace nt

namespace nt {
// Checks that every indexed operation of the kind visits the same elements
// with the same indices, in the order `expected`.
template <class FA>
void expectOrders(const FA& xs, const Strings& expected) {
    auto o = orders(xs);
    EXPECT_EQ(o.fromToList, expected) << "itoList";
    EXPECT_EQ(o.fromIfoldr, expected) << "ifoldr";
    EXPECT_EQ(o.fromIfoldl, expected) << "ifoldl";
    EXPECT_EQ(o.fromIfoldlStrict, expected) << "ifoldl'";
    EXPECT_EQ(o.fromIfoldrStrict, expected) << "ifoldr'";
    EXPECT_EQ(o.fromIfoldMap, expected) << "ifoldMap";
    EXPECT_EQ(o.fromItraverse, expected) << "itraverse";
}
}  // namespace nt
