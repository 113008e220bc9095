#include "bibliotheque_v1.h"
#include "environnement.h"
#include "limite_fichiers.h"
#include "outils_eps.h"
#include "ressources.h"
#include "valdorin.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace outils_eps;
using valdorin::erreur_creation;
using valdorin::tableau_code_barres;

// The application's resources can be taken away and given back, as when the
// resource file is out of reach. Called from the global namespace, where the
// resource functions live.
static void retire_ressources() {
    ressources::texte(999); // registered once, so that nothing registers them again
    Q_CLEANUP_RESOURCE(valdorin_ressources);
}

static void rend_ressources() {
    Q_INIT_RESOURCE(valdorin_ressources);
}

namespace {

void ecrit_fichier(const QString& chemin, const QByteArray& octets) {
    QFile fichier(chemin);
    ASSERT_TRUE(fichier.open(QIODevice::WriteOnly));
    fichier.write(octets);
}

// Runs the engine and expects a refusal: the message is returned, the earlier
// file and the description are untouched and no other file appears.
QString refuse(tableau_code_barres t, bool previsu = false) {
    const tableau_code_barres avant = t;
    valdorin::fi_ecriture = chemin("essai.eps");
    valdorin::previsu_presence = previsu;
    QString message;
    try {
        valdorin::cree_fichier(t);
        ADD_FAILURE() << "aucune erreur";
    } catch (const erreur_creation& erreur) {
        message = erreur.message();
    }
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(lit(chemin("essai.eps")), QByteArray("ancien fichier"));
    EXPECT_EQ(fichiers_du_dossier(), QStringList{"essai.eps"});
    EXPECT_EQ(t, avant);
    return message;
}

// Each name must fail with the write message and leave the description as it was.
void echecs_ecriture(const QStringList& noms) {
    for (const QString& nom : noms) {
        tableau_code_barres u = exemple();
        valdorin::fi_ecriture = chemin(nom);
        try {
            valdorin::cree_fichier(u);
            ADD_FAILURE() << nom.toStdString();
        } catch (const erreur_creation& erreur) {
            EXPECT_TRUE(erreur.message().contains(u"Impossible d'écrire")) << erreur.what();
        }
        EXPECT_EQ(u, exemple());
    }
}

QString ligne_apres(const QByteArray& fichier, const QByteArray& debut) {
    const qsizetype i = fichier.indexOf(debut);
    if (i < 0)
        return QString();
    qsizetype fin = i;
    while (fin < fichier.size() && fichier[fin] != '\r' && fichier[fin] != '\n')
        ++fin;
    return QString::fromLatin1(fichier.mid(i + debut.size(), fin - i - debut.size()));
}

} // namespace

TEST(Entree, RefusesEntriesOutsideTheirDomainBeforeTouchingAnyFile) {
    ecrit_fichier(chemin("essai.eps"), "ancien fichier");
    valdorin::previsu_bloc = "ancien aperçu";

    const struct {
        int entree;
        const char* valeur;
        const char* mot; // a word of the message
    } cas[] = {
        {1, "", "code produit"},     {1, "123456", "code produit"},
        {1, "12a4", "code produit"}, {1, "１２", "code produit"},
        {2, "12345", "parution"},    {2, "4a", "parution"},
        {3, "", "sous-parution"},    {3, "12", "sous-parution"},
        {3, "x", "sous-parution"},   {5, "", "prix"},
        {5, "12345", "prix"},        {5, "1,5", "prix"},
        {8, "5", "engraissement"},   {8, "", "engraissement"},
        {8, "01", "engraissement"},  {9, "B", "protection"},
        {9, "", "protection"},       {9, "AR", "protection"},
        {10, "|", "orientation"},    {10, "", "orientation"},
        {10, "==", "orientation"},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(testing::Message() << "entrée " << c.entree << " = " << c.valeur);
        tableau_code_barres t = exemple();
        t[c.entree] = QString::fromUtf8(c.valeur);
        const QString message = refuse(t, true);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.mot))) << message.toStdString();
    }
    // Nothing was drawn for a refused description.
    EXPECT_EQ(valdorin::previsu_bloc, QByteArray("ancien aperçu"));

    // No destination at all.
    tableau_code_barres t = exemple();
    valdorin::fi_ecriture.clear();
    EXPECT_THROW(valdorin::cree_fichier(t), erreur_creation);
    EXPECT_EQ(t, exemple());

    // A name with a NUL in it would be cut there by the system and the file
    // written under another name.
    valdorin::fi_ecriture =
        chemin(QStringLiteral("autre")) + QChar(u'\0') + QStringLiteral("/essai.eps");
    EXPECT_THROW(valdorin::cree_fichier(t), erreur_creation);
    EXPECT_EQ(t, exemple());
    EXPECT_EQ(fichiers_du_dossier(), QStringList{"essai.eps"});
}

