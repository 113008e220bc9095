#include "bibliotheque_v1.h"
#include "ecriture_fichiers.h"
#include "legende_interne.h"
#include "ressources.h"
#include "valdorin.h"
#include "verification_v1.h"

#include <QScopeGuard>

#include <limits>

namespace valdorin {

erreur_creation::erreur_creation(const QString& message)
    : std::runtime_error(message.toUtf8().toStdString()) {}

QString erreur_creation::message() const {
    return QString::fromUtf8(what());
}

// --- Output stream ------------------------------------------------------------

namespace {

QBuffer& flux() {
    if (!buffer_ecriture || !buffer_ecriture->isOpen())
        throw erreur_creation(QStringLiteral("Aucun fichier n'est ouvert en écriture."));
    return *buffer_ecriture;
}

} // namespace

void ecrit(const QByteArray& octets) {
    QBuffer& f = flux();
    if (f.write(octets) != octets.size())
        throw erreur_creation(QStringLiteral("L'écriture en mémoire du fichier a échoué."));
}

void ecrit(const QString& texte) {
    ecrit(texte.toUtf8());
}

qint64 position() {
    return flux().pos();
}

void positionne(qint64 position) {
    if (!flux().seek(position))
        throw erreur_creation(QStringLiteral("Position d'écriture invalide dans le fichier."));
}

// --- Texts for the files --------------------------------------------------------

QString texte_litteral(const QString& texte) {
    const QString echappe = bibliotheque_v1::adapte_postscript(texte);
    QString resultat;
    resultat.reserve(echappe.size());
    for (const QChar c : echappe) {
        const char16_t u = c.unicode();
        if (u < 32 || u == 127)
            resultat += u'\\' + bibliotheque_v1::zeros_ajoute(QString::number(u, 8), 3);
        else
            resultat += c;
    }
    return resultat;
}

void verifie_litteral(const QByteArray& litteral, const QString& champ) {
    if (litteral.size() > taille_maximale_litteral)
        throw erreur_creation(
            QStringLiteral("Le texte «\u00A0%1\u00A0» est trop long : il occuperait %2 octets "
                           "dans le fichier, pour %3 au plus ; aucun fichier n'est créé.")
                .arg(champ)
                .arg(litteral.size())
                .arg(taille_maximale_litteral));
}

QString texte_ascii(const QString& texte) {
    static const struct {
        char32_t code;
        const char* ascii;
    } table[] = {
        {U'Æ', "AE"},     {U'æ', "ae"},     {U'Œ', "OE"},     {U'œ', "oe"}, {U'ß', "ss"},
        {U'Ø', "O"},      {U'ø', "o"},      {U'Đ', "D"},      {U'đ', "d"},  {U'Ł', "L"},
        {U'ł', "l"},      {U'Þ', "Th"},     {U'þ', "th"},     {U'Ð', "D"},  {U'ð', "d"},
        {U'ı', "i"},      {U'€', "EUR"},    {U'‘', "'"},      {U'’', "'"},  {U'‚', "'"},
        {U'‹', "<"},      {U'›', ">"},      {U'“', "\""},     {U'”', "\""}, {U'„', "\""},
        {U'«', "\""},     {U'»', "\""},     {U'–', "-"},      {U'—', "-"},  {U'‐', "-"},
        {U'…', "..."},    {U'×', "x"},      {U'·', "."},      {U'•', "."},  {U'°', "o"},
        {U'\u00A0', " "}, {U'\u202F', " "}, {U'\u2009', " "},
    };
    QString resultat;
    resultat.reserve(texte.size());
    const QString decompose = texte.normalized(QString::NormalizationForm_KD);
    for (const char32_t c : decompose.toUcs4()) {
        if (c < 128) {
            resultat += QChar(static_cast<char16_t>(c));
            continue;
        }
        if (QChar::category(c) == QChar::Mark_NonSpacing)
            continue; // the accent of a decomposed letter
        const char* remplacement = "?";
        for (const auto& entree : table)
            if (entree.code == c)
                remplacement = entree.ascii;
        resultat += QLatin1String(remplacement);
    }
    return resultat;
}

// --- Resources ------------------------------------------------------------------

namespace {

// A text resource read once and kept; a missing or empty one is an error and is
// looked for again next time.
class texte_ressource {
public:
    texte_ressource(int numero, const char* nom) : numero(numero), nom(nom) {}

