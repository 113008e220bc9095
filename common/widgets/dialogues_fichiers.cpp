#include "dialogues_fichiers.h"

#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "messages.h"
#include "types_fichiers.h"
#include "w_alerte.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPointer>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace bibliotheque_v1 {

QString dossier_lecture;
QString dossier_ecriture;
QString dossier_courant;

namespace {

const QString invite_ouverture = QStringLiteral("Sélectionnez le fichier à ouvrir !");
const QString invite_dossier =
    QStringLiteral("Choisissez un répertoire pour le ou les fichiers à enregistrer !");
const QString invite_enregistrement =
    QStringLiteral("Choisissez un nom et un répertoire pour le fichier à enregistrer !");

presentateur_dialogues* presentateur_installe = nullptr;

// Qt's own dialogs, modal within the owner window.
class presentateur_qt : public presentateur_dialogues {
public:
    QString montre(const demande_dialogue& demande) override {
        // The owner may close while the dialog shows, and take the dialog with it.
        const QPointer<dialogue_fichiers> dialogue = prepare_dialogue(demande);
        QString choix;
        if (dialogue->exec() == QDialog::Accepted && dialogue)
            choix = dialogue->reponse();
        delete dialogue;
        return choix;
    }
};

QString montre_dialogue(const demande_dialogue& demande) {
    static presentateur_qt qt;
    return (presentateur_installe ? presentateur_installe : &qt)->montre(demande);
}

void refuse(const QString& message) {
    w_alerte::instance().message(message, QString());
}

// A request with the title, prompt and starting folder that every dialog has.
demande_dialogue demande_de(demande_dialogue::genre_dialogue genre, QWidget* proprietaire,
                            const QString& invite, const QString& genre_dossier) {
    demande_dialogue demande;
    demande.genre = genre;
    demande.proprietaire = proprietaire;
    demande.titre = nom_produit;
    demande.invite = invite;
    demande.dossier_depart = get_dossier(genre_dossier);
    return demande;
}

QString dossier_parent(const QString& chemin) {
    return QFileInfo(chemin).absolutePath();
}

// The extensions of a type, without their dots: ".txt,.csv" gives txt, csv.
QStringList extensions_type(const type_fichier& type) {
    QStringList extensions;
    for (QString extension :
         type.extensions.split(QRegularExpression(QStringLiteral("[,;]")), Qt::SkipEmptyParts)) {
        extension = extension.trimmed();
        if (extension.startsWith(u'.'))
            extension.remove(0, 1);
        if (!extension.isEmpty())
            extensions.append(extension);
    }
    return extensions;
}

// `chemin` with its extension replaced by `suffixe` when it is one of
// `remplaces` (letter case aside); otherwise as it is.
QString avec_suffixe(const QString& chemin, const QString& suffixe, const QStringList& remplaces) {
    const QFileInfo fichier(chemin);
    const QString extension = fichier.suffix();
    if (extension.isEmpty() || fichier.completeBaseName().isEmpty() ||
        !remplaces.contains(extension, Qt::CaseInsensitive))
        return chemin;
    return chemin.chopped(extension.size()) + suffixe;
}

// Whether a folder is selected among the rows `liste` shows.
bool dossier_en_vue(const QListView& liste) {
    const QModelIndexList lignes = liste.selectionModel()->selectedRows();
    return std::any_of(lignes.begin(), lignes.end(), [&](const QModelIndex& ligne) {
        return ligne.parent() == liste.rootIndex() &&
               QFileInfo(ligne.data(QFileSystemModel::FilePathRole).toString()).isDir();
    });
}

} // namespace

void installe_presentateur_dialogues(presentateur_dialogues* presentateur) {
    presentateur_installe = presentateur;
}

QString montre_demande(const demande_dialogue& demande) {
    return montre_dialogue(demande);
}

QString filtre_type(const type_fichier& type) {
    QStringList motifs;
    for (const QString& extension : extensions_type(type))
        motifs.append(QStringLiteral("*.") + extension);
    if (motifs.isEmpty())
        return type.nom;
    return type.nom + QStringLiteral(" (") + motifs.join(u' ') + u')';
}

dialogue_fichiers::dialogue_fichiers(const demande_dialogue& demande)
    : QFileDialog(demande.proprietaire, demande.titre, demande.dossier_depart),
      suffixes_remplaces(demande.suffixes_remplaces) {}

QString dialogue_fichiers::reponse() const {
    if (!dossier_saisi.isEmpty())
        return dossier_saisi;
    const QStringList choix = selectedFiles();
    return choix.isEmpty() ? QString() : choix.constFirst();
}

