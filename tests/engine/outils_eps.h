#pragma once

#include "valdorin.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <ostream>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString& texte, std::ostream* flux) {
    *flux << '"' << texte.toStdString() << '"';
}

// Helpers shared by the engine's file tests.
namespace outils_eps {

// A valid description: carrier "L", product 12345, issue 42, sub-issue 0, no
// price header, 150 cents, no payment mode, EPS, no reduction, protection
// "R", horizontal, file "essai.eps", comment "Essai".
valdorin::tableau_code_barres exemple();

// Makes the file `nom` in the test's folder with the engine and returns its
// bytes; the description is updated as the engine leaves it.
QByteArray fabrique(valdorin::tableau_code_barres& t, bool previsu,
                    const QString& nom = QStringLiteral("essai.eps"));

// The path of `nom` in the test's folder.
QString chemin(const QString& nom);

// Reads a whole file ("" when it is missing).
QByteArray lit(const QString& chemin);

// Little- and big-endian numbers at an offset.
quint32 le32(const QByteArray& octets, qsizetype position);
quint32 be32(const QByteArray& octets, qsizetype position);
quint16 be16(const QByteArray& octets, qsizetype position);

// The PostScript section and the TIFF preview of a file with a DOS header.
QByteArray section_postscript(const QByteArray& fichier);
QByteArray section_tiff(const QByteArray& fichier);

// What a program that ran to its end said.
struct sortie_programme {
    int code = -1;  // exit code, -1 when it could not start, crashed or took too long
    QString texte;  // standard output
    QString erreur; // standard error
};

// Runs a program to its end (at most 60 s).
sortie_programme execute(const QString& programme, const QStringList& arguments);

// Runs a program to its end; returns its exit code (-1 as above). `sortie`
// gets stdout and stderr.
int lance(const QString& programme, const QStringList& arguments, QString* sortie = nullptr);

// The objects of a PDF file as qpdf reads them (`qpdf --json=2`), by
// "obj:N 0 R": a dictionary under "value", a stream's under "stream"/"dict";
// text strings decoded, as "u:" and their UTF-8. Empty, with a test
// failure, when qpdf refuses the file.
QJsonObject objets_pdf(const QString& chemin);

// The names of the files in the test's folder.
QStringList fichiers_du_dossier();

} // namespace outils_eps
