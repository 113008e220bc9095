#include "controles_texte.h"

#include <QAccessible>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

// The rows of `image` that hold a pixel of `couleur`: first and last, or -1.
std::pair<int, int> lignes_encrees(const QImage& image, const QColor& couleur) {
    int premiere = -1, derniere = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == couleur) {
                if (premiere < 0)
                    premiere = y;
                derniere = y;
                break;
            }
    return {premiere, derniere};
}

int hauteur_mesuree(const QFont& fonte, int largeur, const QString& texte) {
    return QFontMetrics(fonte)
        .boundingRect(QRect(0, 0, largeur, INT_MAX / 2), Qt::TextWordWrap, texte)
        .height();
}

} // namespace

TEST(TexteCentre, OpensCentredAtSizeThirteenAndBottomForStBas) {
    st_centre centre;
    st_bas bas;
    EXPECT_EQ(centre.centrage_vertical, "center");
    EXPECT_EQ(centre.TextSize, 13);
    EXPECT_EQ(bas.centrage_vertical, "down");
    EXPECT_EQ(bas.TextSize, 13);
    EXPECT_EQ(centre.police().pixelSize(), 13);
}

TEST(TexteCentre, PlacesTheTextCentredOrAgainstTheBottom) {
    st_centre st;
    st.resize(300, 200);
    st.Text = "Un message";
    st.TextColor = QColor(255, 0, 0);
    const QFontMetrics mesures(st.police());
    const int h = hauteur_mesuree(st.police(), st.calcule_disposition().largeur_ligne, st.Text);

    st_centre::disposition d = st.calcule_disposition();
    EXPECT_EQ(d.hauteur_texte, h);
    EXPECT_EQ(d.ligne_base, (200 - h) / 2 + mesures.ascent());
    auto [haut, bas] = lignes_encrees(st.grab().toImage(), st.TextColor);
    EXPECT_GT(haut, 200 / 2 - h);
    EXPECT_LT(bas, 200 / 2 + h);

    st.centrage_vertical = "down";
    d = st.calcule_disposition();
    EXPECT_EQ(d.ligne_base - mesures.ascent() + h, 200) << "the last line touches the bottom";
    std::tie(haut, bas) = lignes_encrees(st.grab().toImage(), st.TextColor);
    EXPECT_GT(haut, 200 - h - 1);
    EXPECT_LT(bas, 200);

    st.marge = 10;
    d = st.calcule_disposition();
    EXPECT_EQ(d.ligne_base - mesures.ascent() + d.hauteur_texte, 190);
    EXPECT_EQ(st.height(), 200);
}

TEST(TexteCentre, ATextTallerThanTheControlStartsAtTheTop) {
    st_centre st;
    st.resize(100, 10);
    st.Text = "un deux trois quatre cinq six sept huit neuf dix";
    for (const char* centrage : {"center", "down"}) {
        st.centrage_vertical = centrage;
        EXPECT_EQ(st.calcule_disposition().ligne_base, QFontMetrics(st.police()).ascent());
    }
}

TEST(TexteCentre, TopPlacementFitsTheHeightToTheText) {
    st_centre st;
    st.resize(200, 300);
    st.centrage_vertical = "haut";
    st.marge = 6;
    st.Text = "Première ligne\rseconde ligne\r\ntroisième";
    st.grab();
    const int largeur = st.calcule_disposition().largeur_ligne;
    const int une_ligne = hauteur_mesuree(st.police(), largeur, "Une");
    const int trois_lignes =
        hauteur_mesuree(st.police(), largeur, "Première ligne\nseconde ligne\ntroisième");
    EXPECT_GE(trois_lignes, 3 * une_ligne - 2) << "each CR breaks a line";
    EXPECT_EQ(st.height(), trois_lignes + 12);
    EXPECT_EQ(st.calcule_disposition().ligne_base, 6 + QFontMetrics(st.police()).ascent());
    EXPECT_EQ(st.Text, "Première ligne\rseconde ligne\r\ntroisième") << "CR stays in the text";

    st.Text = "Une";
    st.grab();
    EXPECT_EQ(st.height(), une_ligne + 12) << "shrinks as well";
}

TEST(TexteCentre, SystemFontNarrowsTheWrapWidth) {
    st_centre st;
    st.resize(210, 50);
    st.marge = 5;
    EXPECT_EQ(st.calcule_disposition().largeur_ligne, static_cast<int>(200 * 0.98));
    st.Bold = true;
    EXPECT_EQ(st.calcule_disposition().largeur_ligne, static_cast<int>(200 * 0.96));
    st.TextFont = "DejaVu Sans";
    EXPECT_EQ(st.calcule_disposition().largeur_ligne, 200);
}

