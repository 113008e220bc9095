#pragma once

#include "csp_creer_plusieurs.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <cstdint>
#include <memory>

class TableInputStream;

// The batch worker: a step task on the event loop, owned by the batch page.
// Each step reads or converts records until about `tranche_ms` have passed,
// then gives the loop back, so the gauge, its label and the cancel button stay
// live. A record, its engine call included, always runs to its end inside one
// step, so nothing else that uses the engine runs in the middle of it.
// The worker touches none of the page's controls: it tells the page where the
// run stands (serie_commencee, previsualisation_acceptee, serie_avance,
// serie_terminee), leaves the start and finish steps and the records to the
// page, and reads the data file and the reader's settings from it.
class thread_creer_ensemble : public QObject {
    Q_OBJECT
public:
    explicit thread_creer_ensemble(csp_creer_plusieurs& page);
    ~thread_creer_ensemble() override;

    // Starts a run on the page's fi_lecture_reel and returns: in direct mode
    // once the run's start step is done, in preview mode once the file is
    // open. Whatever happens, the run ends with the page back at rest.
    void Run();
    bool en_cours() const { return phase_ != phase::repos; }
    // Ends a run at once as the cancel button does, its report written: the
    // application is quitting.
    void arrete();

    static constexpr int tranche_ms = 10;
    // The longest step of the runs so far, in milliseconds, the time spent in
    // the preview window and the summary left out.
    double pas_le_plus_long_ms = 0;

signals:
    // The run has ended, whichever way.
    void termine();

private:
    enum class phase { repos, lecture, directe, liste };

    void pas();
    void ouvre_lecteur();
    void montre_progression();
    void note_duree(qint64 nanosecondes);
    // The end of the records, or a cancel: the finish step, then back at rest.
    void acheve();
    // The records read for the preview: shows them, then creates or stops.
    void apres_lecture();
    // After an exception: the run stops at the record in hand, says why,
    // and ends as properly as can be.
    void abandonne(const QString& raison);
    void fin();

    csp_creer_plusieurs& page;
    QTimer minuterie;
    phase phase_ = phase::repos;
    std::unique_ptr<TableInputStream> lecteur;
    QStringList lignes;
    // The records read for the preview that the reader could not read whole:
    // too long, with unreadable bytes, or, the last one only, run to the end
    // of the file inside a quoted field.
    QHash<std::int32_t, csp_creer_plusieurs::defaut_lecture> defauts;
    std::int32_t compteur = 0;
    // The start step succeeded: a finish step is owed.
    bool demarre_ = false;
};
