#include "services_guidage.h"

namespace guidage {

namespace {
fenetre_formation* fenetre_installee = nullptr;
test_connexion* test_installe = nullptr;
} // namespace

fenetre_formation* w_formation() {
    return fenetre_installee;
}

void installe_w_formation(fenetre_formation* fenetre) {
    fenetre_installee = fenetre;
}

test_connexion* w_web() {
    return test_installe;
}

void installe_w_web(test_connexion* test) {
    test_installe = test;
}

} // namespace guidage
