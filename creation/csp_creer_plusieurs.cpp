#include "csp_creer_plusieurs.h"

#include "TableInputStream.h"
#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "dialogues_fichiers.h"
#include "droits_fichiers.h"
#include "kit_pages.h"
#include "messages.h"
#include "pages_creation.h"
#include "parametres_v1.h"
#include "services_coquille.h"
#include "types_fichiers.h"
#include "w_alerte.h"
#include "w_previsu_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <utility>

namespace {

const QString section = QStringLiteral("multiples");

const QString refus_extension =
    QStringLiteral("L'extension des fichiers eps ne peut contenir ni barre oblique « / », ni "
                   "retour à la ligne, ni caractère nul !\r\rLa saisie est annulée !");

} // namespace

// ---------------------------------------------------------------------------

roue_attente::roue_attente(QWidget* parent) : QWidget(parent), minuterie(new QTimer(this)) {
    minuterie->setInterval(80);
    connect(minuterie, &QTimer::timeout, this, [this] {
        pas = (pas + 1) % 12;
        update();
    });
}

void roue_attente::paintEvent(QPaintEvent*) {
    QPainter g(this);
    g.setRenderHint(QPainter::Antialiasing);
    g.translate(width() / 2.0, height() / 2.0);
    const double rayon = std::min(width(), height()) / 2.0 - 2;
    for (int i = 0; i < 12; ++i) {
        const int anciennete = (pas - i + 12) % 12;
        g.setPen(QPen(QColor(0, 0, 0, 255 - anciennete * 18), 3, Qt::SolidLine, Qt::RoundCap));
        g.drawLine(QPointF(0, -rayon / 2), QPointF(0, -rayon));
        g.rotate(30);
    }
}

void roue_attente::showEvent(QShowEvent*) {
    minuterie->start();
}

void roue_attente::hideEvent(QHideEvent*) {
    minuterie->stop();
}

// ---------------------------------------------------------------------------

namespace {

using enum kit_pages::habit;
using ligne_plan = kit_pages::ligne_plan<csp_creer_plusieurs, QGroupBox, QLabel, QProgressBar,
                                         st_jauge, roue_attente, QComboBox, st_lien, QCheckBox,
                                         QLineEdit, zone_texte, QPushButton>;
using P = csp_creer_plusieurs;

// The page's controls as drawn, in creation order.
const ligne_plan plan[] = {
    {&P::gb_generes, "gb_generes", controle, QRect(10, 149, 622, 135), u"Fichiers générés"},
    {&P::st_extension, "st_extension", legende_grasse, QRect(16, 258, 184, 20),
     u"Extension des fichiers eps"},
    {&P::st_placer_resultat, "st_placer_resultat", legende_grasse, QRect(15, 177, 76, 20),
     u"Les placer"},
    {&P::st_titre, "st_titre", titre_gras, QRect(13, 8, 621, 30),
     u"Créer un ensemble de code-barres"},
    {&P::gb_donnees, "gb_donnees", controle, QRect(10, 55, 621, 88), u"Fichier de données"},
    {&P::st_delimiteur, "st_delimiteur", legende_grasse, QRect(8, 82, 87, 20), u"Délimiteur"},
    {&P::gb_rapport, "gb_rapport", controle, QRect(10, 290, 621, 57), u"Rapports d'exécution"},
    {&P::st_fichier_rapport, "st_fichier_rapport", legende_grasse, QRect(228, 319, 137, 20),
     u"Fichier de rapport"},
    {&P::pb_jauge, "pb_jauge", controle, QRect(69, 360, 202, 20)},
    {&P::st_jauge, "st_jauge", controle, QRect(3, 360, 59, 20), u"previsu"},
    {&P::st_codage, "st_codage", legende_grasse, QRect(302, 82, 59, 20), u"Codage"},
    {&P::pw_attente, "pw_attente", controle, QRect(132, 353, 35, 35)},
    {&P::popup_delimiteur, "popup_delimiteur", controle, QRect(100, 82, 179, 21)},
    {&P::lien_format, "lien_format", controle, QRect(304, 113, 156, 20), u"Format des données…"},
    {&P::popup_codage, "popup_codage", controle, QRect(365, 82, 152, 21)},
    {&P::cb_previsualiser, "cb_previsualiser", controle, QRect(100, 113, 116, 20),
     u"Prévisualiser"},
    {&P::ch_ext_eps, "ch_ext_eps", controle, QRect(205, 255, 80, 22), u".eps"},
    {&P::ch_repertoire, "ch_repertoire", controle, QRect(25, 208, 595, 39)},
    {&P::bt_choisir_repertoire, "bt_choisir_repertoire", controle, QRect(354, 177, 106, 20),
     u"Le choisir…"},
    {&P::bt_ouvrir_repertoire, "bt_ouvrir_repertoire", controle, QRect(472, 177, 93, 20),
     u"L'ouvrir…"},
    {&P::popup_resultats, "popup_resultats", controle, QRect(97, 177, 245, 21)},
    {&P::popup_log, "popup_log", controle, QRect(372, 318, 248, 20)},
    {&P::bt_annuler, "bt_annuler", controle, QRect(283, 360, 70, 20), u"Annuler"},
    {&P::bt_creer, "bt_creer", controle, QRect(485, 360, 135, 20), u"Créer l'ensemble"},
    {&P::bt_verrouiller, "bt_verrouiller", controle, QRect(365, 360, 105, 20), u"verrou"},
    {&P::cb_log, "cb_log", controle, QRect(25, 318, 156, 20), u"Fenêtre d'écran"},
    {&P::bt_enregistrer, "bt_enregistrer", controle, QRect(26, 411, 325, 20),
     u"Enregistrer un exemple de fichier de données"},
};

} // namespace

