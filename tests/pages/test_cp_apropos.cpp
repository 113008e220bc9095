#include "apropos.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "cp_apropos.h"
#include "participants_fichiers.h"
#include "repondeur.h"
#include "services_coquille.h"

#include <QAccessible>
#include <QList>
#include <QPair>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// The main window as the about page sees it: a splash that runs or not, and
// the page switch.
class fenetre : public QWidget, public coquille::fenetre_principale {
public:
    fenetre() { coquille::installe_w_main(this); }
    ~fenetre() override { coquille::installe_w_main(nullptr); }
    void import_export_parametres(const QString&, const QString&) override {}
    QRect geometrie() const override { return geometry(); }
    std::int32_t contenu_onglet_precedent() const override { return coquille::ecran_version; }
    bool lancement_en_cours(bool encore) override {
        if (!encore)
            splash = false;
        return encore ? splash : true;
    }
    void montrer(std::int32_t ecran, std::int32_t origine) override {
        bascules.append({ecran, origine});
    }
    bool splash = true;
    QList<QPair<std::int32_t, std::int32_t>> bascules;
};

// A click during the splash ends it; after it, a click goes back to the last
// tab screen. The status line shows only while the splash runs.
TEST(PageAPropos, ClicEtLigneDeLancement) {
    fenetre principale;
    cp_apropos page;
    page.Event_Open();
    EXPECT_EQ(page.size(), QSize(640, 430));
    EXPECT_FALSE(page.lien_web->isVisibleTo(&page));
    EXPECT_LE(QFontMetrics(page.lien_web->font()).horizontalAdvance(page.lien_web->text()),
              page.lien_web->width());
    const QImage pendant = page.canvas_fond->grab().toImage();
    QAccessibleInterface* lu = QAccessible::queryAccessibleInterface(page.canvas_fond);
    EXPECT_EQ(lu->role(), QAccessible::StaticText);
    const QString lignes =
        "Valdorin\nversion 2.2\ndu " + bibliotheque_v1::middle_date(BuildDate().date());
    EXPECT_EQ(lu->text(QAccessible::Name), lignes + "\nlancement en cours");
    QTest::mouseClick(page.canvas_fond, Qt::LeftButton);
    EXPECT_FALSE(principale.splash);
    EXPECT_TRUE(principale.bascules.isEmpty());
    EXPECT_EQ(lu->text(QAccessible::Name), lignes);
    const QImage apres = page.canvas_fond->grab().toImage();
    QTest::mouseClick(page.canvas_fond, Qt::LeftButton, {}, QPoint(500, 100));
    EXPECT_EQ(principale.bascules, (QList<QPair<std::int32_t, std::int32_t>>{
                                       {coquille::ecran_version, coquille::origine_page}}));
    // The name, version and date lines are the same; the status line goes.
    EXPECT_EQ(pendant.copy(0, 0, 640, 250), apres.copy(0, 0, 640, 250));
    EXPECT_NE(pendant.copy(0, 260, 640, 40), apres.copy(0, 260, 640, 40));
}

// Without a connection the web link says so and opens nothing.
TEST(PageAPropos, LienSansConnexion) {
    repondeur::garde garde;
    cp_apropos page;
    participants::lecteur_alertes alertes;
    alertes.attend();
    page.lien_web_Action();
    EXPECT_EQ(alertes.textes, QStringList{"Ceci exige une connexion Internet !"});
}

} // namespace
