#include "menu_operateur.h"

#include "fenetres_uniques.h"

#include <QAction>
#include <QMenu>

namespace {
menu_operateur* barre = nullptr;
} // namespace

menu_operateur& menu_operateur::instance() {
    return fenetres_uniques::unique(barre, [] { return new menu_operateur(); });
}

void menu_operateur::detruit() {
    delete barre;
}

menu_operateur::menu_operateur() {
    setObjectName(QStringLiteral("menu_operateur"));
    const QString aucun;
    ajoute_menu(QStringLiteral("menu_fichier"), QStringLiteral("&Fichier"));
    ajoute_element(QStringLiteral("menu_fichier"), QStringLiteral("menu_creer_plusieurs"),
                   QStringLiteral("Créer un ensemble de code-barres"), aucun, 1);
    ajoute_element(QStringLiteral("menu_fichier"), QStringLiteral("menu_separation"),
                   QStringLiteral("-"), aucun, 0);
    ajoute_element(QStringLiteral("menu_fichier"), QStringLiteral("menu_enregistrer_memo"),
                   QStringLiteral("Enregistrer l'état du logiciel sous…"), aucun);
    ajoute_element(QStringLiteral("menu_fichier"), QStringLiteral("menu_ouvrir_memo"),
                   QStringLiteral("Restaurer un état enregistré du logiciel…"), aucun);
    ajoute_element(QStringLiteral("menu_fichier"), QStringLiteral("menu_separation"),
                   QStringLiteral("-"), aucun, 1);
    ajoute_element(QStringLiteral("menu_fichier"), QStringLiteral("menu_quitter"),
                   QStringLiteral("&Quitter"), QStringLiteral("Cmd+Q"))
        ->setMenuRole(QAction::QuitRole);

    ajoute_menu(QStringLiteral("menu_edition"), QStringLiteral("Édition"));
    ajoute_element(QStringLiteral("menu_edition"), QStringLiteral("EditCut"),
                   QStringLiteral("Couper"), QStringLiteral("Cmd+X"));
    ajoute_element(QStringLiteral("menu_edition"), QStringLiteral("EditCopy"),
                   QStringLiteral("&Copier"), QStringLiteral("Cmd+C"));
    ajoute_element(QStringLiteral("menu_edition"), QStringLiteral("EditPaste"),
                   QStringLiteral("Coller"), QStringLiteral("Cmd+V"));
    ajoute_element(QStringLiteral("menu_edition"), QStringLiteral("EditClear"),
                   QStringLiteral("Effacer"), aucun);
    ajoute_element(QStringLiteral("menu_edition"), QStringLiteral("UntitledMenu0"),
                   QStringLiteral("-"), aucun);
    ajoute_element(QStringLiteral("menu_edition"), QStringLiteral("EditSelectAll"),
                   QStringLiteral("Tout sélectionner"), QStringLiteral("Cmd+A"));

    ajoute_menu(QStringLiteral("menu_code_barres"), QStringLiteral("Code-barres"));
    ajoute_element(QStringLiteral("menu_code_barres"), QStringLiteral("menu_creer_unit"),
                   QStringLiteral("Créer un code-barres"), aucun);
    ajoute_element(QStringLiteral("menu_code_barres"), QStringLiteral("menu_creer_plusieurs"),
                   QStringLiteral("Créer un ensemble de code-barres"), aucun, 0);

    ajoute_menu(QStringLiteral("menu_gestion"), QStringLiteral("Gestion"));
    ajoute_element(QStringLiteral("menu_gestion"), QStringLiteral("menu_version"),
                   QStringLiteral("Vérifier la version de ce logiciel"), aucun);

    ajoute_menu(QStringLiteral("menu_aide"), QStringLiteral("Aide"));
    ajoute_element(QStringLiteral("menu_aide"), QStringLiteral("menu_formation"),
                   QStringLiteral("Mode d'autoformation"), aucun)
        ->setCheckable(true);
    ajoute_element(QStringLiteral("menu_aide"), QStringLiteral("menu_aide_contextuelle"),
                   QStringLiteral("Aide contextuelle"), aucun)
        ->setCheckable(true);
    ajoute_element(QStringLiteral("menu_aide"), QStringLiteral("menu_documentation"),
                   QStringLiteral("Consulter la documentation"), aucun);
    ajoute_element(QStringLiteral("menu_aide"), QStringLiteral("UntitledSeparator"),
                   QStringLiteral("-"), aucun);
    ajoute_element(QStringLiteral("menu_aide"), QStringLiteral("menu_apropos"),
                   QStringLiteral("À propos…"), aucun)
        ->setMenuRole(QAction::AboutRole);
}

QMenu* menu_operateur::ajoute_menu(const QString& nom, const QString& legende) {
    QMenu* nouveau = addMenu(legende);
    nouveau->setObjectName(nom);
    nouveau->menuAction()->setObjectName(nom);
    return nouveau;
}

QAction* menu_operateur::ajoute_element(const QString& nom_menu, const QString& nom,
                                        const QString& legende, const QString& raccourci,
                                        int index) {
    auto* element = new QAction(this);
    element->setObjectName(nom);
    if (index >= 0)
        element->setProperty("index", index);
    // A caption of "-" makes a separator, which draws its line and no text.
    if (legende == u"-")
        element->setSeparator(true);
    else
        element->setText(legende);
    // "Cmd+" stands for the platform's command key: Ctrl here.
    if (!raccourci.isEmpty())
        element->setShortcut(QKeySequence(
            QString(raccourci).replace(QStringLiteral("Cmd+"), QStringLiteral("Ctrl+"))));
    // The bar is the same for every window: its keys work from any window of
    // the application that no modal dialog covers (the training window among
    // them), not only from the main window that shows it.
    element->setShortcutContext(Qt::ApplicationShortcut);
    menu(nom_menu)->addAction(element);
    return element;
}

QMenu* menu_operateur::menu(const QString& nom) const {
    for (QAction* entree : actions()) {
        if (entree->menu() && entree->menu()->objectName() == nom)
            return entree->menu();
    }
    return nullptr;
}

QAction* menu_operateur::element(const QString& nom, int index) const {
    for (QAction* entree : actions()) {
        if (!entree->menu())
            continue;
        for (QAction* element : entree->menu()->actions()) {
            if (element->objectName() == nom &&
                (index < 0 || element->property("index").toInt() == index))
                return element;
        }
    }
    return nullptr;
}

QAction* menu_aide_contextuelle() {
    return barre ? barre->element(QStringLiteral("menu_aide_contextuelle")) : nullptr;
}

QAction* menu_formation() {
    return barre ? barre->element(QStringLiteral("menu_formation")) : nullptr;
}
