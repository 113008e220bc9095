#include "services_guidage.h"

#include <QMap>

namespace guidage {

namespace {
fenetre_formation* fenetre_installee = nullptr;
test_connexion* test_installe = nullptr;
QMap<std::int32_t, fabrique_page> fabriques;
std::function<void()> fabrique_fenetre;
} // namespace

fabrique_page fabrique(std::int32_t ecran) {
    return fabriques.value(ecran);
}

void installe_fabrique(std::int32_t ecran, fabrique_page fabrique) {
    if (fabrique)
        fabriques.insert(ecran, std::move(fabrique));
    else
        fabriques.remove(ecran);
}

void installe_fabrique_w_formation(std::function<void()> fabrique) {
    fabrique_fenetre = std::move(fabrique);
}

void cree_w_formation() {
    if (!fenetre_installee && fabrique_fenetre)
        fabrique_fenetre();
}

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
