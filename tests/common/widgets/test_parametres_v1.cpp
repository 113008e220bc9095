#include "parametres_v1.h"

#include "participants.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace parametres_v1;

namespace {

class Parametres : public testing::Test {
protected:
    void SetUp() override { dictionnaire_parametres.emplace(); }
    void TearDown() override { dictionnaire_parametres.reset(); }

    // What a file keeps of the dictionary: every entry as text.
    static void passe_par_un_fichier() {
        for (auto entree = dictionnaire_parametres->begin();
             entree != dictionnaire_parametres->end(); ++entree)
            entree.value() = texte_valeur(entree.value());
    }

    static QString rapport(const QString& balise, const QString& genre) {
        return "erreur en entree-sortie de parametre " + balise + "\n" + genre +
               "\n\nPour en savoir plus, développez un debug dans fonction parametre_" + balise;
    }

    participants::rapports rapports;
};

} // namespace

TEST_F(Parametres, ThePassRoundTripsEveryKindOfSetting) {
    participants::application app;
    participants::fenetre fenetre;
    participants::page_unique& page = fenetre.page;
    app.menu_aide_contextuelle.setChecked(true);
    fenetre.contenu = 4;
    fenetre.onglets = {0, 1, 4};
    fenetre.derniere_version = 2.2;
    page.ch_prix->setText("150");
    page.ch_commentaire->setPlainText("ligne\u00A01\nligne 2");
    page.popup_type_fichier->setCurrentIndex(1);
    page.popup_engraissement->setCurrentIndex(-1);
    page.cb_visualiser->setChecked(true);

    import_export_parametres("init", "export");
    EXPECT_EQ(app.passages, QStringList{"init/export"});
    EXPECT_EQ(fenetre.passages, QStringList{"init/export"});
    const dictionnaire& dico = *dictionnaire_parametres;
    EXPECT_EQ(dico.value("globale_aide"), QVariant(true));
    EXPECT_EQ(dico.value("main_contenu"), QVariant("4"));
    EXPECT_EQ(dico.value("onglets_contenu"), QVariant("0,1,4"));
    EXPECT_EQ(dico.value("version_derniere_version_disponible_observee"), QVariant("2.2"));
    EXPECT_EQ(dico.value("unique_ch_prix"), QVariant("150"));
    // The no-break space stays one: a field's plain text would make it a blank.
    EXPECT_EQ(dico.value("unique_ch_commentaire"), QVariant("ligne\u00A01\rligne 2"));
    EXPECT_EQ(dico.value("unique_popup_type_fichier"), QVariant("1"));
    EXPECT_EQ(dico.value("unique_popup_engraissement"), QVariant("-1"));
    EXPECT_EQ(dico.value("unique_cb_visualiser"), QVariant(true));
    EXPECT_EQ(dico.size(), 9);

    passe_par_un_fichier();
    EXPECT_EQ(dico.value("globale_aide"), QVariant("true"));
    EXPECT_EQ(dico.value("unique_cb_visualiser"), QVariant("true"));

    app.menu_aide_contextuelle.setChecked(false);
    fenetre.contenu = 0;
    fenetre.onglets = {3};
    fenetre.derniere_version = 0;
    page.ch_prix->setText("");
    page.ch_commentaire->setPlainText("");
    page.popup_type_fichier->setCurrentIndex(0);
    page.popup_engraissement->setCurrentIndex(2);
    page.cb_visualiser->setChecked(false);

    import_export_parametres("init", "import");
    EXPECT_TRUE(app.menu_aide_contextuelle.isChecked());
    EXPECT_EQ(fenetre.contenu, 4);
    EXPECT_EQ(fenetre.onglets, (QList<std::int32_t>{0, 1, 4}));
    EXPECT_EQ(fenetre.derniere_version, 2.2);
    EXPECT_EQ(page.ch_prix->text(), "150");
    EXPECT_EQ(page.ch_commentaire->toPlainText(), "ligne 1\nligne 2");
    EXPECT_EQ(page.popup_type_fichier->currentIndex(), 1);
    EXPECT_EQ(page.popup_engraissement->currentIndex(), 2) << "-1 keeps the selection";
    EXPECT_TRUE(page.cb_visualiser->isChecked());
    EXPECT_TRUE(rapports.textes.isEmpty());
}

TEST_F(Parametres, TheStateKindBindsOnlyThePages) {
    participants::application app;
    participants::fenetre fenetre;
    fenetre.contenu = 3;
    fenetre.page.ch_prix->setText("250");
    import_export_parametres("memo", "export");
    EXPECT_EQ(dictionnaire_parametres->keys(),
              (QStringList{"unique_cb_visualiser", "unique_ch_commentaire", "unique_ch_prix",
                           "unique_popup_engraissement", "unique_popup_type_fichier"}));
}

