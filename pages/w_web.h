#pragma once

#include "services_guidage.h"
#include "w_secondaire.h"

#include <QElapsedTimer>

#include <cstdint>
#include <functional>

class QLabel;

// The connection test behind every web feature: whether the system reports a
// network connection. The answer is kept for one second, so that the several
// questions of one user action cost one query of the system. The window
// itself stays hidden for the whole run.
class w_web : public w_secondaire, public guidage::test_connexion {
    Q_OBJECT
public:
    // The one instance, created hidden on first use and installed as the
    // application's connection test.
    static w_web& instance();

    explicit w_web(QWidget* parent = nullptr);
    ~w_web() override;

    // True when a network connection is up, from the kept answer while it is
    // less than a second old (a second exactly still counts), else from a new
    // query; the second starts when the query has finished.
    bool test() override;

    // The system's own answer: QNetworkInformation where a backend tells the
    // reachability, else whether an interface other than the loopback is up.
    static bool etat_reseau_systeme();

    // The query and the clock (milliseconds, never wrapping); the defaults are
    // the system's. Replaced by tests.
    std::function<bool()> interroge = &w_web::etat_reseau_systeme;
    std::function<std::int64_t()> horloge;

    QLabel* st_message;

private:
    // The clock reading right after the last query; none before the first.
    std::int64_t ticks_precedent = 0;
    bool deja_interroge = false;
    bool retour = false;
    QElapsedTimer chrono;
};
