#include "ksp_partagees.h"

#include "TableInputStream.h"
#include "controles_texte.h"
#include "csp_creer_plusieurs.h"
#include "csp_creer_unit.h"
#include "entete_reglages.h"
#include "fenetre_essai.h"
#include "limite_fichiers.h"
#include "outils_donnees.h"
#include "outils_eps.h"
#include "participants_fichiers.h"
#include "repondeur.h"
#include "types_fichiers.h"
#include "w_alerte.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTemporaryFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

valdorin::tableau_code_barres fiche(const QString& entete_prix, const QString& commentaire) {
    return {"L", "12345", "42", "0", entete_prix, "150", "CB", "P", "4", "A", "=", "", commentaire};
}

const QString champs12 = "L\t12345\t42\t0\tPrix\t150\tCB\tP\t4\tA\t=\tNom_du_fichier_a_obtenir";

} // namespace

TEST(ksp_partagees, champs_echappements_et_refus) {
    const auto utf8 = codage_texte::utf8;
    const QString annule = "\r\rEnregistrement annulé !";
    const struct {
        QChar delimiteur;
        codage_texte codage;
        bool previsu;
        QString entete_prix;
        QString commentaire;
        QString attendu; // TAB stands for the delimiter; or the start of the refusal
    } cas[] = {
        {u'\t', utf8, false, "Prix", "ignoré", champs12},
        {u'\t', utf8, true, "Prix", "", champs12 + "\t"},
        {u'\t', utf8, true, "Prix", "a\rb\nc\r\nd", champs12 + "\ta<CR>b<CR>c<CR>d"},
        {u'|', utf8, true, "Prix", "un \"mot\"", champs12 + "\tun \"mot\""},
        {u';', utf8, true, "Prix", "a;\"b\"", champs12 + "\t\"a;\"\"b\"\"\""},
        {u',', utf8, true, "Prix", "a\rb", champs12 + "\t\"a\rb\""},
        {u',', utf8, true, "Prix", "a\nb", champs12 + "\t\"a\nb\""},
        {u',', utf8, false, "1,50 €", "", QString(champs12).replace("Prix", "\"1,50 €\"")},
        {u'\t', utf8, true, "Prix\tTTC", "", "La colonne 5 contient"},
        {u'|', utf8, true, "Prix|TTC", "", "La colonne 5 contient"},
        {u'|', utf8, true, "Prix", "a|b", "La colonne 13 contient"},
        {u';', utf8, true, "Prix", "a\tb", "La colonne 13 contient"},
        {u'\t', codage_texte::ascii, true, "Prix", "été",
         "Le codage Ascii ne permet pas d'enregistrer le caractère «\u00A0é\u00A0» !"},
        {u'\t', codage_texte::windows_ansi, true, "Prix", "ŝ€ŝ☃",
         "Le codage Windows ANSI ne permet pas d'enregistrer les caractères «\u00A0ŝ\u00A0», "
         "«\u00A0☃\u00A0» !"},
        {u'\t', codage_texte::windows_ansi, true, "Prix", "a\u0081",
         "Le codage Windows ANSI ne permet pas d'enregistrer le caractère «\u00A0U+0081\u00A0» !"},
        {u'\t', codage_texte::ascii, true, "Prix", "\u202F\uFEFF",
         "Le codage Ascii ne permet pas d'enregistrer les caractères «\u00A0U+202F\u00A0», "
         "«\u00A0U+FEFF\u00A0» !"},
    };
    for (const auto& c : cas) {
        const auto r = ksp_partagees::contenu_fichier_donnees(
            fiche(c.entete_prix, c.commentaire), c.previsu, c.delimiteur, c.codage, {});
        if (c.attendu.startsWith(champs12.left(3))) {
            EXPECT_TRUE(r.refus.isEmpty()) << r.refus.toStdString();
            EXPECT_EQ(QString::fromUtf8(r.octets), QString(c.attendu).replace(u'\t', c.delimiteur))
                << c.commentaire.toStdString();
        } else {
            EXPECT_TRUE(r.octets.isEmpty());
            EXPECT_TRUE(r.refus.startsWith(c.attendu) && r.refus.endsWith(annule))
                << r.refus.toStdString();
        }
    }
}