TEST_F(Parametres, EditFieldLineEndsComeBackAsCarriageReturns) {
    QLineEdit champ;
    champ.setObjectName("ch_commentaire");
    for (const QString& fin : {QString("\n"), QString("\r\n"), QString("\r")}) {
        champ.setText("un" + fin + "deux" + fin);
        parametre_editfield(&champ, "export", "unique", "");
        EXPECT_EQ(dictionnaire_parametres->value("unique_ch_commentaire"),
                  "un" + fin + "deux" + fin)
            << "exported as it stands";
        passe_par_un_fichier();
        champ.clear();
        parametre_editfield(&champ, "import", "unique", "");
        EXPECT_EQ(champ.text(), "un\rdeux\r");
    }
    dictionnaire_parametres->clear();
    parametre_editfield(&champ, "import", "unique", "défaut");
    EXPECT_EQ(champ.text(), "défaut");
}

TEST_F(Parametres, NumbersAreReadFromTheirLeadingPart) {
    std::int32_t entier = 9;
    (*dictionnaire_parametres)["main_contenu"] = "4.7";
    parametre_integer(entier, "import", "main", "contenu", 0);
    EXPECT_EQ(entier, 4);
    (*dictionnaire_parametres)["main_contenu"] = " -12 onglets";
    parametre_integer(entier, "import", "main", "contenu", 0);
    EXPECT_EQ(entier, -12);
    (*dictionnaire_parametres)["main_contenu"] = "rien";
    parametre_integer(entier, "import", "main", "contenu", 7);
    EXPECT_EQ(entier, 0) << "a stored text without a number reads as 0, not the default";
    dictionnaire_parametres->clear();
    parametre_integer(entier, "import", "main", "contenu", 7);
    EXPECT_EQ(entier, 7);

    QList<std::int32_t> liste{9};
    (*dictionnaire_parametres)["onglets_contenu"] = "1.9,x,3";
    parametre_tableau_integer(liste, "import", "onglets", "contenu", "");
    EXPECT_EQ(liste, (QList<std::int32_t>{1, 0, 3}));
    dictionnaire_parametres->clear();
    parametre_tableau_integer(liste, "import", "onglets", "contenu", "2,0");
    EXPECT_EQ(liste, (QList<std::int32_t>{2, 0}));
    liste.clear();
    parametre_tableau_integer(liste, "export", "onglets", "contenu", "2,0");
    EXPECT_EQ(dictionnaire_parametres->value("onglets_contenu"), QVariant(""));
    liste = {5};
    parametre_tableau_integer(liste, "import", "onglets", "contenu", "2,0");
    EXPECT_TRUE(liste.isEmpty()) << "an empty stored text gives an empty list";
}

TEST_F(Parametres, DoublesAreWrittenShortestAndReadBackUnchanged) {
    for (double valeur : {2.2, 0.1 + 0.2, 1e-7, -3.0, 123456789.125, 0.0}) {
        double v = valeur;
        parametre_double(v, "export", "version", "v", 0);
        passe_par_un_fichier();
        v = 99;
        parametre_double(v, "import", "version", "v", 0);
        EXPECT_EQ(v, valeur);
    }
    double v = 2.2;
    parametre_double(v, "export", "version", "v", 0);
    EXPECT_EQ(dictionnaire_parametres->value("version_v"), QVariant("2.2"));
    v = -3;
    parametre_double(v, "export", "version", "v", 0);
    EXPECT_EQ(dictionnaire_parametres->value("version_v"), QVariant("-3"));
}

TEST_F(Parametres, BooleansReadTheirWordsAndKeepStoredBooleans) {
    bool b = false;
    QCheckBox boite;
    boite.setObjectName("bt_prevenir");
    const std::pair<QVariant, bool> cas[] = {{QVariant("true"), true},   {QVariant("false"), false},
                                             {QVariant(" TRUE "), true}, {QVariant("1"), true},
                                             {QVariant("0"), false},     {QVariant("oui"), false},
                                             {QVariant(true), true},     {QVariant(false), false}};
    for (const auto& [stocke, attendu] : cas) {
        (*dictionnaire_parametres)["globale_aide"] = stocke;
        (*dictionnaire_parametres)["version_bt_prevenir"] = stocke;
        b = !attendu;
        boite.setChecked(!attendu);
        parametre_boolean(b, "import", "globale", "aide", !attendu);
        parametre_checkbox(&boite, "import", "version", !attendu);
        EXPECT_EQ(b, attendu) << stocke.toString().toStdString();
        EXPECT_EQ(boite.isChecked(), attendu) << stocke.toString().toStdString();
    }
}

