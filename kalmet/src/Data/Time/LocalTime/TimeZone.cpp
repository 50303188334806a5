#include "Data/Time/LocalTime/TimeZone.h"

namespace kalmet {

TimeZone utc() { return TimeZone{0, false, "UTC"}; }

namespace {
std::string offsetString(const TimeZone& zone, const char* separator) {
    const bool negative = zone.minutes < 0;
    // The magnitude as unsigned, so that the most negative offset is exact.
    const unsigned long long m = negative ? 0ULL - static_cast<unsigned long long>(zone.minutes)
                                          : static_cast<unsigned long long>(zone.minutes);
    std::string hours = std::to_string(m / 60);
    if (hours.size() < 2) hours.insert(0, 1, '0');
    const unsigned long long mm = m % 60;
    std::string out(negative ? "-" : "+");
    out += hours;
    out += separator;
    out += static_cast<char>('0' + mm / 10);
    out += static_cast<char>('0' + mm % 10);
    return out;
}
}  // namespace

std::string timeZoneOffsetString(const TimeZone& zone) { return offsetString(zone, ""); }

std::string timeZoneOffsetString(const TimeZone& zone, char separator) {
    const char sep[2] = {separator, '\0'};
    return offsetString(zone, sep);
}

}  // namespace kalmet
