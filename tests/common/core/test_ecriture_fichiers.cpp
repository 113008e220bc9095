#include "ecriture_fichiers.h"
#include "environnement.h"
#include "limite_fichiers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <cerrno>

using namespace bibliotheque_v1;

namespace {

QString chemin(const QString& nom) {
    return QDir(test_support::dossier_test()).filePath(nom);
}

void pose(const QString& nom, const QByteArray& octets) {
    QFile f(chemin(nom));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(octets), octets.size());
}

QByteArray lit(const QString& nom) {
    QFile f(chemin(nom));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<absent>");
}

} // namespace

// A refused link fails with ELOOP and leaves the link and its target as they
// were, whether the target exists or not; a followed one writes the target.
TEST(EcritureFichiers, LinksAreFollowedOrRefusedAsAsked) {
    pose("cible", "ancien");
    ASSERT_TRUE(QFile::link(chemin("cible"), chemin("lien")));
    ASSERT_TRUE(QFile::link(chemin("absente"), chemin("pendant")));
    const struct {
        const char* nom;
        liens_destination liens;
        int erreur;
        const char *cible, *contenu;
    } cas[] = {
        {"lien", liens_destination::refuses, ELOOP, "cible", "ancien"},
        {"pendant", liens_destination::refuses, ELOOP, "absente", "<absent>"},
        {"lien", liens_destination::suivis, 0, "cible", "nouveau"},
        {"pendant", liens_destination::suivis, 0, "absente", "nouveau"},
        {"simple", liens_destination::refuses, 0, "simple", "nouveau"},
    };
    for (const auto& c : cas) {
        EXPECT_EQ(enregistre_fichier(chemin(c.nom), "nouveau", c.liens), c.erreur) << c.nom;
        EXPECT_EQ(lit(c.cible), c.contenu) << c.nom;
    }
    EXPECT_TRUE(QFileInfo(chemin("lien")).isSymLink());
    EXPECT_TRUE(QFileInfo(chemin("pendant")).isSymLink());
}

// A write cut short by the size a process may write fails with the system's
// reason, keeps an earlier file whole and leaves no new or temporary file.
TEST(EcritureFichiers, AFailedWriteKeepsTheOldFileAndGivesTheReason) {
    pose("garde", "contenu d'avant");
    const QByteArray gros(100000, 'x');
    {
        const test_support::limite_fichiers limite(4096);
        EXPECT_EQ(enregistre_fichier(chemin("garde"), gros), EFBIG);
        EXPECT_EQ(enregistre_fichier(chemin("neuf"), gros), EFBIG);
    }
    EXPECT_EQ(lit("garde"), "contenu d'avant");
    EXPECT_EQ(QDir(test_support::dossier_test()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"garde"});
    EXPECT_EQ(raison_systeme(EFBIG), "le fichier dépasse la taille permise.");
    EXPECT_EQ(raison_systeme(ENOSPC), "le disque est plein.");
}
