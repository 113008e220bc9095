// The PDF document writer: one page, PDF 1.3, objects under fixed numbers
// written one after the other straight into the output stream, then the
// cross-reference table and the trailer.

#include "bibliotheque_v1.h"
#include "pdf_interne.h"
#include "valdorin.h"

#include <QLocale>

#include <cstdlib>

namespace valdorin {

namespace {

const QString cr = QStringLiteral("\r");

} // namespace

QString pdf_texte_code(const QString& texte, int (*code)(char32_t)) {
    // Plain ASCII, the usual case, needs no conversion.
    bool ascii = true;
    for (const QChar c : texte)
        ascii = ascii && c.unicode() < 128;
    if (ascii)
        return texte_litteral(texte);
    QString octets;
    octets.reserve(texte.size());
    for (const char32_t c : texte.toUcs4()) {
        const int octet = code(c);
        octets += octet < 0 ? QChar(u'?') : QChar(static_cast<char16_t>(octet));
    }
    return texte_litteral(octets);
}

QString pdf_nombre(double valeur) {
    return QString::number(valeur, 'g', QLocale::FloatingPointShortest);
}

QString pdf_date(const QDateTime& moment) {
    const int decalage = moment.offsetFromUtc();
    const int ampleur = std::abs(decalage);
    QString zone = decalage == 0  ? QStringLiteral("Z")
                   : decalage > 0 ? QStringLiteral("+")
                                  : QStringLiteral("-");
    // The real minutes of the offset, so that a zone such as +05:30 is not
    // written as a whole number of hours.
    return QStringLiteral("D:") + moment.toString(QStringLiteral("yyyyMMddHHmmss")) + zone +
           bibliotheque_v1::zeros_ajoute(QString::number(ampleur / 3600), 2) + u'\'' +
           bibliotheque_v1::zeros_ajoute(QString::number(ampleur % 3600 / 60), 2) + u'\'';
}

void pdf_debute_objet() {
    ++nb_objets;
    ecrit(cr);
    xref += bibliotheque_v1::zeros_ajoute(QString::number(position()), 10) +
            QStringLiteral(" 00000 n \r");
    ecrit(QString::number(nb_objets) + QStringLiteral(" 0 obj\r"));
}

void pdf_ajoute_objet(const QString& dict) {
    pdf_debute_objet();
    ecrit(QStringLiteral("<<\r") + dict + QStringLiteral("\r>>\rendobj\r"));
}

void pdf_ajoute_stream(const QString& data) {
    pdf_debute_objet();
    const QByteArray octets = data.toUtf8();
    ecrit(QStringLiteral("<< /Length ") + QString::number(octets.size()) +
          QStringLiteral(" >>\rstream\r\n"));
    ecrit(octets);
    ecrit(QStringLiteral("\rendstream\rendobj\r"));
}

void pdf_ajoute_trailer() {
    const QString taille = QString::number(nb_objets + 1);
    ecrit(cr);
    const qint64 debut = position();
    ecrit(QStringLiteral("xref\r0 ") + taille + QStringLiteral("\r0000000000 65535 f \r") + xref +
          cr);
    ecrit(QStringLiteral("trailer\r<<\r/Size ") + taille +
          QStringLiteral("\r/Root 1 0 R\r/Info 2 0 R\r>>\rstartxref\r") + QString::number(debut) +
          QStringLiteral("\r%%EOF"));
}

void pdf_verifie_textes(const tableau_code_barres& t, const tableau_entete& entete) {
    verifie_litteral(pdf_texte_document(t[entree_nom_fichier]).toUtf8(),
                     QStringLiteral("Nom du fichier"));
    const legende_pdf legende = pdf_legende_utilisateur(t);
    verifie_litteral(legende.transporteur.toUtf8(), QStringLiteral("Transporteur"));
    verifie_litteral(legende.entete_prix.toUtf8(), QStringLiteral("En-tête de prix"));
    verifie_litteral(legende.mode_reglement.toUtf8(), QStringLiteral("Mode de règlement"));
    if (previsu_presence)
        verifie_litteral(pdf_texte_document(pdf_texte_note(t, entete)).toUtf8(),
                         QStringLiteral("Post-it PDF (commentaire et légende)"));
}

void pdf_cree_fichier(const QString& code, const tableau_code_barres& t,
                      const tableau_entete& entete) {
    const QString date = pdf_date(date_execution);
    nb_objets = 0;
    xref.clear();

    // The file name is user text: escaped, so that it can neither end the
    // comment line nor break the /Title literal.
    const QString titre = pdf_texte_document(t[entree_nom_fichier]);
    ecrit(QStringLiteral("%PDF-1.3\r%Title: ") + pdf_texte_commentaire(t[entree_nom_fichier]) +
          QStringLiteral("\r%Creator: ") + entete[0] + QStringLiteral("\r%Copyright: ") +
          entete[1] + QStringLiteral("\r%CreationDate: ") + entete[2] + QStringLiteral("\r%For: ") +
          entete[3] + cr);

    pdf_ajoute_objet(QStringLiteral("/Type /Catalog\r/OpenAction 3 0 R\r/Pages 4 0 R\r"
                                    "/ViewerPreferences << /FitWindow true /CenterWindow true >>"));
    pdf_ajoute_objet(QStringLiteral("/Title (") + titre + QStringLiteral(")\r/Author (") +
                     entete[3] + QStringLiteral(")\r/CreationDate (") + date +
                     QStringLiteral(")\r/Creator (") + entete[0] + QStringLiteral(", ") +
                     entete[1] + QStringLiteral(")\r/Trapped /False"));
    pdf_ajoute_objet(QStringLiteral("/S /GoTo \r/D [ 5 0 R /XYZ -32768 -32768 3 ]"));
    pdf_ajoute_objet(QStringLiteral("/Type /Pages\r/Count 1\r/Kids [5 0 R]"));
    QString page = QStringLiteral("/Type /Page\r/Parent 4 0 R\r/Contents 6 0 R\r/Resources 7 0 R\r"
                                  "/MediaBox [0 0 ") +
                   pdf_nombre(largeur) + u' ' + pdf_nombre(hauteur) + u']';
    if (previsu_presence)
        page += QStringLiteral("\r/Annots 14 0 R");
    pdf_ajoute_objet(page);

    pdf_ajoute_contents(code, t);

    pdf_ajoute_objet(QStringLiteral("/ProcSet [/PDF /Text]\r/Font\r<<\r/F_H 8 0 R\r/F_HB 9 0 R\r"
                                    "/F_CB 10 0 R\r>>\r/ExtGState\r<<\r/GS1 13 0 R\r>>"));

    pdf_ajoute_police(QStringLiteral("H"), t);
    pdf_ajoute_police(QStringLiteral("HB"), t);
    pdf_ajoute_police(QStringLiteral("CB"), t);

    // Overprint for the protections printed over the page ("A", "R"),
    // knockout for those on their own white background ("F", "C").
    if (t[entree_protection] == u"A" || t[entree_protection] == u"R")
        pdf_ajoute_objet(QStringLiteral("/Type /ExtGState\r/op true\r/OPM 1"));
    else
        pdf_ajoute_objet(QStringLiteral("/Type /ExtGState\r/op false\r/OPM 0"));

    if (previsu_presence)
        pdf_ajoute_annot(pdf_texte_note(t, entete), date);

    pdf_ajoute_trailer();
}

} // namespace valdorin
