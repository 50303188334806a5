// iso8601-check: reads values from the command line (or, without
// arguments, one per line from standard input) and prints what they are.
#include <cstdio>
#include <iostream>
#include <string>

#include "Core/Integer.h"
#include "Core/Text.h"

namespace {

int check(const std::string& line) {
    core::Text text(line);
    if (auto n = core::Integer::fromString(text.view())) {
        std::printf("%s: integer %s (%zu code points)\n", line.c_str(), n->toString().c_str(), text.length());
        return 0;
    }
    std::printf("%s: not an integer\n", line.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    int failures = 0;
    if (argc > 1) {
        for (int i = 1; i < argc; ++i) failures += check(argv[i]);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) failures += check(line);
    }
    return failures == 0 ? 0 : 1;
}
