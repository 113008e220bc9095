#pragma once

#include <QString>

namespace bibliotheque_v1 {

// The maker's web site: an http or https address ending in "/", chosen at build
// time. The version check and the web links use the scheme it gives.
QString www_serveur();

} // namespace bibliotheque_v1
