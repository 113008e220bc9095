#include "cp_formation_memo.h"

#include "controles_texte.h"
#include "fichiers_parametres.h"
#include "kit_pages.h"
#include "services_coquille.h"

#include <QLabel>
#include <QPushButton>

cp_formation_memo::cp_formation_memo(QWidget* parent)
    : classe_page(parent),
      st_titre(kit_pages::texte_statique(this, QStringLiteral("st_titre"), QRect(18, 14, 610, 29),
                                         QStringLiteral("Enregistrer l'état du logiciel"), 24, true,
                                         0x990000, Qt::AlignCenter)),
      st_message(kit_pages::texte_centre(this, QStringLiteral("st_message"),
                                         QRect(22, 52, 598, 307), 0xF1F1F1)),
      bt_enregistrer(
          kit_pages::bouton(this, QStringLiteral("bt_enregistrer"), QRect(310, 363, 310, 20),
                            QStringLiteral("Enregistrer l'état du logiciel sous…"), false)),
      bt_restaurer(kit_pages::bouton(this, QStringLiteral("bt_restaurer"), QRect(310, 390, 310, 20),
                                     QStringLiteral("Restaurer un état enregistré du logiciel…"),
                                     false)),
      lien_revenir(kit_pages::lien(this, QStringLiteral("lien_revenir"), QRect(18, 390, 282, 20),
                                   QStringLiteral("Revenir vers l'onglet précédent"),
                                   Qt::AlignRight)) {
    setObjectName(QStringLiteral("cp_formation_memo"));
    setFixedSize(640, 430);
    setAutoFillBackground(true);
    st_message_Open();
    connect(bt_enregistrer, &QPushButton::clicked, this, &cp_formation_memo::bt_enregistrer_Action);
    connect(bt_restaurer, &QPushButton::clicked, this, &cp_formation_memo::bt_restaurer_Action);
    connect(lien_revenir, &st_lien::Action, this, &cp_formation_memo::lien_revenir_Action);
    kit_pages::ordre_lecture(this);
}

void cp_formation_memo::st_message_Open() {
    st_message->BackColor = QColor::fromRgb(0xF1F1F1);
    st_message->TextColor = QColor::fromRgb(0x000000);
    st_message->Bold = true;
    st_message->Text = QStringLiteral(
        "Cette fonction vous permet d'enregistrer dans un fichier l'état du logiciel, c'est à "
        "dire ses réglages courants. Il sera ensuite possible d'ouvrir ce fichier pour revenir "
        "exactement à ces réglages.\r\rPar ce moyen, vous pourrez mémoriser la façon dont vous "
        "avez obtenu un résultat, pour contrôle ultérieur, communication à un tiers ou travail "
        "comparable.\r\rNota 1 : en mode expert, vous accéderez à cette fonction par les menus "
        "«\u00A0Fichier\u00A0:\u00A0Enregistrer l'état du logiciel sous…\u00A0» et "
        "«\u00A0Fichier\u00A0:\u00A0Restaurer un état enregistré du logiciel…\u00A0».\r\rNota 2 : "
        "lorsque vous quittez le logiciel, les réglages courants sont automatiquement "
        "enregistrés pour être restaurés à son prochain lancement.");
}

void cp_formation_memo::formation_page(QString& message, QString&) {
    message =
        QStringLiteral("Cliquez un bouton ou choisissez un autre sujet dans le menu ci-dessus");
}

void cp_formation_memo::bt_enregistrer_Action() {
    parametres_v1::exporte_fichier_memo(nullptr, QString());
}

void cp_formation_memo::bt_restaurer_Action() {
    parametres_v1::choisit_importe_fichier_memo(nullptr);
}

void cp_formation_memo::lien_revenir_Action() {
    if (coquille::fenetre_principale* principale = coquille::w_main())
        principale->montrer(principale->contenu_onglet_precedent(), coquille::origine_page);
}
