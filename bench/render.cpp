// The ISO 8601 renderers of tarvel against the C++ date formatters on the
// machine: gmtime_r plus strftime, absl::FormatTime, date::format, and a
// hand-written fixed-format renderer as the floor.
//
// Each benchmark renders the same 4096 varied instants (years 1970 to 2069,
// nanosecond fractions, so nine fraction digits for most of them), as UTC
// times ("...Z") or as zoned times with offsets of whole quarter hours
// from -12:00 to +14:00. Time per iteration / 4096 is the time per value.
// Every peer gets its input in its own representation, converted before
// timing; the text each produces is the same up to the fraction's form
// (ours drops trailing all-zero groups of three digits, the others always
// write nine digits).
//
//   Tarvel           buildUTCTime / buildZonedTime appending to one Builder
//   TarvelString     toString, one std::string per value
//   Handwritten      days-from-epoch civil conversion and digit writes into
//                    a char buffer, nine fraction digits always
//   GmtimeStrftime   gmtime_r + strftime("%Y-%m-%dT%H:%M:%S") into a char
//                    buffer, then the nine fraction digits and the zone
//                    written by hand (strftime has no fraction)
//   AbslFormatTime   absl::FormatTime("%Y-%m-%d%ET%H:%M:%E9S%Ez") in UTC or
//                    a fixed-offset zone
//   DateFormat       date::format("%FT%TZ") of a sys_time<nanoseconds>; for
//                    zones date::to_stream("%FT%T%Ez") of the local time with
//                    its offset into an ostringstream (what date::format does)
#include <benchmark/benchmark.h>

#include <absl/time/time.h>
#include <date/date.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Core/Text.h"
#include "Data/Time/Calendar.h"
#include "Data/Time/ToText.h"

namespace {

constexpr int count = 4096;
constexpr std::int64_t nanosPerSecond = 1'000'000'000;

// One instant: seconds and nanoseconds since 1970-01-01 00:00 UTC, and the
// offset of its zoned form.
struct Sample {
    std::int64_t unixSeconds;
    std::int64_t nanos;  // 0..999999999
    int offsetMinutes;
};

const std::vector<Sample>& samples() {
    static const std::vector<Sample> v = [] {
        std::mt19937_64 rng(2024);
        std::vector<Sample> out;
        const std::int64_t from = 0, to = 3155760000;  // 1970 .. 2069
        for (int i = 0; i < count; ++i) {
            Sample s;
            s.unixSeconds = from + static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(to - from));
            s.nanos = static_cast<std::int64_t>(rng() % nanosPerSecond);
            s.offsetMinutes = (static_cast<int>(rng() % 105) - 48) * 15;
            out.push_back(s);
        }
        return out;
    }();
    return v;
}

// The same instants as kalmet values, each kind in an array of its own
// (every peer reads an array of just its own representation).
kalmet::UTCTime utcOf(const Sample& s) {
    const std::int64_t days = s.unixSeconds / 86400, secs = s.unixSeconds % 86400;
    return kalmet::UTCTime{kalmet::Day(core::Integer(days + 40587)),
                           kalmet::DiffTime::fromPicoseconds(core::Integer(secs * 1'000'000'000'000 + s.nanos * 1000))};
}
kalmet::ZonedTime zonedOf(const Sample& s) {
    return kalmet::utcToZonedTime(kalmet::minutesToTimeZone(s.offsetMinutes), utcOf(s));
}
const std::vector<kalmet::UTCTime>& utcTimes() {
    static const std::vector<kalmet::UTCTime> v = [] {
        std::vector<kalmet::UTCTime> out;
        for (const Sample& s : samples()) out.push_back(utcOf(s));
        return out;
    }();
    return v;
}
const std::vector<kalmet::ZonedTime>& zonedTimes() {
    static const std::vector<kalmet::ZonedTime> v = [] {
        std::vector<kalmet::ZonedTime> out;
        for (const Sample& s : samples()) out.push_back(zonedOf(s));
        return out;
    }();
    return v;
}

// ------------------------------------------------------------ the floor

inline char* two(char* p, unsigned v) {
    p[0] = static_cast<char>('0' + v / 10);
    p[1] = static_cast<char>('0' + v % 10);
    return p + 2;
}

// Civil date of a count of days since 1970-01-01 (proleptic Gregorian,
// eras of 400 years).
struct Civil {
    std::int64_t y;
    unsigned m, d;
};
inline Civil civilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

