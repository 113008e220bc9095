#include "fichiers_inclus.h"
#include "types_fichiers.h"

#include "rapports.h"

#include <gtest/gtest.h>

TEST(TypesFichiers, TheDropAndResultSetsHoldTheirRecords) {
    ensemble_fichiers_drop::Initialize();
    ensemble_fichiers_resultat::Initialize();
    const type_fichier etat{"Valdorin State", ".valdorin", "vdrn", "vdrn"};
    ASSERT_TRUE(ensemble_fichiers_drop::type_etat());
    EXPECT_EQ(*ensemble_fichiers_drop::type_etat(), etat);
    EXPECT_EQ(ensemble_fichiers_drop::type_etat()->texte(), "Valdorin State");
    EXPECT_EQ(ensemble_fichiers_drop::types(),
              (QList<type_fichier>{etat,
                                   {"Text", ".txt", "TEXT", "????"},
                                   {"CSV Text", ".csv", "TEXT", "????"},
                                   {"PRN Text", ".prn", "TEXT", "????"}}));
    EXPECT_EQ(ensemble_fichiers_drop::All(), "Valdorin State;Text;CSV Text;PRN Text;");
    QString noms;
    for (const type_fichier& type : ensemble_fichiers_drop::types())
        noms += type.nom + ";";
    EXPECT_EQ(noms, ensemble_fichiers_drop::All());

    EXPECT_EQ(*ensemble_fichiers_resultat::type_eps(),
              (type_fichier{"EPS", ".eps", "EPSF", "vdrn"}));
    EXPECT_EQ(*ensemble_fichiers_resultat::type_pdf(),
              (type_fichier{"PDF", ".pdf", "PDF ", "vdrn"}));
    EXPECT_EQ(ensemble_fichiers_resultat::type_pdf()->mac_type.size(), 4);
}

TEST(TypesFichiers, TextTypeFollowsTheDelimiter) {
    test_support::rapports rapports;
    const std::tuple<int, const char*, const char*> cas[] = {
        {9, "Texte (séparateur: tabulation)", ".txt"},
        {32, "Texte (séparateur: espace)", ".txt,.prn"},
        {44, "Texte (séparateur: virgule)", ".txt,.csv"},
        {59, "Texte (séparateur: point-virgule)", ".txt,.csv"},
        {124, "Texte (séparateur: barre verticale)", ".txt"}};
    for (const auto& [code, nom, extensions] : cas)
        EXPECT_EQ(file_table_type::filetype_table(code),
                  (type_fichier{QString::fromUtf8(nom), extensions, "TEXT", "????"}));
    EXPECT_TRUE(rapports.textes.isEmpty());
    for (int code : {0, 10, -1}) {
        EXPECT_EQ(file_table_type::filetype_table(code), (type_fichier{"", "", "TEXT", "????"}));
    }
    EXPECT_EQ(rapports.textes, QStringList(3, "erreur en filetype_table"));
}

TEST(TextesInclus, AgreementByNameAndLanguage) {
    const QString fr = fichiers_inclus::desincorpore_texte("licence", "");
    const QString en = fichiers_inclus::desincorpore_texte("licence", "en");
    EXPECT_TRUE(fr.startsWith("CONTRAT DE LICENCE"));
    EXPECT_TRUE(fr.contains("Brimlow"));
    EXPECT_TRUE(fr.contains(QString::fromUtf8("«\u00a0en l'état\u00a0»")));
    EXPECT_TRUE(en.startsWith("VALDORIN SOFTWARE LICENCE AGREEMENT"));
    EXPECT_EQ(fichiers_inclus::desincorpore_texte("licence", "fr"), fr);
    EXPECT_EQ(fr, fichiers_inclus::licence_fr());
    EXPECT_EQ(en, fichiers_inclus::licence_en());
    for (const auto& [nom, langue] : {std::pair{"licence", "de"}, std::pair{"aide", ""},
                                      std::pair{"licence_fr", ""}, std::pair{"", "fr"}})
        EXPECT_EQ(fichiers_inclus::desincorpore_texte(nom, langue), "Debug en desincorpore_texte");
}

TEST(TextesInclus, EachAgreementIsReadOnce) {
    fichiers_inclus::licence_fr();
    fichiers_inclus::licence_en();
    ASSERT_TRUE(fichiers_inclus::licence_fr_chargee);
    ASSERT_TRUE(fichiers_inclus::licence_en_chargee);
    const QString fr = fichiers_inclus::licence_fr_texte;
    const QString en = fichiers_inclus::licence_en_texte;
    fichiers_inclus::licence_fr_texte = "gardé";
    fichiers_inclus::licence_en_texte = "kept";
    EXPECT_EQ(fichiers_inclus::licence_fr(), "gardé");
    EXPECT_EQ(fichiers_inclus::desincorpore_texte("licence", "en"), "kept");
    fichiers_inclus::licence_fr_texte = fr;
    fichiers_inclus::licence_en_texte = en;
}
