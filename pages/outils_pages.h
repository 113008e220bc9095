#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QAbstractButton;
class QLabel;
class QPushButton;
class QCheckBox;
class QWidget;
class st_centre;
class st_lien;

// Building blocks shared by the guidance pages: the system font at a pixel
// size, and controls named, placed and dressed in one call.
namespace outils_pages {

// The application's font at `taille` pixels.
QFont police(int taille, bool gras = false);

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

// Narrows the font of a one-line control until `texte` fits in `largeur`
// pixels: first the condensed face of the family, then smaller sizes.
void ajuste_police(QWidget* controle, const QString& texte, int largeur);

// Qt breaks lines at "\n" only: the CR line ends of the texts made so.
QString lignes_qt(QString texte);

} // namespace outils_pages