TEST(Entree, FailuresLeaveNoPartialFileAndKeepTheEarlierOne) {
    ecrit_fichier(chemin("essai.eps"), "ancien fichier");

    // The font programs are out of reach: the run fails with a message, and the
    // font is looked for again once the resources are back.
    retire_ressources();
    EXPECT_TRUE(refuse(exemple()).contains(u"police"));
    rend_ressources();
    // The writer failed half-way: its buffer is closed, nothing can write into it.
    ASSERT_TRUE(valdorin::buffer_ecriture);
    EXPECT_FALSE(valdorin::buffer_ecriture->isOpen());
    EXPECT_THROW(valdorin::ecrit(QByteArray("suite")), erreur_creation);
    tableau_code_barres t = exemple();
    const QByteArray fait = fabrique(t, false);
    EXPECT_TRUE(fait.startsWith("%!PS-Adobe-3.0 EPSF-3.0"));
    EXPECT_EQ(t[valdorin::entree_prix], u"1,50");
    // Once read, the fonts are kept: a second run does not need the resources.
    retire_ressources();
    t = exemple();
    const QByteArray refait = fabrique(t, false); // its date may differ from the first run's
    EXPECT_TRUE(refait.startsWith("%!PS-Adobe-3.0 EPSF-3.0"));
    EXPECT_TRUE(refait.contains("/FontName /EanP35N0"));
    rend_ressources();

    // A write that fails half-way (the file size limit of the process) leaves
    // neither a partial new file nor a damaged earlier one.
    {
        const test_support::limite_fichiers limite(4096);
        echecs_ecriture({"nouveau.eps", "essai.eps"});
    }
    EXPECT_EQ(lit(chemin("essai.eps")), refait);
    EXPECT_EQ(fichiers_du_dossier(), QStringList{"essai.eps"});
    ecrit_fichier(chemin("essai.eps"), "ancien fichier");

    // A destination that is a folder, or inside a folder that does not exist.
    QDir(test_support::dossier_test()).mkdir("dossier.eps");
    echecs_ecriture({"dossier.eps", "absent/essai.eps"});
    EXPECT_EQ(lit(chemin("essai.eps")), QByteArray("ancien fichier"));
    EXPECT_EQ(fichiers_du_dossier(), QStringList{"essai.eps"});
}

TEST(Entree, ReplacesAnEarlierFileEvenWithTheLongestName) {
    // 255 bytes, the longest name the system takes: the first run creates the
    // file, the next ones replace it.
    const QString nom = QString(251, u'n') + QStringLiteral(".eps");
    ecrit_fichier(chemin(nom), "ancien fichier");
    for (const char* protection : {"A", "C"}) {
        tableau_code_barres t = exemple();
        t[valdorin::entree_protection] = protection;
        const QByteArray fichier = fabrique(t, false, nom);
        EXPECT_TRUE(fichier.startsWith("%!PS-Adobe-3.0 EPSF-3.0")) << protection;
        EXPECT_TRUE(fichier.contains(QByteArray("/EpsDict ") + (*protection == 'A' ? "7" : "8")));
        EXPECT_EQ(fichiers_du_dossier(), QStringList{nom});
    }
}

