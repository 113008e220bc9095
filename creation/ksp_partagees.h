#pragma once

#include "TableInputStream.h"
#include "valdorin.h"

#include <QByteArray>
#include <QChar>
#include <QString>

// What the two creation pages share: the example data file, one record of the
// single form's barcode, optionally headed by the batch page's settings.
namespace ksp_partagees {

// The menu caption of an encoding: "Ascii", "Mac Roman", …
QString nom_codage(codage_texte codage);

// `texte` in `codage` (UTF-16 big-endian without a mark). Characters the
// encoding cannot hold, or that would not read back as themselves (the C1
// controls of the five bytes Windows ANSI leaves undefined), are collected,
// once each, in `refuses`.
QByteArray encode(const QString& texte, codage_texte codage, QString& refuses);

// The example file's bytes, or the French message of why the record cannot
// be written so that it reads back as it is (`refus` not empty then).
struct contenu {
    QByteArray octets;
    QString refus;
};

// The file for the record `t` (its entries from the form, but the output file
// name, which is replaced by the name placeholder, and an empty issue number,
// written "0", the same issue), with the comment column when `previsu` is
// true, fields separated by `delimiteur`, in `codage`.
// `xml` is the one-line settings document of the header, empty for none.
contenu contenu_fichier_donnees(valdorin::tableau_code_barres t, bool previsu, QChar delimiteur,
                                codage_texte codage, const QByteArray& xml);

// The procedure behind the buttons "Enregistrer un exemple de fichier de
// données" of both creation pages: validates the form, asks what to save and
// where, writes the file and confirms.
void cree_fichier_donnees();

} // namespace ksp_partagees
