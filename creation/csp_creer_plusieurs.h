#pragma once

#include "classe_page.h"
#include "ecriture_fichiers.h"
#include "rapport_serie.h"
#include "valdorin.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class st_jauge;
class st_lien;
class thread_creer_ensemble;
class zone_texte;

// The small turning wheel shown while a run is busy with something that does
// not move the progress bar. It turns only while it is visible.
class roue_attente : public QWidget {
    Q_OBJECT
public:
    explicit roue_attente(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* evenement) override;
    void showEvent(QShowEvent* evenement) override;
    void hideEvent(QHideEvent* evenement) override;

private:
    QTimer* minuterie;
    int pas = 0;
};

// The tab page "Créer un ensemble de code-barres": makes one barcode file per
// record of a delimited data file. The page holds the settings of a run
// (delimiter, encoding, preview, where the results go, extension of EPS files,
// report options), the lock that protects them, the run's progress display and
// cancel button, and `creer_serie`, which starts a run.
//
// Files and folders are absolute paths; the empty text means none.
class csp_creer_plusieurs : public classe_page {
    Q_OBJECT

public:
    explicit csp_creer_plusieurs(QWidget* parent = nullptr);
    ~csp_creer_plusieurs() override;

    // --- Shared with the run ------------------------------------------------

    // The file the run actually reads: the data file, or its copy without the
    // settings header. Emptied by bt_annuler: that is the cancel request.
    QString fi_lecture_reel;
    // The data file while its settings header is examined.
    std::unique_ptr<QFile> buffer_lecture;
    // The result folder of the current run, ending with "/".
    QString chemin_dossier_ecriture;
    // The same folder, held open from the start step to the finish step:
    // every file of the run is made relative to it.
    bibliotheque_v1::dossier_ouvert dossier_resultats;
    // The report file of the current run; "" when none is asked for.
    QString chemin_log;
    // Lock state of the settings: true = unlocked. Kept under "actif".
    bool interface_active = true;
    std::int32_t nbLignesNonOK = 0;
    std::int32_t nbLignesOK = 0;
    // The report of the current run, its lines written as it goes; none
    // when no report is made.
    std::unique_ptr<rapport_serie> buffer_log;
    // The data file chosen in the open dialog, or dropped or opened on the
    // main window.
    QString fi_lecture_officiel;

    // True from the start of a run to its end: serie_commencee sets it and
    // serie_terminee clears it. While it is true, creer_serie refuses to start
    // another run.
    bool travail_en_cours = false;
    // The data file of the run in progress.
    QString fi_lecture_travail;

    // --- Entry points ---------------------------------------------------------

    // Starts a run on fi_lecture_officiel, after its checks; every refusal is
    // told to the user.
    void creer_serie();
    // The page's show hook: applies the lock, the settings staying disabled
    // while a run goes on.
    void montrer();
    void import_export_parametres(const QString& genre, const QString& sens);

    // The result folder (csp_creer_plusieurs_dossier_resultats.cpp).
    bool get_dossier_resultats_defaut();
    bool check_popup_ch_resultat();
    QString get_path_dossier_resultats();
    QString get_message_dossier_resultat();
    QString get_folderitem_ch_repertoire();
    bool check_folderitem_resultat(const QString& dossier);

    // Record parsers (csp_creer_plusieurs_parseurs.cpp): fill `tableau` from
    // the record's fields (10 to 13 of them), or give "column, message" for
    // the first faulty column. They read ch_ext_eps and set
    // valdorin::previsu_presence.
    QString parse_format_v2(const QStringList& champs, valdorin::tableau_code_barres& tableau);
    QString parse_format_v1(const QStringList& champs, valdorin::tableau_code_barres& tableau);

    void message_creer_plusieurs(const QString& texte);

    // The run's settings as the controls give them.
    QString delimiteur() const;     // tag of popup_delimiteur
    int codage() const;             // tag of popup_codage (a codage_texte), -1 for none
    QString mode_resultats() const; // tag of popup_resultats: "D", "C", "R" or ""
    bool previsualisation() const;  // cb_previsualiser is checked