TEST(Entree, ReplacementKeepsPermissionsAndWritesThroughLinks) {
    for (const mode_t droits : {0600, 0740}) {
        ecrit_fichier(chemin("essai.eps"), "ancien fichier");
        ASSERT_EQ(::chmod(QFile::encodeName(chemin("essai.eps")).constData(), droits), 0);
        tableau_code_barres t = exemple();
        EXPECT_TRUE(fabrique(t, false).startsWith("%!PS-Adobe-3.0"));
        struct stat etat = {};
        ASSERT_EQ(::stat(QFile::encodeName(chemin("essai.eps")).constData(), &etat), 0);
        EXPECT_EQ(etat.st_mode & 07777, droits);
    }

    // A link, a link to that link, and a link whose target is yet to be made:
    // each run writes the target, and the links stay links.
    QDir(test_support::dossier_test()).mkdir("cibles");
    ecrit_fichier(chemin("cibles/code.eps"), "ancien fichier");
    ASSERT_TRUE(QFile::link("cibles/code.eps", chemin("lien.eps")));
    ASSERT_TRUE(QFile::link(chemin("lien.eps"), chemin("lien2.eps")));
    ASSERT_TRUE(QFile::link("cibles/neuf.eps", chemin("neuf.eps")));
    const struct {
        const char *lien, *cible;
    } cas[] = {{"lien.eps", "cibles/code.eps"},
               {"lien2.eps", "cibles/code.eps"},
               {"neuf.eps", "cibles/neuf.eps"}};
    for (const auto& c : cas) {
        tableau_code_barres t = exemple();
        t[valdorin::entree_orientation] = QStringLiteral("<");
        const QByteArray fichier = fabrique(t, false, c.lien);
        EXPECT_TRUE(fichier.startsWith("%!PS-Adobe-3.0")) << c.lien;
        EXPECT_EQ(lit(chemin(c.cible)), fichier) << c.lien;
        EXPECT_TRUE(QFileInfo(chemin(c.lien)).isSymLink()) << c.lien;
    }
    EXPECT_TRUE(QDir(test_support::dossier_test())
                    .entryList({".valdorin*"}, QDir::Files | QDir::Hidden)
                    .isEmpty());
    EXPECT_EQ(QFileInfo(chemin("lien.eps")).symLinkTarget(), chemin("cibles/code.eps"));
    EXPECT_EQ(QDir(chemin("cibles")).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"code.eps", "neuf.eps"}));

    // Links that lead nowhere but to each other.
    ASSERT_TRUE(QFile::link("boucle2.eps", chemin("boucle.eps")));
    ASSERT_TRUE(QFile::link("boucle.eps", chemin("boucle2.eps")));
    // A pipe is no file to replace: it stays a pipe.
    ASSERT_EQ(::mkfifo(QFile::encodeName(chemin("tube.eps")).constData(), 0666), 0);
    echecs_ecriture({"boucle.eps", "tube.eps"});
    EXPECT_FALSE(QFileInfo(chemin("tube.eps")).isFile());
}

// A link's target on another volume: the bytes go beside it, and neither
// folder keeps a temporary file.
TEST(Entree, ALinkToAnotherVolumeIsWrittenBesideItsTarget) {
    QTemporaryDir ailleurs(QStringLiteral("/dev/shm/valdorin-XXXXXX"));
    if (!ailleurs.isValid())
        GTEST_SKIP() << "no second volume: /dev/shm cannot hold a folder here";
    ecrit_fichier(ailleurs.filePath("code.eps"), "ancien fichier");
    for (const QString& cible : {QString("code.eps"), QString("neuf.eps")}) {
        ASSERT_TRUE(QFile::link(ailleurs.filePath(cible), chemin("loin-" + cible)));
        tableau_code_barres t = exemple();
        const QByteArray fichier = fabrique(t, false, "loin-" + cible);
        EXPECT_EQ(lit(ailleurs.filePath(cible)), fichier) << qPrintable(cible);
    }
    EXPECT_EQ(QDir(ailleurs.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{"code.eps", "neuf.eps"}));
    EXPECT_TRUE(QDir(test_support::dossier_test())
                    .entryList({".valdorin*"}, QDir::Files | QDir::Hidden)
                    .isEmpty());
}

TEST(Entree, PreviewThatCannotBeMadeFailsTheRun) {
    ecrit_fichier(chemin("essai.eps"), "ancien fichier");
    valdorin::previsu_bloc = "aperçu d'un autre code-barres";
    retire_ressources(); // the preview background is out of reach
    const QString message = refuse(exemple(), true);
    EXPECT_TRUE(message.contains(u"prévisualisation")) << message.toStdString();
    EXPECT_TRUE(valdorin::previsu_bloc.isEmpty());
    rend_ressources();
}

TEST(Entree, PdfNeedsNoPreviewPicture) {
    tableau_code_barres t = exemple();
    t[valdorin::entree_type_fichier] = QStringLiteral("P");
    valdorin::fi_ecriture = chemin("premier.pdf");
    valdorin::previsu_presence = true;
    valdorin::cree_fichier(t); // loads the PDF font while the resources are there
    retire_ressources();       // the preview background is out of reach
    t = exemple();
    t[valdorin::entree_type_fichier] = QStringLiteral("P");
    valdorin::fi_ecriture = chemin("note.pdf");
    EXPECT_NO_THROW(valdorin::cree_fichier(t));
    rend_ressources();
    EXPECT_TRUE(lit(chemin("note.pdf")).startsWith("%PDF-1.3"));
    EXPECT_TRUE(lit(chemin("note.pdf")).contains("/Annots"));
}