void dialogue_fichiers::accept() {
    auto* nom = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* liste = findChild<QListView*>(QStringLiteral("listView"));
    if (!nom || !liste) { // not Qt's dialog as we know it
        QFileDialog::accept();
        return;
    }
    const QString saisie = nom->text();
    const QFileInfo saisi(saisie.isEmpty() ? QString() : directory().absoluteFilePath(saisie));
    if (fileMode() == Directory && saisi.isDir()) {
        dossier_saisi = QDir::cleanPath(saisi.filePath());
        QDialog::accept();
        return;
    }
    // Qt answers the rows selected in its list before its name field, and
    // goes into a folder among them; a path typed through other folders may
    // leave one of them selected, out of view. A folder selected in view is
    // still gone into; otherwise the file the name field names, to open or to
    // save in an existing folder, is the answer.
    const bool fichier_saisi = acceptMode() == AcceptSave
                                   ? !saisie.isEmpty() && !saisi.isDir() && saisi.dir().exists()
                                   : fileMode() == ExistingFile && saisi.isFile();
    if (fichier_saisi && !dossier_en_vue(*liste))
        liste->selectionModel()->clearSelection();
    if (acceptMode() == AcceptSave && !suffixes_remplaces.isEmpty()) {
        const QStringList choix = selectedFiles();
        const QString fichier = choix.isEmpty() ? QString() : choix.constFirst();
        const QString corrige = avec_suffixe(fichier, defaultSuffix(), suffixes_remplaces);
        if (corrige != fichier) {
            // Qt answers from the name field once nothing is selected in its list.
            nom->setText(corrige);
            liste->selectionModel()->clearSelection();
        }
    }
    QFileDialog::accept();
}

dialogue_fichiers* prepare_dialogue(const demande_dialogue& demande) {
    auto* dialogue = new dialogue_fichiers(demande);
    dialogue->setOption(QFileDialog::DontUseNativeDialog);
    dialogue->setWindowModality(demande.proprietaire ? Qt::WindowModal : Qt::ApplicationModal);
    switch (demande.genre) {
    case demande_dialogue::ouvrir_fichier:
        dialogue->setAcceptMode(QFileDialog::AcceptOpen);
        dialogue->setFileMode(QFileDialog::ExistingFile);
        break;
    case demande_dialogue::choisir_dossier:
        dialogue->setAcceptMode(QFileDialog::AcceptOpen);
        dialogue->setFileMode(QFileDialog::Directory);
        dialogue->setOption(QFileDialog::ShowDirsOnly);
        break;
    case demande_dialogue::enregistrer_fichier:
        dialogue->setAcceptMode(QFileDialog::AcceptSave);
        dialogue->setFileMode(QFileDialog::AnyFile);
        dialogue->setDefaultSuffix(demande.suffixe_defaut);
        dialogue->selectFile(demande.nom_propose);
        break;
    }
    if (!demande.filtre.isEmpty())
        dialogue->setNameFilter(demande.filtre);
    // Qt's own captions are English: the dialog speaks French like the rest.
    dialogue->setLabelText(QFileDialog::LookIn, QStringLiteral("Regarder dans :"));
    dialogue->setLabelText(QFileDialog::FileName, QStringLiteral("Nom :"));
    dialogue->setLabelText(QFileDialog::FileType, QStringLiteral("Type :"));
    dialogue->setLabelText(QFileDialog::Reject, QStringLiteral("Annuler"));
    if (!demande.legende_bouton.isEmpty())
        dialogue->setLabelText(QFileDialog::Accept, demande.legende_bouton);
    else
        dialogue->setLabelText(
            QFileDialog::Accept,
            demande.genre == demande_dialogue::enregistrer_fichier ? QStringLiteral("Enregistrer")
            : demande.genre == demande_dialogue::choisir_dossier   ? QStringLiteral("Choisir")
                                                                   : QStringLiteral("Ouvrir"));

    // The prompt goes above the dialog's own rows.
    auto* invite = new QLabel(signes_lies(demande.invite), dialogue);
    invite->setObjectName(QStringLiteral("st_invite"));
    invite->setWordWrap(true);
    if (auto* grille = qobject_cast<QGridLayout*>(dialogue->layout())) {
        struct place {
            QLayoutItem* element;
            int ligne, colonne, lignes, colonnes;
        };
        QList<place> places;
        while (grille->count() > 0) {
            place p{};
            grille->getItemPosition(0, &p.ligne, &p.colonne, &p.lignes, &p.colonnes);
            p.element = grille->takeAt(0);
            places.append(p);
        }
        grille->addWidget(invite, 0, 0, 1, -1);
        for (const place& p : places)
            grille->addItem(p.element, p.ligne + 1, p.colonne, p.lignes, p.colonnes);
    }
    return dialogue;
}

