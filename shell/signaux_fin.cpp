#include "signaux_fin.h"

#include <QObject>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace signaux_fin {

namespace {

// The pipe between the handler, which writes on [1], and the event loop,
// which reads [0]; -1 until `installe`. Both ends are non-blocking: a full
// pipe holds a quit already, and the handler never waits.
int tube[2] = {-1, -1};
QSocketNotifier* surveillant = nullptr;

const int signaux[] = {SIGTERM, SIGHUP, SIGINT};

// Any thread may take the signal, whatever it was doing: one write, the only
// thing done here, and errno kept for the code it interrupted. A second
// signal while the quit runs (while the preferences are written) adds a byte,
// and nothing else.
void recoit(int) {
    const int erreur = errno;
    const char octet = 1;
    [[maybe_unused]] const ssize_t ecrit = ::write(tube[1], &octet, 1);
    errno = erreur;
}

} // namespace

void installe() {
    if (tube[0] >= 0)
        return;
    if (::pipe2(tube, O_CLOEXEC | O_NONBLOCK) != 0) {
        tube[0] = tube[1] = -1;
        return;
    }
    struct sigaction action = {};
    action.sa_handler = recoit;
    sigemptyset(&action.sa_mask);
    // The system calls a signal interrupts go on rather than fail with EINTR.
    action.sa_flags = SA_RESTART;
    for (const int numero : signaux) {
        struct sigaction avant = {};
        if (::sigaction(numero, nullptr, &avant) == 0 && avant.sa_handler == SIG_IGN)
            continue;
        ::sigaction(numero, &action, nullptr);
    }
}

void surveille(QObject* proprietaire, std::function<void()> fin) {
    if (tube[0] < 0 || surveillant)
        return;
    // A byte written before the notifier exists wakes it at once.
    surveillant = new QSocketNotifier(tube[0], QSocketNotifier::Read, proprietaire);
    QObject::connect(surveillant, &QObject::destroyed, [] { surveillant = nullptr; });
    QObject::connect(surveillant, &QSocketNotifier::activated, surveillant, [fin] {
        char octets[64];
        while (::read(tube[0], octets, sizeof octets) > 0) {
        }
        fin();
    });
}

} // namespace signaux_fin
