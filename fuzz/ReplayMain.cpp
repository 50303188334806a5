// Runs a fuzz target without libFuzzer: every file of the corpus
// directories given on the command line, then a fixed number of
// deterministic mutations of them (byte flips, insertions, deletions,
// truncations, splices), so that ordinary test builds exercise the target.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

void run(const std::string& input) {
    // Copy into an exactly sized heap buffer so that AddressSanitizer sees
    // any read past the end.
    std::vector<std::uint8_t> buf(input.begin(), input.end());
    LLVMFuzzerTestOneInput(buf.empty() ? nullptr : buf.data(), buf.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> corpus;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path p(argv[i]);
        if (std::filesystem::is_directory(p)) {
            for (const auto& e : std::filesystem::directory_iterator(p)) {
                if (!e.is_regular_file()) continue;
                std::ifstream in(e.path(), std::ios::binary);
                corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            }
        } else if (std::filesystem::is_regular_file(p)) {
            std::ifstream in(p, std::ios::binary);
            corpus.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    corpus.emplace_back();
    for (const auto& c : corpus) run(c);

    const char* env = std::getenv("REPLAY_MUTATIONS");
    const long rounds = env ? std::strtol(env, nullptr, 10) : 20000;
    std::mt19937_64 rng(0x5eed);
    auto pick = [&](std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(rng() % n); };
    for (long r = 0; r < rounds; ++r) {
        std::string s = corpus[pick(corpus.size())];
        const int edits = 1 + static_cast<int>(pick(4));
        for (int e = 0; e < edits; ++e) {
            switch (pick(6)) {
                case 0: if (!s.empty()) s[pick(s.size())] = static_cast<char>(rng()); break;
                case 1: s.insert(s.begin() + static_cast<std::ptrdiff_t>(pick(s.size() + 1)), static_cast<char>(rng())); break;
                case 2: if (!s.empty()) s.erase(pick(s.size()), 1); break;
                case 3: s.resize(pick(s.size() + 1)); break;
                case 4: {
                    const std::string& o = corpus[pick(corpus.size())];
                    s += o.substr(pick(o.size() + 1));
                    break;
                }
                default: {
                    static const char interesting[] = "0123456789-+:.TtZzQq \t\xc3\xa9\x80\xff";
                    if (!s.empty()) s[pick(s.size())] = interesting[pick(sizeof interesting - 1)];
                    break;
                }
            }
        }
        run(s);
    }
    std::printf("replayed %zu corpus inputs and %ld mutations\n", corpus.size(), rounds);
    return 0;
}
