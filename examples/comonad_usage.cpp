// A usage example of the comonad library: the rule-110 cellular automaton
// written with a store and extend. Each generation is a Store<int, bool>
// whose position is a cell index; extend computes every cell's next state
// from its neighbours, and the result is tabulated into a vector so that
// the next generation looks cells up instead of recomputing them.
// Also reads an environment and a trace. Exits non-zero if the automaton
// differs from a hand-written loop or any result differs from the comments.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Control/Comonad/Env.h"
#include "Control/Comonad/Store.h"
#include "Control/Comonad/Traced.h"

namespace {

constexpr int width = 40;
constexpr int generations = 16;

using Cells = comonad::Store<int, bool>;

// Rule 110: the next state of a cell from (left, self, right).
bool rule110(bool l, bool c, bool r) {
    return (110 >> ((l ? 4 : 0) | (c ? 2 : 0) | (r ? 1 : 0))) & 1;
}

// The cell's next state, read from the store around the current position.
bool step(const Cells& w) {
    return rule110(comonad::peeks([](int i) { return i - 1; }, w), comonad::extract(w),
                   comonad::peeks([](int i) { return i + 1; }, w));
}

// A store backed by a table; cells outside the row are dead.
Cells tabulate(std::shared_ptr<const std::vector<bool>> row) {
    return comonad::store([row](int i) { return i >= 0 && i < width && (*row)[static_cast<std::size_t>(i)]; }, 0);
}

std::shared_ptr<const std::vector<bool>> generation(const Cells& w) {
    Cells next = comonad::extend(step, w);
    auto row = std::make_shared<std::vector<bool>>(width);
    for (int i = 0; i < width; ++i) (*row)[static_cast<std::size_t>(i)] = comonad::peek(i, next);
    return row;
}

}  // namespace

int main() {
    auto row = std::make_shared<const std::vector<bool>>([] {
        std::vector<bool> v(width);
        v[width - 1] = true;
        return v;
    }());
    std::vector<bool> check = *row;  // the same automaton by hand
    bool ok = true;
    for (int g = 0; g < generations; ++g) {
        std::string line;
        for (bool b : *row) line += b ? '#' : '.';
        std::printf("%s\n", line.c_str());
        ok = ok && *row == check;
        row = generation(tabulate(row));
        std::vector<bool> next(width);
        for (int i = 0; i < width; ++i)
            next[static_cast<std::size_t>(i)] = rule110(i > 0 && check[static_cast<std::size_t>(i - 1)], check[static_cast<std::size_t>(i)],
                                                        i + 1 < width && check[static_cast<std::size_t>(i + 1)]);
        check = next;
    }

    // An environment read from inside a stack: EnvT over the store.
    comonad::EnvT<std::string, comonad::StoreTK<int, core::IdentityK>, bool> framed{"rule 110", tabulate(row)};
    const bool envOk = comonad::ask(framed) == "rule 110" && comonad::pos(framed) == 0;
    // A trace over text: the value at a trace, and the trace appended on extend.
    auto t = comonad::traced<std::string>([](const std::string& m) { return m.size(); });
    auto longer = comonad::extend([](const comonad::Traced<std::string, std::size_t>& v) { return comonad::trace(std::string("ab"), v); }, t);
    const bool traceOk = comonad::extract(longer) == 2 && comonad::trace(std::string("xyz"), longer) == 5;

    ok = ok && envOk && traceOk;
    std::printf("%d generations of rule 110 match the hand-written loop; env and trace: %s\n", generations,
                ok ? "ok" : "WRONG");
    return ok ? 0 : 1;
}
