#include "app.h"

#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "classe_page.h"
#include "cp_accueil.h"
#include "fichiers_parametres.h"
#include "instance_unique.h"
#include "menu_operateur.h"
#include "parametres_v1.h"
#include "ressources.h"
#include "signaux_fin.h"
#include "w_alerte.h"
#include "w_formation.h"
#include "w_main.h"

#include <QAction>
#include <QComboBox>
#include <QFileOpenEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>

#include <any>
#include <functional>
#include <memory>
#include <optional>
#include <regex>
#include <variant>

// Shared globals: the debug stage that a developer sets while hunting an
// exception; the report of an uncaught exception prints it.
namespace globales_generiques {
std::int32_t Stade_debug = 0;
} // namespace globales_generiques

namespace {

// The line of the report for each kind of exception that gets one, tried in
// order (a more derived kind before its base).
template <typename E> bool est(std::exception_ptr erreur) {
    try {
        std::rethrow_exception(erreur);
    } catch (const E&) {
        return true;
    } catch (...) {
        return false;
    }
}

bool clef_absente(std::exception_ptr erreur) {
    try {
        std::rethrow_exception(erreur);
    } catch (const parametres_v1::echec_parametre& echec) {
        return echec.genre() == parametres_v1::genre_echec::clef_absente;
    } catch (...) {
        return false;
    }
}

bool indice_hors_limites(std::exception_ptr erreur) {
    try {
        std::rethrow_exception(erreur);
    } catch (const parametres_v1::echec_parametre& echec) {
        return echec.genre() == parametres_v1::genre_echec::indice_hors_limites;
    } catch (...) {
        return false;
    }
}

struct ligne_rapport {
    bool (*reconnait)(std::exception_ptr);
    const char* texte;
};

const ligne_rapport lignes_rapport[] = {
    {est<std::bad_function_call>,
     "FunctionNotFoundException : A function declared using the Declare statement's Soft keyword "
     "could not be loaded"},
    {est<std::bad_any_cast>,
     "TypeMismatchException : You tried to assign to an object the wrong data type. Occurs only "
     "when using an object that Quorvel cannot type at compile-time."},
    {est<std::bad_cast>, "IllegalCastException : You attempted to recast an object and sent it a "
                         "message its real class can't accept."},
    {est<std::bad_variant_access>, "IllegalCastException : You attempted to recast an object and "
                                   "sent it a message its real class can't accept."},
    {clef_absente, "KeyNotFoundException : You tried to access an item in a Dictionary using a key "
                   "that is not in the Dictionary."},
    {est<std::bad_optional_access>,
     "NilObjectException : An attempt was made to access an object that does not exist."},
    {est<std::bad_weak_ptr>,
     "NilObjectException : An attempt was made to access an object that does not exist."},
    {indice_hors_limites,
     "OutOfBoundsException : An attempt was made to read from or write to a value, character, or "
     "element outside the bounds of the object or data type, i.e., you tried to access an array "
     "element that doesn't exist."},
    {est<std::out_of_range>,
     "OutOfBoundsException : An attempt was made to read from or write to a value, character, or "
     "element outside the bounds of the object or data type, i.e., you tried to access an array "
     "element that doesn't exist."},
    {est<std::bad_alloc>,
     "OutOfMemoryException : Raised in certain cases when you run out of memory, for example when "
     "there isn't enough memory to complete an operation."},
    {est<std::regex_error>,
     "RegExException : You used an incorrect syntax in a regular expression."},
};

// Runs an editing command on the focused text field.
template <typename Commande> void edite(Commande commande) {
    QWidget* focus = QApplication::focusWidget();
    if (auto* menu = qobject_cast<QComboBox*>(focus))
        focus = menu->lineEdit();
    if (auto* champ = qobject_cast<QLineEdit*>(focus))
        commande(*champ);
    else if (auto* zone = qobject_cast<QPlainTextEdit*>(focus))
        commande(*zone);
    else if (auto* texte = qobject_cast<QTextEdit*>(focus))
        commande(*texte);
}

// "Effacer": removes the selected text of the focused field.
void efface_selection() {
    QWidget* focus = QApplication::focusWidget();
    if (auto* menu = qobject_cast<QComboBox*>(focus))
        focus = menu->lineEdit();
    if (auto* champ = qobject_cast<QLineEdit*>(focus)) {
        if (champ->hasSelectedText() && !champ->isReadOnly())
            champ->del();
    } else if (auto* zone = qobject_cast<QPlainTextEdit*>(focus)) {
        if (!zone->isReadOnly())
            zone->textCursor().removeSelectedText();
    } else if (auto* texte = qobject_cast<QTextEdit*>(focus)) {
        if (!texte->isReadOnly())
            texte->textCursor().removeSelectedText();
    }
}

bool formation_active() {
    const w_formation& fenetre = w_formation::instance();
    return fenetre.isVisible() || fenetre.minimisee;
}

// Restores the main window when it is minimised, before a screen is shown.
void restaure_d_abord() {
    if (w_main::instance().minimisee)
        w_main::instance().Restore();
}

} // namespace