QString dossier_documents() {
    // Qt names ~/Documents even when it does not exist, and a file dialog
    // given a missing folder opens its parent with the name typed in.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

QString get_dossier(const QString& genre) {
    try {
        QString dossier;
        if (genre == u"lecture")
            dossier = dossier_lecture;
        else if (genre == u"ecriture")
            dossier = dossier_ecriture;
        else if (genre == u"courant")
            dossier = dossier_courant;
        if (!dossier.isEmpty()) {
            const bool utilisable =
                QFileInfo(dossier).isDir() &&
                (genre == u"lecture" ? lecture_permise(dossier) : ecriture_permise(dossier));
            if (!utilisable)
                dossier.clear();
        }
        if (dossier.isEmpty() && (genre == u"lecture" || genre == u"ecriture"))
            dossier = get_dossier(QStringLiteral("courant"));
        if (dossier.isEmpty())
            dossier = dossier_documents();
        return dossier;
    } catch (...) {
        erreur_fichier(QStringLiteral("bibliotheque : get_dossier"));
        return QString();
    }
}

QString get_readfolderitem(QWidget* proprietaire, const type_fichier* type, const QString& genre) {
    try {
        demande_dialogue demande =
            demande_de(demande_dialogue::ouvrir_fichier, proprietaire, invite_ouverture, genre);
        if (type)
            demande.filtre = filtre_type(*type);
        const QString fichier = montre_dialogue(demande);
        if (fichier.isEmpty())
            return QString();
        dossier_courant = dossier_parent(fichier);
        dossier_lecture = dossier_courant;
        if (!QFileInfo(fichier).isFile() || !lecture_permise(fichier)) {
            refuse(messages::fichier_protege_ouverture);
            return QString();
        }
        return QFileInfo(fichier).absoluteFilePath();
    } catch (...) {
        erreur_fichier(QStringLiteral("bibliotheque : get_readfolderitem"));
        return QString();
    }
}

QString get_savefolder(QWidget* proprietaire, const QString& genre, const QString& legende) {
    try {
        demande_dialogue demande =
            demande_de(demande_dialogue::choisir_dossier, proprietaire, invite_dossier, genre);
        demande.legende_bouton = legende;
        const QString dossier = montre_dialogue(demande);
        if (dossier.isEmpty())
            return QString();
        if (!check_savefolder(dossier)) {
            refuse(messages::fichier_protege_enregistrement);
            return QString();
        }
        dossier_courant = QFileInfo(dossier).absoluteFilePath();
        dossier_ecriture = dossier_courant;
        return dossier_courant;
    } catch (...) {
        erreur_fichier(QStringLiteral("bibliotheque : get_savefolder"));
        return QString();
    }
}

QString get_savefolderitem(QWidget* proprietaire, const type_fichier& type, const QString& genre,
                           const QString& nom) {
    try {
        demande_dialogue demande = demande_de(demande_dialogue::enregistrer_fichier, proprietaire,
                                              invite_enregistrement, genre);
        demande.nom_propose = nom.isEmpty() ? QStringLiteral("sans titre") : nom;
        const QStringList liste = type.extensions.split(u';', Qt::SkipEmptyParts);
        if (!liste.isEmpty() && (liste.constFirst() == u".pdf" || liste.constFirst() == u".eps"))
            demande.nom_propose += liste.constFirst();
        demande.filtre = filtre_type(type);
        demande.suffixe_defaut = extensions_type(type).value(0);
        // A barcode file named after the other kind would be misread by
        // whatever opens it: its type is its extension.
        if (demande.suffixe_defaut == u"eps")
            demande.suffixes_remplaces = QStringList{QStringLiteral("pdf")};
        else if (demande.suffixe_defaut == u"pdf")
            demande.suffixes_remplaces = QStringList{QStringLiteral("eps")};
        const QString fichier = avec_suffixe(montre_dialogue(demande), demande.suffixe_defaut,
                                             demande.suffixes_remplaces);
        if (fichier.isEmpty())
            return QString();
        dossier_courant = dossier_parent(fichier);
        dossier_ecriture = dossier_courant;
        if (!enregistrement_permis(fichier)) {
            refuse(messages::fichier_protege_enregistrement);
            return QString();
        }
        return QFileInfo(fichier).absoluteFilePath();
    } catch (...) {
        erreur_fichier(QStringLiteral("bibliotheque : get_savefolderitem"));
        return QString();
    }
}

} // namespace bibliotheque_v1
