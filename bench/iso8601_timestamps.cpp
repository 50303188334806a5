// parseUTCTime against the C++ timestamp parsers available on the machine:
// glibc strptime plus timegm, absl::ParseTime (RFC 3339), date::parse
// ("%FT%T%Ez", or "%FT%TZ" for a 'Z' designator), and a hand-written
// fixed-format parser that validates the same things (digits, separators,
// month, day of month with leap years, hour, minute, second up to a leap
// second, up to twelve decimals, zone ranges, end of input) as the floor.
//
// Each benchmark parses the same 4096 varied valid timestamps (UTC and
// zoned, with and without fractions), or 4096 invalid ones; time per
// iteration / 4096 is the time per timestamp. The two fixed inputs show the
// short and the long form alone.
#include <benchmark/benchmark.h>

#include <absl/time/time.h>
#include <date/date.h>

#include <chrono>
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

std::string randomTimestamp(std::mt19937& rng) {
    const int y = 1970 + static_cast<int>(rng() % 100);
    const int m = 1 + static_cast<int>(rng() % 12);
    const int d = 1 + static_cast<int>(rng() % static_cast<unsigned>(monthDays(y, m)));
    char buf[64];
    int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", y, m, d, static_cast<int>(rng() % 24),
                          static_cast<int>(rng() % 60), static_cast<int>(rng() % 60));
    std::string s(buf, static_cast<std::size_t>(n));
    if (rng() % 2) {
        const int decimals = 1 + static_cast<int>(rng() % 9);
        s += '.';
        for (int i = 0; i < decimals; ++i) s += static_cast<char>('0' + rng() % 10);
    }
    if (rng() % 2) {
        s += 'Z';
    } else {
        n = std::snprintf(buf, sizeof buf, "%c%02d:%02d", rng() % 2 ? '+' : '-', static_cast<int>(rng() % 15),
                          static_cast<int>(rng() % 4 * 15));
        s.append(buf, static_cast<std::size_t>(n));
    }
    return s;
}

const std::vector<std::string>& validStamps() {
    static const std::vector<std::string> v = [] {
        std::mt19937 rng(42);
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) out.push_back(randomTimestamp(rng));
        return out;
    }();
    return v;
}

// Timestamps that fail in the ways a parser can see: an hour, minute,
// second or day out of range, a non-digit, a wrong separator, a missing or
// malformed zone, trailing text, truncation.
const std::vector<std::string>& invalidStamps() {
    static const std::vector<std::string> v = [] {
        std::mt19937 rng(7);
        std::vector<std::string> out;
        for (int i = 0; i < count; ++i) {
            std::string s = randomTimestamp(rng);
            switch (i % 8) {
                case 0: s[11] = '2', s[12] = '4' + static_cast<char>(rng() % 6); break;  // hour 24..29
                case 1: s[14] = '6' + static_cast<char>(rng() % 4); break;               // minute 60..99
                case 2: s[17] = '6', s[18] = '1' + static_cast<char>(rng() % 9); break;  // second 61..69
                case 3: s.replace(5, 5, "02-30"); break;
                case 4: s[rng() % 19] = 'x'; break;
                case 5: s[10] = 't'; break;
                case 6: s += " "; break;
                default: s.resize(19); break;  // no zone
            }
            out.push_back(s);
        }
        return out;
    }();
    return v;
}

// The floor: a fixed-format parser of YYYY-MM-DDTHH:MM:SS[.f{1,12}](Z|±HH:MM)
// with the same validation, giving seconds since the epoch and picoseconds.
struct Instant {
    std::int64_t seconds;
    std::int64_t picoseconds;
};

inline bool digits2(const char* p, int& v) {
    const unsigned a = static_cast<unsigned>(p[0] - '0'), b = static_cast<unsigned>(p[1] - '0');
    v = static_cast<int>(a * 10 + b);
    return a <= 9 && b <= 9;
}

