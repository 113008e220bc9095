#include "services_coquille.h"

#include "ressources.h"

#include <QWidget>

namespace coquille {

namespace {
application* application_installee = nullptr;
fenetre_principale* fenetre_installee = nullptr;
QAction* menu_aide_installe = nullptr;
QAction* menu_formation_installe = nullptr;
// The logo once it has been read.
QImage _permapic;
} // namespace

application* App() {
    return application_installee;
}

fenetre_principale* w_main() {
    return fenetre_installee;
}

QWidget* w_main_qt() {
    return dynamic_cast<QWidget*>(fenetre_installee);
}

void installe_App(application* objet) {
    application_installee = objet;
}

void installe_w_main(fenetre_principale* fenetre) {
    fenetre_installee = fenetre;
}

QAction* menu_aide_contextuelle() {
    return menu_aide_installe;
}

void installe_menu_aide_contextuelle(QAction* element) {
    menu_aide_installe = element;
}

QAction* menu_formation() {
    return menu_formation_installe;
}

void installe_menu_formation(QAction* element) {
    menu_formation_installe = element;
}

QImage logo_application() {
    if (_permapic.isNull())
        _permapic = ressources::image(170);
    return _permapic;
}

} // namespace coquille
