#pragma once

// Small real participants standing for the application shell in the tests of
// the common services: an application object with its context-help menu item,
// and a main window that binds a few settings and passes the request on to a
// page with named controls.

#include "bibliotheque_v1.h"
#include "fenetre_essai.h"
#include "parametres_v1.h"
#include "rapports.h"
#include "services_coquille.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

#include <stdexcept>

namespace participants {

// A page of the single-barcode kind: a few controls of each binder's kind.
class page_unique : public QWidget {
public:
    page_unique() {
        ch_prix->setObjectName("ch_prix");
        ch_commentaire->setObjectName("ch_commentaire");
        popup_type_fichier->setObjectName("popup_type_fichier");
        popup_type_fichier->addItems({"EPS", "PDF"});
        popup_engraissement->setObjectName("popup_engraissement");
        popup_engraissement->addItems({"0", "1", "2", "3", "4"});
        cb_visualiser->setObjectName("cb_visualiser");
    }

    void import_export_parametres(const QString& genre, const QString& sens) {
        if (genre != "init" && genre != "memo")
            return;
        parametres_v1::parametre_editfield(ch_prix, sens, "unique", "");
        parametres_v1::parametre_editfield(ch_commentaire, sens, "unique", "");
        parametres_v1::parametre_popup(popup_type_fichier, sens, "unique", -1);
        parametres_v1::parametre_popup(popup_engraissement, sens, "unique", -1);
        parametres_v1::parametre_checkbox(cb_visualiser, sens, "unique", false);
    }

    QLineEdit* ch_prix = new QLineEdit(this);
    QPlainTextEdit* ch_commentaire = new QPlainTextEdit(this);
    QComboBox* popup_type_fichier = new QComboBox(this);
    QComboBox* popup_engraissement = new QComboBox(this);
    QCheckBox* cb_visualiser = new QCheckBox(this);
};

// The main window: its own settings for "init", then its page.
class fenetre : public test_support::fenetre_essai {
public:
    void import_export_parametres(const QString& genre, const QString& sens) override {
        passages.append(genre + "/" + sens);
        if (genre == "init") {
            parametres_v1::parametre_integer(contenu, sens, "main", "contenu", 0);
            parametres_v1::parametre_tableau_integer(onglets, sens, "onglets", "contenu", "");
            parametres_v1::parametre_double(derniere_version, sens, "version",
                                            "derniere_version_disponible_observee", 0);
            if (echoue)
                throw std::runtime_error("page unreachable");
        }
        page.import_export_parametres(genre, sens);
    }

    std::int32_t contenu = 0;
    QList<std::int32_t> onglets;
    double derniere_version = 0;
    bool echoue = false;
    QStringList passages;
    page_unique page;
};

// The application object: the context-help switch of the Help menu, for "init".
class application : public coquille::application {
public:
    application() {
        menu_aide_contextuelle.setCheckable(true);
        coquille::installe_App(this);
    }
    ~application() override { coquille::installe_App(nullptr); }

    void import_export_specifiques(const QString& genre, const QString& sens) override {
        passages.append(genre + "/" + sens);
        if (genre != "init")
            return;
        bool aide = false;
        if (sens == "export")
            aide = menu_aide_contextuelle.isChecked();
        parametres_v1::parametre_boolean(aide, sens, "globale", "aide", false);
        if (sens == "import")
            menu_aide_contextuelle.setChecked(aide);
    }

    QAction menu_aide_contextuelle;
    QStringList passages;
};

// Collects the silent debug reports while it lives.
using rapports = test_support::rapports;

} // namespace participants
