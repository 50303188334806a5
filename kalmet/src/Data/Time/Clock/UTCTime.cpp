#include "Data/Time/Clock/UTCTime.h"

#include "Data/Time/Clock/POSIX.h"

namespace kalmet {

UTCTime addUTCTime(const NominalDiffTime& d, const UTCTime& t) {
    return posixSecondsToUTCTime(d + utcTimeToPOSIXSeconds(t));
}

NominalDiffTime diffUTCTime(const UTCTime& a, const UTCTime& b) {
    return utcTimeToPOSIXSeconds(a) - utcTimeToPOSIXSeconds(b);
}

}  // namespace kalmet
