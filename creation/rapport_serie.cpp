#include "rapport_serie.h"

#include "bibliotheque_v1.h"
#include "verification_v1.h"

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace lignes_rapport {

namespace {

QString ligne(std::int32_t numero) {
    return QStringLiteral("Ligne ") + QString::number(numero) + QStringLiteral(", ");
}

} // namespace

QString faute(int colonne, const QString& raison) {
    return QString::number(colonne) + QStringLiteral(", ") + raison;
}

QString erreur_colonne(std::int32_t numero, const QString& faute) {
    return ligne(numero) + QStringLiteral("erreur en colonne ") + faute;
}

QString erreur_colonne(std::int32_t numero, int colonne, const QString& raison) {
    return erreur_colonne(numero, faute(colonne, raison));
}

QString erreur(std::int32_t numero, const QString& raison) {
    return ligne(numero) + raison;
}

QString fait(std::int32_t numero, const QString& nom) {
    return ligne(numero) + QStringLiteral("fichier ") + nom + QStringLiteral(" OK");
}

QString non_cree(std::int32_t numero, const QString& nom, const QString& raison) {
    return ligne(numero) + QStringLiteral("fichier ") + nom + QStringLiteral(" non créé\u00A0: ") +
           raison;
}

QString texte_fichier(const QString& ligne) {
    QString texte;
    texte.reserve(ligne.size());
    for (const QChar c : ligne) {
        if (verification_v1::caractere_de_controle(c.unicode()))
            texte += QStringLiteral("\\u{") + QString::number(c.unicode(), 16).toUpper() + u'}';
        else
            texte += c;
    }
    return texte;
}

} // namespace lignes_rapport

namespace {

// The lines are put on disk once this many bytes wait, and at every step of
// the run.
constexpr qsizetype taille_tampon = 64 * 1024;

} // namespace

rapport_serie::~rapport_serie() {
    // A run that never ended: the partial file keeps the lines written.
    if (fd >= 0) {
        vide();
        ::close(fd);
    }
}

QString rapport_serie::refus(const QString& raison) const {
    return QStringLiteral("Le fichier de rapport «\u00A0%1\u00A0» n'a pas ").arg(chemin()) + raison;
}

QString rapport_serie::echec_systeme(int erreur) const {
    return refus(QStringLiteral("pu être enregistré\u00A0: ") +
                 bibliotheque_v1::raison_systeme(erreur));
}

bool rapport_serie::ouvre(const QString& chemin_dossier_rapport, const QString& nom_rapport,
                          bibliotheque_v1::identite_fichier fichier_donnees) {
    nom = nom_rapport;
    chemin_dossier = chemin_dossier_rapport.endsWith(u'/') ? chemin_dossier_rapport
                                                           : chemin_dossier_rapport + u'/';
    donnees = fichier_donnees;
    erreur = 0;
    tampon.clear();
    echec_.clear();
    const QString protege = QStringLiteral(
        "Le fichier de rapport n'a pas pu être enregistré dans un répertoire protégé !");
    int probleme = dossier.ouvre(chemin_dossier);
    struct stat etat {};
    // An earlier report that may not be written is not replaced.
    if (probleme == 0 && dossier.examine(nom, etat) == 0 && S_ISREG(etat.st_mode) &&
        !dossier.ecriture_permise(nom, etat))
        probleme = EACCES;
    // The partial file never replaces anything: a name that is taken (a
    // partial file left by a run that was killed) gives the next one.
    const qsizetype point = nom.lastIndexOf(u'.');
    const QString base = point >= 0 ? nom.left(point) : nom;
    const QString extension = point >= 0 ? nom.mid(point) : QString();
    for (int essai = 1; probleme == 0 && essai <= 100; ++essai) {
        nom_partiel = base + QStringLiteral(".partiel") +
                      (essai > 1 ? u'-' + QString::number(essai) : QString()) + extension;
        const int resultat = dossier.cree(nom_partiel);
        if (resultat >= 0) {
            fd = resultat;
            struct stat cree {};
            if (::fstat(fd, &cree) == 0)
                partiel = bibliotheque_v1::identite_de(cree);
            return true;
        }
        if (-resultat != EEXIST)
            probleme = -resultat;
    }
    if (probleme == 0)
        probleme = EEXIST;
    echec_ = probleme == EACCES || probleme == EPERM || probleme == EROFS ? protege
                                                                          : echec_systeme(probleme);
    dossier.ferme();
    return false;
}

void rapport_serie::ecrit(const QString& ligne) {
    if (fd < 0 || erreur != 0)
        return;
    tampon += (lignes_rapport::texte_fichier(ligne) + bibliotheque_v1::eol(1)).toUtf8();
    if (tampon.size() >= taille_tampon)
        vide();
}

void rapport_serie::vide() {
    if (fd >= 0 && erreur == 0 && !tampon.isEmpty())
        erreur = bibliotheque_v1::ecrit_tout(fd, tampon);
    tampon.clear();
}

void rapport_serie::abandonne(const QString& echec) {
    dossier.supprime(nom_partiel);
    dossier.ferme();
    echec_ = echec;
}

bool rapport_serie::termine(
    const std::function<std::int32_t(bibliotheque_v1::identite_fichier dossier, const QString& nom,
                                     const struct stat& etat)>& fait_par) {
    if (fd < 0)
        return false;
    vide();
    if (::close(fd) != 0 && erreur == 0)
        erreur = errno;
    fd = -1;
    if (erreur != 0) {
        abandonne(echec_systeme(erreur));
        return false;
    }
    // What lies at the report's name now: a link would have it written
    // elsewhere, and the data file or a file of this run would be lost.
    struct stat etat {};
    if (dossier.examine(nom, etat) == 0) {
        const auto identite = bibliotheque_v1::identite_de(etat);
        if (S_ISLNK(etat.st_mode)) {
            abandonne(echec_systeme(ELOOP));
            return false;
        }
        if (identite == donnees) {
            abandonne(refus(QStringLiteral("été enregistré\u00A0: il aurait remplacé le fichier de "
                                           "données.")));
            return false;
        }
        if (const std::int32_t ligne = fait_par(dossier.identite(), nom, etat)) {
            abandonne(
                refus(QStringLiteral("été enregistré\u00A0: il aurait remplacé le fichier créé "
                                     "ligne %1.")
                          .arg(ligne)));
            return false;
        }
    }
    if (const int probleme = dossier.renomme(nom_partiel, nom)) {
        abandonne(echec_systeme(probleme));
        return false;
    }
    dossier.ferme();
    return true;
}