// The space before ":", ";", "!" and "?" never breaks a line: an alert's
// "!" stays with its last word. Only the drawing changes, never the text.
TEST(TexteCentre, TheSignAfterAFrenchSpaceStaysWithItsWord) {
    const QString n = "\u00A0";
    const struct {
        QString texte, dessine;
    } cas[] = {
        {"enregistré !", "enregistré" + n + "!"},
        {"Quoi ? Ceci : a ; b", "Quoi" + n + "? Ceci" + n + ": a" + n + "; b"},
        {"deux  !", "deux" + n + n + "!"},
        {"déjà" + n + "!", "déjà" + n + "!"},
        {"collé! début\r! seul", "collé! début\r! seul"},
        {"http://serveur/version.html?cp=a", "http://serveur/version.html?cp=a"},
    };
    for (const auto& c : cas)
        EXPECT_EQ(signes_lies(c.texte), c.dessine) << c.texte.toStdString();

    // Wide enough for the sentence without its " !": drawn with a plain
    // space, the "!" would make a line of its own.
    const QString alerte = "L'état du logiciel a été correctement enregistré !";
    st_centre st;
    st.TextFont = "DejaVu Sans";
    st.centrage_vertical = "haut";
    st.TextColor = QColor(255, 0, 0);
    const QFontMetrics mesures(st.police());
    st.resize(mesures.horizontalAdvance(alerte.chopped(2)) + 2, 100);
    ASSERT_GT(mesures.horizontalAdvance(alerte), st.calcule_disposition().largeur_ligne);
    st.Text = alerte;
    const QImage image = st.grab().toImage();
    EXPECT_EQ(st.Text, alerte);
    // The last line, between its x-height and its baseline: how wide its ink.
    const int base = st.calcule_disposition().hauteur_texte - mesures.descent();
    int gauche = image.width(), droite = -1;
    for (int y = base - mesures.xHeight(); y < base; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == st.TextColor) {
                gauche = std::min(gauche, x);
                droite = std::max(droite, x);
            }
    EXPECT_GT(st.calcule_disposition().hauteur_texte, mesures.height()) << "two lines";
    EXPECT_GT(droite - gauche, 3 * mesures.horizontalAdvance("!")) << "not a lone \"!\"";
}

TEST(TexteCentre, AnEmptyTextPaintsOnlyTheBackground) {
    st_centre st;
    st.resize(40, 30);
    st.BackColor = QColor(242, 242, 242);
    const QImage image = st.grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixelColor(x, y), st.BackColor);
}

TEST(Jauge, ShowsTheIntegerPartOfThePercentage) {
    QProgressBar pb;
    st_jauge jauge;
    pb.setRange(0, 100);
    const std::pair<int, const char*> cas[] = {
        {0, "0 %"}, {29, "29 %"}, {57, "57 %"}, {58, "58 %"}, {100, "100 %"}};
    for (const auto& [valeur, texte] : cas) {
        pb.setValue(valeur);
        jauge.affiche_pourcentage(pb);
        EXPECT_EQ(jauge.text(), texte);
    }
    pb.setRange(0, 3);
    for (const auto& [valeur, texte] : {std::pair{1, "33 %"}, {2, "66 %"}, {3, "100 %"}}) {
        pb.setValue(valeur);
        jauge.affiche_pourcentage(pb);
        EXPECT_EQ(jauge.text(), texte);
    }
}

TEST(Jauge, NeverDividesByZeroNorShowsANegativePercentage) {
    QProgressBar pb;
    st_jauge jauge;
    pb.setRange(0, 0);
    jauge.affiche_pourcentage(pb);
    EXPECT_EQ(jauge.text(), "0 %");
    pb.setRange(0, 10);
    pb.reset(); // value below the minimum
    ASSERT_LT(pb.value(), 0);
    jauge.affiche_pourcentage(pb);
    EXPECT_EQ(jauge.text(), "0 %");
    pb.setRange(-10, -5);
    pb.setValue(-7);
    jauge.affiche_pourcentage(pb);
    EXPECT_EQ(jauge.text(), "0 %");
}

TEST(Lien, LooksLikeALink) {
    st_lien lien;
    EXPECT_EQ(lien.TextColor(), QColor(38, 38, 38));
    EXPECT_TRUE(lien.font().bold());
    EXPECT_TRUE(lien.font().underline());
    EXPECT_EQ(lien.font().pixelSize(), 13);
}

