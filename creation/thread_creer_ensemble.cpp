#include "thread_creer_ensemble.h"

#include "TableInputStream.h"
#include "csp_creer_plusieurs.h"
#include "droits_fichiers.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <new>

thread_creer_ensemble::thread_creer_ensemble(csp_creer_plusieurs& page)
    : QObject(&page), page(page) {
    setObjectName(QStringLiteral("thread_creer_ensemble"));
    minuterie.setInterval(0);
    connect(&minuterie, &QTimer::timeout, this, &thread_creer_ensemble::pas);
    // However the application quits (menu, keyboard, close box), a run in
    // progress leaves its report.
    if (QCoreApplication* application = QCoreApplication::instance())
        connect(application, &QCoreApplication::aboutToQuit, this, &thread_creer_ensemble::arrete);
}

namespace {

// Why a run stopped on an exception, as the summary says it.
QString raison_exception(std::exception_ptr exception) {
    try {
        std::rethrow_exception(exception);
    } catch (const std::bad_alloc&) {
        return QStringLiteral("la mémoire disponible ne suffit pas.");
    } catch (const echec_lecture& echec) {
        return QString::fromUtf8(echec.what());
    } catch (const std::exception& echec) {
        return QStringLiteral("erreur inattendue (%1).").arg(QString::fromUtf8(echec.what()));
    } catch (...) {
        return QStringLiteral("erreur inattendue.");
    }
}

// How the reader left the record it has just read.
csp_creer_plusieurs::defaut_lecture defaut_de(const TableInputStream& lecteur) {
    using defaut = csp_creer_plusieurs::defaut_lecture;
    return {lecteur.guillemet_non_ferme()        ? defaut::guillemet_non_ferme
            : lecteur.enregistrement_trop_long() ? defaut::trop_long
                                                 : defaut::aucun,
            lecteur.colonne_illisible()};
}

} // namespace

void thread_creer_ensemble::arrete() {
    if (!en_cours())
        return;
    page.fi_lecture_reel.clear();
    if (demarre_)
        acheve();
    else
        fin();
}

thread_creer_ensemble::~thread_creer_ensemble() = default;

void thread_creer_ensemble::Run() {
    if (en_cours())
        return;
    lignes.clear();
    defauts.clear();
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
        abandonne(raison_exception(std::current_exception()));
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
                page.cree_fichier_depuis_ligne(ligne, compteur, defaut_de(*lecteur));
                ++compteur;
                if (lecteur->Eof() || page.fi_lecture_reel.isEmpty()) {
                    montre_progression();
                    note_duree(chrono.nsecsElapsed());
                    acheve();
                    return;
                }
            } else if (phase_ == phase::liste) {
                page.cree_fichier_depuis_ligne(lignes.at(compteur), compteur,
                                               defauts.value(compteur));
                ++compteur;
                if (compteur >= lignes.size() || page.fi_lecture_reel.isEmpty()) {
                    montre_progression();
                    note_duree(chrono.nsecsElapsed());
                    acheve();
                    return;
                }
            } else if (phase_ == phase::lecture) {
                lignes.append(lecteur->ReadLine());
                if (const auto defaut = defaut_de(*lecteur);
                    defaut.genre != csp_creer_plusieurs::defaut_lecture::aucun ||
                    defaut.colonne_illisible != 0)
                    defauts.insert(static_cast<std::int32_t>(lignes.size() - 1), defaut);
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
        abandonne(raison_exception(std::current_exception()));
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

void thread_creer_ensemble::abandonne(const QString& raison) {
    bibliotheque_v1::erreur_fichier(QStringLiteral("thread_creer_serie"));
    minuterie.stop();
    const auto ligne =
        static_cast<std::int32_t>((phase_ == phase::lecture ? lignes.size() : compteur) + 1);
    // Whatever memory the records held goes first: the failure may be its lack.
    lignes = QStringList();
    // Each step on its own: whatever fails in one, the report is still
    // closed and named, and the page comes back to rest.
    try {
        if (lecteur)
            lecteur->Close();
    } catch (...) {
        bibliotheque_v1::erreur_fichier(QStringLiteral("thread_creer_serie"));
    }
    try {
        page.serie_interrompue(ligne, raison);
    } catch (...) {
        bibliotheque_v1::erreur_fichier(QStringLiteral("thread_creer_serie"));
    }
    if (demarre_) {
        demarre_ = false;
        try {
            // Closes the report and tells what was made before the failure.
            page.termine_thread();
        } catch (...) {
            bibliotheque_v1::erreur_fichier(QStringLiteral("thread_creer_serie"));
        }
    }
    fin();
}

void thread_creer_ensemble::fin() {
    minuterie.stop();
    phase_ = phase::repos;
    lecteur.reset();
    lignes = QStringList();
    defauts.clear();
    page.serie_terminee();
    emit termine();
}
