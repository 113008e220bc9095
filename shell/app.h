#pragma once

#include "services_coquille.h"

#include <QApplication>
#include <QList>
#include <QString>
#include <QUrl>

#include <exception>

// The application object. Its notify catches every exception that no handler
// caught, reports it to the silent debug hook and lets the program run on.
// It opens the main window with the splash, imports the preferences, hands
// documents to the main window, runs the menu commands, and saves the
// preferences at every quit.
class app : public QApplication, public coquille::application {
    Q_OBJECT
public:
    // Builds the menu bar and installs the object as the application.
    app(int& argc, char** argv);
    ~app() override;

    bool notify(QObject* destinataire, QEvent* evenement) override;

    // The report of an exception that no handler caught; always handled.
    bool Event_UnhandledException(std::exception_ptr erreur);
    void Event_OpenDocument(const QString& fichier);
    void Event_Open();
    void Event_Activate() {}
    // Saves the preferences; never cancels the quit.
    bool Event_CancelClose();

    bool _menu_apropos_Action();
    bool _menu_documentation_Action();
    bool _menu_version_Action();
    bool _menu_quitter_Action();
    bool _menu_formation_Action();
    bool _menu_aide_contextuelle_Action();
    bool _menu_creer_unit_Action();
    bool _menu_ouvrir_memo_Action();
    bool _menu_enregistrer_memo_Action();
    bool _menu_creer_plusieurs_Action(int index);

    void import_export_specifiques(const QString& genre, const QString& sens) override;

    // Documents that the system hands over, at the first start or from a
    // later one: each goes to Event_OpenDocument in turn, once the
    // application has opened and no dialog is in front; one that is not a
    // readable file of this machine is told.
    void recoit_documents(const QList<QUrl>& documents);
    // A later start: the main window comes forward, restored if minimised;
    // `jeton`: the desktop's token for it, or "".
    void active_fenetre(const QString& jeton);

    // Attaches the menu commands to the items of the menu bar, by item name.
    void _ApplicationAddMenuHandlers();

protected:
    bool event(QEvent* evenement) override;

private:
    void ouvre_documents_en_attente();

    QList<QUrl> documents_en_attente;
    bool ouverte = false;
    bool documents_en_cours = false;
};

// The one application object.
app* App();

// The text of the report of an uncaught exception, or "" for an exception of
// a kind that gets no report.
QString rapport_exception(std::exception_ptr erreur);
