#include "serveur_web.h"

#ifndef VALDORIN_WWW_SERVEUR
#define VALDORIN_WWW_SERVEUR "http://www.valdorin.invalid/"
#endif

namespace bibliotheque_v1 {

QString www_serveur() {
    return QStringLiteral(VALDORIN_WWW_SERVEUR);
}

} // namespace bibliotheque_v1
