#include "csp_creer_unit.h"

#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "dialogues_fichiers.h"
#include "kit_pages.h"
#include "ksp_partagees.h"
#include "liens_web.h"
#include "pages_creation.h"
#include "parametres_v1.h"
#include "services_coquille.h"
#include "types_fichiers.h"
#include "w_alerte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

#include <cmath>
#include <utility>

namespace {

const QString section = QStringLiteral("unique");

// A field filter that upper-cases what comes in before it checks it.
class validateur_majuscules : public QRegularExpressionValidator {
public:
    validateur_majuscules(const QString& motif, QObject* parent)
        : QRegularExpressionValidator(QRegularExpression(motif), parent) {}

    State validate(QString& texte, int& position) const override {
        texte = texte.toUpper();
        return QRegularExpressionValidator::validate(texte, position);
    }
};

// One line of the form whose typed, pasted or dropped text must match
// `motif` whole, and hold at most `longueur` characters.
void filtre(QLineEdit* champ, const QString& motif, int longueur, bool majuscules = false) {
    if (majuscules)
        champ->setValidator(new validateur_majuscules(motif, champ));
    else
        champ->setValidator(new QRegularExpressionValidator(QRegularExpression(motif), champ));
    champ->setMaxLength(longueur);
}

// The owner of the page's dialogs: the main window, else the page's window.
QWidget* proprietaire(QWidget* page) {
    if (auto* fenetre = coquille::w_main_qt())
        return fenetre;
    return page->window();
}

std::int32_t ecran_montre() {
    const coquille::fenetre_principale* fenetre = coquille::w_main();
    return fenetre ? fenetre->contenu_courant() : coquille::ecran_creer_unit;
}

void remplit(QComboBox* menu, std::initializer_list<std::pair<QString, QString>> lignes) {
    for (const auto& [texte, etiquette] : lignes)
        menu->addItem(texte, etiquette);
    menu->setCurrentIndex(0);
}

QString etiquette(const QComboBox* menu) {
    return menu->currentData().toString();
}

using enum kit_pages::habit;
using ligne_plan = kit_pages::ligne_plan<csp_creer_unit, QGroupBox, QLabel, QLineEdit, QComboBox,
                                         zone_texte, QPushButton, QCheckBox>;
using P = csp_creer_unit;

// The page's controls as drawn, in creation order.
const ligne_plan plan[] = {
    {&P::GroupBox2, "GroupBox2", controle, QRect(13, 141, 617, 104), u"Mise en page"},
    {&P::GroupBox1, "GroupBox1", controle, QRect(13, 251, 617, 79),
     u"Prévisualisation EPS ou post-it PDF"},
    {&P::GroupBox3, "GroupBox3", controle, QRect(13, 48, 617, 87),
     u"Informations mémorisées par le code-barres et/ou sa légende"},
    {&P::st_titre, "st_titre", titre, QRect(13, 8, 621, 30),
     u"Créer un code-barres pour un périodique"},
    {&P::st_commentaire, "st_commentaire", legende, QRect(141, 274, 94, 20), u"Commentaire"},
    {&P::st_orientation, "st_orientation", legende, QRect(72, 218, 90, 20), u"Orientation"},
    {&P::st_protection, "st_protection", legende, QRect(72, 191, 90, 20), u"Protection"},
    {&P::st_engraissement, "st_engraissement", legende, QRect(262, 164, 197, 20),
     u"Correction d'engraissement"},
    {&P::st_type_fichier, "st_type_fichier", legende, QRect(51, 164, 111, 20), u"Type de fichier"},
    {&P::st_reglement, "st_reglement", legende, QRect(414, 104, 140, 20), u"Mode de règlement"},
    {&P::st_prix, "st_prix", legende, QRect(215, 104, 107, 20), u"Prix en euros"},
    {&P::st_entete_prix, "st_entete_prix", legende, QRect(23, 104, 108, 20), u"En-tête de prix"},
    {&P::st_sous_parution, "st_sous_parution", legende, QRect(431, 74, 142, 20),
     u"N° de sous-parution"},
    {&P::st_parution, "st_parution", legende, QRect(284, 74, 100, 20), u"N° de parution"},
    {&P::st_code_produit, "st_code_produit", legende, QRect(137, 74, 91, 20), u"Code produit"},
    {&P::st_transporteur, "st_transporteur", legende, QRect(19, 74, 89, 20), u"Transporteur"},
    {&P::ch_transporteur, "ch_transporteur", controle, QRect(114, 74, 18, 22)},
    {&P::ch_code_produit, "ch_code_produit", controle, QRect(231, 74, 50, 22)},
    {&P::ch_parution, "ch_parution", controle, QRect(387, 74, 40, 22)},
    {&P::ch_entete_prix, "ch_entete_prix", controle, QRect(135, 104, 57, 22)},
    {&P::ch_prix, "ch_prix", controle, QRect(327, 104, 45, 22)},
    {&P::ch_reglement, "ch_reglement", controle, QRect(557, 104, 53, 22)},
    {&P::popup_type_fichier, "popup_type_fichier", controle, QRect(164, 164, 68, 20)},
    {&P::popup_engraissement, "popup_engraissement", controle, QRect(463, 164, 147, 20)},
    {&P::popup_protection, "popup_protection", controle, QRect(164, 191, 336, 20)},
    {&P::popup_orientation, "popup_orientation", controle, QRect(164, 218, 190, 20)},
    {&P::popup_previsu, "popup_previsu", controle, QRect(34, 274, 92, 20)},
    {&P::ch_commentaire, "ch_commentaire", controle, QRect(239, 274, 371, 50)},
    {&P::bt_enregistrer, "bt_enregistrer", controle, QRect(95, 360, 330, 20),
     u"Enregistrer un exemple de fichier de données"},
    {&P::bt_creer, "bt_creer", controle, QRect(447, 360, 169, 20), u"Créer un code-barres"},
    {&P::cb_visualiser, "cb_visualiser", controle, QRect(437, 334, 193, 20),
     u"Visualiser après création"},
    {&P::popup_sous_parution, "popup_sous_parution", controle, QRect(575, 75, 47, 20)},
};

} // namespace

