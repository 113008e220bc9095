#include "w_secondaire.h"

#include "services_coquille.h"

w_secondaire::w_secondaire(QWidget* parent) : QDialog(parent) {}

void w_secondaire::montrer_modale(int position) {
    positionner(position);
    exec();
}

void w_secondaire::positionner(int position) {
    const coquille::fenetre_principale* principale = coquille::w_main();
    if (!principale)
        return;
    const QRect cadre = principale->geometrie();
    int gauche = 0;
    int haut = 0;
    if (position == 1) {
        gauche = static_cast<int>(cadre.left() + (cadre.width() - width()) / 2.0);
        haut = static_cast<int>(cadre.top() + (cadre.height() - height()) / 2.0);
    } else if (position == 2) {
        gauche = cadre.left() + 21;
        haut = cadre.top() + 21;
    } else {
        return;
    }
    // The client area goes there; the size stays.
    setGeometry(gauche, haut, width(), height());
}

void w_secondaire::montrer_amodale(int position) {
    positionner(position);
    show();
}