    const QByteArray& lit() {
        if (!loaded) {
            QByteArray lu = ressources::texte(numero);
            if (lu.isEmpty())
                throw erreur_creation(
                    QStringLiteral("La police %1 (ressource %2) est absente ou vide : "
                                   "l'application est incomplète.")
                        .arg(QLatin1String(nom))
                        .arg(numero));
            valeur = std::move(lu);
            loaded = true;
        }
        return valeur;
    }

private:
    int numero;
    const char* nom;
    QByteArray valeur;
    bool loaded = false;
};

texte_ressource eps_0{170, "EanP35N0"};
texte_ressource eps_1{171, "EanP35N1"};
texte_ressource eps_2{172, "EanP35N2"};
texte_ressource eps_3{173, "EanP35N3"};
texte_ressource eps_4{174, "EanP35N4"};
texte_ressource eps_vuravaze{175, "VuraVaze"};
texte_ressource pdf_0{176, "EanP35N0"};
texte_ressource pdf_1{177, "EanP35N1"};
texte_ressource pdf_2{178, "EanP35N2"};
texte_ressource pdf_3{179, "EanP35N3"};
texte_ressource pdf_4{180, "EanP35N4"};

int indice_reduction(const QString& reduction) {
    if (reduction.size() == 1 && reduction[0] >= u'0' && reduction[0] <= u'4')
        return reduction[0].unicode() - u'0';
    throw erreur_creation(QStringLiteral("L'engraissement doit valoir de 0 à 4."));
}

} // namespace

const QByteArray& f_eps_RorU35V0() {
    return eps_0.lit();
}
const QByteArray& f_eps_EanP35N1() {
    return eps_1.lit();
}
const QByteArray& f_eps_EanP35N2() {
    return eps_2.lit();
}
const QByteArray& f_eps_EanP35N3() {
    return eps_3.lit();
}
const QByteArray& f_eps_EanP35N4() {
    return eps_4.lit();
}
const QByteArray& f_eps_vuravaze() {
    return eps_vuravaze.lit();
}
const QByteArray& f_pdf_RorU35V0() {
    return pdf_0.lit();
}
const QByteArray& f_pdf_EanP35N1() {
    return pdf_1.lit();
}
const QByteArray& f_pdf_EanP35N2() {
    return pdf_2.lit();
}
const QByteArray& f_pdf_EanP35N3() {
    return pdf_3.lit();
}
const QByteArray& f_pdf_EanP35N4() {
    return pdf_4.lit();
}

const QImage& f_eps_previsu() {
    static QImage image;
    if (image.isNull())
        image = ressources::image(169);
    return image;
}

const QByteArray& f_eps_symbole(const QString& reduction) {
    static const QByteArray& (*const accesseurs[])() = {
        f_eps_RorU35V0, f_eps_EanP35N1, f_eps_EanP35N2, f_eps_EanP35N3, f_eps_EanP35N4};
    return accesseurs[indice_reduction(reduction)]();
}

const QByteArray& f_pdf_symbole(const QString& reduction) {
    static const QByteArray& (*const accesseurs[])() = {
        f_pdf_RorU35V0, f_pdf_EanP35N1, f_pdf_EanP35N2, f_pdf_EanP35N3, f_pdf_EanP35N4};
    return accesseurs[indice_reduction(reduction)]();
}

// --- Entry ------------------------------------------------------------------------

namespace {

// Whether a field passes the data-file field check for its kind and bounds.
bool valide(const QString& texte, int type, int minimum, int maximum,
            const QString& autorise = QString()) {
    return verification_v1::verifie_string(texte, type, minimum, maximum, autorise).isEmpty();
}

bool chiffres(const QString& texte, int minimum, int maximum) {
    return valide(texte, verification_v1::type_chiffres, minimum, maximum);
}

bool parmi(const QString& texte, const QString& valeurs) {
    return valide(texte, verification_v1::type_caracteres, 1, 1, valeurs);
}

// Refuses, before anything is touched, the entries that would give a wrong
// symbol or a broken file.
void verifie_entrees(const tableau_code_barres& t) {
    if (fi_ecriture.isEmpty())
        throw erreur_creation(QStringLiteral("Aucun fichier de destination n'est indiqué."));
    // The system takes a NUL as the end of the name: the file would be written
    // under a shorter name than the one asked for.
    if (fi_ecriture.contains(QChar(u'\0')))
        throw erreur_creation(
            QStringLiteral("Le nom du fichier de destination contient un caractère nul."));
    if (!chiffres(t[entree_code_produit], 1, 5))
        throw erreur_creation(QStringLiteral("Le code produit doit compter de 1 à 5 chiffres."));
    if (!chiffres(t[entree_parution], 0, 4))
        throw erreur_creation(
            QStringLiteral("Le numéro de parution doit compter au plus 4 chiffres."));
    if (!chiffres(t[entree_sous_parution], 1, 1))
        throw erreur_creation(QStringLiteral("La sous-parution doit être un chiffre."));
    if (!chiffres(t[entree_prix], 1, 4))
        throw erreur_creation(QStringLiteral("Le prix doit compter de 1 à 4 chiffres."));
    if (!parmi(t[entree_engraissement], QStringLiteral("01234")))
        throw erreur_creation(QStringLiteral("L'engraissement doit valoir de 0 à 4."));
    if (!parmi(t[entree_protection], QStringLiteral("ARFC")))
        throw erreur_creation(QStringLiteral("La protection doit être A, R, F ou C."));
    if (!parmi(t[entree_orientation], QStringLiteral("=<>")))
        throw erreur_creation(QStringLiteral("L'orientation doit être =, < ou >."));
}

// The local time now. Qt looks at the system's time zone file at every
// local time it gives, one system call for each file of a run; the offset
// from UTC changes only at a zone's transitions, which fall on whole
// minutes, so it is asked once in each minute of UTC and then applied.
QDateTime maintenant() {
    static qint64 minute_connue = std::numeric_limits<qint64>::min();
    static int decalage = 0;
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    const qint64 minute = utc.toSecsSinceEpoch() / 60;
    if (minute != minute_connue) {
        const QDateTime locale = utc.toLocalTime();
        minute_connue = minute;
        decalage = locale.offsetFromUtc();
        return locale;
    }
    return utc.toOffsetFromUtc(decalage);
}

// Writes the file through the shared atomic write, so that a failure never
// leaves a partial file nor harms an earlier one.
void enregistre(const QByteArray& octets) {
    const int erreur = dossier_ecriture ? dossier_ecriture->enregistre(fi_ecriture, octets)
                                        : bibliotheque_v1::enregistre_fichier(fi_ecriture, octets);
    if (erreur)
        throw erreur_creation(
            QStringLiteral("Impossible d'écrire le fichier « %1 » : %2")
                .arg(dossier_ecriture ? dossier_ecriture->chemin() + fi_ecriture : fi_ecriture,
                     bibliotheque_v1::raison_systeme(erreur)));
}

} // namespace

void cree_fichier(tableau_code_barres& t, QPaintDevice* /*canevas*/) {
    verifie_entrees(t);

    // The run works on a copy: the caller's description changes only when the
    // file is made.
    tableau_code_barres d = t;
    tableau_entete entete;
    date_execution = maintenant();

    const bool reserves = d[entree_protection] != u"A";
    const double longueur = reserves ? 143.5 : 128.0;
    if (d[entree_orientation] == u"=") {
        largeur = longueur;
        hauteur = 49.0;
    } else {
        largeur = 49.0;
        hauteur = longueur;
    }

    const QString chiffres_code =
        QStringLiteral("378") + bibliotheque_v1::zeros_ajoute(d[entree_code_produit], 5) +
        bibliotheque_v1::zeros_ajoute(d[entree_prix], 4) +
        bibliotheque_v1::zeros_ajoute(d[entree_parution], 4) + d[entree_sous_parution];
    const QString symbole = ean13_valdorin(chiffres_code, reserves);
    if (symbole.isEmpty())
        throw erreur_creation(QStringLiteral("Le code-barres n'a pas pu être calculé : "
                                             "aucun fichier n'est créé."));
    const QString code = bibliotheque_v1::adapte_postscript(symbole);

    d[entree_parution] = bibliotheque_v1::zeros_retire(d[entree_parution]);
    d[entree_prix] = prix_euros(d[entree_prix]);

    const QTime heure = date_execution.time();
    entete[0] = bibliotheque_v1::adapte_postscript(texte_createur);
    entete[1] = notice_editeur;
    entete[2] = bibliotheque_v1::adapte_postscript(
        bibliotheque_v1::middle_date(date_execution.date()) + QStringLiteral("  ") +
        QString::number(heure.hour()) + QStringLiteral("h ") + QString::number(heure.minute()) +
        QStringLiteral("mn ") + QString::number(heure.second()) + u's');
    entete[3] = QString();

    // Texts too long for the readers are refused before any work on the file.
    if (d[entree_type_fichier] == u"P")
        pdf_verifie_textes(d, entete);
    else
        eps_verifie_textes(d);
    // So is a legend that its fonts cannot draw, or that would pass the
    // symbol's right edge.
    if (const std::optional<defaut_legende> defaut = verifie_legende(t))
        throw erreur_creation(defaut->message);

    // A PDF file carries a note instead of a picture: the preview is built for
    // EPS files only, so that a PDF run neither pays for a picture it never
    // writes nor fails on it.
    if (previsu_presence && d[entree_type_fichier] != u"P") {
        cree_previsu_tiff(d);
        if (previsu_bloc.isEmpty())
            throw erreur_creation(QStringLiteral("La prévisualisation n'a pas pu être créée : "
                                                 "aucun fichier n'est créé."));
    }

    buffer_ecriture = std::make_unique<QBuffer>();
    buffer_ecriture->buffer().reserve(
        previsu_presence && d[entree_type_fichier] != u"P" ? 96 * 1024 : 48 * 1024);
    buffer_ecriture->open(QIODevice::ReadWrite);
    {
        // Closed however the writer ends, so that nothing writes into the
        // buffer of a failed run.
        const auto fermeture = qScopeGuard([] { buffer_ecriture->close(); });
        if (d[entree_type_fichier] == u"P")
            pdf_cree_fichier(code, d, entete);
        else
            eps_cree_fichier(code, d, entete);
    }

    // Desktop file type codes ("PDF ", "EPSF") do not exist here: the
    // extension gives the type.
    enregistre(buffer_ecriture->data());
    t = d;
}

} // namespace valdorin
