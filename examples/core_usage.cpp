// A usage example of the shared core types: unbounded integers, lazy lists,
// deferred values, the generic vocabulary and text forms. Exits non-zero if
// any result differs from what the comments say.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Core/Prelude.h"
#include "Core/Read.h"
#include "Core/Show.h"

int main() {
    // 2^100, exactly; values that fit 64 bits never allocate.
    core::Integer big = core::Integer::pow(core::Integer(2), 100);

    // An unbounded list, produced on demand; a right fold may stop early.
    auto nats = core::List<long>::iterate([](long n) { return n + 1; }, 1);
    long firstOver10 = core::foldr([](long x, const core::Lazy<long>& rest) { return x > 10 ? x : rest.force(); },
                                   0L, nats);

    // A traversal whose applicative (std::optional) comes from the function.
    auto halves = core::traverse([](int x) { return x % 2 == 0 ? std::optional<int>(x / 2) : std::nullopt; },
                                 std::vector<int>{2, 4, 6});

    // Text forms print and read back.
    std::string text = core::show(std::vector<std::optional<int>>{1, std::nullopt, -3});
    auto back = core::read<std::vector<std::optional<int>>>(text);

    const bool ok = big.toString() == "1267650600228229401496703205376" && firstOver10 == 11 && halves &&
                    *halves == std::vector<int>{1, 2, 3} && text == "[Just 1,Nothing,Just (-3)]" && back &&
                    back->size() == 3;
    std::printf("2^100 = %s, first over 10: %ld, text: %s: %s\n", big.toString().c_str(), firstOver10, text.c_str(),
                ok ? "ok" : "WRONG");
    return ok ? 0 : 1;
}
