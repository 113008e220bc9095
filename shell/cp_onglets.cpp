#include "cp_onglets.h"

#include "CustomTabPanelTabs.h"
#include "csp_contrat.h"
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "csp_version.h"
#include "parametres_v1.h"
#include "services_coquille.h"
#include "w_formation.h"

#include <QGuiApplication>
#include <QMenu>
#include <QStackedWidget>

#include <algorithm>
#include <iterator>

namespace {

// The tab screens in their order; panel i of pp_onglets shows the i-th.
const std::int32_t ecrans_onglets[] = {coquille::ecran_creer_unit, coquille::ecran_creer_plusieurs,
                                       coquille::ecran_contrat, coquille::ecran_version};

// The panel of a tab screen, or -1.
int panneau_de(std::int32_t ecran) {
    const auto trouve = std::find(std::begin(ecrans_onglets), std::end(ecrans_onglets), ecran);
    if (trouve == std::end(ecrans_onglets))
        return -1;
    return static_cast<int>(trouve - std::begin(ecrans_onglets));
}

} // namespace

cp_onglets::cp_onglets(QWidget* parent) : classe_page(parent) {
    setObjectName(QStringLiteral("cp_onglets"));
    setFixedSize(640, 430);
    bt_onglets = new CustomTabPanelTabs(this);
    bt_onglets->setObjectName(QStringLiteral("bt_onglets"));
    bt_onglets->setGeometry(2, 2, 636, 27);
    bt_onglets->setFacing(0);
    pp_onglets = new QStackedWidget(this);
    pp_onglets->setObjectName(QStringLiteral("pp_onglets"));
    pp_onglets->setGeometry(0, 30, 640, 400);
    connect(bt_onglets, &CustomTabPanelTabs::TabChanged, this, &cp_onglets::bt_onglets_TabChanged);
    connect(bt_onglets, &CustomTabPanelTabs::TabRemoved, this, &cp_onglets::bt_onglets_TabRemoved);
    connect(bt_onglets, &CustomTabPanelTabs::MenuCustomTabBrimlow, this,
            &cp_onglets::bt_onglets_MenuCustomTabBrimlow);
}

classe_page* cp_onglets::page_ecran(std::int32_t ecran) const {
    switch (ecran) {
    case coquille::ecran_creer_unit:
        return sp_creer_unit;
    case coquille::ecran_creer_plusieurs:
        return sp_creer_plusieurs;
    case coquille::ecran_contrat:
        return sp_contrat;
    case coquille::ecran_version:
        return sp_version;
    default:
        return nullptr;
    }
}

void cp_onglets::Open() {
    tableau_tous_titres.resize(coquille::ecran_version + 1);
    tableau_tous_titres[coquille::ecran_creer_unit] = QStringLiteral("Créer un code-barres");
    tableau_tous_titres[coquille::ecran_creer_plusieurs] =
        QStringLiteral("Créer un ensemble de code-barres");
    tableau_tous_titres[coquille::ecran_contrat] = QStringLiteral("Contrat de licence");
    tableau_tous_titres[coquille::ecran_version] = QStringLiteral("Version");
    for (std::int32_t ecran : ecrans_onglets) {
        auto* panneau = new QWidget(pp_onglets);
        pp_onglets->addWidget(panneau);
        panneaux.append(panneau);
        classe_page* page = nullptr;
        if (ecran == coquille::ecran_creer_unit)
            page = sp_creer_unit = new csp_creer_unit();
        else if (ecran == coquille::ecran_creer_plusieurs)
            page = sp_creer_plusieurs = new csp_creer_plusieurs();
        else if (ecran == coquille::ecran_contrat)
            page = sp_contrat = new csp_contrat();
        else
            page = sp_version = new csp_version();
        page->setParent(panneau);
        page->move(0, 0);
        page->show();
        page->Event_Open();
    }
    // The strip greys out while another application is in front. Our own
    // windows (the training window, a dialog) leave it live, so that the
    // first click on a tab after using them is not lost.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState etat) {
                if (etat == Qt::ApplicationActive)
                    Event_Activate();
                else
                    Event_Deactivate();
            });
}

void cp_onglets::Event_Activate() {
    bt_onglets->setEnabled(true);
}

void cp_onglets::Event_Deactivate() {
    bt_onglets->setEnabled(false);
}

