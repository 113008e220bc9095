#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringView>

#include <type_traits>
#include <variant>

class QAbstractButton;
class QLabel;
class QPushButton;
class QCheckBox;
class QWidget;
class st_centre;
class st_lien;

// What pages, windows and dialogs are built with: the system font at a pixel
// size, captions narrowed to fit their places, controls named, placed and
// dressed in one call, and fixed layouts written as tables.
namespace kit_pages {

// --- Fonts ------------------------------------------------------------------

// The application's font at `taille` pixels.
QFont police(int taille, bool gras = false);

// How ajuste_police narrows a caption before it takes smaller sizes.
enum class resserrement {
    // Smaller sizes only.
    tailles,
    // The condensed face, then smaller sizes.
    condense,
    // The semi-condensed face, then the condensed one, then smaller sizes.
    semi_condense,
};

// Narrows the font of a one-line control until `texte` fits in `largeur`
// pixels, as `maniere` says, down to 9 pixels: the control keeps its place.
// The control's font is left alone when the text fits as it is.
void ajuste_police(QWidget* controle, const QString& texte, int largeur,
                   resserrement maniere = resserrement::semi_condense);

// --- Controls ---------------------------------------------------------------

// Gives `controle` its name (as objectName) and its place.
void place(QWidget* controle, const QString& nom, const QRect& geometrie);

// A one-line or wrapped static text.
QLabel* texte_statique(QWidget* parent, const QString& nom, const QRect& geometrie,
                       const QString& texte, int taille, bool gras, QRgb couleur,
                       Qt::Alignment alignement);

// A push button or a check box with its caption in the system font.
QPushButton* bouton(QWidget* parent, const QString& nom, const QRect& geometrie,
                    const QString& legende, bool gras);
QCheckBox* case_a_cocher(QWidget* parent, const QString& nom, const QRect& geometrie,
                         const QString& legende);

// A link with its caption.
st_lien* lien(QWidget* parent, const QString& nom, const QRect& geometrie, const QString& texte,
              Qt::Alignment alignement);

// A wrapped text box, bold, black on `fond`, centred vertically.
st_centre* texte_centre(QWidget* parent, const QString& nom, const QRect& geometrie, QRgb fond);

// Qt breaks lines at "\n" only: the CR line ends of the texts made so.
QString lignes_qt(QString texte);

// --- Keyboard ---------------------------------------------------------------

// Tab visits the controls of `conteneur` (its children and theirs) in reading
// order: rows from top to bottom, each from left to right. The controls of a
// group box, its children or those drawn inside its frame, are visited
// together, in the same order, where the group stands. The order is set now
// and again each time the container shows, so that controls moved or made
// reachable since take their place in it.
void ordre_lecture(QWidget* conteneur);

// --- Fixed layouts ----------------------------------------------------------

// How a control of a layout is dressed beyond its name, place and caption.
enum class habit {
    // As its class makes it.
    controle,
    // The caption of the field after it: right-aligned, centred vertically,
    // in the page's font or in bold.
    legende,
    legende_grasse,
    // The page's title: 24 pixels, dark red, left-aligned, centred
    // vertically, in the normal weight or in bold.
    titre,
    titre_gras,
};

// One row of a page's layout: the member that holds the control (its class
// is the member's), the control's name, its dress, its place and its caption
// (text, title of a group box or content of a one-line field).
template <class Page, class... Controles> struct ligne_plan {
    std::variant<Controles * Page::*...> membre;
    const char* nom;
    habit genre;
    QRect place;
    QStringView legende = {};
};

// Names, places, captions and dresses one control made for a row of a layout.
void pose(QWidget* controle, const char* nom, habit genre, const QRect& place, QStringView legende);

// Makes the controls of `plan` on `page`, in its order (the order of
// creation, which is the stacking order), each in its member. Tab visits
// them in reading order (ordre_lecture).
template <class Page, class Plan> void construit(Page* page, const Plan& plan) {
    for (const auto& ligne : plan) {
        std::visit(
            [&](auto membre) {
                using controle =
                    std::remove_pointer_t<std::remove_reference_t<decltype(page->*membre)>>;
                auto* nouveau = new controle(page);
                page->*membre = nouveau;
                pose(nouveau, ligne.nom, ligne.genre, ligne.place, ligne.legende);
            },
            ligne.membre);
    }
    ordre_lecture(page);
}

} // namespace kit_pages