QString rapport_exception(std::exception_ptr erreur) {
    for (const ligne_rapport& ligne : lignes_rapport) {
        if (!ligne.reconnait(erreur))
            continue;
        const QString eol = bibliotheque_v1::eol();
        const QString stade =
            globales_generiques::Stade_debug == 0
                ? QStringLiteral(
                      "ATTENTION : pour préciser l'endroit de l'exception, affectez la "
                      "globale Stade_debug = 1 puis 2, etc au long des sources suspectés")
                : QStringLiteral("Stade_debug = ") +
                      QString::number(globales_generiques::Stade_debug);
        return QStringLiteral("Exception reportée dans app.EventHandler.UnhandledException") + eol +
               eol + stade + eol + eol + QString::fromUtf8(ligne.texte);
    }
    return QString();
}

app* App() {
    return qobject_cast<app*>(QCoreApplication::instance());
}

app::app(int& argc, char** argv) : QApplication(argc, argv) {
    // Qt's own texts (file dialogs, standard buttons, context menus) in French
    // like the rest, when the system has them.
    bibliotheque_v1::installe_traductions_qt();
    setApplicationName(bibliotheque_v1::nom_produit);
    // The window belongs to the desktop entry (the Wayland app id).
    setDesktopFileName(instance_unique::identifiant);
    // Title bars and window lists show the logo, where X11 reads it from
    // each window rather than from the desktop entry.
    setWindowIcon(ressources::icone_application());
    setQuitOnLastWindowClosed(false);
    menu_operateur& barre = menu_operateur::instance();
    coquille::installe_menu_aide_contextuelle(
        barre.element(QStringLiteral("menu_aide_contextuelle")));
    coquille::installe_menu_formation(barre.element(QStringLiteral("menu_formation")));
    coquille::installe_App(this);
    // Every quit saves the preferences: the menu, the window's close box, or
    // the end of the session.
    connect(this, &QCoreApplication::aboutToQuit, this, [this] { Event_CancelClose(); });
    connect(this, &QGuiApplication::commitDataRequest, this, [this] { Event_CancelClose(); });
}

app::~app() {
    w_main::detruit();
    coquille::installe_menu_aide_contextuelle(nullptr);
    coquille::installe_menu_formation(nullptr);
    menu_operateur::detruit();
    coquille::installe_App(nullptr);
}

bool app::notify(QObject* destinataire, QEvent* evenement) {
    try {
        return QApplication::notify(destinataire, evenement);
    } catch (...) {
        Event_UnhandledException(std::current_exception());
        return false;
    }
}

bool app::Event_UnhandledException(std::exception_ptr erreur) {
    try {
        const QString rapport = rapport_exception(erreur);
        if (!rapport.isEmpty())
            bibliotheque_v1::msgdebug(rapport);
    } catch (...) {
        // The report itself failed: nothing more to say.
    }
    return true;
}

