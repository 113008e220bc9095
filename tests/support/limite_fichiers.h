#pragma once

#include <algorithm>
#include <csignal>

#include <sys/resource.h>

namespace test_support {

// While it lives, a file this process (or a child it starts) writes may not
// grow past `octets` bytes: writes fail with EFBIG, as with ENOSPC on a full disk.
struct limite_fichiers {
    explicit limite_fichiers(rlim_t octets) {
        ::getrlimit(RLIMIT_FSIZE, &avant);
        rlimit limite = avant;
        limite.rlim_cur = std::min(octets, avant.rlim_max);
        ::setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~limite_fichiers() {
        ::setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, signal_avant);
    }
    rlimit avant{};
    void (*signal_avant)(int) = std::signal(SIGXFSZ, SIG_IGN);
};

} // namespace test_support
