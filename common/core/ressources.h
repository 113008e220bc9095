#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

// The application's own resources (fonts, pictures, texts), compiled into the
// binary and found by kind and number.
namespace ressources {

// Text resource `numero`, or an empty array when there is none.
QByteArray texte(int numero);

// Picture resource `numero`, or a null image when there is none.
QImage image(int numero);

// The application's icon, at every size the desktop's icon theme has it.
QIcon icone_application();

} // namespace ressources
