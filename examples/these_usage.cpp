// A usage example of the these library: building, inspecting, mapping,
// partitioning and combining inclusive-or pairs. Exits non-zero if any
// result differs from what the comments say.
#include <cstdio>
#include <string>
#include <vector>

#include "Core/Prelude.h"
#include "Data/These.h"
#include "Data/These/Combinators.h"

int main() {
    using T = these::These<int, std::string>;
    core::List<T> xs{these::This(1), these::These(2, std::string("b")), these::That(std::string("c"))};

    // The left values and the right values, each in input order.
    auto [lefts, rights] = these::partitionHereThere(xs);
    std::vector<int> ls = lefts.toVector();                  // 1 2
    std::vector<std::string> rs = rights.toVector();         // b c

    // Maps are deferred; a This passes through fmap untouched.
    auto shout = core::fmap([](const std::string& s) { return s + "!"; }, xs.tail().head());
    // Values on the same side combine with their own <>.
    auto both = core::combine(these::These<std::string, std::string>(these::This(std::string("a"))),
                              these::These<std::string, std::string>(these::These(std::string("b"), std::string("c"))));

    // Text form and byte encoding read back as the same value.
    const T mixed = these::These(2, std::string("b"));
    const std::string text = core::show(mixed);  // These 2 "b"
    const auto fromText = core::read<T>(text);
    const auto fromBytes = core::decode<T>(core::encode(mixed));

    const bool ok = ls == std::vector<int>{1, 2} && rs == std::vector<std::string>{"b", "c"} &&
                    shout.right() == "b!" && both.left() == "ab" && both.right() == "c" &&
                    text == "These 2 \"b\"" && fromText == mixed && fromBytes.isRight() && fromBytes.value() == mixed;
    std::printf("lefts %zu, rights %zu, mapped %s, combined (%s, %s): %s\n", ls.size(), rs.size(),
                shout.right().c_str(), both.left().c_str(), both.right().c_str(), ok ? "ok" : "WRONG");
    return ok ? 0 : 1;
}
