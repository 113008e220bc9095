#include "thread_creer_ensemble.h"

#include "TableInputStream.h"
#include "csp_creer_plusieurs.h"
#include "droits_fichiers.h"

#include <QElapsedTimer>

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
    lignes.clear();
    dernier_non_ferme = false;
    compteur = 0;
    demarre_ = false;
    lecteur = std::make_unique<TableInputStream>();
    const bool previsualisation = page.previsualisation();
    page.serie_commencee(previsualisation);
    try {
        if (!previsualisation) {
            phase_ = phase::directe;
            // The reader tells its progress in percent.
            if (!page.initialise_thread(100)) {
                fin();
                return;
            }
            demarre_ = true;
            ouvre_lecteur();
        } else {
            phase_ = phase::lecture;
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
        page.serie_avance(lecteur->Percent());
    else if (phase_ == phase::liste)
        page.serie_avance(compteur);
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
    if (!page.previsualisation_acceptee(lignes, lecteur->ColumnCount()) ||
        !page.initialise_thread(static_cast<int>(lignes.size()))) {
        fin();
        return;
    }
    demarre_ = true;
    phase_ = phase::liste;
    compteur = 0;
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
    page.serie_terminee();
    emit termine();
}
