#pragma once

#include "classe_page.h"

#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;
class st_centre;
class st_lien;

// The welcome page: greets the user, explains the two ways of working and
// lets the user choose one, self-training (with the training window) or
// expert mode. Its box "ne pas afficher au démarrage", kept in the
// preferences, skips it at start-up; the training window holds a copy of it.
class cp_accueil : public classe_page {
    Q_OBJECT
public:
    explicit cp_accueil(QWidget* parent = nullptr);

    // 0 choose a mode, 1 self-training chosen, 2 expert mode chosen.
    std::int32_t stade = 0;

    // Switches to the expert text, or to the training text.
    void selectionne_expert();
    void selectionne_formation();
    void selectionne_init();
    // Binds the start-up box (kind "init").
    void import_export_parametres(const QString& genre, const QString& sens);

    // The page text of the training window, also the message of "OK" in
    // self-training.
    static const QString texte_page;

    QPushButton* bt_formation;
    st_centre* st_message;
    QLabel* st_titre;
    QCheckBox* bt_lancement;
    QPushButton* bt_expert;
    QPushButton* bt_ok;
    st_lien* lien_maj;

protected:
    void formation_page(QString& message, QString& documentation) override;
    void Open() override;
    void showEvent(QShowEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    void selectionne(std::int32_t nouveau_stade);
    void bt_formation_Action();
    void bt_expert_Action();
    void bt_ok_Action();
    void lien_maj_Action();
    void bt_lancement_Action();
    void st_message_Open();
    void Event_Activate();
};
