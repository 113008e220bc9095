#include "thread_creer_ensemble.h"

#include "TableInputStream.h"
#include "controles_texte.h"
#include "csp_creer_plusieurs.h"
#include "dialogues_fichiers.h"
#include "w_previsu_table.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

thread_creer_ensemble::thread_creer_ensemble(csp_creer_plusieurs& page)
    : QObject(&page), page(page) {
    setObjectName(QStringLiteral("thread_creer_ensemble"));
    minuterie.setInterval(0);
    connect(&minuterie, &QTimer::timeout, this, &thread_creer_ensemble::pas);
}

thread_creer_ensemble::~thread_creer_ensemble() = default;

void thread_creer_ensemble::Run() {
    if (en_cours())
        return;
    page.travail_en_cours = true;
    lignes.clear();
    dernier_non_ferme = false;
    compteur = 0;
    demarre_ = false;
    lecteur = std::make_unique<TableInputStream>();
    page.maj_interface(false);
    page.bt_creer->setEnabled(false);
    page.bt_verrouiller->setEnabled(false);
    page.bt_enregistrer->setEnabled(false);
    try {
        if (!page.cb_previsualiser->isChecked()) {
            phase_ = phase::directe;
            if (!page.initialise_thread()) {
                fin();
                return;
            }
            demarre_ = true;
            page.pb_jauge->setMaximum(100);
            ouvre_lecteur();
        } else {
            phase_ = phase::lecture;
            page.pw_attente->show();
            ouvre_lecteur();
        }
        minuterie.start();
    } catch (...) {
        abandonne();
    }
}

void thread_creer_ensemble::ouvre_lecteur() {
    const int codage = page.codage();
    lecteur->Open(page.fi_lecture_reel,
                  codage < 0 ? codage_texte::ascii : static_cast<codage_texte>(codage),
                  page.delimiteur());
}

void thread_creer_ensemble::pas() {
    QElapsedTimer chrono;
    chrono.start();
    try {
        do {
            if (phase_ == phase::directe) {
                const QString ligne = lecteur->ReadLine();
                page.cree_fichier_depuis_ligne(ligne, compteur, lecteur->guillemet_non_ferme());
                ++compteur;
                if (lecteur->Eof() || page.fi_lecture_reel.isEmpty()) {
                    montre_progression();
                    note_duree(chrono.nsecsElapsed());
                    acheve();
                    return;
                }
            } else if (phase_ == phase::liste) {
                // Only the last record can run to the end of the file.
                page.cree_fichier_depuis_ligne(lignes.at(compteur), compteur,
                                               dernier_non_ferme && compteur == lignes.size() - 1);
                ++compteur;
                if (compteur >= lignes.size() || page.fi_lecture_reel.isEmpty()) {
                    montre_progression();
                    note_duree(chrono.nsecsElapsed());
                    acheve();
                    return;
                }
            } else if (phase_ == phase::lecture) {
                lignes.append(lecteur->ReadLine());
                dernier_non_ferme = lecteur->guillemet_non_ferme();
                if (lecteur->Eof()) {
                    note_duree(chrono.nsecsElapsed());
                    apres_lecture();
                    return;
                }
            } else {
                minuterie.stop();
                return;
            }
        } while (chrono.elapsed() < tranche_ms);
        montre_progression();
        note_duree(chrono.nsecsElapsed());
    } catch (...) {
        abandonne();
    }
}

void thread_creer_ensemble::montre_progression() {
    if (phase_ == phase::directe)
        page.pb_jauge->setValue(lecteur->Percent());
    else if (phase_ == phase::liste)
        page.pb_jauge->setValue(compteur);
    else
        return;
    page.st_jauge->affiche_pourcentage(*page.pb_jauge);
}

void thread_creer_ensemble::note_duree(qint64 nanosecondes) {
    pas_le_plus_long_ms = std::max(pas_le_plus_long_ms, nanosecondes / 1e6);
}

void thread_creer_ensemble::acheve() {
    minuterie.stop();
    if (lecteur)
        lecteur->Close();
    demarre_ = false;
    page.termine_thread();
    fin();
}

void thread_creer_ensemble::apres_lecture() {
    minuterie.stop();
    lecteur->Close();
    const bool creer = w_previsu_table::instance().afficher_questionner(
        lignes, lecteur->ColumnCount(), page.pw_attente);
    page.pw_attente->hide();
    if (!creer || !page.initialise_thread()) {
        fin();
        return;
    }
    demarre_ = true;
    phase_ = phase::liste;
    compteur = 0;
    page.pb_jauge->setMaximum(static_cast<int>(lignes.size()));
    minuterie.start();
}

void thread_creer_ensemble::abandonne() {
    bibliotheque_v1::erreur_fichier(QStringLiteral("thread_creer_serie"));
    minuterie.stop();
    try {
        if (lecteur)
            lecteur->Close();
    } catch (...) {
    }
    if (demarre_) {
        demarre_ = false;
        try {
            // Closes the report and tells what was made before the failure.
            page.termine_thread();
        } catch (...) {
            bibliotheque_v1::erreur_fichier(QStringLiteral("thread_creer_serie"));
            page.enregistre_rapport();
        }
    }
    fin();
}

void thread_creer_ensemble::fin() {
    minuterie.stop();
    phase_ = phase::repos;
    lecteur.reset();
    lignes = QStringList();
    page.copie_reglages.reset();
    page.pw_attente->hide();
    page.raz_jauge();
    page.maj_interface(page.interface_active);
    page.bt_creer->setEnabled(true);
    page.bt_verrouiller->setEnabled(true);
    page.bt_enregistrer->setEnabled(true);
    page.travail_en_cours = false;
    emit termine();
}
