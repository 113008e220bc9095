#pragma once

#include <QString>

namespace bibliotheque_v1 {

// The maker's web site: an unencrypted address ending in "/", chosen at build time.
QString www_serveur();

} // namespace bibliotheque_v1
