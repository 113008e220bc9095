// Files written into folders shared with other users, through the writer of
// single files (the single form, the state and preferences files and the
// example data file share it), each run as a user with a user's rights only.
#include "autre_utilisateur.h"
#include "environnement.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/xattr.h>

namespace {

using namespace test_support;

// make_barcode's arguments after the output: no preview, then a description.
const QStringList description = {"0", "L", "12345", "42", "5", "",      "150",
                                 "",  "E", "2",     "C",  ">", "x.eps", "Essai"};

QByteArray lit(const QString& chemin) {
    QFile f(chemin);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An access ACL as the system stores it: owner rw-, user 1000 rw-, the
// group `groupe`, mask rw-, others ---.
QByteArray acl(quint16 groupe) {
    QByteArray octets;
    auto ajoute = [&octets](quint16 etiquette, quint16 droits, quint32 id) {
        octets.append(reinterpret_cast<const char*>(&etiquette), 2);
        octets.append(reinterpret_cast<const char*>(&droits), 2);
        octets.append(reinterpret_cast<const char*>(&id), 4);
    };
    const quint32 version = 2;
    octets.append(reinterpret_cast<const char*>(&version), 4);
    ajoute(0x01, 6, ~0u);
    ajoute(0x02, 6, 1000);
    ajoute(0x04, groupe, ~0u);
    ajoute(0x10, 6, ~0u);
    ajoute(0x20, 0, ~0u);
    return octets;
}

const char* const attribut_acl = "system.posix_acl_access";

QByteArray acl_de(const QString& chemin) {
    char octets[256];
    const ssize_t n =
        ::getxattr(QFile::encodeName(chemin).constData(), attribut_acl, octets, sizeof octets);
    return n > 0 ? QByteArray(octets, n) : QByteArray();
}

bool sans_temporaire(const QString& dossier) {
    return QDir(dossier).entryList({".valdorin-inacheve-*"}, QDir::Files | QDir::Hidden).isEmpty();
}

} // namespace

// A file replaced keeps its group where its writer is a member, its
// permissions and its access ACL, and never ends with more rights: the
// group it can no longer have gets nothing that others lack. In a sticky
// team folder, a colleague's file that the writer may write is written over
// in place, owner and all; one it may not write is refused.
TEST(Partage, UnFichierRemplaceNeGagneAucunDroit) {
    if (const std::string raison = sans_autres_utilisateurs(MAKE_BARCODE); !raison.empty())
        GTEST_SKIP() << raison;
    const QString d = dossier_test();
    ::chmod(QFile::encodeName(d).constData(), 0755);
    const utilisateur membre{moi, moi, {equipe}}, seul{moi, moi, {}};
    const struct {
        const char* cas;
        gid_t groupe_dossier;
        mode_t mode_dossier;
        proprietes avant;
        int acl; // 1: the file has one, 2: the folder gives one to new files
        utilisateur qui;
        proprietes apres; // uid 0: refused, the file as it was
        quint16 groupe_acl_apres;
    } cas[] = {
        {"groupe gardé", moi, 0755, {moi, equipe, 0664}, 0, membre, {moi, equipe, 0664}, 0},
        {"groupe étranger", moi, 0755, {moi, equipe, 0664}, 0, seul, {moi, moi, 0644}, 0},
        {"fichier privé", moi, 0755, {moi, moi, 0600}, 0, seul, {moi, moi, 0600}, 0},
        {"ACL par défaut du dossier", moi, 0755, {moi, moi, 0640}, 2, seul, {moi, moi, 0640}, 0},
        {"ACL", moi, 0755, {moi, equipe, 0660}, 1, membre, {moi, equipe, 0660}, 4},
        {"ACL, groupe étranger", moi, 0755, {moi, equipe, 0660}, 1, seul, {moi, moi, 0660}, 0},
        {"collant",
         equipe,
         03775,
         {collegue, equipe, 0664},
         0,
         membre,
         {collegue, equipe, 0664},
         0},
        {"collant, protégé", equipe, 03775, {collegue, equipe, 0644}, 0, membre, {0, 0, 0}, 0},
    };
    int n = 0;
    for (const auto& c : cas) {
        const QString dossier = d + "/cas" + QString::number(++n), fichier = dossier + "/code.eps";
        dossier_de(dossier, c.groupe_dossier == equipe ? 0 : moi, c.groupe_dossier, c.mode_dossier);
        fichier_de(fichier, "%!PS-Adobe-3.0 ancien", c.avant.uid, c.avant.gid, c.avant.mode);
        const QString porteur = c.acl == 2 ? dossier : fichier;
        if (c.acl && ::setxattr(QFile::encodeName(porteur).constData(),
                                c.acl == 2 ? "system.posix_acl_default" : attribut_acl,
                                acl(4).constData(), acl(4).size(), 0) != 0) {
            std::fprintf(stderr, "%s: skipped, this file system keeps no ACL\n", c.cas);
            continue;
        }
        QString sortie;
        const int code =
            lance_en_tant_que(c.qui, MAKE_BARCODE, QStringList{fichier} + description, &sortie);
        if (c.apres.uid == 0) {
            EXPECT_EQ(code, 1) << c.cas;
            EXPECT_TRUE(sortie.contains("accès refusé")) << c.cas << qPrintable(sortie);
            EXPECT_EQ(lit(fichier), "%!PS-Adobe-3.0 ancien") << c.cas;
        } else {
            EXPECT_EQ(code, 0) << c.cas << qPrintable(sortie);
            EXPECT_TRUE(lit(fichier).startsWith("%!PS-Adobe-3.0 EPSF-3.0")) << c.cas;
            EXPECT_EQ(proprietes_de(fichier), c.apres) << c.cas;
            EXPECT_EQ(acl_de(fichier), c.acl == 1 ? acl(c.groupe_acl_apres) : QByteArray())
                << c.cas;
        }
        EXPECT_TRUE(sans_temporaire(dossier)) << c.cas;
    }
}

// In a sticky folder that anyone may write into, a link is followed only
// when it belongs to the writer or to the folder's owner, as the system
// itself follows it: another user's link is refused and named, and the
// file it points at stays as it was.
TEST(Partage, LeLienDUnAutreNEstPasSuivi) {
    if (const std::string raison = sans_autres_utilisateurs(MAKE_BARCODE); !raison.empty())
        GTEST_SKIP() << raison;
    const QString d = dossier_test();
    ::chmod(QFile::encodeName(d).constData(), 0755);
    dossier_de(d + "/prive", moi, moi, 0755);
    const struct {
        const char* cas;
        mode_t mode_dossier;
        uid_t proprietaire_lien;
        bool suivi;
    } cas[] = {
        {"lien d'un autre", 01777, collegue, false},
        {"lien à soi", 01777, moi, true},
        {"lien du propriétaire du dossier", 01777, 0, true},
        {"dossier sans bit collant", 0777, collegue, true},
    };
    int n = 0;
    for (const auto& c : cas) {
        const QString commun = d + "/commun" + QString::number(++n);
        const QString notes = d + "/prive/notes" + QString::number(n) + ".txt";
        dossier_de(commun, 0, 0, c.mode_dossier);
        fichier_de(notes, "mes notes", moi, moi, 0644);
        const QString lien = commun + "/code.eps";
        ASSERT_TRUE(QFile::link(notes, lien));
        ASSERT_EQ(
            ::lchown(QFile::encodeName(lien).constData(), c.proprietaire_lien, c.proprietaire_lien),
            0)
            << c.cas;
        QString sortie;
        const int code = lance_en_tant_que(utilisateur{moi, moi, {}}, MAKE_BARCODE,
                                           QStringList{lien} + description, &sortie);
        EXPECT_EQ(code, c.suivi ? 0 : 1) << c.cas << qPrintable(sortie);
        EXPECT_EQ(lit(notes).startsWith("%!PS-Adobe-3.0 EPSF-3.0"), c.suivi) << c.cas;
        EXPECT_TRUE(QFileInfo(lien).isSymLink()) << c.cas;
        if (!c.suivi) {
            EXPECT_TRUE(sortie.contains("le lien symbolique «\u00A0" + lien +
                                        "\u00A0» appartient à un autre utilisateur, dans un "
                                        "dossier partagé\u00A0: il n'est pas suivi."))
                << qPrintable(sortie);
        }
        EXPECT_TRUE(sans_temporaire(commun)) << c.cas;
    }
}