// "YYYY-MM-DDTHH:MM:SS.nnnnnnnnn" and "Z" or "+HH:MM", for years
// 0..9999.
[[gnu::noinline]] char* handRender(char* p, std::int64_t unixSeconds, std::int64_t nanos, int offsetMinutes,
                                   bool utc) {
    if (utc) offsetMinutes = 0;
    const std::int64_t local = unixSeconds + offsetMinutes * 60;
    std::int64_t days = local / 86400, secs = local % 86400;
    if (secs < 0) secs += 86400, --days;
    const Civil c = civilFromDays(days);
    const auto y = static_cast<unsigned>(c.y);
    p = two(p, y / 100);
    p = two(p, y % 100);
    *p++ = '-';
    p = two(p, c.m);
    *p++ = '-';
    p = two(p, c.d);
    *p++ = 'T';
    const auto s = static_cast<unsigned>(secs);
    p = two(p, s / 3600);
    *p++ = ':';
    p = two(p, s / 60 % 60);
    *p++ = ':';
    p = two(p, s % 60);
    *p++ = '.';
    auto n = static_cast<unsigned>(nanos);
    for (int i = 8; i >= 0; --i) {
        p[i] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    p += 9;
    if (utc) {
        *p++ = 'Z';
        return p;
    }
    const unsigned a = static_cast<unsigned>(offsetMinutes < 0 ? -offsetMinutes : offsetMinutes);
    *p++ = offsetMinutes < 0 ? '-' : '+';
    p = two(p, a / 60);
    *p++ = ':';
    return two(p, a % 60);
}

// ------------------------------------------------------------- the peers

char* strftimeRender(char* p, std::int64_t unixSeconds, std::int64_t nanos, int offsetMinutes, bool utc) {
    if (utc) offsetMinutes = 0;
    const std::time_t t = static_cast<std::time_t>(unixSeconds + offsetMinutes * 60);
    std::tm tm;
    gmtime_r(&t, &tm);
    p += std::strftime(p, 64, "%Y-%m-%dT%H:%M:%S", &tm);
    *p++ = '.';
    auto n = static_cast<unsigned>(nanos);
    for (int i = 8; i >= 0; --i) {
        p[i] = static_cast<char>('0' + n % 10);
        n /= 10;
    }
    p += 9;
    if (utc) {
        *p++ = 'Z';
        return p;
    }
    const unsigned a = static_cast<unsigned>(offsetMinutes < 0 ? -offsetMinutes : offsetMinutes);
    *p++ = offsetMinutes < 0 ? '-' : '+';
    p = two(p, a / 60);
    *p++ = ':';
    return two(p, a % 60);
}

struct AbslInput {
    absl::Time t;
    absl::TimeZone zone;
};
const std::vector<AbslInput>& abslInputs(bool utc) {
    static const auto make = [](bool u) {
        std::vector<AbslInput> v;
        for (const Sample& s : samples())
            v.push_back({absl::FromUnixNanos(s.unixSeconds * nanosPerSecond + s.nanos),
                         u ? absl::UTCTimeZone() : absl::FixedTimeZone(s.offsetMinutes * 60)});
        return v;
    };
    static const std::vector<AbslInput> utcInputs = make(true), zonedInputs = make(false);
    return utc ? utcInputs : zonedInputs;
}

using SysNanos = date::sys_time<std::chrono::nanoseconds>;
SysNanos sysNanos(const Sample& s) { return SysNanos(std::chrono::nanoseconds(s.unixSeconds * nanosPerSecond + s.nanos)); }

// ------------------------------------------------------------- benchmarks

void done(benchmark::State& state) { state.SetItemsProcessed(state.iterations() * count); }

void BM_UTC_Tarvel(benchmark::State& state) {
    for (auto _ : state) {
        core::Builder b;
        for (const kalmet::UTCTime& t : utcTimes()) tarvel::buildUTCTime(t, b);
        benchmark::DoNotOptimize(b.sizeBytes());
    }
    done(state);
}
void BM_Zoned_Tarvel(benchmark::State& state) {
    for (auto _ : state) {
        core::Builder b;
        for (const kalmet::ZonedTime& t : zonedTimes()) tarvel::buildZonedTime(t, b);
        benchmark::DoNotOptimize(b.sizeBytes());
    }
    done(state);
}
void BM_UTC_TarvelString(benchmark::State& state) {
    for (auto _ : state)
        for (const kalmet::UTCTime& t : utcTimes()) benchmark::DoNotOptimize(tarvel::toString(t));
    done(state);
}
void BM_Zoned_TarvelString(benchmark::State& state) {
    for (auto _ : state)
        for (const kalmet::ZonedTime& t : zonedTimes()) benchmark::DoNotOptimize(tarvel::toString(t));
    done(state);
}

// Into a buffer the caller owns, with no allocation: the same loop as the
// hand-written renderer below, each text written after the previous one.
template <class T>
void toCharsInto(benchmark::State& state, const std::vector<T>& values) {
    std::vector<char> buf(static_cast<std::size_t>(count) * 64);
    for (auto _ : state) {
        char* p = buf.data();
        char* const end = buf.data() + buf.size();
        for (const T& t : values) p = tarvel::toChars(p, end, t).ptr;
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
    done(state);
}
void BM_UTC_TarvelToChars(benchmark::State& state) { toCharsInto(state, utcTimes()); }
void BM_Zoned_TarvelToChars(benchmark::State& state) { toCharsInto(state, zonedTimes()); }

template <class Render>
void intoBuffer(benchmark::State& state, bool utc, Render render) {
    std::vector<char> buf(static_cast<std::size_t>(count) * 64);
    for (auto _ : state) {
        char* p = buf.data();
        for (const Sample& s : samples()) p = render(p, s.unixSeconds, s.nanos, s.offsetMinutes, utc);
        benchmark::DoNotOptimize(p);
        benchmark::ClobberMemory();
    }
    done(state);
}
void BM_UTC_Handwritten(benchmark::State& state) { intoBuffer(state, true, handRender); }
void BM_Zoned_Handwritten(benchmark::State& state) { intoBuffer(state, false, handRender); }
void BM_UTC_GmtimeStrftime(benchmark::State& state) { intoBuffer(state, true, strftimeRender); }
void BM_Zoned_GmtimeStrftime(benchmark::State& state) { intoBuffer(state, false, strftimeRender); }

void absl(benchmark::State& state, bool utc) {
    const auto& inputs = abslInputs(utc);
    for (auto _ : state)
        for (const AbslInput& in : inputs)
            benchmark::DoNotOptimize(absl::FormatTime("%Y-%m-%d%ET%H:%M:%E9S%Ez", in.t, in.zone));
    done(state);
}
void BM_UTC_AbslFormatTime(benchmark::State& state) { absl(state, true); }
void BM_Zoned_AbslFormatTime(benchmark::State& state) { absl(state, false); }

void BM_UTC_DateFormat(benchmark::State& state) {
    std::vector<SysNanos> inputs;
    for (const Sample& s : samples()) inputs.push_back(sysNanos(s));
    for (auto _ : state)
        for (const SysNanos& t : inputs) benchmark::DoNotOptimize(date::format("%FT%TZ", t));
    done(state);
}
void BM_Zoned_DateFormat(benchmark::State& state) {
    using LocalNanos = date::local_time<std::chrono::nanoseconds>;
    std::vector<std::pair<LocalNanos, std::chrono::seconds>> inputs;
    for (const Sample& s : samples()) {
        const std::chrono::seconds offset(s.offsetMinutes * 60);
        inputs.emplace_back(LocalNanos(sysNanos(s).time_since_epoch() + offset), offset);
    }
    for (auto _ : state)
        for (const auto& [t, offset] : inputs) {
            std::ostringstream os;
            date::to_stream(os, "%FT%T%Ez", t, nullptr, &offset);
            benchmark::DoNotOptimize(os.str());
        }
    done(state);
}

BENCHMARK(BM_UTC_Tarvel);
BENCHMARK(BM_UTC_TarvelString);
BENCHMARK(BM_UTC_TarvelToChars);
BENCHMARK(BM_UTC_Handwritten);
BENCHMARK(BM_UTC_GmtimeStrftime);
BENCHMARK(BM_UTC_AbslFormatTime);
BENCHMARK(BM_UTC_DateFormat);
BENCHMARK(BM_Zoned_Tarvel);
BENCHMARK(BM_Zoned_TarvelString);
BENCHMARK(BM_Zoned_TarvelToChars);
BENCHMARK(BM_Zoned_Handwritten);
BENCHMARK(BM_Zoned_GmtimeStrftime);
BENCHMARK(BM_Zoned_AbslFormatTime);
BENCHMARK(BM_Zoned_DateFormat);

// The texts agree before anything is timed: ours against the floor, with
// the floor's nine digits cut to our groups of three.
bool sameTexts() {
    char buf[128];
    for (const Sample& s : samples()) {
        for (bool utc : {true, false}) {
            std::string hand(buf, handRender(buf, s.unixSeconds, s.nanos, s.offsetMinutes, utc));
            const std::size_t dot = hand.find('.');
            std::size_t end = dot + 10;
            while (end > dot + 1 && hand.compare(end - 3, 3, "000") == 0) end -= 3;
            hand.erase(end == dot + 1 ? dot : end, dot + 10 - (end == dot + 1 ? dot : end));
            if (!utc && s.offsetMinutes == 0) hand.replace(hand.size() - 6, 6, "Z");
            const std::string ours = utc ? tarvel::toString(utcOf(s)) : tarvel::toString(zonedOf(s));
            if (ours != hand) {
                std::fprintf(stderr, "texts differ: %s vs %s\n", ours.c_str(), hand.c_str());
                return false;
            }
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!sameTexts()) return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
