// The parsers allocate nothing on success while the values fit in 64 bits
// (a Day count does for years up to about 2.5e16 either way), and nothing
// for their messages either (except to quote a year beyond 64 bits). Counted by replacing the global allocation functions of this test
// program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "Data/Time/FromText.h"
#include "Data/Time/ToText.h"

namespace {
std::atomic<long> allocations{0};
}

// The replacement pairs malloc with free throughout; g++ cannot see that
// across the replaced functions and warns about the pairing.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

template <class F>
long allocationsDuring(F f) {
    const long before = allocations.load();
    f();
    return allocations.load() - before;
}

}  // namespace

TEST(Allocation, NoneOnSuccess) {
    // The inputs are built first; only the parse is counted.
    const std::string day = "2024-02-29", longYear = "-12345678901234567-12-31", month = "2000-01", quarter = "2000-Q2",
                      year = "+0002000", time = "23:59:60.999999999999", zone = "-08:00",
                      local = "2000-01-01 12:00:00.5", utc = "2024-02-29T12:34:56.123456789+05:30",
                      zoned = "2000-01-01T23:30:00Z";
    EXPECT_EQ(allocationsDuring([&] {
                  EXPECT_TRUE(tarvel::parseDay(day));
                  EXPECT_TRUE(tarvel::parseDay(longYear));
                  EXPECT_TRUE(tarvel::parseMonth(month));
                  EXPECT_TRUE(tarvel::parseQuarter(quarter));
                  EXPECT_TRUE(tarvel::parseYear(year));
                  EXPECT_TRUE(tarvel::parseQuarterOfYear("q4"));
                  EXPECT_TRUE(tarvel::parseTimeOfDay(time));
                  EXPECT_TRUE(tarvel::parseTimeZone(zone));
                  EXPECT_TRUE(tarvel::parseLocalTime(local));
                  EXPECT_TRUE(tarvel::parseUTCTime(utc));
                  EXPECT_TRUE(tarvel::parseZonedTime(zoned));
              }),
              0);
}

TEST(Allocation, NoneForMessagesUntilTheirTextIsAsked) {
    const std::string badDay = "2023-02-29", trailing = "2000-01-01T12:00Zx", badTime = "24:00";
    EXPECT_EQ(allocationsDuring([&] {
                  EXPECT_FALSE(tarvel::parseDay(badDay));
                  EXPECT_FALSE(tarvel::parseUTCTime(trailing));
                  EXPECT_FALSE(tarvel::parseTimeOfDay(badTime));
                  EXPECT_FALSE(tarvel::parseYear("x"));
              }),
              0);
    EXPECT_EQ(tarvel::parseDay(badDay).left(), "invalid day:(2023,2,29)");
}

TEST(Allocation, ValuesBeyond64BitsAreKeptWhole) {
    const std::string hugeYear = std::string(40, '9') + "-01-01";
    EXPECT_GT(allocationsDuring([&] { EXPECT_TRUE(tarvel::parseDay(hugeYear)); }), 0);
    // The year fits in 64 bits, its day count does not.
    const std::string farDay = "-123456789012345678-12-31";
    EXPECT_GT(allocationsDuring([&] { EXPECT_TRUE(tarvel::parseDay(farDay)); }), 0);
}

// Rendering into a caller's buffer allocates nothing for values that fit
// 64 bits, whatever their size.
TEST(Allocation, NoneRenderingIntoTheCallersBuffer) {
    const auto utc = *tarvel::parseUTCTime("2024-02-29T12:34:56.123456789+05:30");
    const auto zoned = *tarvel::parseZonedTime("-9223372036854775-12-31T23:59:60.999999999999-23:59");
    const auto local = *tarvel::parseLocalTime("2000-01-01 12:00:00.5");
    const auto day = *tarvel::parseDay("-12345678901234567-12-31");
    const auto month = *tarvel::parseMonth("2000-01");
    const auto quarter = *tarvel::parseQuarter("2000-Q2");
    const auto time = *tarvel::parseTimeOfDay("23:59:60.999999999999");
    const auto zone = *tarvel::parseTimeZone("-08:00");
    char buf[tarvel::maxZonedTimeChars];
    char small[4];
    EXPECT_EQ(allocationsDuring([&] {
                  char* const end = buf + sizeof buf;
                  EXPECT_EQ(tarvel::toChars(buf, end, utc).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(buf, end, zoned).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(buf, end, local).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(buf, end, day).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(buf, end, month).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(buf, end, quarter).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(buf, end, kalmet::Q1).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(buf, end, time).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(buf, end, zone).ec, std::errc());
                  EXPECT_EQ(tarvel::toChars(small, small + sizeof small, zoned).ec, std::errc::value_too_large);
              }),
              0);
}
