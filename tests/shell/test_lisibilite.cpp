// Every text of the application's windows reads on a dark desktop: the
// windows keep the application's light colours whatever the desktop's
// palette, for their own controls and Qt's alike.

#include "app.h"
#include "cp_onglets.h"
#include "csp_creer_unit.h"
#include "lisibilite.h"
#include "menu_operateur.h"
#include "parametres_v1.h"
#include "repondeur.h"
#include "w_alerte.h"
#include "w_formation.h"
#include "w_main.h"
#include "w_previsu_table.h"
#include "w_web.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyleHints>
#include <QToolTip>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <functional>

namespace {

using test_support::texte_dessine;

class Lisibilite : public testing::Test {
protected:
    void SetUp() override {
        parametres_v1::niveau_version_preferences = 0;
        QApplication::setPalette(test_support::palette_sombre());
    }
    void TearDown() override {
        w_formation::instance().cacher();
        w_main::detruit();
        QApplication::setPalette(claire);
    }

    // The application started, its splash over.
    static w_main& demarre() {
        App()->Event_Open();
        EXPECT_TRUE(
            QTest::qWaitFor([] { return !w_main::instance().thread_lancement.isActive(); }, 10000));
        return w_main::instance();
    }

    // The texts of the modal window that `ouvre` shows, then closed by
    // `ferme`.
    static QList<texte_dessine> textes_modale(const std::function<void()>& ouvre,
                                              const std::function<void(QWidget*)>& ferme) {
        QList<texte_dessine> textes;
        repondeur::quand_visible([&](QWidget* fenetre) {
            textes = test_support::textes_avec_listes_et_menus(fenetre);
            ferme(fenetre);
        });
        ouvre();
        return textes;
    }

    // Shows each screen of `fenetre` in turn, and runs `action` on it.
    static void chaque_ecran(w_main& fenetre, const std::function<void()>& action) {
        for (const std::int32_t ecran : w_main::numeros_ecrans()) {
            if (!fenetre.page(ecran))
                continue;
            fenetre.montrer(ecran, coquille::origine_page);
            action();
        }
    }

    // The tool tip shown over `controle`, or nullptr.
    static QWidget* bulle_sur(QWidget* controle) {
        QToolTip::showText(controle->mapToGlobal(QPoint(2, 2)), "Le transporteur", controle);
        for (QWidget* bulle : QApplication::topLevelWidgets())
            if (bulle->inherits("QTipLabel") && bulle->isVisible())
                return bulle;
        return nullptr;
    }

    static QStringList textes(const QList<texte_dessine>& mesures) {
        QStringList resultat;
        for (const texte_dessine& t : mesures)
            resultat.append(t.texte);
        return resultat;
    }

    const QPalette claire = QApplication::palette();
    repondeur::garde garde;
};

} // namespace

TEST_F(Lisibilite, EveryScreenReadsOnADarkDesktop) {
    w_main& fenetre = demarre();
    QList<texte_dessine> mesures;
    chaque_ecran(fenetre,
                 [&] { mesures.append(test_support::textes_avec_listes_et_menus(&fenetre)); });
    // The single page's PDF settings, and a tool tip over one of its fields.
    fenetre.montrer(coquille::ecran_creer_unit, coquille::origine_page);
    csp_creer_unit* unit = fenetre.p_onglets->sp_creer_unit;
    unit->popup_type_fichier->setCurrentIndex(unit->popup_type_fichier->findText("PDF"));
    mesures.append(test_support::textes_dessines(&fenetre));
    QWidget* bulle = bulle_sur(unit->ch_transporteur);
    ASSERT_TRUE(bulle);
    mesures.append(test_support::textes_dessines(bulle));
    QToolTip::hideText();

    // The captions that went light on a dark desktop are among the texts
    // measured.
    const QStringList lus = textes(mesures);
    for (const char* legende : {"Transporteur",
                                "Code produit",
                                "N° de parution",
                                "Prix en euros",
                                "Mode de règlement",
                                "Informations mémorisées par le code-barres et/ou sa légende",
                                "Mise en page",
                                "Type de fichier",
                                "Protection",
                                "Orientation",
                                "Commentaire",
                                "Visualiser après création",
                                "Délimiteur",
                                "Codage",
                                "Prévisualiser",
                                "Fichier de données",
                                "Les placer",
                                "Extension des fichiers eps",
                                "Fenêtre d'écran",
                                "Fichier de rapport",
                                "ne pas afficher au démarrage",
                                "sans protection, en surimpression",
                                "Quitter",
                                "Le transporteur"})
        EXPECT_TRUE(lus.contains(QString::fromUtf8(legende))) << legende;
    const QStringList fautes = test_support::peu_lisibles(mesures);
    EXPECT_TRUE(fautes.isEmpty()) << fautes.join('\n').toStdString();
}

