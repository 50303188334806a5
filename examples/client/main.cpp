// Links every library of the suite and uses a value from each.
#include <cstdio>
#include <cstring>

#include "Core/Integer.h"
#include "comonad/Version.h"
#include "kalmet/Version.h"
#include "nerrow/Version.h"
#include "pomrel/Version.h"
#include "tarvel/Version.h"
#include "these/Version.h"

int main() {
    const char* versions[] = {tarvel::version(), kalmet::version(), these::version(),
                              nerrow::version(), comonad::version(), pomrel::version()};
    for (const char* v : versions)
        if (std::strcmp(v, versions[0]) != 0) return 1;
    core::Integer big = core::Integer::pow10(30) + core::Integer(1);
    std::printf("suite %s: 10^30 + 1 = %s\n", versions[0], big.toString().c_str());
    return big.toString() == "1000000000000000000000000000001" ? 0 : 1;
}
