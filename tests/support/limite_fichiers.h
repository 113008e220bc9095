#pragma once

#include <csignal>

#include <sys/resource.h>

namespace test_support {

// While it lives, the files this process writes may not grow beyond `octets`
// bytes, and SIGXFSZ is ignored, so that a write beyond fails with EFBIG as
// on a full disk. Both are restored when it ends. `pose` tells whether the
// limit could be set.
class limite_fichiers {
public:
    explicit limite_fichiers(rlim_t octets) {
        if (::getrlimit(RLIMIT_FSIZE, &avant) != 0)
            return;
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit petit = avant;
        petit.rlim_cur = octets;
        pose = ::setrlimit(RLIMIT_FSIZE, &petit) == 0;
    }
    ~limite_fichiers() {
        ::setrlimit(RLIMIT_FSIZE, &avant);
        std::signal(SIGXFSZ, SIG_DFL);
    }
    limite_fichiers(const limite_fichiers&) = delete;
    limite_fichiers& operator=(const limite_fichiers&) = delete;

    bool pose = false;

private:
    rlimit avant{};
};

} // namespace test_support
