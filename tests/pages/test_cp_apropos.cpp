#include "apropos.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "cp_apropos.h"
#include "fenetre_essai.h"
#include "participants_fichiers.h"
#include "repondeur.h"

#include <QAccessible>
#include <QList>
#include <QPair>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

// A click during the splash ends it; after it, a click goes back to the last
// tab screen. The status line shows only while the splash runs.
TEST(PageAPropos, ClicEtLigneDeLancement) {
    // The main window: the splash runs, and the version screen is the last
    // tab screen.
    test_support::fenetre_essai principale;
    principale.lancement = true;
    principale.onglet_precedent = coquille::ecran_version;
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
    EXPECT_FALSE(principale.lancement);
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