TEST(Entree, PageSizeDigitsAndLegendForms) {
    const struct {
        const char* protection;
        const char* orientation;
        double largeur, hauteur;
    } pages[] = {
        {"A", "=", 128, 49}, {"R", "=", 143.5, 49}, {"F", "=", 143.5, 49}, {"C", "=", 143.5, 49},
        {"A", "<", 49, 128}, {"C", "<", 49, 143.5}, {"A", ">", 49, 128},   {"R", ">", 49, 143.5},
    };
    for (const auto& p : pages) {
        tableau_code_barres t = exemple();
        t[valdorin::entree_protection] = p.protection;
        t[valdorin::entree_orientation] = p.orientation;
        fabrique(t, false);
        EXPECT_EQ(valdorin::largeur, p.largeur) << p.protection << p.orientation;
        EXPECT_EQ(valdorin::hauteur, p.hauteur) << p.protection << p.orientation;
    }

    // Entries are padded for the symbol, then rewritten for the legends; entry
    // 7 other than "P" writes EPS.
    const struct {
        const char *produit, *prix, *parution, *sous, *type;
        const char *chiffres, *prix_legende, *parution_legende;
    } cas[] = {
        {"123", "0", "", "0", "", "37800123000000000", "0,00", ""},
        {"12345", "150", "42", "0", "E", "37812345015000420", "1,50", "42"},
        {"1", "5", "0000", "9", "x", "37800001000500009", "0,05", ""},
        {"99999", "9999", "0042", "5", "EPS", "37899999999900425", "99,99", "42"},
    };
    for (const auto& c : cas) {
        tableau_code_barres t = exemple();
        t[valdorin::entree_code_produit] = c.produit;
        t[valdorin::entree_prix] = c.prix;
        t[valdorin::entree_parution] = c.parution;
        t[valdorin::entree_sous_parution] = c.sous;
        t[valdorin::entree_type_fichier] = c.type;
        const QByteArray fichier = fabrique(t, false);
        ASSERT_TRUE(fichier.startsWith("%!PS-Adobe-3.0 EPSF-3.0"));
        EXPECT_EQ(t[valdorin::entree_prix], QString::fromLatin1(c.prix_legende));
        EXPECT_EQ(t[valdorin::entree_parution], QString::fromLatin1(c.parution_legende));
        EXPECT_EQ(ligne_apres(fichier, "/CodeBarres ("),
                  bibliotheque_v1::adapte_postscript(
                      valdorin::ean13_valdorin(QString::fromLatin1(c.chiffres), true)) +
                      ") def");
        EXPECT_EQ(ligne_apres(fichier, "/PrixEuro ("),
                  QString::fromLatin1(c.prix_legende) + ") def");
    }
}

TEST(Entree, HeaderTextsAndOneDatePerRun) {
    tableau_code_barres t = exemple();
    const QDateTime avant = QDateTime::currentDateTime();
    const QByteArray fichier = fabrique(t, false);
    const QDateTime d = valdorin::date_execution;
    EXPECT_LE(avant.secsTo(d), 1);
    EXPECT_GE(avant.secsTo(d), 0);
    const QString date = bibliotheque_v1::middle_date(d.date()) + QStringLiteral("  %1h %2mn %3s")
                                                                      .arg(d.time().hour())
                                                                      .arg(d.time().minute())
                                                                      .arg(d.time().second());
    EXPECT_EQ(ligne_apres(fichier, "%%CreationDate: ("),
              bibliotheque_v1::adapte_postscript(date) + u')');
    EXPECT_EQ(ligne_apres(fichier, "%%Creator: ("), u"Valdorin 2.2)");
    EXPECT_EQ(ligne_apres(fichier, "%%Copyright: ("), valdorin::notice_editeur + u')');
    EXPECT_EQ(ligne_apres(fichier, "%%For: ("), u")");
}

TEST(Entree, TextForLiteralsAndNearestAscii) {
    using valdorin::texte_ascii;
    using valdorin::texte_litteral;
    EXPECT_EQ(texte_ascii(QStringLiteral("Éléphant çà œuvre Straße – «oui» ’ 5 €")),
              u"Elephant ca oeuvre Strasse - \"oui\" ' 5 EUR");
    EXPECT_EQ(texte_ascii(QStringLiteral("Ωx")), u"?x");
    EXPECT_EQ(texte_ascii(QString()), QString());

    EXPECT_EQ(texte_litteral(QStringLiteral("a(b)c\\")), u"a\\(b\\)c\\\\");
    EXPECT_EQ(texte_litteral(QStringLiteral("x\r\ny\tz")), u"x\\r\\ny\\tz");
    EXPECT_EQ(texte_litteral(QString::fromUtf8("\x01\x0c\x7f")), u"\\001\\014\\177");
    EXPECT_EQ(texte_litteral(QStringLiteral("é")), u"\\351");
}
