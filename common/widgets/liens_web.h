#pragma once

#include <QString>

// The web links of the utility library: pages of the maker's web site opened
// in the user's browser when the Internet can be reached.
namespace bibliotheque_v1 {

// Whether the Internet can be reached, as the connection test reports it.
bool web_disponible();

// Opens the documentation page `page` in the user's browser, or says that a
// connection is needed.
void lance_documentation_html(const QString& page);

// Opens the order page in the user's browser, or says that a connection is needed.
void acheter_web();

} // namespace bibliotheque_v1
