#include "w_main.h"

#include "apropos.h"
#include "bibliotheque_v1.h"
#include "classe_page.h"
#include "controles_texte.h"
#include "cp_accueil.h"
#include "cp_apropos.h"
#include "cp_formation_memo.h"
#include "cp_onglets.h"
#include "csp_contrat.h"
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "csp_version.h"
#include "fenetres_uniques.h"
#include "fichiers_parametres.h"
#include "menu_operateur.h"
#include "messages.h"
#include "palette_claire.h"
#include "parametres_v1.h"
#include "types_fichiers.h"
#include "w_alerte.h"
#include "w_formation.h"
#include "w_web.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMimeData>
#include <QScreen>
#include <QWindowStateChangeEvent>

#include <vector>

namespace {

w_main* fenetre_creee = nullptr;
w_main* fenetre_ouverte = nullptr;

// A page container of the window, or a tab page of p_onglets.
template <auto conteneur> classe_page* page_fenetre(const w_main& fenetre) {
    return fenetre.*conteneur;
}
template <auto page> classe_page* page_onglet(const w_main& fenetre) {
    return fenetre.p_onglets->*page;
}

// One screen of the window: its number, its page, and whether it is a tab
// screen. A tab screen shows in p_onglets, as one of its tabs; any other
// screen's page is itself the container that shows it.
struct ecran_fenetre {
    std::int32_t numero;
    classe_page* (*page)(const w_main&);
    bool onglet;
};

// The screens, in number order.
const ecran_fenetre ecrans[] = {
    {coquille::ecran_creer_unit, page_onglet<&cp_onglets::sp_creer_unit>, true},
    {coquille::ecran_creer_plusieurs, page_onglet<&cp_onglets::sp_creer_plusieurs>, true},
    {coquille::ecran_contrat, page_onglet<&cp_onglets::sp_contrat>, true},
    {coquille::ecran_version, page_onglet<&cp_onglets::sp_version>, true},
    {coquille::ecran_accueil, page_fenetre<&w_main::p_accueil>, false},
    {coquille::ecran_apropos, page_fenetre<&w_main::p_apropos>, false},
    {coquille::ecran_formation_memo, page_fenetre<&w_main::p_formation_memo>, false},
};

// The screen of number `numero`, or nullptr.
const ecran_fenetre* ecran_de(std::int32_t numero) {
    for (const ecran_fenetre& ecran : ecrans)
        if (ecran.numero == numero)
            return &ecran;
    return nullptr;
}

bool ecran_onglet(std::int32_t numero) {
    const ecran_fenetre* ecran = ecran_de(numero);
    return ecran && ecran->onglet;
}

// The application's mouse cursor: the wait cursor over everything, or the
// standard arrow.
void curseur_attente() {
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void curseur_fleche() {
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

// The drop type that a file matches by its extension, or nothing.
std::optional<type_fichier> type_de(const QString& fichier) {
    const QString suffixe = QFileInfo(fichier).suffix();
    for (const type_fichier& type : ensemble_fichiers_drop::types()) {
        for (QString extension : type.extensions.split(u',', Qt::SkipEmptyParts)) {
            extension = extension.trimmed();
            if (extension.startsWith(u'.'))
                extension.remove(0, 1);
            if (!suffixe.isEmpty() && extension.compare(suffixe, Qt::CaseInsensitive) == 0)
                return type;
        }
    }
    return std::nullopt;
}

// The first local file of a drag, when the window accepts its type.
QString premier_fichier(const QMimeData* donnees) {
    if (!donnees || !donnees->hasUrls() || donnees->urls().isEmpty())
        return QString();
    const QUrl adresse = donnees->urls().constFirst();
    if (!adresse.isLocalFile())
        return QString();
    const QString fichier = adresse.toLocalFile();
    return type_de(fichier) ? fichier : QString();
}

// Where the keys go on a page just shown: its first control in the Tab order
// that shows and is enabled, or the page itself when it has none.
QWidget* premier_controle(QWidget* page) {
    for (QWidget* c = page->nextInFocusChain(); c != page; c = c->nextInFocusChain())
        if (page->isAncestorOf(c) && (c->focusPolicy() & Qt::TabFocus) && c->isVisible() &&
            c->isEnabled())
            return c;
    return page;
}

// A page container made for the whole run: embedded in the window at (0, 0),
// hidden, then opened.
template <typename page> page* embarque(QWidget* fond) {
    auto* contenu = new page(fond);
    contenu->move(0, 0);
    contenu->hide();
    contenu->Event_Open();
    return contenu;
}

} // namespace

w_main& w_main::instance() {
    if (!fenetre_ouverte) {
        delete fenetre_creee;
        fenetres_uniques::unique(fenetre_creee, [] { return new w_main; });
    }
    return *fenetre_ouverte;
}

bool w_main::existe() {
    return fenetre_ouverte != nullptr;
}

void w_main::detruit() {
    delete fenetre_creee;
}

w_main::w_main() {
    fenetre_ouverte = this;
    coquille::installe_w_main(this);
    setObjectName(QStringLiteral("w_main"));
    setWindowTitle(bibliotheque_v1::nom_produit);
    palette_claire::applique(this);
    setMenuBar(&menu_operateur::instance());
    // The pages' grey, under every screen.
    auto* fond = new QWidget(this);
    fond->setObjectName(QStringLiteral("fond"));
    fond->setAutoFillBackground(true);
    fond->setFixedSize(640, 430);
    setCentralWidget(fond);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    thread_lancement.setObjectName(QStringLiteral("thread_lancement"));
    // A short pause between steps, so that the wait uses no processor.
    thread_lancement.setInterval(10);
    connect(&thread_lancement, &QTimer::timeout, this, &w_main::thread_lancement_Run);
    Event_Open();
}

w_main::~w_main() {
    thread_lancement.stop();
    qApp->removeEventFilter(this);
    // The menu bar belongs to the application: give it back.
    if (menuBar() == &menu_operateur::instance())
        menu_operateur::instance().setParent(nullptr);
    coquille::installe_w_main(nullptr);
    if (fenetre_ouverte == this)
        fenetre_ouverte = nullptr;
}

void w_main::Event_Open() {
    // The default place: centred on the screen, then moved left to leave room
    // for the training window.
    if (const QScreen* ecran = QGuiApplication::primaryScreen()) {
        QRect cadre(QPoint(0, 0), sizeHint());
        cadre.moveCenter(ecran->availableGeometry().center());
        move(cadre.topLeft());
    }
    // Reading the training window's width makes it, still hidden.
    move(gauche_decalee(x(), w_formation::instance().width()), y());
    // The connection test that every web feature asks, the version page's
    // check first among them.
    w_web::instance();
    setAcceptDrops(true);
    QWidget* fond = centralWidget();
    p_onglets = embarque<cp_onglets>(fond);
    p_accueil = embarque<cp_accueil>(fond);
    p_apropos = embarque<cp_apropos>(fond);
    p_formation_memo = embarque<cp_formation_memo>(fond);
}

int w_main::gauche_decalee(int gauche, int largeur_formation) {
    // gauche - (largeur_formation + 30) / 2 taken exactly, then its fraction
    // dropped: an odd sum puts the window one more point to the left. A
    // result below 0 gives 0.
    return std::max(gauche - (largeur_formation + 31) / 2, 0);
}

QWidget* w_main::conteneur(std::int32_t numero) const {
    // A number that names no screen falls to the tab container, whose own
    // switch ignores it.
    const ecran_fenetre* ecran = ecran_de(numero);
    if (!ecran || ecran->onglet)
        return p_onglets;
    return ecran->page(*this);
}

std::vector<std::int32_t> w_main::numeros_ecrans() {
    std::vector<std::int32_t> numeros;
    for (const ecran_fenetre& ecran : ecrans)
        numeros.push_back(ecran.numero);
    return numeros;
}

void w_main::montrer(std::int32_t ecran, std::int32_t origine) {
    if (ecran == contenu_courant_)
        return;
    if (ecran_onglet(contenu_courant_))
        contenu_onglet_precedent_ = contenu_courant_;
    if (QWidget* ancien = conteneur(contenu_courant_))
        ancien->hide();
    curseur_fleche();
    if (ecran == coquille::ecran_apropos)
        p_apropos->setCursor(Qt::PointingHandCursor);
    if (QWidget* nouveau = conteneur(ecran))
        nouveau->show();
    if (conteneur(ecran) == p_onglets)
        p_onglets->montrer(ecran);
    show();
    focus_ecran(ecran);
    contenu_courant_ = ecran;
    w_formation::instance().maj(origine);
}

void w_main::focus_ecran(std::int32_t ecran) {
    classe_page* montree = page(ecran);
    if (!montree)
        return;
    // A control of the screen may have been given the focus on its way (a
    // field that a check points to): it keeps it. Any other focus is on a
    // control now hidden, or nowhere.
    const QWidget* focus = focusWidget();
    if (focus && montree->isAncestorOf(focus) && focus->isVisible() && focus->isEnabled())
        return;
    premier_controle(montree)->setFocus(Qt::OtherFocusReason);
}

classe_page* w_main::page(std::int32_t numero) {
    if (const ecran_fenetre* ecran = ecran_de(numero))
        return ecran->page(*this);
    bibliotheque_v1::msgdebug(QStringLiteral("Erreur dans w_main.page"));
    return nullptr;
}

void w_main::maj(const QString& genre) {
    p_onglets->maj(genre);
}

void w_main::maj_aide_contextuelle() {
    for (const ecran_fenetre& ecran : ecrans) {
        if (classe_page* une_page = ecran.page(*this))
            une_page->maj_aide_contextuelle();
    }
}

void w_main::maj_formation(const QString& direction) {
    if (direction.isEmpty()) {
        for (const ecran_fenetre& ecran : ecrans) {
            if (classe_page* une_page = ecran.page(*this))
                une_page->maj_formation(QString());
        }
    } else if (classe_page* une_page = page(contenu_courant_)) {
        une_page->maj_formation(direction);
    }
}

QRect w_main::geometrie() const {
    const QWidget* fond = centralWidget();
    return QRect(fond->mapToGlobal(QPoint(0, 0)), fond->size());
}

// Start-up splash.

void w_main::initie_a_propos() {
    contenu_courant_ = coquille::ecran_apropos;
    curseur_attente();
    p_apropos->show();
    show();
    focus_ecran(coquille::ecran_apropos);
    qApp->installEventFilter(this);
    lancement_en_cours(true);
}

bool w_main::lancement_en_cours(bool encore) {
    if (!encore) {
        en_cours = false;
        return true;
    }
    if (!en_cours)
        return false;
    if (!temps_origine.isValid()) {
        temps_origine.start();
        return true;
    }
    // 120 ticks of 1/60 s, then as long as the choice of the first screen
    // waits for the version check.
    return temps_origine.elapsed() < 2000 || attend_verification();
}

bool w_main::attend_verification() const {
    // The version page's answer matters only when the welcome page is not
    // the first screen. The check ends by itself within its own limits.
    return w_formation::instance().bt_lancement->isChecked() &&
           p_onglets->sp_version->requete_en_cours();
}

void w_main::thread_lancement_Run() {
    if (!annulation_utilisateur && lancement_en_cours(true))
        return;
    thread_lancement.stop();
    qApp->removeEventFilter(this);
    en_cours = false;
    affectation_initiale();
    termine_apropos();
}

void w_main::affectation_initiale() {
    maj(QStringLiteral("init"));
    const QDateTime date = BuildDate();
    bibliotheque_v1::msgdebug(QStringLiteral("Compilation en debug de la version") +
                              bibliotheque_v1::eol() + QStringLiteral(" du ") +
                              QLocale().toString(date.date(), QLocale::ShortFormat) +
                              bibliotheque_v1::eol() + QStringLiteral(" à ") +
                              QLocale().toString(date.time(), QLocale::LongFormat));
    // The training window's box mirrors the welcome page's "ne pas afficher
    // au démarrage"; the version page is asked only when the box is checked.
    if (!w_formation::instance().bt_lancement->isChecked())
        ecran_initial = coquille::ecran_accueil;
    else if (p_onglets->sp_version->version_nouvelle())
        ecran_initial = coquille::ecran_version;
    else
        ecran_initial = contenu_onglet_precedent_;
}

void w_main::termine_apropos() {
    // A menu command during the splash may already have shown the chosen
    // screen, and reopening the saved tabs since then changed the tab in
    // front: show the current screen's page again so that the two agree.
    if (ecran_initial == contenu_courant_ && ecran_onglet(contenu_courant_))
        p_onglets->montrer(contenu_courant_);
    montrer(ecran_initial, coquille::origine_lancement);
    curseur_fleche();
    p_apropos->lien_web->setVisible(true);
    p_apropos->update();
}

bool w_main::eventFilter(QObject* objet, QEvent* evenement) {
    // The cancel key ends the splash; the key still reaches its window, and
    // one meant for a dialog on screen stays the dialog's.
    if (evenement->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(evenement)->key() == Qt::Key_Escape && en_cours &&
        !QApplication::activeModalWidget())
        annulation_utilisateur = true;
    return QMainWindow::eventFilter(objet, evenement);
}

// Documents, minimising, closing and settings.

bool w_main::serie_en_cours() const {
    return p_onglets && p_onglets->serie_en_cours();
}

void w_main::drop_clic_fichier(const QString& fichier) {
    if (fichier.isEmpty() || !QFileInfo(fichier).isFile())
        return;
    const std::optional<type_fichier> type = type_de(fichier);
    const std::optional<type_fichier> etat = ensemble_fichiers_drop::type_etat();
    if (type && etat && type->nom.compare(etat->nom, Qt::CaseInsensitive) == 0) {
        parametres_v1::importe_fichier_memo(fichier);
        return;
    }
    if (contenu_courant_ != coquille::ecran_creer_plusieurs)
        return;
    // A run in progress keeps its data file: the new one is refused.
    if (p_onglets->serie_en_cours()) {
        w_alerte::instance().message(messages::serie_deja_en_cours, QString());
        return;
    }
    if (!w_alerte::instance().proposition_ok_annuler(
            QStringLiteral("Créer un ensemble de code-barres à partir d'un fichier de données ?"),
            QString()))
        return;
    p_onglets->creer_serie(fichier);
}

void w_main::dragEnterEvent(QDragEnterEvent* evenement) {
    if (!premier_fichier(evenement->mimeData()).isEmpty())
        evenement->acceptProposedAction();
}

void w_main::dropEvent(QDropEvent* evenement) {
    const QString fichier = premier_fichier(evenement->mimeData());
    if (fichier.isEmpty())
        return;
    evenement->acceptProposedAction();
    drop_clic_fichier(fichier);
}

void w_main::Event_Minimize() {
    w_formation& formation = w_formation::instance();
    if (formation.isVisible()) {
        formation.hide();
        formation.minimisee = true;
    }
    minimisee = true;
}

void w_main::Event_Restore() {
    w_formation& formation = w_formation::instance();
    if (formation.minimisee) {
        // A window manager may have minimised the training window with the
        // main one before it was hidden; shown so, it would be mapped
        // minimised, and some window managers then minimise its main
        // window again, which hides it again, for ever.
        formation.setWindowState(formation.windowState() & ~Qt::WindowMinimized);
        formation.show();
        formation.minimisee = false;
    }
    minimisee = false;
}

void w_main::Restore() {
    showNormal();
    // Some window systems report no state change for a window never mapped.
    if (minimisee)
        Event_Restore();
}

void w_main::changeEvent(QEvent* evenement) {
    if (evenement->type() == QEvent::WindowStateChange) {
        const bool reduite = windowState() & Qt::WindowMinimized;
        if (reduite && !minimisee)
            Event_Minimize();
        else if (!reduite && minimisee)
            Event_Restore();
    }
    QMainWindow::changeEvent(evenement);
}

bool w_main::Event_CancelClose(bool depuis_application) {
    if (!depuis_application)
        QCoreApplication::exit(0);
    return false;
}

void w_main::closeEvent(QCloseEvent* evenement) {
    Event_CancelClose(false);
    evenement->accept();
}

void w_main::import_export_parametres(const QString& genre, const QString& sens) {
    if (genre == u"init") {
        if (sens == u"import") {
            parametres_v1::parametre_integer(contenu_onglet_precedent_, sens,
                                             QStringLiteral("main"), QStringLiteral("contenu"),
                                             coquille::ecran_creer_unit);
            if (!ecran_onglet(contenu_onglet_precedent_))
                contenu_onglet_precedent_ = coquille::ecran_creer_unit;
        } else {
            std::int32_t contenu =
                ecran_onglet(contenu_courant_) ? contenu_courant_ : contenu_onglet_precedent_;
            parametres_v1::parametre_integer(contenu, sens, QStringLiteral("main"),
                                             QStringLiteral("contenu"), coquille::ecran_creer_unit);
        }
    }
    p_accueil->import_export_parametres(genre, sens);
    p_onglets->import_export_parametres(genre, sens);
}