TEST_F(Parametres, AMissingKeyGivesEachBinderItsDefault) {
    QCheckBox boite;
    boite.setObjectName("bt_lancement");
    QLineEdit champ;
    champ.setObjectName("ch_repertoire");
    champ.setText("ancien");
    bool b = false;
    std::int32_t entier = 5;
    double d = 9.5;
    QList<std::int32_t> liste{7};
    for (bool defaut : {true, false}) {
        boite.setChecked(!defaut);
        b = !defaut;
        parametre_checkbox(&boite, "import", "accueil", defaut);
        parametre_boolean(b, "import", "globale", "aide", defaut);
        EXPECT_EQ(boite.isChecked(), defaut);
        EXPECT_EQ(b, defaut);
    }
    parametre_editfield(&champ, "import", "multiples", "");
    parametre_integer(entier, "import", "main", "contenu", -1);
    parametre_double(d, "import", "version", "derniere_version_disponible_observee", 2.2);
    parametre_tableau_integer(liste, "import", "onglets", "contenu", "");
    EXPECT_EQ(champ.text(), "");
    EXPECT_EQ(entier, -1);
    EXPECT_EQ(d, 2.2);
    EXPECT_TRUE(liste.isEmpty());
    EXPECT_TRUE(dictionnaire_parametres->isEmpty()) << "an import stores nothing";
    EXPECT_TRUE(rapports.textes.isEmpty());
}

TEST_F(Parametres, PopupIndexOutsideTheMenuKeepsTheSelection) {
    QComboBox menu;
    menu.setObjectName("popup_protection");
    menu.addItems({"A", "B", "C", "D", "E"});
    menu.setCurrentIndex(2);
    (*dictionnaire_parametres)["unique_popup_protection"] = "7";
    parametre_popup(&menu, "import", "unique", 0);
    EXPECT_EQ(menu.currentIndex(), 2);
    (*dictionnaire_parametres)["unique_popup_protection"] = "-1";
    parametre_popup(&menu, "import", "unique", 0);
    EXPECT_EQ(menu.currentIndex(), 2);
    (*dictionnaire_parametres)["unique_popup_protection"] = "4";
    parametre_popup(&menu, "import", "unique", 0);
    EXPECT_EQ(menu.currentIndex(), 4);
    dictionnaire_parametres->clear();
    parametre_popup(&menu, "import", "unique", -1);
    EXPECT_EQ(menu.currentIndex(), 4);
    parametre_popup(&menu, "import", "unique", 1);
    EXPECT_EQ(menu.currentIndex(), 1);
}

TEST_F(Parametres, AnotherDirectionTouchesNothing) {
    participants::page_unique page;
    page.ch_prix->setText("150");
    std::int32_t entier = 3;
    bool b = true;
    double d = 1.5;
    QList<std::int32_t> liste{1};
    for (const QString& sens : {QString("Import"), QString(""), QString("exporter")}) {
        (*dictionnaire_parametres)["unique_ch_prix"] = "999";
        page.import_export_parametres("init", sens);
        parametre_integer(entier, sens, "main", "contenu", 0);
        parametre_boolean(b, sens, "globale", "aide", false);
        parametre_double(d, sens, "version", "v", 0);
        parametre_tableau_integer(liste, sens, "onglets", "contenu", "");
        EXPECT_EQ(page.ch_prix->text(), "150");
        EXPECT_EQ(dictionnaire_parametres->size(), 1);
    }
    EXPECT_EQ(entier, 3);
    EXPECT_TRUE(b);
    EXPECT_EQ(d, 1.5);
    EXPECT_EQ(liste, QList<std::int32_t>{1});
    EXPECT_TRUE(rapports.textes.isEmpty());
}

TEST_F(Parametres, RenameMovesAnEntryToItsNewKey) {
    dictionnaire& dico = *dictionnaire_parametres;
    parametre_renomme("unique", "ch_sous_parution", "unique", "popup_sous_parution");
    EXPECT_TRUE(dico.isEmpty());
    dico["valdorin_rbt_resultats"] = "2";
    dico["multiples_popup_resultats"] = "0";
    parametre_renomme("valdorin", "rbt_resultats", "multiples", "popup_resultats");
    EXPECT_FALSE(dico.contains("valdorin_rbt_resultats"));
    EXPECT_EQ(dico.value("multiples_popup_resultats"), QVariant("2"));
    EXPECT_EQ(dico.size(), 1);
    parametre_renomme("multiples", "popup_resultats", "multiples", "popup_resultats");
    EXPECT_EQ(dico.value("multiples_popup_resultats"), QVariant("2"));
}

