// A usage example of the nerrow library: indexed mapping, folding and
// traversal over lists, maps, optional values and combined containers.
// Exits non-zero if any result differs from what the comments say.
#include <cstdio>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "Core/Prelude.h"
#include "Data/Foldable/WithIndex.h"
#include "Data/Traversable/WithIndex.h"
#include "WithIndex.h"

int main() {
    using core::Int;
    core::List<std::string> words{"alpha", "beta", "gamma"};

    // Each element with its position; cells are made on demand.
    auto numbered = nerrow::imap([](Int i, const std::string& w) { return std::to_string(i) + "." + w; }, words);
    std::vector<std::string> nv = numbered.toVector();  // 0.alpha 1.beta 2.gamma

    // The first element at an odd position longer than 3; stops there, so it
    // works on an unbounded list too.
    auto nats = core::List<Int>::iterate([](Int n) { return n + 1; }, 0);
    auto hit = nerrow::ifind([](Int i, Int x) { return i % 2 == 1 && x * x > 30; }, nats);  // (7, 7)

    // A validation that names the position of the first bad element.
    auto check = [](Int i, const std::string& w) {
        return w.size() > 4 ? core::Either<std::string, Int>::right(static_cast<Int>(w.size()))
                            : core::Either<std::string, Int>::left("too short at " + std::to_string(i));
    };
    auto lengths = nerrow::itraverse(check, words);  // Left "too short at 1"

    // Keys of a map come with their values, in key order.
    std::map<std::string, int> stock{{"pear", 3}, {"apple", 5}};
    auto report = nerrow::ifoldMap([](const std::string& k, int n) { return k + "=" + std::to_string(n) + ";"; }, stock);

    // Running totals from the left and from the right.
    std::vector<int> xs{1, 2, 3};
    auto left = nerrow::imapAccumL([](Int, int s, int x) { return std::pair<int, int>(s + x, s); }, 0, xs);   // (6, [0, 1, 3])
    auto right = nerrow::imapAccumR([](Int, int s, int x) { return std::pair<int, int>(s + x, s); }, 0, xs);  // (6, [5, 3, 0])
    // The accumulation is deferred: over an unbounded list, the first
    // running totals are there (the final state would never be).
    auto naturals = core::List<Int>::iterate([](Int n) { return n + 1; }, 1);
    auto totals = nerrow::imapAccumL([](Int, Int s, Int x) { return std::pair<Int, Int>(s + x, s + x); }, Int{0}, naturals)
                      .second.take(5)
                      .toVector();  // 1 3 6 10 15

    // A product of two lists: indices Left 0, Left 1, Right 0.
    auto both = core::Pair(core::List<char>{'a', 'b'}, core::List<char>{'c'});
    auto tags = nerrow::ifoldMap(
        [](const core::Either<Int, Int>& e, char c) {
            return std::string(e.isLeft() ? "L" : "R") + std::to_string(e.isLeft() ? e.unsafeLeft() : e.unsafeRight()) + c + " ";
        },
        both);

    const bool ok = nv == std::vector<std::string>{"0.alpha", "1.beta", "2.gamma"} && hit &&
                    *hit == std::pair<Int, Int>(7, 7) && lengths.isLeft() && lengths.unsafeLeft() == "too short at 1" &&
                    report == "apple=5;pear=3;" && left.first == 6 && left.second == std::vector<int>{0, 1, 3} &&
                    right.second == std::vector<int>{5, 3, 0} &&
                    totals == std::vector<Int>{1, 3, 6, 10, 15} && tags == "L0a L1b R0c ";
    std::printf("%s | %s | %s | %s: %s\n", nv.back().c_str(), lengths.unsafeLeft().c_str(), report.c_str(), tags.c_str(),
                ok ? "ok" : "WRONG");
    return ok ? 0 : 1;
}
