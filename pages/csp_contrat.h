#pragma once

#include "classe_page.h"

class QLabel;
class zone_texte;

// The agreement page: the general terms of the user agreement, in French,
// in a scrolling text field under a title. The field may be edited; what the
// user types stays until the program quits and is never saved.
class csp_contrat : public classe_page {
    Q_OBJECT
public:
    explicit csp_contrat(QWidget* parent = nullptr);

    QLabel* st_titre;
    zone_texte* ch_contrat;

protected:
    void formation_page(QString& message, QString& documentation) override;
    void Open() override;

private:
    void ch_contrat_Open();
};