TEST(ksp_partagees, codages_et_entete) {
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin><a>é</a></valdorin>";
    const auto utf16 = ksp_partagees::contenu_fichier_donnees(fiche("Prix", "é"), true, u'\t',
                                                              codage_texte::utf16, xml);
    ASSERT_TRUE(utf16.refus.isEmpty());
    EXPECT_TRUE(utf16.octets.startsWith(QByteArray("\xFE\xFF\0<\0?", 6)));
    const QString texte16 = QStringDecoder(QStringConverter::Utf16BE).decode(utf16.octets.mid(2));
    EXPECT_TRUE(texte16.startsWith("<?xml version=\"1.0\" encoding=\"UTF-16\"?>"));
    EXPECT_TRUE(texte16.endsWith("</valdorin>\n" + champs12 + "\té"));

    const auto mac = ksp_partagees::contenu_fichier_donnees(fiche("Prix", "é"), true, u'\t',
                                                            codage_texte::mac_roman, xml);
    EXPECT_TRUE(mac.octets.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"));
    EXPECT_TRUE(mac.octets.contains("<a>&#233;</a></valdorin>\n"));
    EXPECT_TRUE(mac.octets.endsWith("\t\x8E"));
}

// Written in every delimiter and encoding of the batch page's settings, with
// and without the settings header, the example is read back as written.
TEST(ksp_partagees, exemple_relu_comme_ecrit) {
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><valdorin><a>1</a></valdorin>";
    for (int d = 0; d < 4; ++d) {
        for (int n = 0; n <= 4; ++n) {
            csp_creer_plusieurs page;
            page.popup_delimiteur->setCurrentIndex(d);
            page.popup_codage->setCurrentIndex(n);
            const auto codage = static_cast<codage_texte>(page.codage());
            const QString prix = n == 0 ? "1,50 EUR;x" : "1,50 € é;x";
            const QString commentaire = QString("x, \"y\"; z\nw") + (n == 0 ? "" : "€");
            for (const bool entete : {false, true}) {
                const auto exemple = ksp_partagees::contenu_fichier_donnees(
                    fiche(prix, commentaire), true, page.delimiteur()[0], codage,
                    entete ? xml : QByteArray());
                ASSERT_TRUE(exemple.refus.isEmpty());
                QString chemin = outils_donnees::fichier(exemple.octets);
                QTemporaryFile copie;
                ASSERT_TRUE(copie.open());
                QString texte;
                ASSERT_EQ(entete_reglages::extrait(chemin, texte, copie),
                          entete ? entete_reglages::issue::entete
                                 : entete_reglages::issue::sans_entete);
                if (entete)
                    chemin = copie.fileName();
                TableInputStream lecteur;
                lecteur.Open(chemin, codage, page.delimiteur());
                const QStringList champs = lecteur.ReadLine().split(u'\t');
                EXPECT_TRUE(lecteur.Eof());
                valdorin::tableau_code_barres t;
                ASSERT_EQ(page.parse_format_v2(champs, t), "") << d << n;
                EXPECT_EQ(t[valdorin::entree_entete_prix], prix) << d << n;
                EXPECT_EQ(t[valdorin::entree_nom_fichier], "Nom_du_fichier_a_obtenir.pdf");
                EXPECT_EQ(t[valdorin::entree_commentaire],
                          QString(commentaire).replace(u'\n', u'\r'))
                    << d << n;
            }
        }
    }
}

namespace {

// The main window with the two creation pages; `ecran` is the screen shown.
struct fenetre : test_support::fenetre_essai {
    csp_creer_unit unique{this};
    csp_creer_plusieurs plusieurs{this};
};

// Answers the coming alerts in turn with the buttons of these captions and
// keeps their texts.
void repond(QStringList boutons, QStringList& textes) {
    if (boutons.isEmpty())
        return;
    repondeur::quand_visible([boutons, &textes](QWidget* modale) mutable {
        auto* alerte = qobject_cast<w_alerte*>(modale);
        ASSERT_NE(alerte, nullptr);
        textes.append(alerte->st_message_centre->Text);
        const QString legende = boutons.takeFirst();
        repond(boutons, textes);
        for (QPushButton* b : {alerte->bt_un, alerte->bt_deux, alerte->bt_trois}) {
            if (b->isVisible() && b->text() == legende)
                return b->click();
        }
        ADD_FAILURE() << "no button " << legende.toStdString();
    });
}

} // namespace

TEST(ksp_partagees, boutons_des_deux_pages) {
    repondeur::garde garde;
    participants::presentateur_essai dialogues;
    fenetre f;
    f.unique.ch_code_produit->setText("12345");
    f.unique.ch_parution->setText("42");
    f.unique.ch_prix->setText("1,50");
    const QString chemin = test_support::dossier_test() + "/exemple.txt";
    const QString fin = "Le fichier a été enregistré :\n\n  - au codage Ascii ;\n\n  - avec "
                        "séparateur tabulation (*.txt) ;\n\nconformément aux réglages de "
                        "l'onglet :\n\n  «\u00A0Créer un ensemble de code-barres\u00A0».\n\n";
    const struct {
        int ecran;
        QStringList boutons;
        QString debut; // of the file; "" for no file
        QString conclusion;
    } cas[] = {
        {coquille::ecran_creer_plusieurs,
         {"Réglages et données", "OK"},
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>",
         "Ces réglages seront automatiquement restaurés lorsque vous générerez les code-barres !"},
        {coquille::ecran_creer_unit,
         {"Données seules", "OK"},
         "\t12345\t42\t",
         "Adoptez ces réglages avant de générer les code-barres !"},
        {coquille::ecran_creer_unit, {"Annuler"}, "", ""},
    };
    for (const auto& c : cas) {
        QFile::remove(chemin);
        f.ecran = c.ecran;
        dialogues.reponses = {chemin};
        QStringList textes;
        repond(c.boutons, textes);
        (c.ecran == coquille::ecran_creer_plusieurs ? f.plusieurs.bt_enregistrer
                                                    : f.unique.bt_enregistrer)
            ->click();
        ASSERT_EQ(textes.size(), c.boutons.size());
        QFile fichier(chemin);
        ASSERT_EQ(fichier.open(QIODevice::ReadOnly), !c.debut.isEmpty());
        EXPECT_TRUE(c.debut.isEmpty() || QString::fromUtf8(fichier.readAll()).startsWith(c.debut));
        if (!c.conclusion.isEmpty()) {
            EXPECT_EQ(textes.last(), fin + c.conclusion);
        }
    }
    // A file that cannot be written is told and nothing is confirmed.
    QDir().mkpath(chemin + ".d");
    dialogues.reponses = {chemin + ".d"};
    QStringList textes;
    repond({"Données seules", "OK"}, textes);
    f.unique.bt_enregistrer->click();
    EXPECT_EQ(textes.value(1), "Fichier ou répertoire protégé !\r\rEnregistrement annulé !");
    // Any other cause is named.
    const test_support::limite_fichiers limite(0);
    dialogues.reponses = {chemin};
    textes.clear();
    repond({"Données seules", "OK"}, textes);
    f.unique.bt_enregistrer->click();
    EXPECT_EQ(textes.mid(1),
              QStringList{"Le fichier n'a pas pu être enregistré : le fichier dépasse "
                          "la taille permise.\r\rEnregistrement annulé !"});
}

namespace {

// A barcode file as two makers of the same barcode write it: the date it
// bears set aside, and in a PDF the objects' offsets that follow from it.
// An EPS with a preview is compared by its PostScript and TIFF sections.
QString sans_date(QByteArray fichier) {
    if (fichier.startsWith("\xC5\xD0\xD3\xC6"))
        fichier = outils_eps::section_postscript(fichier) + outils_eps::section_tiff(fichier);
    QString texte = QString::fromLatin1(fichier);
    texte.replace(QRegularExpression("CreationDate: [^\r]*"), "CreationDate");
    texte.replace(QRegularExpression("\\(D:[^)]*\\)"), "(D:)");
    return texte.left(texte.indexOf("\rxref\r"));
}

} // namespace

// Whatever the single page accepts, its example data file, in every
// delimiter and encoding, with or without the settings, is read by the batch
// and makes the barcode the single page makes.
TEST(ksp_partagees, exemple_cree_par_la_serie_comme_par_la_page) {
    repondeur::garde garde;
    participants::presentateur_essai dialogues;
    ensemble_fichiers_resultat::Initialize();
    fenetre f;
    f.unique.cb_visualiser->setChecked(false);
    f.plusieurs.cb_log->setChecked(false);
    f.plusieurs.popup_log->setCurrentIndex(1); // beside the data file
    const QString d = test_support::dossier_test();
    const QString nom = "Nom_du_fichier_a_obtenir";
    const struct {
        const char* cas;
        QStringList saisies; // control=value: a text or a row index
    } formulaires[] = {
        {"vides", {"ch_code_produit=7", "ch_prix=5"}},
        {"plus petits",
         {"ch_code_produit=0", "ch_parution=0", "ch_prix=0,", "popup_previsu=1",
          "ch_commentaire="}},
        {"plus grands",
         {"ch_transporteur=Z", "ch_code_produit=99999", "ch_parution=9999", "popup_sous_parution=9",
          "ch_entete_prix=\"P\",;", "ch_prix=99,99", "ch_reglement=zZ99", "popup_type_fichier=1",
          "popup_engraissement=4", "popup_protection=3", "popup_orientation=2", "popup_previsu=1",
          "ch_commentaire=note, \"deux\"; fin\nligne 2"}},
        {"eps et aperçu",
         {"popup_type_fichier=0", "ch_code_produit=12345", "ch_parution=42",
          "popup_sous_parution=5", "ch_prix=1,5", "popup_protection=1", "popup_orientation=1",
          "popup_previsu=1", "ch_commentaire=quatorze carac"}},
    };
    for (const auto& formulaire : formulaires) {
        for (const QString& saisie : formulaire.saisies) {
            QWidget* c = f.unique.findChild<QWidget*>(saisie.section(u'=', 0, 0));
            const QString valeur = saisie.section(u'=', 1);
            if (auto* l = qobject_cast<QLineEdit*>(c))
                l->setText(valeur);
            else if (auto* z = qobject_cast<QPlainTextEdit*>(c))
                z->setPlainText(valeur);
            else
                qobject_cast<QComboBox*>(c)->setCurrentIndex(valeur.toInt());
        }
        const QString extension =
            f.unique.popup_type_fichier->currentIndex() == 1 ? ".pdf" : ".eps";
        const QString unique = d + "/unique/" + nom + extension;
        QDir().mkpath(d + "/unique");
        dialogues.reponses = {unique};
        f.ecran = coquille::ecran_creer_unit;
        f.unique.bt_creer->click();
        const QString attendu = sans_date(outils_eps::lit(unique));
        ASSERT_TRUE(attendu.contains("Valdorin")) << formulaire.cas;
        for (int delimiteur = 0; delimiteur < 4; ++delimiteur) {
            for (int codage = 0; codage < 5; ++codage) {
                const QString cas = QString("%1, délimiteur %2, codage %3")
                                        .arg(formulaire.cas)
                                        .arg(delimiteur)
                                        .arg(codage);
                f.plusieurs.popup_delimiteur->setCurrentIndex(delimiteur);
                f.plusieurs.popup_codage->setCurrentIndex(codage);
                // With the settings from the batch page, the data alone from the single one.
                const bool reglages = (delimiteur + codage) % 2 == 0;
                const QString exemple =
                    d + QString("/exemple-%1%2.txt").arg(delimiteur).arg(codage);
                QStringList textes;
                dialogues.reponses = {exemple};
                f.ecran = reglages ? coquille::ecran_creer_plusieurs : coquille::ecran_creer_unit;
                repond({reglages ? "Réglages et données" : "Données seules", "OK"}, textes);
                (reglages ? f.plusieurs.bt_enregistrer : f.unique.bt_enregistrer)->click();
                ASSERT_TRUE(textes.value(1).startsWith("Le fichier a été enregistré"))
                    << qPrintable(cas);

                const QString sortie = d + "/serie-" + QString::number(delimiteur * 5 + codage);
                QDir(sortie).removeRecursively();
                QDir().mkpath(sortie);
                dialogues.reponses = {sortie};
                f.plusieurs.fi_lecture_officiel = exemple;
                f.plusieurs.creer_serie();
                ASSERT_TRUE(QTest::qWaitFor([&] { return !f.plusieurs.travail_en_cours; }, 10000));
                EXPECT_EQ(outils_eps::lit(exemple.chopped(4) + ".log").toStdString(),
                          ("Ligne 1, fichier " + nom + extension + " OK\n").toStdString())
                    << qPrintable(cas);
                EXPECT_TRUE(sans_date(outils_eps::lit(sortie + "/" + nom + extension)) == attendu)
                    << qPrintable(cas);
            }
        }
    }
}
