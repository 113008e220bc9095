#include "rapport_serie.h"

#include "bibliotheque_v1.h"
#include "verification_v1.h"

#include <QFile>

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
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

// Partial files of one report are numbered up to this: a folder cannot hold
// so many names of one report that none is left.
constexpr int dernier_partiel = 9999999;

// The beginning of the partial files' names of the report `nom`, and their
// extension: "liste.partiel" and ".log", then "liste.partiel-2.log" and so
// on. The report's own name is cut where need be, so that every partial name
// fits within the system's limit for a name, whatever the report's length.
std::pair<QString, QString> modele_partiel(const QString& nom) {
    const qsizetype point = nom.lastIndexOf(u'.');
    QString base = point >= 0 ? nom.left(point) : nom;
    const QString extension = point >= 0 ? nom.mid(point) : QString();
    const QString suite = QStringLiteral(".partiel");
    const qsizetype reste = NAME_MAX - QFile::encodeName(suite + extension).size() -
                            QByteArray::number(-dernier_partiel).size();
    while (!base.isEmpty() && QFile::encodeName(base).size() > reste) {
        base.chop(1);
        if (!base.isEmpty() && base.back().isHighSurrogate())
            base.chop(1);
    }
    return {base + suite, extension};
}

// Whether the system name `nom` is one of the partial names whose
// beginning and extension are `debut` and `fin`, also system names.
bool nom_partiel_de(const QByteArray& nom, const QByteArray& debut, const QByteArray& fin) {
    if (nom.size() < debut.size() + fin.size() || !nom.startsWith(debut) || !nom.endsWith(fin))
        return false;
    const QByteArray numero = nom.mid(debut.size(), nom.size() - debut.size() - fin.size());
    if (numero.isEmpty())
        return true;
    bool nombre = false;
    return numero.startsWith('-') && !numero.startsWith("-0") &&
           numero.mid(1).toInt(&nombre) >= 2 && nombre;
}

// Whether the descriptor and the name still designate the same file.
bool meme_fichier(int dossier, const QByteArray& nom, int fd) {
    struct stat par_nom = {}, par_fd = {};
    return ::fstatat(dossier, nom.constData(), &par_nom, AT_SYMLINK_NOFOLLOW) == 0 &&
           ::fstat(fd, &par_fd) == 0 &&
           bibliotheque_v1::identite_de(par_nom) == bibliotheque_v1::identite_de(par_fd);
}

} // namespace

rapport_serie::~rapport_serie() {
    // A run that never ended: the partial file keeps the lines written.
    if (fd >= 0)
        ::close(fd);
}

QString rapport_serie::refus(const QString& raison) const {
    return QStringLiteral("Le fichier de rapport «\u00A0%1\u00A0» n'a pas ").arg(chemin()) + raison;
}

QString rapport_serie::echec_systeme(int erreur) const {
    return refus(QStringLiteral("pu être enregistré\u00A0: ") +
                 bibliotheque_v1::raison_systeme(erreur));
}

