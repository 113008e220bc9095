#pragma once

#include "classe_page.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QTimer>

class QCheckBox;
class QLabel;
class QLineEdit;
class QNetworkAccessManager;
class QNetworkReply;
class st_centre;
class st_lien;

// The version page: the running version, the newest version the maker's web
// server announces, whether and how to update, and the links to the history,
// download and order pages.
//
// The server is asked when the page opens and, until an answer was valid,
// each time the page is shown. The request runs on the event loop: the page
// fills itself again when it ends, and the interface answers meanwhile.
class csp_version : public classe_page {
    Q_OBJECT
public:
    explicit csp_version(QWidget* parent = nullptr);

    // The running version.
    static inline const QString version_executee = QStringLiteral("2.2");

    // -1 no network connection; 0 no valid answer yet; above 0 the newest
    // announced version, final for the run.
    double version_disponible_num = 0;
    // The newest version already announced at start-up (preferences).
    double derniere_version_disponible_observee = 0;
    // The version as the server wrote it.
    QString version_disponible_text;

    // The base address the request goes to instead of the build-time one,
    // when not empty; for tests against a local server.
    static inline QString serveur_essai;

    // Time-outs of the request: without progress, and overall.
    int attente_ms = 2000;
    int plafond_ms = 10000;
    // Largest answer taken; a longer one is no valid answer.
    static constexpr qsizetype taille_maximale = 4096;

    // Asks the server unless a valid answer is known or a request runs.
    void version_disponible_importe();
    // Page hook, each time the tab is shown: asks if needed, fills the page.
    void montrer();
    // At start-up: whether a newer version appeared that was not yet
    // announced; it then counts as announced.
    bool version_nouvelle();
    // Binds the announcement settings (kind "init").
    void import_export_parametres(const QString& genre, const QString& sens);

    // Whether a request is running.
    bool requete_en_cours() const;

    // Reads the server's body: valid only as exactly the three blank-separated
    // tokens "version" (any letter case), "=" and a number above 0.
    static bool lit_reponse_version(const QByteArray& corps, QString& texte, double& nombre);
    // The body as Windows-1252 text.
    static QString depuis_windows_1252(const QByteArray& octets);
    // The address of the request.
    static QString adresse_requete();

    QLabel* st_titre;
    QLabel* st_version_executee;
    QLineEdit* ch_version_executee;
    QLabel* st_version_dispo;
    QLineEdit* ch_version_disponible;
    st_centre* st_message;
    st_lien* lien_historique;
    st_lien* lien_telecharger;
    st_lien* lien_acheter;
    QCheckBox* bt_prevenir;

signals:
    // A request ended, whatever its outcome; the page has been filled again.
    void verification_terminee();

protected:
    void formation_page(QString& message, QString& documentation) override;
    void formation_controles() override;
    void Open() override;

private:
    void lien_historique_Action();
    void lien_acheter_Action();
    void lien_telecharger_Action();
    void st_message_Open();

    // Fills the title, the fields, the text and the links from the state.
    void remplit();
    void requete_version();
    void requete_lue();
    void requete_finie(bool corps_valable);

    QNetworkAccessManager* reseau = nullptr;
    QPointer<QNetworkReply> reponse;
    QByteArray corps;
    bool trop_long = false;
    bool expiree = false;
    QTimer minuterie_attente;
    QTimer minuterie_plafond;
};
