// parseDay against the C++ date parsers available on the machine: glibc
// strptime, absl::ParseTime, date::parse ("%F"), and a hand-written
// fixed-format parser that validates the same things (digits, separators,
// month, day of month with leap years, end of input) as the floor.
//
// Each benchmark parses the same 4096 varied valid dates, or 4096 invalid
// ones; time per iteration / 4096 is the time per date.
#include <benchmark/benchmark.h>

#include <absl/time/time.h>
#include <date/date.h>

#include <cstdint>
#include <ctime>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "Data/Time/FromText.h"

namespace {

constexpr int count = 4096;

bool leap(int y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }
int monthDays(int y, int m) {
    static const int len[] = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && leap(y) ? 29 : len[m];
}

std::string format(int y, int m, int d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

const std::vector<std::string>& validDates() {
    static const std::vector<std::string> v = [] {
        std::mt19937 rng(42);
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            const int y = 1000 + static_cast<int>(rng() % 9000);
            const int m = 1 + static_cast<int>(rng() % 12);
            const int d = 1 + static_cast<int>(rng() % static_cast<unsigned>(monthDays(y, m)));
            out.push_back(format(y, m, d));
        }
        return out;
    }();
    return v;
}

// Dates that fail in every way a parser can see: a day past the month's end
// (including 29 February of common years), a month out of range, a
// non-digit, a wrong separator, trailing text, and truncation.
const std::vector<std::string>& invalidDates() {
    static const std::vector<std::string> v = [] {
        std::mt19937 rng(7);
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            const int y = 1000 + static_cast<int>(rng() % 9000);
            const int m = 1 + static_cast<int>(rng() % 12);
            const int d = 1 + static_cast<int>(rng() % 28);
            std::string s = format(y, m, d);
            switch (i % 6) {
                case 0: s = format(y | 1, 2, 29 + static_cast<int>(rng() % 3)); break;
                case 1: s = format(y, 13 + static_cast<int>(rng() % 87), d); break;
                case 2: s[rng() % 10] = 'x'; if (s[4] == 'x' || s[7] == 'x') s[0] = 'y'; break;
                case 3: s[4] = '/'; break;
                case 4: s += " "; break;
                default: s.resize(1 + rng() % 9); break;
            }
            out.push_back(s);
        }
        return out;
    }();
    return v;
}

// The floor: a fixed-format YYYY-MM-DD parser with the same validation,
// returning the Modified Julian Day number.
[[gnu::noinline]] std::optional<std::int64_t> handParse(std::string_view s) {
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return std::nullopt;
    unsigned v[10];
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        v[i] = static_cast<unsigned>(s[i] - '0');
        if (v[i] > 9) return std::nullopt;
    }
    const int y = static_cast<int>(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3]);
    const int m = static_cast<int>(v[5] * 10 + v[6]);
    const int d = static_cast<int>(v[8] * 10 + v[9]);
    if (m < 1 || m > 12 || d < 1 || d > monthDays(y, m)) return std::nullopt;
    static const int before[] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const std::int64_t yd = before[m] + d + (m > 2 && leap(y) ? 1 : 0);
    const std::int64_t y1 = y - 1;
    return yd + 365 * y1 + y1 / 4 - y1 / 100 + y1 / 400 - 678576;
}

template <class F>
void run(benchmark::State& state, const std::vector<std::string>& inputs, F parse) {
    for (auto _ : state)
        for (const std::string& s : inputs) benchmark::DoNotOptimize(parse(s));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(inputs.size()));
}

auto tarvelParse = [](const std::string& s) { return tarvel::parseDay(std::string_view(s)); };
auto handwritten = [](const std::string& s) { return handParse(s); };
auto strptimeParse = [](const std::string& s) {
    std::tm tm{};
    const char* end = strptime(s.c_str(), "%Y-%m-%d", &tm);
    return end != nullptr && *end == '\0' ? tm.tm_mday : -1;
};
auto abslParse = [](const std::string& s) {
    absl::Time t;
    std::string err;
    return absl::ParseTime("%Y-%m-%d", s, &t, &err) ? absl::ToUnixSeconds(t) : -1;
};
auto dateParse = [](const std::string& s) {
    static thread_local std::istringstream in;
    in.clear();
    in.str(s);
    date::sys_days d;
    in >> date::parse("%F", d);
    return in.fail() ? -1 : d.time_since_epoch().count();
};

void BM_Valid_Tarvel(benchmark::State& s) { run(s, validDates(), tarvelParse); }
void BM_Valid_Handwritten(benchmark::State& s) { run(s, validDates(), handwritten); }
void BM_Valid_Strptime(benchmark::State& s) { run(s, validDates(), strptimeParse); }
void BM_Valid_AbslParseTime(benchmark::State& s) { run(s, validDates(), abslParse); }
void BM_Valid_DateParse(benchmark::State& s) { run(s, validDates(), dateParse); }
void BM_Invalid_Tarvel(benchmark::State& s) { run(s, invalidDates(), tarvelParse); }
void BM_Invalid_Handwritten(benchmark::State& s) { run(s, invalidDates(), handwritten); }
void BM_Invalid_Strptime(benchmark::State& s) { run(s, invalidDates(), strptimeParse); }
void BM_Invalid_AbslParseTime(benchmark::State& s) { run(s, invalidDates(), abslParse); }
void BM_Invalid_DateParse(benchmark::State& s) { run(s, invalidDates(), dateParse); }

}  // namespace

BENCHMARK(BM_Valid_Tarvel);
BENCHMARK(BM_Valid_Handwritten);
BENCHMARK(BM_Valid_Strptime);
BENCHMARK(BM_Valid_AbslParseTime);
BENCHMARK(BM_Valid_DateParse);
BENCHMARK(BM_Invalid_Tarvel);
BENCHMARK(BM_Invalid_Handwritten);
BENCHMARK(BM_Invalid_Strptime);
BENCHMARK(BM_Invalid_AbslParseTime);
BENCHMARK(BM_Invalid_DateParse);

BENCHMARK_MAIN();