csp_creer_unit::csp_creer_unit(QWidget* parent) : classe_page(parent) {
    setObjectName("csp_creer_unit");
    setFixedSize(640, 400);
    setFont(kit_pages::police(13));
    kit_pages::construit(this, plan);
    // The captions are shown as written, never read as markup.
    for (QLabel* l : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        l->setTextFormat(Qt::PlainText);

    filtre(ch_transporteur, QStringLiteral("[A-Z]?"), 1, true);
    filtre(ch_code_produit, QStringLiteral("[0-9]{0,5}"), 5);
    filtre(ch_parution, QStringLiteral("[0-9]{0,4}"), 4);
    filtre(ch_prix, QStringLiteral("[0-9]{0,2}([.,][0-9]{0,2})?"), 5);
    filtre(ch_reglement, QStringLiteral("[A-Za-z0-9]{0,4}"), 4);
    popup_previsu->addItems({QStringLiteral("Absent"), QStringLiteral("Présent")});
    // Tab goes on to the next control, as in the one-line fields.
    ch_commentaire->setTabChangesFocus(true);
    encadre_zone(ch_commentaire);
    bt_creer->setDefault(true);
    popup_sous_parution->addItems({"0", "1", "2", "3", "4", QStringLiteral("5 hors-série « H »"),
                                   QStringLiteral("6 parution spéciale « S »"), "7", "8", "9"});

    // Each field is announced by its caption.
    const std::pair<QLabel*, QWidget*> legendes[] = {{st_transporteur, ch_transporteur},
                                                     {st_code_produit, ch_code_produit},
                                                     {st_parution, ch_parution},
                                                     {st_sous_parution, popup_sous_parution},
                                                     {st_entete_prix, ch_entete_prix},
                                                     {st_prix, ch_prix},
                                                     {st_reglement, ch_reglement},
                                                     {st_type_fichier, popup_type_fichier},
                                                     {st_engraissement, popup_engraissement},
                                                     {st_protection, popup_protection},
                                                     {st_orientation, popup_orientation},
                                                     {st_commentaire, ch_commentaire}};
    for (const auto& [legende, champ] : legendes)
        legende->setBuddy(champ);
    // The preview popup has no caption of its own: it sits in its group box,
    // whose title Qt then gives as its name. On Linux a popup is named by a
    // label or by its group box, never by a name set on it.
    popup_previsu->setParent(GroupBox1);
    popup_previsu->move(popup_previsu->pos() - GroupBox1->pos());

    popup_type_fichier_Open();
    popup_engraissement_Open();
    popup_protection_Open();
    popup_orientation_Open();
    cb_visualiser_Open();

    connect(popup_type_fichier, &QComboBox::currentIndexChanged, this,
            &csp_creer_unit::popup_type_fichier_Change);
    connect(bt_creer, &QPushButton::clicked, this, &csp_creer_unit::bt_creer_Action);
    connect(bt_enregistrer, &QPushButton::clicked, this, &csp_creer_unit::bt_enregistrer_Action);

    pages_creation::installe_sp_creer_unit(this);
}

csp_creer_unit::~csp_creer_unit() {
    if (pages_creation::sp_creer_unit() == this)
        pages_creation::installe_sp_creer_unit(nullptr);
}

void csp_creer_unit::popup_type_fichier_Open() {
    remplit(popup_type_fichier, {{QStringLiteral("EPS"), "E"}, {QStringLiteral("PDF"), "P"}});
}

void csp_creer_unit::popup_type_fichier_Change() {
    // The box keeps its tick while it is hidden.
    cb_visualiser->setVisible(etiquette(popup_type_fichier) != u"E");
}

void csp_creer_unit::popup_engraissement_Open() {
    remplit(popup_engraissement, {{QStringLiteral("sans correction"), "0"},
                                  {QStringLiteral("0,01 mm"), "1"},
                                  {QStringLiteral("0,02 mm"), "2"},
                                  {QStringLiteral("0,03 mm"), "3"},
                                  {QStringLiteral("0,04 mm"), "4"}});
}

void csp_creer_unit::popup_protection_Open() {
    remplit(popup_protection,
            {{QStringLiteral("sans protection, en surimpression"), "A"},
             {QStringLiteral("réserves d'initialisation, en surimpression"), "R"},
             {QStringLiteral("réserves sur fond blanc, en défonce"), "F"},
             {QStringLiteral("réserves sur fond blanc encadré, en défonce"), "C"}});
}

void csp_creer_unit::popup_orientation_Open() {
    remplit(popup_orientation, {{QStringLiteral("horizontale"), "="},
                                {QStringLiteral("verticale de bas en haut"), "<"},
                                {QStringLiteral("verticale de haut en bas"), ">"}});
}

void csp_creer_unit::cb_visualiser_Open() {
    cb_visualiser->setVisible(false);
}

void csp_creer_unit::bt_creer_Action() {
    valdorin::tableau_code_barres tableau;
    if (!alimente_verifie_tableau(tableau))
        return;
    // Kept here: a batch run goes on while the save dialog is open, and sets
    // the engine's inputs for its own records.
    const bool previsu = valdorin::previsu_presence;
    const bool pdf = tableau[valdorin::entree_type_fichier] == u"P";
    const std::optional<type_fichier> type =
        pdf ? ensemble_fichiers_resultat::type_pdf() : ensemble_fichiers_resultat::type_eps();
    if (!type) {
        bibliotheque_v1::msgdebug(QStringLiteral("csp_creer_unit : types de fichiers absents"));
        return;
    }
    const QString fichier = bibliotheque_v1::get_savefolderitem(
        proprietaire(this), *type, QStringLiteral("ecriture"), QString());
    // Cancelled, or refused by the dialog, which has said why.
    if (fichier.isEmpty())
        return;
    tableau[valdorin::entree_nom_fichier] = QFileInfo(fichier).fileName();
    try {
        // The file the user chose: a link chosen in the dialog is written
        // through, unless another user put it in a shared sticky folder.
        valdorin::fi_ecriture = fichier;
        valdorin::previsu_presence = previsu;
        valdorin::dossier_ecriture = nullptr;
        valdorin::cree_fichier(tableau, nullptr);
    } catch (const valdorin::erreur_creation& erreur) {
        // The destination keeps what it held; the form is left as it is.
        w_alerte::instance().message(erreur.message(), QString());
        return;
    }
    if (pdf && cb_visualiser->isChecked())
        bibliotheque_v1::ouvre_adresse(QUrl::fromLocalFile(fichier));
}

QString csp_creer_unit::prix_en_centimes(const QString& prix) {
    QString texte = prix;
    const qsizetype virgule = texte.indexOf(u',');
    if (virgule >= 0)
        texte[virgule] = u'.';
    static const QRegularExpression nombre(QStringLiteral("^[0-9]*(\\.[0-9]*)?"));
    bool lu = false;
    double valeur = nombre.match(texte).captured(0).toDouble(&lu);
    if (!lu)
        valeur = 0;
    // 0.29 x 100 is 28.999... in binary: the nearest whole cent is the price.
    return QString::number(std::llround(valeur * 100));
}

QString csp_creer_unit::texte_commentaire() const {
    return texte_zone(*ch_commentaire);
}

void csp_creer_unit::bt_enregistrer_Action() {
    ksp_partagees::cree_fichier_donnees();
}

bool csp_creer_unit::alimente_verifie_tableau(valdorin::tableau_code_barres& tableau) {
    QString message;
    const bool previsu = popup_previsu->currentIndex() == 1;
    const QString commentaire = texte_commentaire();
    if (ch_code_produit->text().isEmpty()) {
        message = QStringLiteral("Le Code produit doit être renseigné par 1 à 5 chiffres !");
        ch_code_produit->setFocus();
    } else if (!ch_prix->text().contains(QRegularExpression(QStringLiteral("[0-9]")))) {
        // "," or "." alone is no price either: it would make a code at 0,00.
        message = QStringLiteral("Le Prix en euros doit être renseigné !");
        ch_prix->setFocus();
    } else if (popup_type_fichier->currentIndex() == 0 && previsu) {
        const QList<uint> caracteres = commentaire.toUcs4();
        if (commentaire.contains(u'\n') || commentaire.contains(u'\r')) {
            message = QStringLiteral("Les fichiers de type EPS n'acceptent pas les commentaires "
                                     "de prévisualisation multilignes !");
            ch_commentaire->setFocus();
        } else if (caracteres.size() > 14) {
            message = QStringLiteral("La longueur maximale d'un commentaires de prévisualisation "
                                     "d'un fichier EPS est de 14 caractères !");
            // The excess shows selected: from the 15th character to the end.
            int debut = 0;
            for (int n = 0; n < 14; ++n)
                debut += commentaire.at(debut).isHighSurrogate() ? 2 : 1;
            QTextCursor curseur = ch_commentaire->textCursor();
            curseur.setPosition(debut);
            curseur.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
            ch_commentaire->setTextCursor(curseur);
            ch_commentaire->setFocus();
        }
    }

    valdorin::tableau_code_barres rempli = tableau;
    if (message.isEmpty()) {
        rempli[valdorin::entree_transporteur] = ch_transporteur->text();
        rempli[valdorin::entree_code_produit] = ch_code_produit->text();
        rempli[valdorin::entree_parution] = ch_parution->text();
        rempli[valdorin::entree_sous_parution] =
            QString::number(popup_sous_parution->currentIndex());
        rempli[valdorin::entree_entete_prix] = ch_entete_prix->text();
        rempli[valdorin::entree_prix] = prix_en_centimes(ch_prix->text());
        rempli[valdorin::entree_mode_reglement] = ch_reglement->text();
        rempli[valdorin::entree_type_fichier] = etiquette(popup_type_fichier);
        rempli[valdorin::entree_engraissement] = etiquette(popup_engraissement);
        rempli[valdorin::entree_protection] = etiquette(popup_protection);
        rempli[valdorin::entree_orientation] = etiquette(popup_orientation);
        if (previsu)
            rempli[valdorin::entree_commentaire] = commentaire;
        // The engine's own check of the legend, before the file is asked for:
        // a character its fonts lack, or a legend past the symbol's edge.
        if (const auto defaut = valdorin::verifie_legende(rempli)) {
            message = defaut->message;
            if (defaut->entree == valdorin::entree_transporteur)
                ch_transporteur->setFocus();
            else if (defaut->entree == valdorin::entree_mode_reglement)
                ch_reglement->setFocus();
            else
                ch_entete_prix->setFocus();
        }
    }

    if (!message.isEmpty()) {
        if (ecran_montre() == coquille::ecran_creer_plusieurs)
            message += bibliotheque_v1::eol(2) +
                       QStringLiteral("Corrigez ce défaut dans l'onglet «\u00A0Créer un "
                                      "code-barres\u00A0»\u00A0!");
        w_alerte::instance().message(message, QString());
        if (ecran_montre() == coquille::ecran_creer_plusieurs)
            coquille::w_main()->montrer(coquille::ecran_creer_unit, coquille::origine_page);
        return false;
    }

    tableau = rempli;
    valdorin::previsu_presence = previsu;
    return true;
}

void csp_creer_unit::parametre_champ_filtre(QLineEdit* champ, const QString& sens) {
    if (sens != u"import") {
        parametres_v1::parametre_editfield(champ, sens, section, QString());
        return;
    }
    // Restored without the length limit, which would cut the stored text,
    // then held to the same rule as typed text.
    const int longueur = champ->maxLength();
    champ->setMaxLength(32767);
    parametres_v1::parametre_editfield(champ, sens, section, QString());
    QString texte = champ->text();
    int position = 0;
    const bool admis = texte.size() <= longueur &&
                       champ->validator()->validate(texte, position) == QValidator::Acceptable;
    champ->setText(admis ? texte : QString());
    champ->setMaxLength(longueur);
}

void csp_creer_unit::import_export_parametres(const QString& genre, const QString& sens) {
    if (genre == u"init" && sens == u"import" && parametres_v1::niveau_version_preferences > 0)
        parametres_v1::parametre_renomme(section, QStringLiteral("ch_sous_parution"), section,
                                         QStringLiteral("popup_sous_parution"));
    parametre_champ_filtre(ch_transporteur, sens);
    parametre_champ_filtre(ch_code_produit, sens);
    parametre_champ_filtre(ch_parution, sens);
    parametres_v1::parametre_popup(popup_sous_parution, sens, section, -1);
    parametres_v1::parametre_editfield(ch_entete_prix, sens, section, QString());
    parametre_champ_filtre(ch_prix, sens);
    parametre_champ_filtre(ch_reglement, sens);
    parametres_v1::parametre_popup(popup_type_fichier, sens, section, -1);
    parametres_v1::parametre_popup(popup_engraissement, sens, section, -1);
    parametres_v1::parametre_popup(popup_protection, sens, section, -1);
    parametres_v1::parametre_popup(popup_orientation, sens, section, -1);
    parametres_v1::parametre_popup(popup_previsu, sens, section, -1);
    parametres_v1::parametre_editfield(ch_commentaire, sens, section, QString());
    parametres_v1::parametre_checkbox(cb_visualiser, sens, section, false);
}

QString csp_creer_unit::compose_nom_fichier() const {
    return QStringLiteral("sans_titre");
}

void csp_creer_unit::montrer() {}

void csp_creer_unit::formation_page(QString& message, QString&) {
    message = QStringLiteral("Cet écran permet d'obtenir un code-barres sous forme de fichier EPS "
                             "ou PDF qui pourra ensuite être importé dans une mise en page.");
}

void csp_creer_unit::formation_controles() {
    const struct {
        QWidget* controle;
        QString message;
        QString documentation;
    } aides[] = {
        {ch_transporteur,
         QStringLiteral("Entrez ici, si vous le souhaitez, une lettre majuscule significative du "
                        "transporteur.\r\r"
                        "Cette majuscule figurera en en-tête de la légende du code-barres."),
         QStringLiteral("")},
        {ch_code_produit,
         QStringLiteral("Entrez ici le nombre de un à cinq chiffres correspondant au titre du "
                        "périodique à code-barrer."),
         QStringLiteral("")},
        {ch_parution,
         QStringLiteral(
             "Entrez ici un maximum de 4 chiffres, par exemples :\r"
             "- pour un quotidien, le numéro du mois suivi du numéro du jour dans le mois ;\r"
             "- pour un hebdomadaire, deux chiffres pour l'année suivis du numéro de la semaine "
             "dans l'année ;\r"
             "- pour un mensuel, deux chiffres pour l'année suivis du numéro du mois dans "
             "l'année.\r"
             "Cela peut également être un nombre incrémenté de 1 à 9999, l'objectif étant que deux "
             "parutions différentes ne puissent pas se trouver dans un même point de vente au même "
             "moment avec un même numéro. "),
         QStringLiteral("")},
        {popup_sous_parution,
         QStringLiteral("Saisissez ici un chiffre correspondant :\r"
                        "- soit à une sous-parution, une édition régionale, ou à une réédition "
                        "incluant des corrections ou des mises à jour ;\r"
                        "- soit à une spécificité de la parution.\r"
                        "Dans ce dernier cas :\r"
                        "- la valeur 0 correspond à une parution normale ;\r"
                        "- la valeur 5 correspond à une parution hors-série, elle entraînera la "
                        "présence d'une lettre H dans la légende ;\r"
                        "- la valeur 6 correspond à une parution spéciale, elle entraînera la "
                        "présence d'une lettre S dans la légende."),
         QStringLiteral("")},
        {ch_entete_prix,
         QStringLiteral("Entrez ici, si vous le souhaitez, l'information qui doit parfois "
                        "apparaître juste avant le prix dans la légende du code-barres.\r\r"
                        "Pour les publications distribuées internationalement, cette information "
                        "exprime souvent le pays de validité du prix figurant dans la légende."),
         QStringLiteral("")},
        {ch_prix,
         QStringLiteral(
             "Entrez ici le prix public de la publication à code-barrer, entre 0 et 99,99 euros."),
         QStringLiteral("")},
        {ch_reglement,
         QStringLiteral("Entrez ici, si vous le souhaitez, jusqu'à 4 chiffres ou lettres qui "
                        "apparaîtront en queue de la légende du code-barres."),
         QStringLiteral("")},
        {popup_type_fichier,
         QStringLiteral("Sélectionnez ici le type de fichier que vous souhaitez obtenir\u00A0:\r\r"
                        "  EPS pour Encapsuled PostScript\r\r"
                        "ou\r\r"
                        "  PDF pour Portable Document Format"),
         QStringLiteral("")},
        {popup_engraissement,
         QStringLiteral(
             "Choisissez ici une éventuelle correction de l'engraissement apporté aux barres "
             "noires du code-barres par le dispositif d'impression.\r\r"
             "Les valeurs figurant dans ce menu doivent être doublées pour obtenir la « réduction "
             "de largeur de barres\u00A0» correspondante. Ces valeurs sont indicatives, le "
             "résultat effectif dépendant en partie de la résolution de flashage ou de gravure.\r\r"
             "La correction doit être choisie en fonction des  résultats observés sur les jauges "
             "figurant au dessus des extrémités du code-barres."),
         QStringLiteral("engraissement_fr.html")},
        {popup_protection,
         QStringLiteral(
             "Choisissez ici le niveau de protection du code-barres au regard de son contexte dans "
             "la mise en page.\r\r"
             "Imprimer un code-barres au milieu d'une page blanche ne nécessite aucune protection. "
             "Les réserves d'initialisation amènent, à gauche et à droite du code-barres, des "
             "zones vierges de largeur standardisée permettant aux lecteurs de le dissocier du "
             "contexte. Un fond blanc autorise une mise en page sur un arrière-plan sombre.\r"
             "Un cadre améliore la visibilité du code-barres et rappelle sa zone de protection."),
         QStringLiteral("")},
        {popup_orientation,
         QStringLiteral("Choisissez ici l'orientation du code-barres.\r\r"
                        "Cette fonction est spécialement utile lorsque le logiciel de mise en page "
                        "ne permet pas la rotation des images."),
         QStringLiteral("")},
        {popup_previsu,
         QStringLiteral(
             "Selon le type de fichier retenu, choisissez ici la présence ou l'absence d'une "
             "prévisualisation EPS ou d'un post-it PDF.\r\r"
             "Ces éléments fourniront des informations sur le code-barres, indépendamment du nom "
             "du fichier qui ne peut faire foi de son contenu :\r\r"
             "- informations succintes visualisables lors de la mise en page pour le type EPS ;\r\r"
             "- informations détaillés visualisables sous Acrobat pour le type PDF."),
         QStringLiteral("")},
        {ch_commentaire,
         QStringLiteral("Entrez ici, si vous le souhaitez, un commentaire qui complétera la "
                        "prévisualisation EPS ou le post-it PDF, par exemple :\r"
                        "- titre de la publication ;\r"
                        "- date de parution de la publication, etc.\r\r"
                        "Le type EPS n'autorise qu'une seule ligne d'un maximum de 14 caractères."),
         QStringLiteral("")},
        {cb_visualiser,
         QStringLiteral(
             "Cochez cette case pour visualiser le code-barres immédiatement après sa création.\r\r"
             "Le logiciel de visualisation sera le logiciel définit par défaut au niveau système "
             "pour ouvrir les documents PDF.\r\r"
             "Cette fonction n'est pas accessible en création de fichiers EPS."),
         QStringLiteral("")},
        {bt_creer,
         QStringLiteral("Cliquez sur ce bouton pour :\r"
                        "- vérifier la validité des saisies de cet onglet ;\r"
                        "- choisir le nom et le chemin du fichier EPS ou PDF à obtenir ;\r"
                        "- enregistrer le fichier EPS ou PDF."),
         QStringLiteral("")},
        {bt_enregistrer,
         QStringLiteral(
             "Cliquez sur ce bouton pour enregistrer un fichier texte qui mémorisera dans une "
             "ligne toutes les saisies de cet onglet, avec un éventuel en-tête XML répertoriant "
             "les réglages de l'onglet «\u00A0Créer un ensemble de code-barres\u00A0».\r\r"
             "Ce fichier texte vous servira de modèle pour l'obtention par un autre logiciel "
             "-\u00A0par exemple par une base de données des titres et des éditions\u00A0- d'un "
             "fichier de données multi-lignes utilisable depuis l'onglet «\u00A0Créer un ensemble "
             "de code-barres\u00A0»."),
         QStringLiteral("")},
    };
    for (const auto& aide : aides)
        ajout_controle_formation(aide.controle, aide.message, aide.documentation);
}
