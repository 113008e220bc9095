#include "outils_eps.h"
#include "environnement.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtEndian>

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

int lance(const QString& programme, const QStringList& arguments, QString* sortie) {
    QProcess processus;
    processus.setProcessChannelMode(QProcess::MergedChannels);
    processus.start(programme, arguments);
    if (!processus.waitForStarted(10000))
        return -1;
    if (!processus.waitForFinished(60000)) {
        processus.kill();
        processus.waitForFinished(5000);
        return -1;
    }
    if (sortie)
        *sortie = QString::fromUtf8(processus.readAll());
    return processus.exitStatus() == QProcess::NormalExit ? processus.exitCode() : -1;
}

QStringList fichiers_du_dossier() {
    return QDir(test_support::dossier_test())
        .entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace outils_eps