bool app::event(QEvent* evenement) {
    if (evenement->type() == QEvent::FileOpen) {
        Event_OpenDocument(static_cast<QFileOpenEvent*>(evenement)->file());
        return true;
    }
    return QApplication::event(evenement);
}

void app::Event_OpenDocument(const QString& fichier) {
    w_main::instance().drop_clic_fichier(fichier);
}

void app::Event_Open() {
    // A quit that the system asked for, before or from now on, is run on the
    // event loop: after the preferences import below, which no quit cuts short.
    signaux_fin::surveille(this, [this] { _menu_quitter_Action(); });
    w_main& fenetre = w_main::instance();
    fenetre.initie_a_propos();
    parametres_v1::importe_preferences();
    fenetre.thread_lancement.start();
    ouverte = true;
    if (!documents_en_attente.isEmpty())
        QTimer::singleShot(0, this, &app::ouvre_documents_en_attente);
}

void app::recoit_documents(const QList<QUrl>& documents) {
    documents_en_attente.append(documents);
    // Never from inside the call that brought them: a question or an alert
    // about one of them runs a loop of its own, and the start that sent them
    // waits for its answer.
    QTimer::singleShot(0, this, &app::ouvre_documents_en_attente);
}

void app::ouvre_documents_en_attente() {
    if (!ouverte || documents_en_cours)
        return;
    // A dialog in front (a file dialog, a question) is answered first.
    if (QApplication::activeModalWidget()) {
        QTimer::singleShot(250, this, &app::ouvre_documents_en_attente);
        return;
    }
    documents_en_cours = true;
    while (!documents_en_attente.isEmpty()) {
        QString fichier;
        const QString refus =
            instance_unique::refus_document(documents_en_attente.takeFirst(), fichier);
        if (refus.isEmpty())
            Event_OpenDocument(fichier);
        else
            w_alerte::instance().message(refus, QString());
    }
    documents_en_cours = false;
}

