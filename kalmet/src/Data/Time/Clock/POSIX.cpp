#include "Data/Time/Clock/POSIX.h"

#include <ctime>

namespace kalmet {

namespace {
constexpr core::Int dayPicos = 86400 * detail::picosPerSecond;
}

POSIXTime utcTimeToPOSIXSeconds(const UTCTime& t) {
    const core::Integer days = diffDays(t.day, systemEpochDay());
    const core::Integer& ps = t.dayTime.picoseconds();
    const core::Integer inDay = ps < core::Integer(dayPicos) ? ps : core::Integer(dayPicos);
    return POSIXTime::fromPicoseconds(days * core::Integer(dayPicos) + inDay);
}

UTCTime posixSecondsToUTCTime(const POSIXTime& t) {
    auto [days, ps] = core::divMod(t.picoseconds(), core::Integer(dayPicos));
    return {addDays(days, systemEpochDay()), DiffTime::fromPicoseconds(std::move(ps))};
}

POSIXTime getPOSIXTime() {
    std::timespec ts{};
    std::timespec_get(&ts, TIME_UTC);
    return POSIXTime::fromPicoseconds(core::Integer(static_cast<core::Int>(ts.tv_sec)) *
                                          core::Integer(detail::picosPerSecond) +
                                      core::Integer(static_cast<core::Int>(ts.tv_nsec) * 1000));
}

}  // namespace kalmet
