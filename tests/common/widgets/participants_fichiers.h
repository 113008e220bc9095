#pragma once

// Small real participants for the tests of the file dialogs and the state
// files: a presenter that answers the file dialogs in place of the user, and
// a reader that takes down the next alert and presses its "OK".

#include "controles_texte.h"
#include "dialogues_fichiers.h"
#include "repondeur.h"
#include "w_alerte.h"

#include <QList>
#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>

#include <stdexcept>

namespace participants {

class presentateur_essai : public bibliotheque_v1::presentateur_dialogues {
public:
    presentateur_essai() { bibliotheque_v1::installe_presentateur_dialogues(this); }
    ~presentateur_essai() override { bibliotheque_v1::installe_presentateur_dialogues(nullptr); }

    QString montre(const bibliotheque_v1::demande_dialogue& demande) override {
        demandes.append(demande);
        if (echoue)
            throw std::runtime_error("disque indisponible");
        return reponses.isEmpty() ? QString() : reponses.takeFirst();
    }

    QList<bibliotheque_v1::demande_dialogue> demandes;
    QStringList reponses; // one per dialog; none left = cancel
    bool echoue = false;
};

class lecteur_alertes {
public:
    // The next alert shown is read and closed with "OK".
    void attend() {
        repondeur::quand_visible([this](QWidget* fenetre) {
            auto* alerte = qobject_cast<w_alerte*>(fenetre);
            ASSERT_NE(alerte, nullptr);
            textes.append(alerte->st_message_centre->Text);
            alerte->bt_un->click();
        });
    }
    QStringList textes;
};

} // namespace participants
