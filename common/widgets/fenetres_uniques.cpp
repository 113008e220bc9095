#include "fenetres_uniques.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace fenetres_uniques {

namespace {

// The windows to destroy with the current application object, in the order
// they were made. Its destructor, an exit handler, frees pointers only.
std::vector<QPointer<QWidget>>& a_detruire() {
    static std::vector<QPointer<QWidget>> fenetres;
    return fenetres;
}

bool routine_inscrite = false;

// Called by QApplication's destructor before it takes the windows down.
void detruit_fenetres() {
    routine_inscrite = false;
    std::vector<QPointer<QWidget>> fenetres;
    fenetres.swap(a_detruire());
    for (auto fenetre = fenetres.rbegin(); fenetre != fenetres.rend(); ++fenetre)
        delete fenetre->data();
}

} // namespace

void detruite_avec_application(QWidget* fenetre) {
    if (!routine_inscrite) {
        qAddPostRoutine(detruit_fenetres);
        routine_inscrite = true;
    }
    a_detruire().emplace_back(fenetre);
}

} // namespace fenetres_uniques
