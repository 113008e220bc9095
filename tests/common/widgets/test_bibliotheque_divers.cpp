#include "bibliotheque_divers.h"
#include "services_guidage.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QUrl>
#include <QWidget>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

TEST(BibliothequeDivers, ServerAddressIsHttpOrHttpsEndingWithASlash) {
    const QUrl adresse(bibliotheque_v1::www_serveur());
    EXPECT_TRUE(adresse.isValid());
    EXPECT_TRUE(adresse.scheme() == "http" || adresse.scheme() == "https")
        << adresse.scheme().toStdString();
    EXPECT_TRUE(bibliotheque_v1::www_serveur().endsWith('/'));
#ifndef VALDORIN_WWW_SERVEUR_REEL
    // The default build never points at anyone's real server.
    EXPECT_TRUE(adresse.host().endsWith(".invalid"));
#endif
}

TEST(BibliothequeDivers, NetworkFollowsTheConnectionTest) {
    struct connexion : guidage::test_connexion {
        bool reponse = false;
        int appels = 0;
        bool test() override {
            ++appels;
            return reponse;
        }
    } test;
    EXPECT_FALSE(bibliotheque_v1::web_disponible()); // no test installed
    guidage::installe_w_web(&test);
    EXPECT_FALSE(bibliotheque_v1::web_disponible());
    test.reponse = true;
    EXPECT_TRUE(bibliotheque_v1::web_disponible());
    EXPECT_EQ(test.appels, 2);
    guidage::installe_w_web(nullptr);
}

TEST(BibliothequeDivers, NoBeepOrPauseForZeroOrLess) {
    // A beep is followed by a 300 ms pause, so each of these calls, which
    // should neither beep nor pause longer than a millisecond, must return
    // well within that, even on a loaded machine.
    const struct {
        const char* appel;
        std::function<void()> faire;
    } cas[] = {
        {"bip(0)", [] { bibliotheque_v1::bip(0); }},
        {"bip(-3)", [] { bibliotheque_v1::bip(-3); }},
        {"tempo_secondes(0)", [] { bibliotheque_v1::tempo_secondes(0); }},
        {"tempo_secondes(-2.5)", [] { bibliotheque_v1::tempo_secondes(-2.5); }},
        {"tempo_secondes(NaN)", [] { bibliotheque_v1::tempo_secondes(std::nan("")); }},
        {"tempo_secondes(0.0004)", [] { bibliotheque_v1::tempo_secondes(0.0004); }},
        {"tempo_secondes(0.001)", [] { bibliotheque_v1::tempo_secondes(0.001); }},
    };
    for (const auto& c : cas) {
        QElapsedTimer chrono;
        chrono.start();
        c.faire();
        EXPECT_LT(chrono.elapsed(), 150) << c.appel;
    }
}

TEST(BibliothequeDivers, FrameRoundAControlOfAWindow) {
    QWidget fenetre;
    fenetre.resize(200, 120);
    QWidget groupe(&fenetre);
    groupe.setGeometry(5, 5, 190, 110);
    QPushButton bouton(&groupe);
    bouton.setGeometry(5, 25, 80, 20); // (10, 30) in the window
    QComboBox menu(&fenetre);
    menu.setGeometry(100, 60, 60, 20);
    QSpinBox fleches(&fenetre);
    fleches.setGeometry(100, 90, 40, 20);

    auto cadre = bibliotheque_v1::cadre_controle(&bouton, &fenetre, 0);
    EXPECT_EQ(cadre.rectangle, QRect(6, 26, 88, 28));
    EXPECT_EQ(cadre.arc, 28);
    EXPECT_EQ(bibliotheque_v1::cadre_controle(&menu, &fenetre, 10).rectangle,
              QRect(96, 46, 68, 28));
    EXPECT_EQ(bibliotheque_v1::cadre_controle(&menu, &fenetre, 0).arc, 4);
    EXPECT_EQ(bibliotheque_v1::cadre_controle(&fleches, &fenetre, 0).arc, 0);

    QImage image(200, 120, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter g(&image);
        bibliotheque_v1::encadre_controle(g, &bouton, 0);
        bibliotheque_v1::encadre_controle(g, &fleches, 0);
        bibliotheque_v1::encadre_controle(g, nullptr, 0);
    }
    const QRgb rouge = 0x7F0000;
    EXPECT_EQ(image.pixel(50, 27) & 0xFFFFFF, rouge);
    EXPECT_EQ(image.pixel(50, 52) & 0xFFFFFF, rouge);
    EXPECT_EQ(image.pixel(50, 40) & 0xFFFFFF, 0xFFFFFFu); // inside: not filled
    EXPECT_EQ(image.pixel(6, 26) & 0xFFFFFF, 0xFFFFFFu);  // round end
    EXPECT_EQ(image.pixel(96, 86) & 0xFFFFFF, rouge);     // square corner
}
