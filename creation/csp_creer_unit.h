#pragma once

#include "classe_page.h"
#include "valdorin.h"

#include <QString>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class zone_texte;

// The tab page "Créer un code-barres" of the single barcode screen: one form
// that describes a press barcode, turned into one EPS or PDF file by "Créer
// un code-barres". Its fields are kept in the preferences and in state files
// under the section "unique". The page is built whole by its constructor; its
// owner then calls Event_Open() once, which registers the help and training
// texts.
class csp_creer_unit : public classe_page {
    Q_OBJECT

public:
    explicit csp_creer_unit(QWidget* parent = nullptr);
    ~csp_creer_unit() override;

    // Settings of section "unique": kind "init" (preferences) or "memo"
    // (state file), direction "import" or "export".
    void import_export_parametres(const QString& genre, const QString& sens);
    // The name proposed for a result file.
    QString compose_nom_fichier() const;
    // Called each time the page is shown; the form keeps what it holds.
    void montrer();
    // Checks the form and fills `tableau` (every entry but the output file
    // name; the comment only with a preview) and the engine's preview wish.
    // On a fault: a message, the focus on the faulty field, `tableau` and the
    // engine untouched, false.
    bool alimente_verifie_tableau(valdorin::tableau_code_barres& tableau);

    void popup_type_fichier_Open();
    void popup_type_fichier_Change();
    void popup_engraissement_Open();
    void popup_protection_Open();
    void popup_orientation_Open();
    void bt_creer_Action();
    void bt_enregistrer_Action();
    void cb_visualiser_Open();

    QGroupBox* GroupBox2;
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox3;
    QLabel* st_titre;
    QLabel* st_commentaire;
    QLabel* st_orientation;
    QLabel* st_protection;
    QLabel* st_engraissement;
    QLabel* st_type_fichier;
    QLabel* st_reglement;
    QLabel* st_prix;
    QLabel* st_entete_prix;
    QLabel* st_sous_parution;
    QLabel* st_parution;
    QLabel* st_code_produit;
    QLabel* st_transporteur;
    QLineEdit* ch_transporteur;
    QLineEdit* ch_code_produit;
    QLineEdit* ch_parution;
    QLineEdit* ch_entete_prix;
    QLineEdit* ch_prix;
    QLineEdit* ch_reglement;
    QComboBox* popup_type_fichier;
    QComboBox* popup_engraissement;
    QComboBox* popup_protection;
    QComboBox* popup_orientation;
    QComboBox* popup_previsu;
    zone_texte* ch_commentaire;
    // "Enregistrer un exemple de fichier de données": the example data file.
    QPushButton* bt_enregistrer;
    QPushButton* bt_creer;
    QCheckBox* cb_visualiser;
    QComboBox* popup_sous_parution;

    // The price text as whole cents: "12,34" gives "1234", "0,5" gives "50".
    static QString prix_en_centimes(const QString& prix);

protected:
    void formation_page(QString& message, QString& documentation) override;
    void formation_controles() override;

private:
    // The comment as the engine takes it: "\n" between lines.
    QString texte_commentaire() const;
    // Binds one filtered field; on import a stored text that the field would
    // refuse is not applied, and the field takes `defaut` as for a missing key.
    void parametre_champ_filtre(QLineEdit* champ, const QString& sens);
};