void app::active_fenetre(const QString& jeton) {
    if (!w_main::existe())
        return;
    w_main& fenetre = w_main::instance();
    if (fenetre.minimisee || fenetre.isMinimized())
        fenetre.Restore();
    // The dialog in front, when one is open, since it holds the keys.
    QWidget* devant = QApplication::activeModalWidget();
    if (!devant)
        devant = &fenetre;
    // Wayland lets a window take the focus only with the token of the start
    // that asked for it; Qt reads it from the environment.
    if (!jeton.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", jeton.toUtf8());
    devant->raise();
    devant->activateWindow();
}

bool app::Event_CancelClose() {
    parametres_v1::exporte_preferences();
    return false;
}

void app::import_export_specifiques(const QString& genre, const QString& sens) {
    if (genre != u"init")
        return;
    QAction* element = menu_aide_contextuelle();
    if (!element)
        return;
    bool aide = false;
    if (sens == u"import") {
        parametres_v1::parametre_boolean(aide, sens, QStringLiteral("globale"),
                                         QStringLiteral("aide"), false);
        element->setChecked(aide);
        if (aide)
            w_main::instance().maj_aide_contextuelle();
    } else {
        aide = element->isChecked();
        parametres_v1::parametre_boolean(aide, sens, QStringLiteral("globale"),
                                         QStringLiteral("aide"), false);
    }
}

void app::_ApplicationAddMenuHandlers() {
    const menu_operateur& barre = menu_operateur::instance();
    const std::pair<const char*, std::function<bool()>> commandes[] = {
        {"menu_apropos", [this] { return _menu_apropos_Action(); }},
        {"menu_documentation", [this] { return _menu_documentation_Action(); }},
        {"menu_version", [this] { return _menu_version_Action(); }},
        {"menu_quitter", [this] { return _menu_quitter_Action(); }},
        {"menu_formation", [this] { return _menu_formation_Action(); }},
        {"menu_aide_contextuelle", [this] { return _menu_aide_contextuelle_Action(); }},
        {"menu_creer_unit", [this] { return _menu_creer_unit_Action(); }},
        {"menu_ouvrir_memo", [this] { return _menu_ouvrir_memo_Action(); }},
        {"menu_enregistrer_memo", [this] { return _menu_enregistrer_memo_Action(); }},
    };
    for (const auto& [nom, commande] : commandes) {
        QAction* element = barre.element(QString::fromLatin1(nom));
        // Qt flips a checkable item before it tells; the command owns the
        // check mark, so the flip is undone first.
        connect(element, &QAction::triggered, this, [element, commande] {
            if (element->isCheckable())
                element->setChecked(!element->isChecked());
            commande();
        });
    }
    for (int index : {0, 1}) {
        QAction* element = barre.element(QStringLiteral("menu_creer_plusieurs"), index);
        connect(element, &QAction::triggered, this,
                [this, index] { _menu_creer_plusieurs_Action(index); });
    }
    // The editing items act on the focused text field.
    connect(barre.element(QStringLiteral("EditCut")), &QAction::triggered, this,
            [] { edite([](auto& champ) { champ.cut(); }); });
    connect(barre.element(QStringLiteral("EditCopy")), &QAction::triggered, this,
            [] { edite([](auto& champ) { champ.copy(); }); });
    connect(barre.element(QStringLiteral("EditPaste")), &QAction::triggered, this,
            [] { edite([](auto& champ) { champ.paste(); }); });
    connect(barre.element(QStringLiteral("EditClear")), &QAction::triggered, this,
            [] { efface_selection(); });
    connect(barre.element(QStringLiteral("EditSelectAll")), &QAction::triggered, this,
            [] { edite([](auto& champ) { champ.selectAll(); }); });
}

bool app::_menu_creer_plusieurs_Action(int) {
    restaure_d_abord();
    w_main::instance().montrer(coquille::ecran_creer_plusieurs, coquille::origine_page);
    return false;
}

bool app::_menu_creer_unit_Action() {
    restaure_d_abord();
    w_main::instance().montrer(coquille::ecran_creer_unit, coquille::origine_page);
    return false;
}

bool app::_menu_version_Action() {
    restaure_d_abord();
    w_main::instance().montrer(coquille::ecran_version, coquille::origine_page);
    return false;
}

bool app::_menu_apropos_Action() {
    restaure_d_abord();
    w_main::instance().montrer(coquille::ecran_apropos, coquille::origine_page);
    return false;
}

namespace {

// The state-file commands go through the state page while self-training is
// on, or once the minimised window is restored: true when they did.
bool memo_par_sa_page() {
    if (w_formation::instance().minimisee)
        w_main::instance().Restore();
    else if (!formation_active())
        return false;
    w_main::instance().montrer(coquille::ecran_formation_memo, coquille::origine_page);
    return true;
}

} // namespace

bool app::_menu_enregistrer_memo_Action() {
    if (!memo_par_sa_page())
        parametres_v1::exporte_fichier_memo();
    return false;
}

bool app::_menu_ouvrir_memo_Action() {
    if (!memo_par_sa_page())
        parametres_v1::choisit_importe_fichier_memo();
    return false;
}

bool app::_menu_quitter_Action() {
    QCoreApplication::exit(0);
    return false;
}

bool app::_menu_formation_Action() {
    w_formation& fenetre = w_formation::instance();
    w_main& principale = w_main::instance();
    if (formation_active()) {
        fenetre.cacher();
        if (principale.contenu_courant_ == coquille::ecran_accueil)
            principale.p_accueil->selectionne_expert();
        return false;
    }
    restaure_d_abord();
    fenetre.montrer();
    if (principale.contenu_courant_ == coquille::ecran_accueil)
        principale.p_accueil->selectionne_formation();
    return false;
}

bool app::_menu_aide_contextuelle_Action() {
    if (QAction* element = menu_aide_contextuelle())
        element->setChecked(!element->isChecked());
    w_main::instance().maj_aide_contextuelle();
    return false;
}

bool app::_menu_documentation_Action() {
    bibliotheque_v1::lance_documentation_html(QStringLiteral("documentation_fr.html"));
    return true;
}
