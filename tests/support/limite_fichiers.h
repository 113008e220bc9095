#pragma once

#include <algorithm>

#include <sys/resource.h>

namespace test_support {

// While it lives, a file this process (or a child it starts) writes may not
// grow past `octets` bytes: writes fail with EFBIG, as with ENOSPC on a full
// disk (the test programs ignore SIGXFSZ at start-up, as the application does).
struct limite_fichiers {
    explicit limite_fichiers(rlim_t octets) {
        ::getrlimit(RLIMIT_FSIZE, &avant);
        rlimit limite = avant;
        limite.rlim_cur = std::min(octets, avant.rlim_max);
        ::setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~limite_fichiers() { ::setrlimit(RLIMIT_FSIZE, &avant); }
    rlimit avant{};
};

} // namespace test_support