void cp_onglets::montrer(std::int32_t page) {
    const int panneau = panneau_de(page);
    if (panneau < 0)
        return;
    qsizetype pos = tableau_contenus_courants.indexOf(page);
    if (pos < 0) {
        qsizetype k = tableau_contenus_courants.size() - 1;
        while (k >= 0 && tableau_contenus_courants.at(k) >= page)
            --k;
        pos = k + 1;
        tableau_contenus_courants.insert(pos, page);
        tableau_titres_courants.insert(pos, tableau_tous_titres.at(page));
        tab_changed_interne = true;
        bt_onglets->appendTab(QString());
        for (qsizetype i = 0; i < tableau_titres_courants.size(); ++i)
            bt_onglets->setCaption(static_cast<int>(i), tableau_titres_courants.at(i));
        maj_cases_fermetures();
    }
    if (bt_onglets->value() != pos) {
        tab_changed_interne = true;
        bt_onglets->setValue(static_cast<int>(pos));
    }
    if (page == coquille::ecran_creer_plusieurs && sp_creer_plusieurs)
        sp_creer_plusieurs->montrer();
    else if (page == coquille::ecran_version && sp_version)
        sp_version->montrer();
    pp_onglets->setCurrentIndex(panneau);
}

void cp_onglets::maj_cases_fermetures() {
    const int nombre = static_cast<int>(tableau_contenus_courants.size());
    if (nombre == 1)
        bt_onglets->setCloseBox(0, false);
    else
        for (int i = 0; i < nombre; ++i)
            bt_onglets->setCloseBox(i, true);
}

void cp_onglets::bt_onglets_TabChanged(int index) {
    if (tab_changed_interne) {
        tab_changed_interne = false;
        return;
    }
    if (index < 0 || index >= tableau_contenus_courants.size())
        return;
    if (coquille::fenetre_principale* principale = coquille::w_main())
        principale->montrer(tableau_contenus_courants.at(index), coquille::origine_page);
    w_formation::instance().maj(coquille::origine_page);
    if (QWidget* fenetre = window())
        fenetre->setFocus();
}

void cp_onglets::bt_onglets_TabRemoved(int index) {
    if (index < 0 || index >= tableau_contenus_courants.size())
        return;
    tableau_contenus_courants.removeAt(index);
    tableau_titres_courants.removeAt(index);
    maj_cases_fermetures();
    const int devant = bt_onglets->value();
    if (devant < 0 || devant >= tableau_contenus_courants.size())
        return;
    if (coquille::fenetre_principale* principale = coquille::w_main())
        principale->montrer(tableau_contenus_courants.at(devant), coquille::origine_page);
}

void cp_onglets::bt_onglets_MenuCustomTabBrimlow(int x, int y) {
    coquille::fenetre_principale* principale = coquille::w_main();
    const std::int32_t courant = principale ? principale->contenu_courant() : coquille::aucun_ecran;
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("menu_onglets"));
    for (std::int32_t ecran : ecrans_onglets) {
        QAction* ligne = menu.addAction(tableau_tous_titres.at(ecran));
        ligne->setData(ecran);
        ligne->setCheckable(true);
        ligne->setChecked(ecran == courant);
    }
    const QAction* choix = menu.exec(QPoint(x, y));
    if (choix && principale && choix->data().toInt() != courant)
        principale->montrer(choix->data().toInt(), coquille::origine_page);
}

void cp_onglets::import_export_parametres(const QString& genre, const QString& sens) {
    if (genre == u"init") {
        if (sens == u"import")
            parametres_v1::parametre_tableau_integer(tableau_contenus_session_precedante, sens,
                                                     QStringLiteral("onglets"),
                                                     QStringLiteral("contenu"), QString());
        else
            // Until the saved tabs are open again (a quit during the splash),
            // the open tabs are not yet the user's: the saved ones stay.
            parametres_v1::parametre_tableau_integer(
                onglets_rouverts ? tableau_contenus_courants : tableau_contenus_session_precedante,
                sens, QStringLiteral("onglets"), QStringLiteral("contenu"), QString());
    }
    if (sp_creer_unit)
        sp_creer_unit->import_export_parametres(genre, sens);
    if (sp_version)
        sp_version->import_export_parametres(genre, sens);
    if (sp_creer_plusieurs)
        sp_creer_plusieurs->import_export_parametres(genre, sens);
}

void cp_onglets::maj(const QString& genre) {
    if (genre != u"init")
        return;
    onglets_rouverts = true;
    if (tableau_contenus_session_precedante.isEmpty()) {
        montrer(coquille::ecran_creer_unit);
        montrer(coquille::ecran_creer_plusieurs);
    } else {
        for (std::int32_t ecran : tableau_contenus_session_precedante)
            montrer(ecran);
    }
}

bool cp_onglets::serie_en_cours() const {
    return sp_creer_plusieurs && sp_creer_plusieurs->travail_en_cours;
}

void cp_onglets::creer_serie(const QString& fichier) {
    if (!sp_creer_plusieurs)
        return;
    sp_creer_plusieurs->fi_lecture_officiel = fichier;
    sp_creer_plusieurs->creer_serie();
}
