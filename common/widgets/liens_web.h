#pragma once

#include <QString>
#include <QUrl>

// The web links of the utility library: pages of the maker's web site opened
// in the user's browser when the Internet can be reached, and the opening of
// any address by the system, which says so when it cannot.
namespace bibliotheque_v1 {

// Whether the Internet can be reached, as the connection test reports it.
bool web_disponible();

// Opens the documentation page `page` in the user's browser, or says that a
// connection is needed.
void lance_documentation_html(const QString& page);

// Opens the order page in the user's browser, or says that a connection is needed.
void acheter_web();

// Opens `adresse` with the system's default application: a web page in the
// browser, a local folder in the file manager, a local file in the application
// of its type. When the system cannot open it, an alert names the page, the
// folder or the file, so that the user can open it by hand. Answers whether
// the system opened it.
bool ouvre_adresse(const QUrl& adresse);

} // namespace bibliotheque_v1
