#pragma once

#include "classe_page.h"

#include <QList>
#include <QStringList>

#include <cstdint>

class CustomTabPanelTabs;
class QStackedWidget;
class csp_contrat;
class csp_creer_plusieurs;
class csp_creer_unit;
class csp_version;

// The tab container of the main window: the pages of the single barcode,
// batch, agreement and version screens under one tab strip. The pages
// are made once and live for the whole run; closing a tab only takes it off
// the strip. The open tabs are kept in ascending screen order, saved in the
// preferences and reopened at the next start.
class cp_onglets : public classe_page {
    Q_OBJECT
public:
    explicit cp_onglets(QWidget* parent = nullptr);

    CustomTabPanelTabs* bt_onglets;
    QStackedWidget* pp_onglets;

    // Screen numbers of the open tabs, ascending; entry i is tab i.
    QList<std::int32_t> tableau_contenus_courants;
    // Captions of the open tabs, parallel to the previous list.
    QStringList tableau_titres_courants;
    // The four tab pages, made by Open for the whole run.
    csp_version* sp_version = nullptr;
    csp_creer_unit* sp_creer_unit = nullptr;
    csp_contrat* sp_contrat = nullptr;
    // Set just before the container itself makes the strip change its front
    // tab; the strip's event then clears it and does nothing else.
    bool tab_changed_interne = false;
    // The open tabs read from the preferences, in stored order.
    QList<std::int32_t> tableau_contenus_session_precedante;
    // Title of each tab screen, by screen number ("" for a number that names
    // no tab screen).
    QStringList tableau_tous_titres;
    csp_creer_plusieurs* sp_creer_plusieurs = nullptr;

    void bt_onglets_Open() {}
    void bt_onglets_TabChanged(int index);
    void bt_onglets_TabRemoved(int index);
    void bt_onglets_MenuCustomTabBrimlow(int x, int y);
    // The application came to the front, or another one did.
    void Event_Activate();
    void Event_Deactivate();

    // Opens the tab of a tab screen when it is closed, brings it to the front,
    // runs the page's show hook and shows the page.
    void montrer(std::int32_t page);
    void maj_cases_fermetures();
    void import_export_parametres(const QString& genre, const QString& sens);
    // "init": reopens the saved tabs, or the single barcode and batch tabs on a
    // first start.
    void maj(const QString& genre);

    // The batch page's run: whether one is in progress, and the start of a
    // run on `fichier`.
    bool serie_en_cours() const;
    void creer_serie(const QString& fichier);

    // The page of a tab screen, or nullptr.
    classe_page* page_ecran(std::int32_t ecran) const;

protected:
    void Open() override;

private:
    QList<QWidget*> panneaux;
    // The saved tabs were opened again ("init"); until then, saving the
    // preferences writes back the list that was read.
    bool onglets_rouverts = false;
};
