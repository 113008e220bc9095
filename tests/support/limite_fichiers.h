#pragma once

#include <algorithm>
#include <csignal>

#include <sys/resource.h>

namespace test_support {

// While it lives, the system refuses to let a file this process writes grow
// past `octets` bytes (the write fails with EFBIG, as one fails with ENOSPC
// on a full disk); RLIM_INFINITY sets no limit of its own. The signal that
// the refusal raises is ignored meanwhile.
class limite_fichiers {
public:
    explicit limite_fichiers(rlim_t octets) {
        ::getrlimit(RLIMIT_FSIZE, &avant);
        signal_avant = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = avant;
        limite.rlim_cur = std::min(octets, avant.rlim_max);
        ::setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~limite_fichiers() {
        ::setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, signal_avant);
    }
    limite_fichiers(const limite_fichiers&) = delete;
    limite_fichiers& operator=(const limite_fichiers&) = delete;

private:
    rlimit avant{};
    void (*signal_avant)(int) = SIG_DFL;
};

} // namespace test_support