    // Whether `extension` may follow the name of an EPS file: no "/", no NUL
    // and no line end, so that a name with it stays inside the result folder.
    static bool extension_acceptable(const QString& extension);

    // --- What a run shows on the page ----------------------------------------
    // The worker tells the page where its run stands; the page alone switches
    // its controls.

    // A run begins: travail_en_cours is set, and the settings it reads and
    // the run's buttons are disabled until it ends. With a preview, the busy
    // wheel turns while the records are read.
    void serie_commencee(bool previsualisation);
    // Shows the records read for the preview and answers true when the user
    // asked for the files; the busy wheel stops as the window shows.
    bool previsualisation_acceptee(const QStringList& lignes, int nb_colonnes);
    // `fait` of the steps announced to initialise_thread are done.
    void serie_avance(int fait);
    // The run stops before the end of its data file, at the record `ligne`
    // (from 1), for `raison`: the report gets a line that says so, and the
    // finish step's summary tells it. Before the start step (records read
    // for the preview), the user is told at once.
    void serie_interrompue(std::int32_t ligne, const QString& raison);
    // The run has ended, whichever way: the copy of its records is removed,
    // the gauge and the busy wheel go, travail_en_cours is cleared and the
    // lock applies again. The focus goes back to the control that had it
    // when the run began, unless the user put it on another control since.
    void serie_terminee();

    // --- The run: worker, start and finish, settings header ----------------

    // The worker, made at the first run.
    ::thread_creer_ensemble* thread_creer_ensemble = nullptr;
    // The records of a data file that has a settings header, copied without
    // it; removed when the run ends.
    std::unique_ptr<bibliotheque_v1::fichier_temporaire> copie_reglages;

    // Reads the data file's settings header, when it has one, into the
    // page's settings and points fi_lecture_reel at the copy of its records.
    // False when the file could not be read or copied (the user was told).
    bool extraire_reglages();
    // Starts the worker on fi_lecture_reel.
    void thread_creer_ensemble_Run();
    // The start step of a run: result folder, report file, counters, and the
    // gauge shown for `total` steps. False when the run may not go on.
    bool initialise_thread(int total);
    // The finish step: closes the report and the result folder, and shows
    // the summary when "Fenêtre d'écran" is ticked or the run was
    // interrupted; without it, a report asked for and not had is told alone.
    // A cancelled run shows nothing.
    void termine_thread();
    // How the reader left a record that cannot be converted.
    struct defaut_lecture {
        enum genre_defaut {
            aucun,
            guillemet_non_ferme, // ran to the end of the file inside a quoted field
            trop_long,           // longer than a record can be; only its start was kept
        } genre = aucun;
        // The field, from 1, of the first bytes that the chosen encoding
        // could not read (TableInputStream::colonne_illisible); 0 for none.
        std::int32_t colonne_illisible = 0;
    };
    // Converts the `indice`th record (from 0) into one barcode file and one
    // report line.
    void cree_fichier_depuis_ligne(const QString& ligne, std::int32_t indice,
                                   defaut_lecture defaut);
    // Adds one line to the report, when there is one.
    void ecrit_rapport(const QString& ligne);
    // The report's name for the data file: its name without its last
    // extension, then ".log".
    static QString nom_rapport(const QString& fichier_donnees);

    // --- Controls, in creation order ---------------------------------------

