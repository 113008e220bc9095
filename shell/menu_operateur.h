#pragma once

#include <QMenuBar>
#include <QString>

class QAction;
class QMenu;

// The application's one menu bar: "&Fichier", "Édition", "Code-barres",
// "Gestion" and "Aide". Every menu and item carries its name as objectName;
// the two items named "menu_creer_plusieurs" and the two named
// "menu_separation" are told apart by their property "index". The main window
// shows the bar.
class menu_operateur : public QMenuBar {
    Q_OBJECT
public:
    // The one menu bar, made on first use. It lives as long as the
    // application object; the main window borrows it.
    static menu_operateur& instance();
    // Destroys the bar (the application object does at its end).
    static void detruit();

    // The menu or item of that name (and index, for the names used twice),
    // or nullptr.
    QMenu* menu(const QString& nom) const;
    QAction* element(const QString& nom, int index = -1) const;

private:
    menu_operateur();

    QMenu* ajoute_menu(const QString& nom, const QString& legende);
    QAction* ajoute_element(const QString& menu, const QString& nom, const QString& legende,
                            const QString& raccourci, int index = -1);
};

// The items "Aide contextuelle" and "Mode d'autoformation" of the application's
// menu bar, looked up by name on every call.
QAction* menu_aide_contextuelle();
QAction* menu_formation();
