#pragma once

#include <QString>

// What the common services use of the guidance windows: the self-training
// companion window, which the pages fill with their training steps, and the
// connection test behind the web features. The windows themselves belong to
// the guidance pages, which install them here when they are created.
namespace guidage {

// The self-training companion window, as the pages see it.
class fenetre_formation {
public:
    virtual ~fenetre_formation() = default;

    // Arrows of the current step: 0 no step to walk, 1 first step, 2 a middle
    // step, 3 last step.
    int fleches = 0;
    // Explanation text of the current step.
    QString message;
    // Documentation page of the current step ("" = none).
    QString nom_fichier_documentation;

    // Shows the three fields above again; a page calls it when its current
    // step changes by itself, without a step command.
    virtual void maj_autres() {}
};

// The connection test.
class test_connexion {
public:
    virtual ~test_connexion() = default;
    // Whether the system reports a network connection; never raises.
    virtual bool test() = 0;
};

// The one training window, or nullptr while none is installed.
fenetre_formation* w_formation();
void installe_w_formation(fenetre_formation* fenetre);

// The connection test, or nullptr while none is installed (then the network
// counts as unreachable).
test_connexion* w_web();
void installe_w_web(test_connexion* test);

} // namespace guidage
