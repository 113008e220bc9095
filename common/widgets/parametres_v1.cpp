#include "parametres_v1.h"

#include "bibliotheque_v1.h"
#include "controles_texte.h"
#include "nombres.h"
#include "services_coquille.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QStringList>

namespace parametres_v1 {

namespace {

const QString import_ = QStringLiteral("import");
const QString export_ = QStringLiteral("export");

// Set while `exporte_base_restauration` runs: the edit fields export an empty text.
bool textes_vides = false;

// The design name of a control: its objectName, which every bound control carries.
QString nom_controle(const QWidget* controle) {
    if (!controle)
        throw echec_parametre(genre_echec::inconnu, "no control");
    if (controle->objectName().isEmpty())
        throw echec_parametre(genre_echec::inconnu, "control without a name");
    return controle->objectName();
}

// Runs one binder; a failure is reported under the binder's tag and goes no further.
template <typename Corps> void protege(const QString& balise, Corps&& corps) {
    try {
        corps();
    } catch (const echec_parametre& echec) {
        erreur_parametre(echec.genre(), balise);
    } catch (const std::exception&) {
        erreur_parametre(genre_echec::inconnu, balise);
    }
}

// The frame shared by every binder: `valeur_courante()` gives what an export
// stores; `applique(stored value or nothing)` does an import.
template <typename Exporte, typename Importe>
void lie(const QString& sens, const QString& clef, Exporte&& valeur_courante, Importe&& applique) {
    if (sens == export_) {
        dictionnaire_present().insert(clef, valeur_courante());
    } else if (sens == import_) {
        const dictionnaire& dico = dictionnaire_present();
        const auto entree = dico.constFind(clef);
        applique(entree == dico.cend() ? std::optional<QVariant>()
                                       : std::optional<QVariant>(entree.value()));
    }
}

bool booleen(const QVariant& valeur) {
    if (valeur.typeId() == QMetaType::Bool)
        return valeur.toBool();
    const QString texte = valeur.toString().trimmed();
    if (texte.compare(mot_vrai, Qt::CaseInsensitive) == 0)
        return true;
    if (texte.compare(mot_faux, Qt::CaseInsensitive) == 0)
        return false;
    return nombres::val(texte) != 0;
}

std::int32_t entier(const QVariant& valeur) {
    return nombres::vers_int32(nombres::val(texte_valeur(valeur)));
}

QList<std::int32_t> liste_entiers(const QString& texte) {
    QList<std::int32_t> liste;
    if (texte.isEmpty())
        return liste;
    for (const QString& morceau : texte.split(u','))
        liste.append(nombres::vers_int32(nombres::val(morceau)));
    return liste;
}

QString lignes_en_cr(QString texte) {
    texte.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    texte.replace(u'\n', u'\r');
    return texte;
}

QString texte_champ(const QWidget* champ) {
    if (auto ligne = qobject_cast<const QLineEdit*>(champ))
        return ligne->text();
    if (auto zone = qobject_cast<const QPlainTextEdit*>(champ))
        return lignes_en_cr(texte_zone(*zone));
    throw echec_parametre(genre_echec::inconnu, "not an edit field");
}

void affecte_champ(QWidget* champ, const QString& texte) {
    if (auto ligne = qobject_cast<QLineEdit*>(champ))
        ligne->setText(texte);
    else if (auto zone = qobject_cast<QPlainTextEdit*>(champ))
        zone->setPlainText(texte);
    else
        throw echec_parametre(genre_echec::inconnu, "not an edit field");
}

} // namespace

void import_export_parametres(const QString& genre, const QString& sens) {
    try {
        coquille::application* application = coquille::App();
        if (!application)
            throw echec_parametre(genre_echec::inconnu, "no application object");
        application->import_export_specifiques(genre, sens);
        coquille::fenetre_principale* fenetre = coquille::w_main();
        if (!fenetre)
            throw echec_parametre(genre_echec::inconnu, "no main window");
        fenetre->import_export_parametres(genre, sens);
    } catch (...) {
        bibliotheque_v1::msgdebug(QStringLiteral("erreur import_export_parametres"));
    }
}

void exporte_base_restauration() {
    textes_vides = true;
    const auto fin = qScopeGuard([] { textes_vides = false; });
    import_export_parametres(QStringLiteral("memo"), QStringLiteral("export"));
}

void parametre_editfield(QWidget* champ, const QString& sens, const QString& contexte,
                         const QString& defaut) {
    protege(QStringLiteral("edit_field"), [&] {
        lie(
            sens, clef_parametre(contexte, nom_controle(champ)),
            [&] { return QVariant(textes_vides ? QString() : texte_champ(champ)); },
            [&](const std::optional<QVariant>& stocke) {
                affecte_champ(champ, stocke ? lignes_en_cr(texte_valeur(*stocke)) : defaut);
            });
    });
}

void parametre_checkbox(QAbstractButton* case_a_cocher, const QString& sens,
                        const QString& contexte, bool defaut) {
    protege(QStringLiteral("checkbox"), [&] {
        lie(
            sens, clef_parametre(contexte, nom_controle(case_a_cocher)),
            [&] { return QVariant(case_a_cocher->isChecked()); },
            [&](const std::optional<QVariant>& stocke) {
                case_a_cocher->setChecked(stocke ? booleen(*stocke) : defaut);
            });
    });
}

void parametre_popup(QComboBox* menu, const QString& sens, const QString& contexte,
                     std::int32_t defaut) {
    protege(QStringLiteral("popup"), [&] {
        lie(
            sens, clef_parametre(contexte, nom_controle(menu)),
            [&] { return QVariant(QString::number(menu->currentIndex())); },
            [&](const std::optional<QVariant>& stocke) {
                const std::int32_t indice = stocke ? entier(*stocke) : defaut;
                if (indice >= 0 && indice < menu->count())
                    menu->setCurrentIndex(indice);
            });
    });
}

void parametre_integer(std::int32_t& valeur, const QString& sens, const QString& contexte,
                       const QString& nom, std::int32_t defaut) {
    protege(QStringLiteral("integer"), [&] {
        lie(
            sens, clef_parametre(contexte, nom), [&] { return QVariant(QString::number(valeur)); },
            [&](const std::optional<QVariant>& stocke) {
                valeur = stocke ? entier(*stocke) : defaut;
            });
    });
}

void parametre_boolean(bool& valeur, const QString& sens, const QString& contexte,
                       const QString& nom, bool defaut) {
    protege(QStringLiteral("boolean"), [&] {
        lie(
            sens, clef_parametre(contexte, nom), [&] { return QVariant(valeur); },
            [&](const std::optional<QVariant>& stocke) {
                valeur = stocke ? booleen(*stocke) : defaut;
            });
    });
}

void parametre_double(double& valeur, const QString& sens, const QString& contexte,
                      const QString& nom, double defaut) {
    protege(QStringLiteral("double"), [&] {
        lie(
            sens, clef_parametre(contexte, nom),
            [&] { return QVariant(QString::number(valeur, 'f', QLocale::FloatingPointShortest)); },
            [&](const std::optional<QVariant>& stocke) {
                valeur = stocke ? nombres::val(texte_valeur(*stocke)) : defaut;
            });
    });
}

void parametre_tableau_integer(QList<std::int32_t>& valeurs, const QString& sens,
                               const QString& contexte, const QString& nom, const QString& defaut) {
    protege(QStringLiteral("tableau_integer"), [&] {
        lie(
            sens, clef_parametre(contexte, nom),
            [&] {
                QStringList morceaux;
                for (std::int32_t element : valeurs)
                    morceaux.append(QString::number(element));
                return QVariant(morceaux.join(u','));
            },
            [&](const std::optional<QVariant>& stocke) {
                valeurs = liste_entiers(stocke ? texte_valeur(*stocke) : defaut);
            });
    });
}

} // namespace parametres_v1