    QGroupBox* gb_generes;
    QLabel* st_extension;
    QLabel* st_placer_resultat;
    QLabel* st_titre;
    QGroupBox* gb_donnees;
    QLabel* st_delimiteur;
    QGroupBox* gb_rapport;
    QLabel* st_fichier_rapport;
    QProgressBar* pb_jauge;
    ::st_jauge* st_jauge;
    QLabel* st_codage;
    roue_attente* pw_attente;
    QComboBox* popup_delimiteur;
    st_lien* lien_format;
    QComboBox* popup_codage;
    QCheckBox* cb_previsualiser;
    QLineEdit* ch_ext_eps;
    zone_texte* ch_repertoire;
    QPushButton* bt_choisir_repertoire;
    QPushButton* bt_ouvrir_repertoire;
    QComboBox* popup_resultats;
    QComboBox* popup_log;
    QPushButton* bt_annuler;
    QPushButton* bt_creer;
    QPushButton* bt_verrouiller;
    QCheckBox* cb_log;
    QPushButton* bt_enregistrer;

    // --- Handlers -------------------------------------------------------------

    void popup_delimiteur_Open();
    void lien_format_Action();
    void popup_codage_Open();
    bool ch_ext_eps_MouseDown();
    void ch_ext_eps_LostFocus();
    void bt_choisir_repertoire_Action();
    void bt_ouvrir_repertoire_Action();
    void popup_resultats_Open();
    void popup_resultats_Change();
    void bt_annuler_Action();
    void bt_creer_Action();
    void bt_verrouiller_Action();
    void bt_enregistrer_Action();
    void bt_enregistrer_Open();

protected:
    void formation_page(QString& message, QString& documentation) override;
    void formation_controles() override;
    bool eventFilter(QObject* objet, QEvent* evenement) override;

    // Where a run starts, once creer_serie's checks have passed: reads the
    // data file's settings header and starts the worker. A test page counts
    // the starts here instead.
    virtual void demarre_thread();
    // Writes the example data file of bt_enregistrer.
    virtual void cree_fichier_donnees();

private:
    // The setting controls, in reading order on the page: the lock disables
    // them all, a run all those it reads.
    QList<QWidget*> reglages() const;
    // Applies the lock and the run in progress to the settings and to the
    // run's buttons, and the lock to the caption of bt_verrouiller.
    void maj_interface();
    // The run's progress display in place of bt_enregistrer: bt_annuler, the
    // gauge at 0 of `total` steps and its empty label.
    void initialise_jauge(int total);

    // Why the file `etat` describes, found at the output name `nom` of the
    // record in hand, may not be replaced, as the line of the report says
    // it; "" when it may. Asked by the result folder's write only when the
    // name is taken, so that a new file costs no check.
    QString refus_destination(const QString& nom, const struct stat& etat);
    // When the result folder was last found where the run began, and whether it was.
    QElapsedTimer verification_dossier;
    bool dossier_en_place = true;
    // The record in hand, the column its output name comes from, and the
    // line refus_destination gave for it.
    std::int32_t ligne_en_cours = 0;
    int colonne_nom_en_cours = 12;
    QString refus_garde;

    // The extension ch_ext_eps held when it was last accepted.
    QString extension_acceptee;
    // The control that had the focus when the run began, and the one that
    // took it when the run disabled its buttons and settings.
    QPointer<QWidget> focus_avant_serie;
    QPointer<QWidget> focus_pendant_serie;
    // The record of the current run that made the file `etat` describes at
    // `nom` of the result folder, however the file system spells its name;
    // 0 for none.
    std::int32_t ligne_ayant_fait(const QString& nom, const struct stat& etat);
    // The files made by the current run, with the number of the record that
    // made each: a later record that names one of them is refused. Known by
    // name as they are made; by identity, and by their names with case and
    // Unicode form set aside, only once a name is found taken, so that a new
    // file costs no system call.
    QHash<QString, std::int32_t> noms_faits;
    QStringList noms_a_identifier;
    QHash<bibliotheque_v1::identite_fichier, std::int32_t> fichiers_faits;
    QHash<QString, QStringList> graphies_faites;
    // The data file of the current run, which no file of the run may replace.
    bibliotheque_v1::fichier_protege donnees;
    // Why the report asked for could not be made (start step) or kept
    // (finish step).
    QString echec_rapport;
    // Where and why the current run stopped before the end of its data file.
    std::optional<std::pair<std::int32_t, QString>> interruption;
};
