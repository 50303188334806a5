#include "Data/Time/Format/Locale.h"

namespace kalmet {

const TimeLocale& defaultTimeLocale() {
    static const TimeLocale locale{
        {{"Sunday", "Sun"},
         {"Monday", "Mon"},
         {"Tuesday", "Tue"},
         {"Wednesday", "Wed"},
         {"Thursday", "Thu"},
         {"Friday", "Fri"},
         {"Saturday", "Sat"}},
        {{"January", "Jan"},
         {"February", "Feb"},
         {"March", "Mar"},
         {"April", "Apr"},
         {"May", "May"},
         {"June", "Jun"},
         {"July", "Jul"},
         {"August", "Aug"},
         {"September", "Sep"},
         {"October", "Oct"},
         {"November", "Nov"},
         {"December", "Dec"}},
        {"AM", "PM"},
        "%a %b %e %H:%M:%S %Z %Y",
        "%m/%d/%y",
        "%H:%M:%S",
        "%I:%M:%S %p",
        {TimeZone{0, false, "UT"}, TimeZone{0, false, "GMT"}, TimeZone{-5 * 60, false, "EST"},
         TimeZone{-4 * 60, true, "EDT"}, TimeZone{-6 * 60, false, "CST"}, TimeZone{-5 * 60, true, "CDT"},
         TimeZone{-7 * 60, false, "MST"}, TimeZone{-6 * 60, true, "MDT"}, TimeZone{-8 * 60, false, "PST"},
         TimeZone{-7 * 60, true, "PDT"}}};
    return locale;
}

}  // namespace kalmet