TEST_F(Parametres, BinderFailuresAreReportedAndThePassGoesOn) {
    participants::page_unique page;
    page.ch_prix->setText("150");
    QLineEdit sans_nom;
    parametre_editfield(nullptr, "export", "unique", "");
    parametre_checkbox(nullptr, "import", "unique", true);
    parametre_popup(nullptr, "export", "unique", 0);
    parametre_editfield(&sans_nom, "export", "unique", "");
    parametre_editfield(page.popup_type_fichier, "export", "unique", "");
    page.import_export_parametres("init", "export");
    EXPECT_EQ(rapports.textes,
              QStringList({rapport("edit_field", "erreur dictionnaire_parametres inconnue"),
                           rapport("checkbox", "erreur dictionnaire_parametres inconnue"),
                           rapport("popup", "erreur dictionnaire_parametres inconnue"),
                           rapport("edit_field", "erreur dictionnaire_parametres inconnue"),
                           rapport("edit_field", "erreur dictionnaire_parametres inconnue")}));
    EXPECT_EQ(dictionnaire_parametres->value("unique_ch_prix"), QVariant("150"));
    EXPECT_FALSE(dictionnaire_parametres->contains("unique_"));
}

TEST_F(Parametres, WithoutADictionaryEveryBinderReportsAndBindsNothing) {
    dictionnaire_parametres.reset();
    participants::page_unique page;
    page.ch_prix->setText("150");
    page.popup_type_fichier->setCurrentIndex(1);
    std::int32_t entier = 3;
    bool b = true;
    double d = 1.5;
    QList<std::int32_t> liste{1};
    page.import_export_parametres("init", "import");
    parametre_integer(entier, "import", "main", "contenu", 0);
    parametre_boolean(b, "export", "globale", "aide", false);
    parametre_double(d, "import", "version", "v", 0);
    parametre_tableau_integer(liste, "import", "onglets", "contenu", "");
    const QString inconnue = "erreur dictionnaire_parametres inconnue";
    EXPECT_EQ(rapports.textes,
              QStringList({rapport("edit_field", inconnue), rapport("edit_field", inconnue),
                           rapport("popup", inconnue), rapport("popup", inconnue),
                           rapport("checkbox", inconnue), rapport("integer", inconnue),
                           rapport("boolean", inconnue), rapport("double", inconnue),
                           rapport("tableau_integer", inconnue)}));
    EXPECT_EQ(page.ch_prix->text(), "150");
    EXPECT_EQ(page.popup_type_fichier->currentIndex(), 1);
    EXPECT_EQ(entier, 3);
    EXPECT_EQ(d, 1.5);
    EXPECT_EQ(liste, QList<std::int32_t>{1});
    EXPECT_FALSE(dictionnaire_parametres.has_value());
    EXPECT_THROW(parametre_renomme("a", "b", "c", "d"), echec_parametre);
}

TEST_F(Parametres, ReportsNameTheKindOfFailure) {
    erreur_parametre(genre_echec::clef_absente, "integer");
    erreur_parametre(genre_echec::indice_hors_limites, "popup");
    erreur_parametre(genre_echec::inconnu, "tableau_integer");
    EXPECT_EQ(rapports.textes,
              QStringList({rapport("integer", "Key not in the dictionary"),
                           rapport("popup", "The index of the key is out of bounds!"),
                           rapport("tableau_integer", "erreur dictionnaire_parametres inconnue")}));
}

TEST_F(Parametres, AFailingOwnerEndsThePassSilently) {
    participants::application app;
    participants::fenetre fenetre;
    app.menu_aide_contextuelle.setChecked(true);
    fenetre.contenu = 2;
    fenetre.page.ch_prix->setText("150");
    fenetre.echoue = true;
    import_export_parametres("init", "export");
    EXPECT_EQ(rapports.textes, QStringList{"erreur import_export_parametres"});
    EXPECT_EQ(dictionnaire_parametres->value("globale_aide"), QVariant(true));
    EXPECT_EQ(dictionnaire_parametres->value("main_contenu"), QVariant("2"));
    EXPECT_FALSE(dictionnaire_parametres->contains("unique_ch_prix")) << "the page was not reached";
}

TEST_F(Parametres, WithoutTheShellThePassReportsAndBindsNothing) {
    import_export_parametres("init", "export");
    EXPECT_EQ(rapports.textes, QStringList{"erreur import_export_parametres"});
    EXPECT_TRUE(dictionnaire_parametres->isEmpty());
    {
        participants::application app;
        import_export_parametres("init", "export");
        EXPECT_EQ(app.passages, QStringList{"init/export"});
    }
    EXPECT_EQ(rapports.textes.size(), 2) << "no main window";
    EXPECT_TRUE(dictionnaire_parametres->contains("globale_aide"));
}