TEST(Lien, ActsOnAClickReleasedOverIt) {
    st_lien lien;
    lien.setText("Documentation");
    lien.resize(100, 20);
    QSignalSpy actions(&lien, &st_lien::Action);

    QTest::mousePress(&lien, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(lien.TextColor(), QColor(120, 0, 0));
    QTest::mouseRelease(&lien, Qt::LeftButton, {}, QPoint(12, 11));
    EXPECT_EQ(actions.count(), 1);
    EXPECT_EQ(lien.TextColor(), QColor(38, 38, 38));

    // The edges count as inside.
    QTest::mousePress(&lien, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseRelease(&lien, Qt::LeftButton, {}, QPoint(100, 20));
    EXPECT_EQ(actions.count(), 2);

    // Pressed, dragged out and released: grey again and nothing raised.
    QTest::mousePress(&lien, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseMove(&lien, QPoint(150, 10));
    QTest::mouseRelease(&lien, Qt::LeftButton, {}, QPoint(150, 10));
    QTest::mousePress(&lien, Qt::LeftButton, {}, QPoint(50, 10));
    QTest::mouseRelease(&lien, Qt::LeftButton, {}, QPoint(50, 21));
    EXPECT_EQ(actions.count(), 2);
    EXPECT_EQ(lien.TextColor(), QColor(38, 38, 38));
    EXPECT_EQ(lien.cursor().shape(), Qt::ArrowCursor);
}

// Tab reaches an enabled link, which then shows a frame in the focus colour
// (none when a click gave it the focus) and acts once on each Space (pressed,
// then released) and Return, as on a click; Tab passes a disabled link over.
TEST(Lien, TakesTheFocusByTabAndActsOnSpaceAndReturnAsOnAClick) {
    for (const bool actif : {true, false}) {
        QWidget fenetre;
        auto* avant = new QPushButton("Avant", &fenetre);
        auto* lien = new st_lien(&fenetre);
        lien->setGeometry(0, 30, 120, 20);
        lien->setText("Documentation");
        lien->setEnabled(actif);
        QWidget* apres = new QPushButton("Après", &fenetre);
        apres->move(0, 60);
        fenetre.show();
        fenetre.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&fenetre));
        const auto cadre = [lien] {
            return lignes_encrees(lien->grab().toImage(),
                                  lien->palette().color(QPalette::Highlight))
                       .first >= 0;
        };
        avant->setFocus();
        QTest::keyClick(avant, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), actif ? lien : apres) << actif;
        if (!actif)
            continue;
        EXPECT_TRUE(cadre());
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(lien)->state().focusable);
        QSignalSpy actions(lien, &st_lien::Action);
        QTest::keyPress(lien, Qt::Key_Space);
        EXPECT_EQ(lien->TextColor(), QColor(120, 0, 0)) << "pressed, not yet acting";
        EXPECT_EQ(actions.count(), 0);
        QTest::keyRelease(lien, Qt::Key_Space);
        QTest::keyClick(lien, Qt::Key_Return);
        QTest::keyClick(lien, Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_EQ(actions.count(), 3);
        EXPECT_EQ(lien->TextColor(), QColor(38, 38, 38));
        apres->setFocus();
        QTest::mouseClick(lien, Qt::LeftButton, {}, QPoint(10, 10));
        EXPECT_FALSE(cadre());
    }
}

TEST(Lien, PointsWithAFingerWhileEnabled) {
    st_lien lien;
    lien.resize(100, 20);
    QEnterEvent entree(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QEvent sortie(QEvent::Leave);
    QCoreApplication::sendEvent(&lien, &entree);
    EXPECT_EQ(lien.cursor().shape(), Qt::PointingHandCursor);
    QCoreApplication::sendEvent(&lien, &sortie);
    EXPECT_EQ(lien.cursor().shape(), Qt::ArrowCursor);
    lien.setEnabled(false);
    QCoreApplication::sendEvent(&lien, &entree);
    EXPECT_EQ(lien.cursor().shape(), Qt::ArrowCursor);
}

// st_bas is read as the st_centre it derives from.
TEST(TextesAccessibles, APaintedTextIsReadAsWhatItShowsAndALinkIsPressed) {
    st_centre centre;
    centre.Text = "Fichier enregistré !\rC'est fait.";
    QAccessibleInterface* lu = QAccessible::queryAccessibleInterface(&centre);
    EXPECT_EQ(lu->role(), QAccessible::StaticText);
    EXPECT_EQ(lu->text(QAccessible::Name), "Fichier enregistré !\nC'est fait.");
    st_lien lien;
    lien.setText("En savoir plus");
    int actions = 0;
    QObject::connect(&lien, &st_lien::Action, [&actions] { ++actions; });
    lu = QAccessible::queryAccessibleInterface(&lien);
    EXPECT_EQ(lu->role(), QAccessible::Link);
    EXPECT_EQ(lu->text(QAccessible::Name), "En savoir plus");
    lu->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(actions, 1);
}