[[gnu::noinline]] std::optional<Instant> handParse(std::string_view s) {
    if (s.size() < 20) return std::nullopt;
    const char* p = s.data();
    int yh, yl, mo, d, h, mi, se;
    if (!digits2(p, yh) || !digits2(p + 2, yl) || p[4] != '-' || !digits2(p + 5, mo) || p[7] != '-' ||
        !digits2(p + 8, d) || p[10] != 'T' || !digits2(p + 11, h) || p[13] != ':' || !digits2(p + 14, mi) ||
        p[16] != ':' || !digits2(p + 17, se))
        return std::nullopt;
    const int y = yh * 100 + yl;
    if (mo < 1 || mo > 12 || d < 1 || d > monthDays(y, mo) || h > 23 || mi > 59 || se > 60) return std::nullopt;
    std::size_t i = 19;
    std::int64_t ps = 0, scale = 100'000'000'000;
    if (s[i] == '.') {
        const std::size_t start = ++i;
        while (i < s.size() && static_cast<unsigned>(s[i] - '0') <= 9) {
            ps += (s[i] - '0') * scale;
            scale /= 10;
            ++i;
        }
        if (i == start || i - start > 12) return std::nullopt;
    }
    int offset = 0;
    if (i < s.size() && s[i] == 'Z') {
        ++i;
    } else if (i + 6 == s.size() && (s[i] == '+' || s[i] == '-') && s[i + 3] == ':') {
        int zh, zm;
        if (!digits2(p + i + 1, zh) || !digits2(p + i + 4, zm) || zh > 23 || zm > 59) return std::nullopt;
        offset = (s[i] == '-' ? -1 : 1) * (zh * 60 + zm);
        i += 6;
    } else {
        return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    static const int before[] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const std::int64_t y1 = y - 1;
    const std::int64_t days = before[mo] + d + (mo > 2 && leap(y) ? 1 : 0) + 365 * y1 + y1 / 4 - y1 / 100 + y1 / 400 - 719163;
    return Instant{days * 86400 + h * 3600 + mi * 60 + se - offset * 60, ps};
}

template <class F>
void run(benchmark::State& state, const std::vector<std::string>& inputs, F parse) {
    for (auto _ : state)
        for (const std::string& s : inputs) benchmark::DoNotOptimize(parse(s));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(inputs.size()));
}

auto tarvelParse = [](const std::string& s) { return tarvel::parseUTCTime(std::string_view(s)); };
auto handwritten = [](const std::string& s) { return handParse(s); };
auto strptimeParse = [](const std::string& s) -> std::int64_t {
    std::tm tm{};
    const char* p = strptime(s.c_str(), "%Y-%m-%dT%H:%M:%S", &tm);
    if (p == nullptr) return -1;
    std::int64_t frac = 0;
    if (*p == '.') {
        ++p;
        while (*p >= '0' && *p <= '9') frac = frac * 10 + (*p++ - '0');
    }
    p = strptime(p, "%z", &tm);
    if (p == nullptr || *p != '\0') return -1;
    return static_cast<std::int64_t>(timegm(&tm)) - tm.tm_gmtoff + frac;
};
auto abslParse = [](const std::string& s) {
    absl::Time t;
    std::string err;
    return absl::ParseTime(absl::RFC3339_full, s, &t, &err) ? absl::ToUnixNanos(t) : -1;
};
auto dateParse = [](const std::string& s) {
    static thread_local std::istringstream in;
    in.clear();
    in.str(s);
    date::sys_time<std::chrono::nanoseconds> t;
    in >> date::parse(s.back() == 'Z' ? "%FT%TZ" : "%FT%T%Ez", t);
    return in.fail() ? -1 : t.time_since_epoch().count();
};

const std::vector<std::string> shortForm(count, "2000-01-01T23:30:00Z");
const std::vector<std::string> longForm(count, "2024-02-29T12:34:56.123456789+05:30");

#define PEERS(Set, inputs)                                                                    \
    void BM_##Set##_Tarvel(benchmark::State& s) { run(s, inputs, tarvelParse); }               \
    void BM_##Set##_Handwritten(benchmark::State& s) { run(s, inputs, handwritten); }          \
    void BM_##Set##_StrptimeTimegm(benchmark::State& s) { run(s, inputs, strptimeParse); }     \
    void BM_##Set##_AbslParseTime(benchmark::State& s) { run(s, inputs, abslParse); }          \
    void BM_##Set##_DateParse(benchmark::State& s) { run(s, inputs, dateParse); }              \
    BENCHMARK(BM_##Set##_Tarvel);                                                              \
    BENCHMARK(BM_##Set##_Handwritten);                                                         \
    BENCHMARK(BM_##Set##_StrptimeTimegm);                                                      \
    BENCHMARK(BM_##Set##_AbslParseTime);                                                       \
    BENCHMARK(BM_##Set##_DateParse);

PEERS(Valid, validStamps())
PEERS(Invalid, invalidStamps())
PEERS(Short, shortForm)
PEERS(Long, longForm)

}  // namespace

BENCHMARK_MAIN();
