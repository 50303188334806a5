// The format combinators of kalmet against std::to_chars/std::from_chars
// doing the same by hand, and the hash of a UTCTime against hashing two
// Ints.
//
// The format is integerFormat(NegSign, 4) <**> literalFormat("-") <**>
// integerFormat(NoSign, 2): a year of at least four digits with an
// optional "-", a "-", and a two-digit number ("2024-02", "-0005-11").
// Each benchmark handles the same 4096 pairs (years -9999 to 9999, months
// 1 to 12); time per iteration / 4096 is the time per value.
//
//   FormatShow        formatShow of the format, one std::string per value
//   ToChars           the same text by std::to_chars and padding by hand
//   FormatParse       formatParseM of the format (the whole-input rule)
//   FromChars         the same reading by std::from_chars and checks by hand
//   HashUTCTime       core::hash of a UTCTime (day count, reduced seconds)
//   HashTwoInts       core::hashInt of two Ints, the floor
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "Data/Format.h"
#include "Data/Time.h"

namespace {

using core::Int;
constexpr int count = 4096;

std::vector<std::pair<Int, Int>> pairs() {
    std::mt19937_64 rng(42);
    std::vector<std::pair<Int, Int>> out;
    for (int i = 0; i < count; ++i)
        out.push_back({static_cast<Int>(rng() % 19999) - 9999, static_cast<Int>(rng() % 12) + 1});
    return out;
}

const kalmet::Format<std::pair<Int, Int>>& yearMonth() {
    using namespace kalmet;
    static const auto f =
        pPair(pLeft(integerFormat<Int>(NegSign, 4), literalFormat("-")), integerFormat<Int>(NoSign, 2));
    return f;
}

// Digits of a non-negative value, zero-padded to `width`.
char* padded(char* p, Int v, int width) {
    char digits[24];
    const auto r = std::to_chars(digits, digits + sizeof digits, v);
    const int n = static_cast<int>(r.ptr - digits);
    for (int i = n; i < width; ++i) *p++ = '0';
    std::memcpy(p, digits, static_cast<std::size_t>(n));
    return p + n;
}

std::string byHand(const std::pair<Int, Int>& ym) {
    char buf[48];
    char* p = buf;
    Int y = ym.first;
    if (y < 0) *p++ = '-', y = -y;
    p = padded(p, y, 4);
    *p++ = '-';
    p = padded(p, ym.second, 2);
    return std::string(buf, p);
}

// Reads what byHand writes: the whole input or nothing.
bool readByHand(std::string_view s, std::pair<Int, Int>& out) {
    const char* p = s.data();
    const char* end = p + s.size();
    bool negative = p != end && *p == '-';
    if (negative) ++p;
    const char* dash = static_cast<const char*>(std::memchr(p, '-', static_cast<std::size_t>(end - p)));
    if (dash == nullptr || dash - p != 4 || end - dash != 3) return false;
    Int y = 0, m = 0;
    if (std::from_chars(p, dash, y).ptr != dash) return false;
    if (std::from_chars(dash + 1, end, m).ptr != end) return false;
    out = {negative ? -y : y, m};
    return true;
}

void FormatShow(benchmark::State& state) {
    const auto xs = pairs();
    const auto& f = yearMonth();
    for (auto _ : state)
        for (const auto& x : xs) benchmark::DoNotOptimize(kalmet::formatShow(f, x));
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(FormatShow);

void ToChars(benchmark::State& state) {
    const auto xs = pairs();
    for (auto _ : state)
        for (const auto& x : xs) benchmark::DoNotOptimize(byHand(x));
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(ToChars);

void FormatParse(benchmark::State& state) {
    std::vector<std::string> texts;
    for (const auto& x : pairs()) texts.push_back(byHand(x));
    const auto& f = yearMonth();
    for (auto _ : state)
        for (const auto& t : texts) benchmark::DoNotOptimize(kalmet::formatParseM(f, t));
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(FormatParse);

void FromChars(benchmark::State& state) {
    std::vector<std::string> texts;
    for (const auto& x : pairs()) texts.push_back(byHand(x));
    for (auto _ : state)
        for (const auto& t : texts) {
            std::pair<Int, Int> v;
            benchmark::DoNotOptimize(readByHand(t, v));
            benchmark::DoNotOptimize(v);
        }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(FromChars);

std::vector<kalmet::UTCTime> instants() {
    std::mt19937_64 rng(7);
    std::vector<kalmet::UTCTime> out;
    for (int i = 0; i < count; ++i)
        out.push_back({kalmet::Day(core::Integer(static_cast<Int>(rng() % 100000))),
                       kalmet::DiffTime::fromPicoseconds(core::Integer(static_cast<Int>(rng() % 86400'000'000) * 1'000'000))});
    return out;
}

void HashUTCTime(benchmark::State& state) {
    const auto xs = instants();
    for (auto _ : state)
        for (const auto& x : xs) benchmark::DoNotOptimize(core::hash(x));
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(HashUTCTime);

void HashTwoInts(benchmark::State& state) {
    std::vector<std::pair<Int, Int>> xs;
    for (const auto& x : instants()) xs.push_back({x.day.toModifiedJulianDay().unsafeInt(), x.dayTime.picoseconds().unsafeInt()});
    for (auto _ : state)
        for (const auto& [a, b] : xs) benchmark::DoNotOptimize(core::hashInt(core::hashInt(core::defaultSalt, a), b));
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(HashTwoInts);

}  // namespace

BENCHMARK_MAIN();
