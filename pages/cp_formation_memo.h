#pragma once

#include "classe_page.h"

class QLabel;
class QPushButton;
class st_centre;
class st_lien;

// The state page: explains what a saved state is, saves the state of the
// forms to a state file or restores it from one, and leads back to the last
// tab screen.
class cp_formation_memo : public classe_page {
    Q_OBJECT
public:
    explicit cp_formation_memo(QWidget* parent = nullptr);

    QLabel* st_titre;
    st_centre* st_message;
    QPushButton* bt_enregistrer;
    QPushButton* bt_restaurer;
    st_lien* lien_revenir;

protected:
    void formation_page(QString& message, QString& documentation) override;

private:
    void st_message_Open();
    void bt_enregistrer_Action();
    void bt_restaurer_Action();
    void lien_revenir_Action();
};
