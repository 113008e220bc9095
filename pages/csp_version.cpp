#include "csp_version.h"

#include "bibliotheque_divers.h"
#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "kit_pages.h"
#include "nombres.h"
#include "parametres_v1.h"
#include "w_alerte.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <cmath>

namespace {

const QString contexte = QStringLiteral("version");

// Characters 0x80 to 0x9F of Windows-1252; the five codes it leaves free
// keep their own value.
constexpr char16_t windows_1252_80_9f[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// A read-only field showing a version.
QLineEdit* champ_version(QWidget* parent, const QString& nom, const QRect& geometrie) {
    auto* champ = new QLineEdit(parent);
    kit_pages::place(champ, nom, geometrie);
    champ->setFont(kit_pages::police(13, true));
    champ->setEnabled(false);
    QPalette palette = champ->palette();
    for (const auto groupe : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(groupe, QPalette::Base, QColor::fromRgb(0xE5E5E5));
        palette.setColor(groupe, QPalette::Text, QColor::fromRgb(0x000000));
    }
    champ->setPalette(palette);
    return champ;
}

} // namespace

csp_version::csp_version(QWidget* parent)
    : classe_page(parent),
      st_titre(kit_pages::texte_statique(this, QStringLiteral("st_titre"), QRect(13, 8, 610, 30),
                                         QString(), 24, true, 0x780000,
                                         Qt::AlignLeft | Qt::AlignVCenter)),
      st_version_executee(kit_pages::texte_statique(
          this, QStringLiteral("st_version_executee"), QRect(87, 66, 243, 20),
          QStringLiteral("Version du logiciel en exécution"), 13, true, 0x000000,
          Qt::AlignRight | Qt::AlignVCenter)),
      ch_version_executee(
          champ_version(this, QStringLiteral("ch_version_executee"), QRect(334, 66, 57, 22))),
      st_version_dispo(kit_pages::texte_statique(
          this, QStringLiteral("st_version_dispo"), QRect(87, 100, 243, 20),
          QStringLiteral("Dernière version disponible"), 13, true, 0x000000,
          Qt::AlignRight | Qt::AlignVCenter)),
      ch_version_disponible(
          champ_version(this, QStringLiteral("ch_version_disponible"), QRect(334, 99, 57, 22))),
      st_message(kit_pages::texte_centre(this, QStringLiteral("st_message"),
                                         QRect(126, 133, 462, 185), 0xF1F1F1)),
      lien_historique(kit_pages::lien(this, QStringLiteral("lien_historique"),
                                      QRect(20, 335, 170, 20),
                                      QStringLiteral("Historique des versions"), Qt::AlignHCenter)),
      lien_telecharger(
          kit_pages::lien(this, QStringLiteral("lien_telecharger"), QRect(219, 335, 216, 20),
                          QStringLiteral("Télécharger la dernière version"), Qt::AlignHCenter)),
      lien_acheter(kit_pages::lien(this, QStringLiteral("lien_acheter"), QRect(460, 335, 155, 20),
                                   QStringLiteral("Acheter la mise à jour"), Qt::AlignHCenter)),
      bt_prevenir(kit_pages::case_a_cocher(
          this, QStringLiteral("bt_prevenir"), QRect(20, 364, 377, 20),
          QStringLiteral("ne prévenir qu'une seule fois à chaque nouvelle version"))) {
    setObjectName(QStringLiteral("csp_version"));
    setFixedSize(640, 400);
    // Each version field is announced by its caption.
    st_version_executee->setBuddy(ch_version_executee);
    st_version_dispo->setBuddy(ch_version_disponible);
    setAutoFillBackground(true);
    st_message_Open();
    connect(lien_historique, &st_lien::Action, this, &csp_version::lien_historique_Action);
    connect(lien_acheter, &st_lien::Action, this, &csp_version::lien_acheter_Action);
    connect(lien_telecharger, &st_lien::Action, this, &csp_version::lien_telecharger_Action);
    kit_pages::ordre_lecture(this);
    minuterie_attente.setSingleShot(true);
    minuterie_plafond.setSingleShot(true);
    connect(&minuterie_attente, &QTimer::timeout, this, [this] {
        // No progress for too long: what came so far is the answer.
        expiree = true;
        if (reponse)
            reponse->abort();
    });
    connect(&minuterie_plafond, &QTimer::timeout, this, [this] {
        // Still trickling after the overall limit: no valid answer.
        trop_long = true;
        if (reponse)
            reponse->abort();
    });
}

void csp_version::st_message_Open() {
    st_message->Bold = true;
    st_message->TextColor = QColor::fromRgb(0x000000);
    st_message->BackColor = QColor::fromRgb(0xF1F1F1);
}

void csp_version::formation_page(QString& message, QString&) {
    message = QStringLiteral("Cet écran vérifie la version du logiciel en cours d'exécution, la "
                             "dernière version disponible et permet la mise à jour.");
}

void csp_version::formation_controles() {
    ajout_controle_formation(
        ch_version_executee,
        QStringLiteral("Ce champ indique le numéro de version du logiciel en cours d'exécution."),
        QString());
    ajout_controle_formation(ch_version_disponible,
                             QStringLiteral("Ce champ indique le numéro de la plus récente "
                                            "version disponible de ce logiciel."),
                             QString());
    ajout_controle_formation(
        st_message,
        QStringLiteral(
            "Ce champ détaille les conditions de la mise à jour vers la version la plus "
            "récente\u00A0:\r- les mises à jour sont gratuites de sous-version à sous-version "
            "(correction de difficultés, mises à jour et nouvelles fonctionnalités "
            "mineures)\u00A0;\r- les mises à jour sont payantes de version à version (mises à "
            "jour majeures liées aux évolutions des systèmes d'exploitation, nouvelles "
            "fonctionnalités majeures)."),
        QString());
    ajout_controle_formation(
        lien_historique,
        QStringLiteral(
            "Ce lien amène à un historique précisant les apports des nouvelles versions."),
        QString());
    ajout_controle_formation(
        lien_telecharger,
        QStringLiteral("Ce lien amène à la page de téléchargement de la dernière version."),
        QString());
    ajout_controle_formation(
        lien_acheter,
        QStringLiteral("Ce lien amène vers un bon de commande de la mise à jour payante la plus "
                       "récente.\r\rNote : les mises à jour ne sont payantes que de version à "
                       "version (mises à jour majeures liées aux évolutions des systèmes "
                       "d'exploitation, nouvelles fonctionnalités majeures)."),
        QString());
    ajout_controle_formation(
        bt_prevenir,
        QStringLiteral("Ce bouton vous permet d'être informé d'une nouvelle version à chaque "
                       "lancement de ce logiciel ou une seule fois, à sa mise à disposition."),
        QString());
}

void csp_version::Open() {
    ch_version_executee->setText(version_executee);
    version_disponible_importe();
    remplit();
}

void csp_version::montrer() {
    version_disponible_importe();
    remplit();
}

bool csp_version::requete_en_cours() const {
    return !reponse.isNull();
}

void csp_version::version_disponible_importe() {
    if (version_disponible_num > 0 || requete_en_cours())
        return;
    version_disponible_num = -1;
    if (!bibliotheque_v1::web_disponible())
        return;
    version_disponible_num = 0;
    requete_version();
}

QString csp_version::adresse_requete() {
    const QString base = serveur_essai.isEmpty() ? bibliotheque_v1::www_serveur() : serveur_essai;
    return base + QStringLiteral("serveur/version.html?cp=") +
           bibliotheque_v1::nom_standard().toLower() + QStringLiteral("&plateforme=mac");
}

void csp_version::requete_version() {
    if (!reseau)
        reseau = new QNetworkAccessManager(this);
    corps.clear();
    trop_long = false;
    expiree = false;
    QNetworkRequest demande{QUrl(adresse_requete())};
    demande.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    reponse = reseau->get(demande);
    const auto progres = [this] {
        if (!trop_long && !expiree)
            minuterie_attente.start(attente_ms);
    };
    connect(reponse, &QNetworkReply::metaDataChanged, this, progres);
    connect(reponse, &QNetworkReply::readyRead, this, [this, progres] {
        progres();
        requete_lue();
    });
    connect(reponse, &QNetworkReply::finished, this, [this] {
        QNetworkReply* fin = reponse;
        if (!fin)
            return;
        requete_lue();
        const bool sans_faute = fin->error() == QNetworkReply::NoError;
        const int statut = fin->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        // A stalled request keeps what it had received; a failed, refused or
        // oversized one has no answer.
        requete_finie(!trop_long && (statut == 0 || (statut >= 200 && statut < 300)) &&
                      (sans_faute || expiree));
        fin->deleteLater();
    });
    minuterie_attente.start(attente_ms);
    minuterie_plafond.start(plafond_ms);
}

void csp_version::requete_lue() {
    if (!reponse || trop_long || !reponse->isOpen())
        return;
    corps += reponse->read(taille_maximale + 1 - corps.size());
    if (corps.size() > taille_maximale) {
        trop_long = true;
        reponse->abort();
    }
}

void csp_version::requete_finie(bool corps_valable) {
    minuterie_attente.stop();
    minuterie_plafond.stop();
    reponse = nullptr;
    QString texte;
    double nombre = 0;
    if (corps_valable && lit_reponse_version(corps, texte, nombre)) {
        version_disponible_text = texte;
        version_disponible_num = nombre;
    }
    corps.clear();
    remplit();
    emit verification_terminee();
}

QString csp_version::depuis_windows_1252(const QByteArray& octets) {
    QString texte;
    texte.reserve(octets.size());
    for (const char octet : octets) {
        const auto code = static_cast<unsigned char>(octet);
        texte.append(code >= 0x80 && code <= 0x9F ? QChar(windows_1252_80_9f[code - 0x80])
                                                  : QChar(code));
    }
    return texte;
}

bool csp_version::lit_reponse_version(const QByteArray& corps, QString& texte, double& nombre) {
    if (corps.isEmpty())
        return false;
    const QStringList mots = depuis_windows_1252(corps).split(u' ', Qt::KeepEmptyParts);
    if (mots.size() != 3 || mots.at(0).compare(u"version", Qt::CaseInsensitive) != 0 ||
        mots.at(1) != u"=")
        return false;
    const double valeur = nombres::val(mots.at(2));
    // Zero, a negative number or no number at all is no version.
    if (!(valeur > 0) || !std::isfinite(valeur))
        return false;
    texte = mots.at(2);
    nombre = valeur;
    return true;
}

void csp_version::remplit() {
    const double reference = nombres::val(version_executee);
    st_titre->setText(version_disponible_num <= reference
                          ? QStringLiteral("Versions du logiciel")
                          : QStringLiteral("Nouvelle version disponible !"));
    bool historique = true;
    bool telecharger = false;
    bool acheter = false;
    QString affichee = QStringLiteral("?");
    QString message;
    if (requete_en_cours()) {
        // The answer is on its way: nothing to say yet.
    } else if (version_disponible_num < 0) {
        historique = false;
        message = QStringLiteral("Cette vérification nécessite\rune connection Internet !");
    } else if (version_disponible_num == 0) {
        message = QStringLiteral("Défaut du serveur Internet.\rVeuillez nous en excuser !");
    } else {
        affichee = version_disponible_text;
        if (version_disponible_num <= reference) {
            message = QStringLiteral(
                "Ce logiciel se trouve actuellement\rdans sa version la plus récente !");
        } else if (std::floor(version_disponible_num) <= std::floor(reference)) {
            telecharger = true;
            message = QStringLiteral(
                "La mise à jour vers cette nouvelle sous-version\rest gratuite et "
                "recommandée.\r\rElle est réalisable par un téléchargement du\rlogiciel "
                "exécutable n'importe où sur votre disque.\r\rElle ne modifiera pas les "
                "préférences,\ret n'affectera pas les travaux précédemment réalisés.");
        } else {
            telecharger = true;
            acheter = true;
            message = QStringLiteral("La mise à jour vers cette nouvelle version est "
                                     "payante\rmais hautement recommandée.");
        }
    }
    ch_version_disponible->setText(affichee);
    st_message->Text = message;
    lien_historique->setEnabled(historique);
    lien_telecharger->setEnabled(telecharger);
    lien_acheter->setEnabled(acheter);
    st_message->update();
}

bool csp_version::version_nouvelle() {
    const double reference = nombres::val(version_executee);
    const bool nouvelle = version_disponible_num > reference &&
                          (version_disponible_num > derniere_version_disponible_observee ||
                           !bt_prevenir->isChecked());
    if (nouvelle)
        derniere_version_disponible_observee = version_disponible_num;
    return nouvelle;
}

void csp_version::import_export_parametres(const QString& genre, const QString& sens) {
    if (genre != u"init")
        return;
    parametres_v1::parametre_checkbox(bt_prevenir, sens, contexte, false);
    parametres_v1::parametre_double(derniere_version_disponible_observee, sens, contexte,
                                    QStringLiteral("derniere_version_disponible_observee"), 0.0);
}

void csp_version::lien_historique_Action() {
    bibliotheque_v1::lance_documentation_html(QStringLiteral("historique_fr.html"));
}

void csp_version::lien_acheter_Action() {
    bibliotheque_v1::acheter_web();
}

void csp_version::lien_telecharger_Action() {
    if (!bibliotheque_v1::web_disponible()) {
        w_alerte::instance().message(QStringLiteral("Ceci exige une connexion Internet !"),
                                     QString());
        return;
    }
    const QString base = serveur_essai.isEmpty() ? bibliotheque_v1::www_serveur() : serveur_essai;
    bibliotheque_v1::ouvre_adresse(QUrl(base + QStringLiteral("serveur/telechargement.html?cp=") +
                                        bibliotheque_v1::nom_standard().toLower() +
                                        QStringLiteral("&plateforme=mac")));
}
