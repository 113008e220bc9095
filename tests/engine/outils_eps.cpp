#include "outils_eps.h"
#include "environnement.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QtEndian>

#include <gtest/gtest.h>

namespace outils_eps {

valdorin::tableau_code_barres exemple() {
    return {"L", "12345", "42", "0", "", "150", "", "E", "0", "R", "=", "essai.eps", "Essai"};
}

QString chemin(const QString& nom) {
    return test_support::dossier_test() + u'/' + nom;
}

QByteArray fabrique(valdorin::tableau_code_barres& t, bool previsu, const QString& nom) {
    valdorin::fi_ecriture = chemin(nom);
    valdorin::previsu_presence = previsu;
    valdorin::cree_fichier(t);
    return lit(valdorin::fi_ecriture);
}

QByteArray lit(const QString& chemin) {
    QFile fichier(chemin);
    if (!fichier.open(QIODevice::ReadOnly))
        return QByteArray();
    return fichier.readAll();
}

quint32 le32(const QByteArray& octets, qsizetype position) {
    return qFromLittleEndian<quint32>(octets.constData() + position);
}

quint32 be32(const QByteArray& octets, qsizetype position) {
    return qFromBigEndian<quint32>(octets.constData() + position);
}

quint16 be16(const QByteArray& octets, qsizetype position) {
    return qFromBigEndian<quint16>(octets.constData() + position);
}

QByteArray section_postscript(const QByteArray& fichier) {
    return fichier.mid(le32(fichier, 4), le32(fichier, 8));
}

QByteArray section_tiff(const QByteArray& fichier) {
    return fichier.mid(le32(fichier, 20), le32(fichier, 24));
}

sortie_programme execute(const QString& programme, const QStringList& arguments) {
    QProcess processus;
    processus.start(programme, arguments);
    sortie_programme s;
    if (!processus.waitForStarted(10000)) {
        s.erreur = programme + QStringLiteral(" did not start");
        return s;
    }
    if (!processus.waitForFinished(60000)) {
        processus.kill();
        processus.waitForFinished(5000);
        s.erreur = programme + QStringLiteral(" did not end");
        return s;
    }
    s.code = processus.exitStatus() == QProcess::NormalExit ? processus.exitCode() : -1;
    s.texte = QString::fromUtf8(processus.readAllStandardOutput());
    s.erreur = QString::fromUtf8(processus.readAllStandardError());
    return s;
}

int lance(const QString& programme, const QStringList& arguments, QString* sortie) {
    const sortie_programme s = execute(programme, arguments);
    if (sortie)
        *sortie = s.texte + s.erreur;
    return s.code;
}

QJsonObject objets_pdf(const QString& chemin) {
    const sortie_programme s = execute("qpdf", {"--json=2", "--json-key=qpdf", chemin});
    EXPECT_EQ(s.code, 0) << s.erreur.toStdString();
    const QJsonArray qpdf = QJsonDocument::fromJson(s.texte.toUtf8())["qpdf"].toArray();
    EXPECT_EQ(qpdf.size(), 2) << s.texte.left(2000).toStdString();
    return qpdf.at(1).toObject();
}

QStringList fichiers_du_dossier() {
    return QDir(test_support::dossier_test())
        .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace outils_eps
