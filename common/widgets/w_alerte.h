#pragma once

#include "w_secondaire.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class QCheckBox;
class QLabel;
class QPushButton;
class editfield_numerique;
class st_bas;
class st_centre;
class st_lien;
class zone_texte;

// The one dialog through which the application speaks to the user: a message,
// an OK/cancel question, a button-and-link proposal, a choice among two or
// three buttons, the entry of a text or of a number. Each operation lays out
// the bottom row for its purpose, shows the window modally centred over the
// main window and returns when a button or the link closed it.
//
// Escape and the close box stand for the last, cancelling button: false for
// the questions and entries, "" for the button-and-link proposal, the last
// caption shown for the choice.
//
// A keyed dialog shows "ne plus afficher": ticked, the dialog is not shown
// again during the run and its call gives back the answer given with the box.
class w_alerte : public w_secondaire {
    Q_OBJECT
public:
    // The one instance, created on first use.
    static w_alerte& instance();

    // Shows `texte` with "OK".
    void message(const QString& texte, const QString& clef);
    // "OK" and "Annuler": true for "OK".
    bool proposition_ok_annuler(const QString& texte, const QString& clef);
    // One button and one link: the caption of the one that closed the dialog, else "".
    QString proposition_bouton_lien(const QString& texte, const QString& bouton,
                                    const QString& lien, const QString& clef);
    // Two or three buttons (the third when `legende3` is not ""): the caption pressed.
    QString proposition_multi_boutons(const QString& texte, const QString& legende1,
                                      const QString& legende2, const QString& legende3);
    // Text entry: true for "OK", and then `valeur` is the field's text.
    bool saisie_texte(const QString& invite, QString& valeur);
    // Number entry: true for "OK", and then `valeur_texte` is the field's text
    // and `valeur` its number (a decimal comma read as a point).
    bool saisie_nombre(const QString& invite, double& valeur, QString& valeur_texte);

    // Keys of the dialogs the user asked not to see again, for the run.
    QStringList clefs_consigne;
    // Key of the keyed dialog now or last shown.
    QString clef_consigne_courante;
    int largeur_initiale_fenetre = 0;
    // The bottom row as placed for the current dialog, rightmost first.
    QList<QWidget*> controles;
    // 1-based place in `controles` of the control that closed the dialog; 0 = none.
    int retour_operateur = 0;

    QPushButton* bt_un;
    QPushButton* bt_deux;
    QPushButton* bt_trois;
    QCheckBox* cb_ne_plus;
    st_lien* lien_un;
    QLabel* canvas_logo;
    st_centre* st_message_centre;
    st_bas* st_message_bas;
    zone_texte* ch_texte;
    editfield_numerique* ch_nombre;

    void bt_un_Action();
    void bt_deux_Action();
    void bt_trois_Action();
    void cb_ne_plus_Action();
    void lien_un_Action();

    void setVisible(bool visible) override;

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    // `memoire` keeps the suppression keys: the instance itself, or the
    // instance on screen for a dialog opened over it.
    explicit w_alerte(w_alerte* memoire);

    void initialise_boutons();
    void ajoute_controle(QWidget* controle, const QString& legende);
    void validation(QWidget* controle);
    // Prepares a dialog that may carry a key (not a suppressed one).
    void prepare_consigne(const QString& clef);
    // Keeps the answer given with a ticked box.
    void retient_reponse(const QString& clef);
    void montre(const QString& texte);

    // The places that an entry changes, to put back afterwards.
    struct place_entree {
        int haut_champ;
        int haut_invite;
        int hauteur_invite;
    };
    // Lays out OK and Annuler and puts the prompt where the message was.
    place_entree prepare_entree(const QString& invite, QWidget* champ, double hauteur_invite);
    void retablit_entree(const place_entree& place, QWidget* champ);

    // Whether a dialog is under way on this window, from its preparation to
    // its result: one called meanwhile (from a timer or a queued event, even
    // once the window is hidden) opens over it.
    bool occupee() const;
    // Runs `operation` on this window, busy until it returns; while this
    // window is busy, on a new one opened over it.
    template <class Resultat, class... Parametres, class... Arguments>
    Resultat ouvre(Resultat (w_alerte::*operation)(Parametres...), Arguments&&... arguments);

    // The operations as they run on a window that is not busy.
    void montre_message(const QString& texte, const QString& clef);
    bool montre_ok_annuler(const QString& texte, const QString& clef);
    QString montre_bouton_lien(const QString& texte, const QString& bouton, const QString& lien,
                               const QString& clef);
    QString montre_multi_boutons(const QString& texte, const QString& legende1,
                                 const QString& legende2, const QString& legende3);
    bool montre_saisie_texte(const QString& invite, QString& valeur);
    bool montre_saisie_nombre(const QString& invite, double& valeur, QString& valeur_texte);

    w_alerte* memoire_;
    bool en_cours_ = false;
    // During a number entry: the caret goes to the end of the field once shown.
    bool curseur_en_fin_ = false;
    QMap<QString, int> reponses_consigne;
};