// The screens keep the colours they have on a light desktop. (The palette
// of the desktop reaches the windows as they are made: the tests run no
// event loop of the application's own, which would pass a change on.)
TEST_F(Lisibilite, TheScreensDrawOnADarkDesktopAsOnALightOne) {
    // The text cursor of a field shows without blinking.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    const auto dessins = [] {
        w_main& fenetre = demarre();
        QList<QImage> images;
        chaque_ecran(fenetre, [&] { images.append(fenetre.grab().toImage()); });
        fenetre.montrer(coquille::ecran_creer_unit, coquille::origine_page);
        QComboBox* popup = fenetre.p_onglets->sp_creer_unit->popup_protection;
        popup->showPopup();
        images.append(popup->view()->window()->grab().toImage());
        popup->hidePopup();
        QMenu* menu = menu_operateur::instance().menu("menu_fichier");
        menu->popup(fenetre.mapToGlobal(QPoint(10, 30)));
        images.append(menu->grab().toImage());
        menu->hide();
        if (QWidget* bulle = bulle_sur(fenetre.p_onglets->sp_creer_unit->ch_transporteur))
            images.append(bulle->grab().toImage());
        QToolTip::hideText();
        w_main::detruit();
        return images;
    };
    const QList<QImage> sur_sombre = dessins();
    QApplication::setPalette(claire);
    const QList<QImage> sur_clair = dessins();
    ASSERT_EQ(sur_sombre.size(), sur_clair.size());
    for (qsizetype i = 0; i < sur_clair.size(); ++i)
        EXPECT_TRUE(sur_sombre.at(i) == sur_clair.at(i)) << "image " << i;
}

TEST_F(Lisibilite, TheSecondaryWindowsReadOnADarkDesktop) {
    demarre();
    w_formation& formation = w_formation::instance();
    formation.montrer();
    QList<texte_dessine> mesures = test_support::textes_avec_listes_et_menus(&formation);
    formation.cacher();
    w_web& connexion = w_web::instance();
    connexion.montrer_amodale(1);
    mesures.append(test_support::textes_dessines(&connexion));
    connexion.hide();

    w_alerte& alerte = w_alerte::instance();
    mesures.append(textes_modale(
        [&] { alerte.message("L'état du logiciel a été correctement enregistré !", "essai"); },
        [&](QWidget*) { alerte.bt_un->click(); }));
    QString valeur = "ma valeur";
    mesures.append(textes_modale([&] { alerte.saisie_texte("Votre texte :", valeur); },
                                 [&](QWidget*) { alerte.bt_un->click(); }));

    w_previsu_table& previsu = w_previsu_table::instance();
    mesures.append(textes_modale(
        [&] {
            previsu.afficher_questionner({"MLP\t12345\t678\t1", "NMPP\t54321\t12\t0"}, 4, nullptr);
        },
        [&](QWidget*) { previsu.bt_annuler->click(); }));

    const QStringList lus = textes(mesures);
    for (const char* texte :
         {"Que souhaitez-vous faire ?", "Créer un code-barres", "ne pas afficher au démarrage",
          "L'état du logiciel a été correctement enregistré !", "ne plus afficher", "ma valeur",
          "Prévisualisation d'un fichier de données", "MLP", "54321", "colonnes affichées",
          "Créer les code-barres",
          "Essai de connection Internet en cours\u00A0! Merci de patienter\u00A0!"})
        EXPECT_TRUE(lus.contains(QString::fromUtf8(texte))) << texte;
    const QStringList fautes = test_support::peu_lisibles(mesures);
    EXPECT_TRUE(fautes.isEmpty()) << fautes.join('\n').toStdString();
}