csp_creer_plusieurs::csp_creer_plusieurs(QWidget* parent) : classe_page(parent) {
    setObjectName(QStringLiteral("csp_creer_plusieurs"));
    setFixedSize(640, 400);
    setFont(kit_pages::police(13));
    kit_pages::construit(this, plan);

    pb_jauge->setRange(0, 100);
    pb_jauge->setValue(0);
    pb_jauge->setTextVisible(false);
    pb_jauge->hide();
    st_jauge->setFont(kit_pages::police(13));
    st_jauge->hide();
    pw_attente->hide();
    ch_ext_eps->setReadOnly(true);
    ch_repertoire->setReadOnly(true);
    ch_repertoire->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ch_repertoire->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ch_repertoire->setTabChangesFocus(true);
    encadre_zone(ch_repertoire);
    popup_log->addItems({QStringLiteral("sans fichier de rapport"),
                         QStringLiteral("à côté du fichier de données"),
                         QStringLiteral("à côté des fichiers générés")});
    popup_log->setCurrentIndex(0);
    bt_annuler->hide();
    bt_creer->setDefault(true);
    cb_log->setChecked(true);

    // Each field is announced by its caption.
    st_delimiteur->setBuddy(popup_delimiteur);
    st_codage->setBuddy(popup_codage);
    st_placer_resultat->setBuddy(popup_resultats);
    st_extension->setBuddy(ch_ext_eps);
    st_fichier_rapport->setBuddy(popup_log);

    // A caption wider than its control gets the condensed face, then smaller
    // sizes, until it fits: the controls keep their places.
    using kit_pages::resserrement;
    for (QLabel* label : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        kit_pages::ajuste_police(label, label->text(), label->width(), resserrement::condense);
    for (QAbstractButton* bouton : findChildren<QAbstractButton*>(Qt::FindDirectChildrenOnly)) {
        // The box of a check box and its gap take the left of the control.
        const int marge = qobject_cast<QCheckBox*>(bouton) ? 24 : 12;
        kit_pages::ajuste_police(bouton, bouton->text(), bouton->width() - marge,
                                 resserrement::condense);
    }

    connect(lien_format, &st_lien::Action, this, &csp_creer_plusieurs::lien_format_Action);
    connect(bt_choisir_repertoire, &QPushButton::clicked, this,
            &csp_creer_plusieurs::bt_choisir_repertoire_Action);
    connect(bt_ouvrir_repertoire, &QPushButton::clicked, this,
            &csp_creer_plusieurs::bt_ouvrir_repertoire_Action);
    connect(popup_resultats, &QComboBox::currentIndexChanged, this,
            &csp_creer_plusieurs::popup_resultats_Change);
    connect(bt_annuler, &QPushButton::clicked, this, &csp_creer_plusieurs::bt_annuler_Action);
    connect(bt_creer, &QPushButton::clicked, this, &csp_creer_plusieurs::bt_creer_Action);
    connect(bt_verrouiller, &QPushButton::clicked, this,
            &csp_creer_plusieurs::bt_verrouiller_Action);
    connect(bt_enregistrer, &QPushButton::clicked, this,
            &csp_creer_plusieurs::bt_enregistrer_Action);
    ch_ext_eps->installEventFilter(this);

    popup_delimiteur_Open();
    popup_codage_Open();
    popup_resultats_Open();
    bt_enregistrer_Open();
    extension_acceptee = ch_ext_eps->text();

    pages_creation::installe_sp_creer_plusieurs(this);
}

csp_creer_plusieurs::~csp_creer_plusieurs() {
    if (pages_creation::sp_creer_plusieurs() == this)
        pages_creation::installe_sp_creer_plusieurs(nullptr);
}

// --- Popups -------------------------------------------------------------------

void csp_creer_plusieurs::popup_delimiteur_Open() {
    popup_delimiteur->addItem(QStringLiteral("tabulation (*.txt)"), QStringLiteral("\t"));
    popup_delimiteur->addItem(QStringLiteral("point-virgule (*.csv)"), QStringLiteral(";"));
    popup_delimiteur->addItem(QStringLiteral("virgule (*.csv)"), QStringLiteral(","));
    popup_delimiteur->addItem(QStringLiteral("barre verticale (*.txt)"), QStringLiteral("|"));
    popup_delimiteur->setCurrentIndex(0);
}

void csp_creer_plusieurs::popup_codage_Open() {
    popup_codage->addItem(QStringLiteral("Ascii"), static_cast<int>(codage_texte::ascii));
    popup_codage->addItem(QStringLiteral("Mac Roman"), static_cast<int>(codage_texte::mac_roman));
    popup_codage->addItem(QStringLiteral("Windows ANSI"),
                          static_cast<int>(codage_texte::windows_ansi));
    popup_codage->addItem(QStringLiteral("Unicode UTF-8"), static_cast<int>(codage_texte::utf8));
    popup_codage->addItem(QStringLiteral("Unicode UTF-16"), static_cast<int>(codage_texte::utf16));
    popup_codage->setCurrentIndex(0);
}

void csp_creer_plusieurs::popup_resultats_Open() {
    popup_resultats->addItem(QStringLiteral("par un dialogue de sélection"), QStringLiteral("D"));
    popup_resultats->addItem(QStringLiteral("à côté du fichier de données"), QStringLiteral("C"));
    popup_resultats->addItem(QStringLiteral("dans un répertoire par défaut"), QStringLiteral("R"));
    popup_resultats->setCurrentIndex(0);
    popup_resultats_Change(); // the first row was selected before the handler was connected
}

void csp_creer_plusieurs::popup_resultats_Change() {
    const bool defaut = mode_resultats() == u"R";
    ch_repertoire->setEnabled(defaut);
    bt_choisir_repertoire->setEnabled(defaut);
    bt_ouvrir_repertoire->setEnabled(defaut && !texte_zone(*ch_repertoire).isEmpty());
}

QString csp_creer_plusieurs::delimiteur() const {
    return popup_delimiteur->currentData().toString();
}

int csp_creer_plusieurs::codage() const {
    const QVariant tag = popup_codage->currentData();
    return tag.isValid() ? tag.toInt() : -1;
}

QString csp_creer_plusieurs::mode_resultats() const {
    return popup_resultats->currentData().toString();
}

bool csp_creer_plusieurs::previsualisation() const {
    return cb_previsualiser->isChecked();
}

// --- Controls -----------------------------------------------------------------

void csp_creer_plusieurs::lien_format_Action() {
    bibliotheque_v1::lance_documentation_html(QStringLiteral("format_fr.html"));
}

bool csp_creer_plusieurs::ch_ext_eps_MouseDown() {
    ch_ext_eps->setReadOnly(false);
    return false;
}

void csp_creer_plusieurs::ch_ext_eps_LostFocus() {
    ch_ext_eps->setReadOnly(true);
    if (extension_acceptable(ch_ext_eps->text())) {
        extension_acceptee = ch_ext_eps->text();
    } else {
        ch_ext_eps->setText(extension_acceptee);
        message_creer_plusieurs(refus_extension);
    }
}

bool csp_creer_plusieurs::extension_acceptable(const QString& extension) {
    for (const QChar c : extension) {
        if (c == u'/' || c == u'\0' || c == u'\r' || c == u'\n')
            return false;
    }
    return true;
}

bool csp_creer_plusieurs::eventFilter(QObject* objet, QEvent* evenement) {
    if (objet == ch_ext_eps) {
        if (evenement->type() == QEvent::MouseButtonPress && ch_ext_eps->isEnabled())
            return ch_ext_eps_MouseDown();
        // The field's own context menu takes the focus only for a while.
        if (evenement->type() == QEvent::FocusOut &&
            static_cast<QFocusEvent*>(evenement)->reason() != Qt::PopupFocusReason)
            ch_ext_eps_LostFocus();
    }
    return classe_page::eventFilter(objet, evenement);
}

void csp_creer_plusieurs::bt_choisir_repertoire_Action() {
    get_dossier_resultats_defaut();
}

void csp_creer_plusieurs::bt_ouvrir_repertoire_Action() {
    const QString dossier = get_folderitem_ch_repertoire();
    if (!dossier.isEmpty())
        bibliotheque_v1::ouvre_adresse(QUrl::fromLocalFile(dossier));
}

void csp_creer_plusieurs::bt_annuler_Action() {
    fi_lecture_reel.clear();
}

void csp_creer_plusieurs::bt_creer_Action() {
    const QString tag = delimiteur();
    const type_fichier type =
        file_table_type::filetype_table(tag.isEmpty() ? 0 : tag.at(0).unicode());
    fi_lecture_officiel = bibliotheque_v1::get_readfolderitem(coquille::w_main_qt(), &type,
                                                              QStringLiteral("lecture"));
    if (!fi_lecture_officiel.isEmpty())
        creer_serie();
}

void csp_creer_plusieurs::bt_verrouiller_Action() {
    interface_active = !interface_active;
    maj_interface();
}

void csp_creer_plusieurs::bt_enregistrer_Action() {
    cree_fichier_donnees();
}

void csp_creer_plusieurs::bt_enregistrer_Open() {
    bt_enregistrer->move(bt_enregistrer->x(), bt_annuler->y());
}

// --- Run ------------------------------------------------------------------------

void csp_creer_plusieurs::creer_serie() {
    if (travail_en_cours) {
        // A file dropped or opened on the main window during a run: the run
        // keeps its own data file.
        fi_lecture_officiel = fi_lecture_travail;
        message_creer_plusieurs(messages::serie_deja_en_cours);
        return;
    }
    if (mode_resultats() == u"R" && get_folderitem_ch_repertoire().isEmpty())
        return;
    if (fi_lecture_officiel.isEmpty())
        return;
    if (!QFileInfo(fi_lecture_officiel).isFile() ||
        !bibliotheque_v1::lecture_permise(fi_lecture_officiel)) {
        message_creer_plusieurs(messages::fichier_protege_ouverture);
        return;
    }
    fi_lecture_travail = fi_lecture_officiel;
    demarre_thread();
}

QList<QWidget*> csp_creer_plusieurs::reglages() const {
    return {popup_delimiteur,      popup_codage, cb_previsualiser, popup_resultats,
            bt_choisir_repertoire, ch_ext_eps,   cb_log,           popup_log};
}

void csp_creer_plusieurs::maj_interface() {
    // A run reads its settings as it goes: they stay disabled until it ends.
    // cb_log only decides whether the summary shows at the end, so the lock
    // alone governs it.
    for (QWidget* reglage : reglages()) {
        bool actif = interface_active && (reglage == cb_log || !travail_en_cours);
        if (reglage == bt_choisir_repertoire)
            actif = actif && mode_resultats() == u"R";
        reglage->setEnabled(actif);
    }
    bt_verrouiller->setText(interface_active ? QStringLiteral("Verrouiller")
                                             : QStringLiteral("Déverrouiller"));
    for (QPushButton* bouton : {bt_creer, bt_verrouiller, bt_enregistrer})
        bouton->setEnabled(!travail_en_cours);
}

void csp_creer_plusieurs::serie_commencee(bool previsualisation) {
    // Qt hands the focus of a control that the run disables to the next one
    // in the chain, often a link that Return would then open.
    focus_avant_serie = window()->focusWidget();
    travail_en_cours = true;
    maj_interface();
    focus_pendant_serie = window()->focusWidget();
    if (previsualisation)
        pw_attente->show();
}

void csp_creer_plusieurs::initialise_jauge(int total) {
    bt_enregistrer->hide();
    bt_annuler->show();
    pb_jauge->setValue(0);
    pb_jauge->setMaximum(total);
    pb_jauge->show();
    st_jauge->clear();
    st_jauge->show();
}

bool csp_creer_plusieurs::previsualisation_acceptee(const QStringList& lignes, int nb_colonnes) {
    const bool acceptee =
        w_previsu_table::instance().afficher_questionner(lignes, nb_colonnes, pw_attente);
    pw_attente->hide();
    return acceptee;
}

void csp_creer_plusieurs::serie_avance(int fait) {
    pb_jauge->setValue(fait);
    st_jauge->affiche_pourcentage(*pb_jauge);
}

void csp_creer_plusieurs::serie_terminee() {
    const QWidget* focus = window()->focusWidget();
    const bool focus_a_rendre = !focus || focus == focus_pendant_serie || focus == bt_annuler;
    copie_reglages.reset();
    // Left by a run that failed before its finish step.
    buffer_log.reset();
    dossier_resultats.ferme();
    pw_attente->hide();
    bt_enregistrer->show();
    pb_jauge->setValue(0);
    pb_jauge->hide();
    st_jauge->hide();
    bt_annuler->hide();
    travail_en_cours = false;
    maj_interface();
    if (focus_a_rendre && focus_avant_serie && isAncestorOf(focus_avant_serie) &&
        focus_avant_serie->isVisible() && focus_avant_serie->isEnabled())
        focus_avant_serie->setFocus(Qt::ActiveWindowFocusReason);
    focus_avant_serie = nullptr;
    focus_pendant_serie = nullptr;
}

void csp_creer_plusieurs::message_creer_plusieurs(const QString& texte) {
    w_alerte::instance().message(texte, QString());
}

void csp_creer_plusieurs::montrer() {
    maj_interface();
    bt_ouvrir_repertoire->setEnabled(!texte_zone(*ch_repertoire).isEmpty() &&
                                     mode_resultats() == u"R");
}

// --- Settings -------------------------------------------------------------------

void csp_creer_plusieurs::import_export_parametres(const QString& genre, const QString& sens) {
    if (genre == u"init" && sens == u"import" && parametres_v1::niveau_version_preferences > 0) {
        const QString ancienne = QStringLiteral("valdorin");
        parametres_v1::parametre_renomme(ancienne, QStringLiteral("rbt_resultats"), section,
                                         QStringLiteral("popup_resultats"));
        for (const char* nom : {"ch_repertoire", "popup_log", "popup_delimiteur", "ch_ext_eps"})
            parametres_v1::parametre_renomme(ancienne, QString::fromLatin1(nom), section,
                                             QString::fromLatin1(nom));
    }
    parametres_v1::parametre_popup(popup_delimiteur, sens, section, -1);
    parametres_v1::parametre_popup(popup_codage, sens, section, -1);
    parametres_v1::parametre_checkbox(cb_previsualiser, sens, section, false);
    parametres_v1::parametre_popup(popup_resultats, sens, section, -1);
    parametres_v1::parametre_editfield(ch_repertoire, sens, section, QString());
    parametres_v1::parametre_editfield(ch_ext_eps, sens, section, QString());
    if (sens == u"import") {
        // A hand-edited file may hold an extension the field would refuse.
        if (extension_acceptable(ch_ext_eps->text()))
            extension_acceptee = ch_ext_eps->text();
        else
            ch_ext_eps->setText(extension_acceptee);
    }
    parametres_v1::parametre_checkbox(cb_log, sens, section, true);
    parametres_v1::parametre_popup(popup_log, sens, section, -1);
    parametres_v1::parametre_boolean(interface_active, sens, section, QStringLiteral("actif"),
                                     true);
    popup_resultats_Change();
}

// --- Training texts -------------------------------------------------------------

void csp_creer_plusieurs::formation_page(QString& message, QString&) {
    message = QStringLiteral(
        "Cet écran permet d'obtenir un ensemble de fichiers code-barres par lecture d'un fichier "
        "de données.\r\rLe fichier de données doit être au format texte.\r\rChaque ligne de ce "
        "fichier de données produira un fichier code-barres.");
}

void csp_creer_plusieurs::formation_controles() {
    const std::pair<QWidget*, QString> aides[] = {
        {popup_delimiteur,
         QStringLiteral("Ce menu permet de choisir le délimiteur à rechercher entre les "
                        "différentes colonnes du fichier de données.")},
        {popup_codage,
         QStringLiteral("Ce menu permet de choisir le codage du fichier de données.\rLorsque le "
                        "fichier de données ne mémorise pas de caractères accentués, les réglages "
                        "Ascii, Mac Roman, Windows ANSI et Unicode UTF-8 fourniront un résultat "
                        "identique.\rLe réglage Unicode UTF-16 traitera correctement les "
                        "sous-codages BigEndian et LittleEndian pour autant que les caractères "
                        "d'en-tête standardisés FEFF ou FFFE soient présents. En leur absence, "
                        "seul le sous-codage natif du processeur sera correctement traité.")},
        {cb_previsualiser,
         QStringLiteral("Cochez cette case pour prévisualiser les données du fichier telles que le "
                        "logiciel les voit en fonction des réglages de délimiteur et de "
                        "codage.\r\rCette prévisualisation permettra de valider ces réglages avant "
                        "de créer les code-barres.")},
        {lien_format,
         QStringLiteral("Ce lien amène à une description du format attendu pour le fichier de "
                        "données.")},
        {popup_resultats,
         QStringLiteral(
             "Ce menu permet de choisir comment ou où vous souhaitez obtenir les fichiers "
             "code-barres générés.")},
        {bt_choisir_repertoire,
         QStringLiteral("Ce bouton permet de changer le répertoire dans lequel les fichiers "
                        "code-barres seront générés par défaut.")},
        {bt_ouvrir_repertoire,
         QStringLiteral("Lorsqu'un répertoire par défaut a été choisi, ce bouton permet de "
                        "l'ouvrir.")},
        {ch_repertoire,
         QStringLiteral(
             "Ce champ présente le chemin du répertoire dans lequel les fichiers code-barres "
             "seront générés par défaut.")},
        {ch_ext_eps,
         QStringLiteral("Entrez ici l'extension que vous souhaitez adjoindre au nom des fichiers "
                        "EPS générés, par exemple «\u00A0.eps\u00A0» ou «\u00A0.epsf\u00A0» ou "
                        "«\u00A0.epsi\u00A0». Aucun contrôle n'est effectué sur cette saisie qui "
                        "est totalement libre.")},
        {cb_log,
         QStringLiteral("Cochez cette case pour obtenir, après traitement d'un fichier de données, "
                        "un rapport d'exécution dans une fenêtre s'ouvrant à l'écran.\r\rCe "
                        "rapport indique le nombre de fichiers code-barres générés et celui des "
                        "erreurs rencontrées.")},
        {popup_log,
         QStringLiteral("Un fichier de rapport peut-être automatiquement créé après traitement "
                        "d'un fichier de données.\r\rIl renseigne sur les fichiers code-barres "
                        "générés et détaille les erreurs rencontrées.\r\rCe menu permet de choisir "
                        "si et où ces fichiers de rapport seront enregistrés, pour autant que ce "
                        "soit dans un répertoire autorisé en écriture.")},
        {bt_creer,
         QStringLiteral("Ce bouton permet de choisir un fichier de données pour le prévisualiser "
                        "au besoin puis lancer la génération des fichiers code-barres.\r\rVous "
                        "pouvez aussi glisser-déposer un fichier de données dans la fenêtre du "
                        "logiciel ou sur son icône.")},
        {bt_verrouiller,
         QStringLiteral("Ce bouton permet de verrouiller ou de déverrouiller les réglages de cet "
                        "onglet.\r\rUtilisez-le pour protéger ces réglages d'une modification "
                        "malencontreuse.")},
        {bt_annuler,
         QStringLiteral(
             "Ce bouton permet d'arrêter le travail de génération de fichiers "
             "code-barres en cours. Il n'est actif que lorsqu'un travail est en cours.")},
        {bt_enregistrer,
         QStringLiteral("Cliquez sur ce bouton pour enregistrer un fichier texte qui mémorisera un "
                        "en-tête XML répertoriant les réglages de cet onglet, suivi par une ligne "
                        "mémorisant les données de l'onglet «\u00A0Créer un "
                        "code-barres\u00A0».\r\rCe fichier texte vous servira de modèle pour "
                        "l'obtention par un autre logiciel -\u00A0par exemple par une base de "
                        "données des titres et des éditions\u00A0- d'un fichier de données "
                        "multi-lignes utilisable depuis cet onglet.")},
    };
    for (const auto& [controle, message] : aides)
        ajout_controle_formation(controle, message, QString());
}
