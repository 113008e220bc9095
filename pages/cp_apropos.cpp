#include "cp_apropos.h"

#include "accessibilite.h"
#include "apropos.h"
#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "kit_pages.h"
#include "services_coquille.h"
#include "w_alerte.h"

#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

namespace {

bool splash_en_cours() {
    coquille::fenetre_principale* principale = coquille::w_main();
    return principale && principale->lancement_en_cours(true);
}

// One line drawn over the about picture: its text, pixel size and baseline.
struct ligne_apropos {
    QString texte;
    int taille;
    int y;
};

// The product name, the version and the build date, with a status line while
// the splash runs.
QList<ligne_apropos> lignes_apropos() {
    QList<ligne_apropos> lignes = {
        {bibliotheque_v1::nom_produit, 33, 150},
        {QStringLiteral("version 2.2"), 23, 200},
        {QStringLiteral("du ") + bibliotheque_v1::middle_date(BuildDate().date()), 19, 235}};
    if (splash_en_cours())
        lignes.append({QStringLiteral("lancement en cours"), 19, 285});
    return lignes;
}

// The backdrop: paints and takes the mouse presses for its page. Assistive
// technology reads it as a static text, the lines drawn over the picture.
class fond_apropos : public QWidget {
    Q_OBJECT
public:
    explicit fond_apropos(cp_apropos* page) : QWidget(page), page_(page) {
        accessibilite::enregistre("fond_apropos", [](QWidget* fond) -> QAccessibleInterface* {
            return new accessibilite::controle_peint(fond, QAccessible::StaticText, [] {
                QStringList textes;
                for (const ligne_apropos& ligne : lignes_apropos())
                    textes.append(ligne.texte);
                return textes.join(u'\n');
            });
        });
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter g(this);
        page_->canvas_fond_Paint(g);
    }
    void mousePressEvent(QMouseEvent* evenement) override {
        const QPoint point = evenement->position().toPoint();
        if (page_->canvas_fond_MouseDown(point.x(), point.y()))
            evenement->accept();
    }

private:
    cp_apropos* page_;
};

} // namespace

cp_apropos::cp_apropos(QWidget* parent) : classe_page(parent) {
    setObjectName(QStringLiteral("cp_apropos"));
    setFixedSize(640, 430);
    canvas_fond = new fond_apropos(this);
    canvas_fond->setObjectName(QStringLiteral("canvas_fond"));
    canvas_fond->setGeometry(0, 0, 640, 430);
    lien_web = new st_lien(canvas_fond);
    lien_web->setObjectName(QStringLiteral("lien_web"));
    lien_web->setGeometry(405, 379, 200, 30);
    lien_web->setAlignment(Qt::AlignCenter);
    lien_web->setText(QUrl(bibliotheque_v1::www_serveur()).host());
    lien_web_Open();
    lien_web->setVisible(false);
    connect(lien_web, &st_lien::Action, this, &cp_apropos::lien_web_Action);
    kit_pages::ordre_lecture(this);
}

void cp_apropos::lien_web_Open() {
    QFont fonte = lien_web->font();
    fonte.setPixelSize(19);
    lien_web->setFont(fonte);
    // A host name too wide for the link at that size gets a narrower face.
    kit_pages::ajuste_police(lien_web, lien_web->text(), lien_web->width());
}

void cp_apropos::canvas_fond_Paint(QPainter& g) {
    const QImage fond = apropos();
    if (!fond.isNull())
        g.drawImage(0, 0, fond);
    g.setPen(QColor(0xCC, 0xCC, 0xCC));
    for (const ligne_apropos& ligne : lignes_apropos()) {
        g.setFont(kit_pages::police(ligne.taille, true));
        g.drawText(150, ligne.y, ligne.texte);
    }
}

bool cp_apropos::canvas_fond_MouseDown(int, int) {
    coquille::fenetre_principale* principale = coquille::w_main();
    if (!principale)
        return true;
    if (principale->lancement_en_cours(true))
        principale->lancement_en_cours(false);
    else
        principale->montrer(principale->contenu_onglet_precedent(), coquille::origine_page);
    return true;
}

void cp_apropos::lien_web_Action() {
    if (bibliotheque_v1::web_disponible())
        bibliotheque_v1::ouvre_adresse(QUrl(bibliotheque_v1::www_serveur()));
    else
        w_alerte::instance().message(QStringLiteral("Ceci exige une connexion Internet !"),
                                     QString());
}

#include "cp_apropos.moc"
