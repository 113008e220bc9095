#include "environnement.h"
#include "instance_unique.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace instance_unique;

// What a command line names, as a start hands it over, and what the program
// that receives it opens or tells: a path from the current folder, a
// percent-encoded URI with spaces and accents, a URI of this machine's host,
// and the addresses of no readable file here.
TEST(InstanceUnique, LesDocumentsDUneLigneDeCommandeSontOuvertsOuRefusesAvecLeurRaison) {
    const QString dossier = test_support::dossier_test();
    const QString etat = dossier + "/état enregistré.valdorin";
    QFile(etat).open(QIODevice::WriteOnly);
    mkfifo(QFile::encodeName(dossier + "/tube.txt").constData(), 0600);
    QDir::setCurrent(dossier);
    const QString encode = "file://" + QUrl::toPercentEncoding(etat, "/");
    const struct {
        QString argument;
        QString ouvert; // the file opened, or ""
        QString raison; // the end of the refusal, or ""
    } cas[] = {
        {"état enregistré.valdorin", etat, ""},
        {encode, etat, ""},
        {"file://localhost" + QUrl::toPercentEncoding(etat, "/"), etat, ""},
        {"absent.valdorin", "", "il n'existe pas, ou plus, à cet endroit."},
        {"http://www.valdorin.invalid/a.valdorin", "",
         "ce n'est pas un fichier de cet ordinateur."},
        {"file://autre-machine.invalid/a.valdorin", "",
         "ce n'est pas un fichier de cet ordinateur."},
        {dossier, "", "c'est un dossier."},
        {"tube.txt", "", "ce n'est pas un fichier ordinaire."},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.argument.toStdString());
        const QList<QUrl> adresses = adresses_documents({c.argument, ""});
        ASSERT_EQ(adresses.size(), 1);
        QString fichier;
        const QString refus = refus_document(adresses[0], fichier);
        EXPECT_EQ(fichier, c.ouvert);
        EXPECT_EQ(refus.isEmpty(), c.raison.isEmpty());
        EXPECT_TRUE(c.raison.isEmpty() || refus.endsWith(c.raison + "\r\rOuverture annulée !"))
            << refus.toStdString();
    }
}

// What goes through the socket comes out the same; a message that is not a
// whole start's is ignored.
TEST(InstanceUnique, UnMessageMalFormeOuTropGrandEstIgnore) {
    const QList<QUrl> adresses = {QUrl("file:///tmp/a%20%C3%A9.valdorin"),
                                  QUrl("http://a.invalid")};
    const QByteArray bon = message_socket(adresses, "j-1");
    QString jeton;
    EXPECT_EQ(lit_message_socket(bon, &jeton), adresses);
    EXPECT_EQ(jeton, "j-1");
    for (const QByteArray& suite :
         QByteArrayList{"", "inconnu x\n\n", "document pas une adresse\n\n",
                        "document " + QByteArray(taille_maximale_message, 'a') + "\n\n"})
        EXPECT_FALSE(lit_message_socket(bon.chopped(1) + suite)) << suite.left(60).toStdString();
}

} // namespace