bool rapport_serie::ouvre(const QString& chemin_dossier_rapport, const QString& nom_rapport,
                          const bibliotheque_v1::fichier_protege& fichier_donnees) {
    nom = nom_rapport;
    chemin_dossier = chemin_dossier_rapport.endsWith(u'/') ? chemin_dossier_rapport
                                                           : chemin_dossier_rapport + u'/';
    donnees = fichier_donnees;
    erreur = 0;
    echec_.clear();
    const QString protege = QStringLiteral(
        "Le fichier de rapport n'a pas pu être enregistré dans un répertoire protégé !");
    int probleme = dossier.ouvre(chemin_dossier);
    struct stat etat = {};
    const bool rapport_existant = probleme == 0 && dossier.examine(nom, etat) == 0;
    // An earlier report that may not be written is not replaced.
    if (rapport_existant && S_ISREG(etat.st_mode) && !dossier.ecriture_permise(nom, etat))
        probleme = EACCES;
    // The partial file never replaces anything: a name that is taken (a
    // partial file of a run still going, or left by a run that was killed)
    // gives the next one. The file stays locked while the run writes it, so
    // that a later run tells a living run's file from a dead one's.
    const auto modele = modele_partiel(nom);
    for (int essai = 1; probleme == 0 && essai <= dernier_partiel; ++essai) {
        nom_partiel =
            modele.first + (essai > 1 ? u'-' + QString::number(essai) : QString()) + modele.second;
        const int resultat = dossier.cree(nom_partiel, rapport_existant);
        if (resultat < 0) {
            if (-resultat != EEXIST)
                probleme = -resultat;
            continue;
        }
        // A run that cleans up may have taken it for a dead run's file in
        // the instant before the lock: then it is gone, and the next name
        // is tried.
        const QByteArray nom_systeme = QFile::encodeName(nom_partiel);
        if ((::flock(resultat, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) ||
            !meme_fichier(dossier.descripteur(), nom_systeme, resultat)) {
            ::close(resultat);
            continue;
        }
        fd = resultat;
        // Marked as partial, so that no later run takes a complete report
        // of another data file, whose name may look the same, for a dead
        // run's partial file. Where the file system keeps no such mark, the
        // file is never removed by another run.
        ::fsetxattr(fd, rapport_serie::marque_partiel, "1", 1, 0);
        struct stat cree = {};
        partiel = {::fstat(fd, &cree) == 0 ? std::optional(bibliotheque_v1::identite_de(cree))
                                           : std::nullopt,
                   dossier.identite(), nom_partiel};
        // The lines are readable by whom the earlier report allowed, no more.
        dossier.reprend_attributs(nom_partiel, nom);
        return true;
    }
    if (probleme == 0)
        probleme = EEXIST;
    echec_ = probleme == EACCES || probleme == EPERM || probleme == EROFS ? protege
                                                                          : echec_systeme(probleme);
    dossier.ferme();
    return false;
}

bool rapport_serie::est_partiel(const bibliotheque_v1::dossier_ouvert& dans,
                                const QString& nom_fichier, const struct stat& etat) const {
    return fd >= 0 && partiel.est(dans, nom_fichier, etat);
}

void rapport_serie::ecrit(const QString& ligne) {
    if (fd >= 0 && erreur == 0)
        erreur = bibliotheque_v1::ecrit_tout(
            fd, (lignes_rapport::texte_fichier(ligne) + bibliotheque_v1::eol(1)).toUtf8());
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
    ::fremovexattr(fd, rapport_serie::marque_partiel);
    if (::close(fd) != 0 && erreur == 0)
        erreur = errno;
    fd = -1;
    if (erreur != 0) {
        abandonne(echec_systeme(erreur));
        return false;
    }
    // What lies at the report's name now. A symbolic link is refused rather
    // than replaced: it is no earlier report, and whoever put it there,
    // perhaps to have the report read elsewhere, keeps it. The data file or
    // a file of this run would be lost.
    struct stat etat = {};
    if (dossier.examine(nom, etat) == 0) {
        if (S_ISLNK(etat.st_mode)) {
            abandonne(echec_systeme(ELOOP));
            return false;
        }
        if (donnees.est(dossier, nom, etat)) {
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
    // Replaced as every file is: the report keeps the earlier one's group,
    // permissions and ACL.
    if (const int probleme = dossier.renomme(nom_partiel, nom)) {
        abandonne(echec_systeme(probleme));
        return false;
    }
    nettoie_partiels();
    dossier.ferme();
    return true;
}

void rapport_serie::nettoie_partiels() const {
    const auto modele = modele_partiel(nom);
    const QByteArray debut = QFile::encodeName(modele.first),
                     fin = QFile::encodeName(modele.second);
    const int d = dossier.descripteur();
    // A folder that may not be listed keeps them.
    dossier.parcourt([&](const QByteArray& nom_systeme) {
        if (!nom_partiel_de(nom_systeme, debut, fin))
            return;
        // Reading the mark needs the right to read the file.
        const int fd =
            ::openat(d, nom_systeme.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return;
        struct stat etat = {};
        char marque = 0;
        // A run still going holds its lock; so does one on another machine
        // where the file system shares locks. Unlocked, it is a dead run's.
        if (::fstat(fd, &etat) == 0 && S_ISREG(etat.st_mode) &&
            ::fgetxattr(fd, rapport_serie::marque_partiel, &marque, 1) == 1 &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && meme_fichier(d, nom_systeme, fd))
            ::unlinkat(d, nom_systeme.constData(), 0);
        ::close(fd);
    });
}
