#pragma once

#include "classe_page.h"

class st_lien;

// The about page, of the about screen: the about picture with the product
// name, the version and the build date drawn over it. It is also the
// start-up splash, with a line "lancement en cours" and no web link while the
// splash runs. A click ends the splash early, or, after start-up, goes back
// to the last tab screen.
class cp_apropos : public classe_page {
    Q_OBJECT
public:
    explicit cp_apropos(QWidget* parent = nullptr);

    QWidget* canvas_fond;
    st_lien* lien_web;

    void canvas_fond_Paint(QPainter& g);
    bool canvas_fond_MouseDown(int x, int y);
    void lien_web_Action();
    void lien_web_Open();
};
