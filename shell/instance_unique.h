#pragma once

#include <QByteArray>
#include <QList>
#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

class QDeadlineTimer;
class QLocalSocket;

// One program per user session. The first start becomes the session's
// program: it owns the name of its desktop entry on the session bus, where
// there is one (the freedesktop interface org.freedesktop.Application, so
// that desktops and portals can reach it), and a local socket, readable by
// its user alone, in the user's runtime folder. A later start hands its
// documents to that program and ends; with no document it brings the
// program's window forward.
namespace instance_unique {

// The desktop entry's id: the program's name on the session bus and the name
// of its socket.
inline const QString identifiant = QStringLiteral("invalid.valdorin.Valdorin");

// The largest message a later start may send: the documents of one command
// line, well above any real one.
constexpr qsizetype taille_maximale_message = 1 << 20;

// The documents of a command line as addresses: a URI as it is given (a file
// manager passes file:// URIs, percent-encoded), anything else as a path,
// made absolute from the current folder, since the program that opens it runs
// elsewhere.
QList<QUrl> adresses_documents(const QStringList& arguments);

// The local file an address names, or nothing when it names none (another
// scheme, another machine's file).
std::optional<QString> fichier_local(const QUrl& adresse);

// Why a document handed over cannot be opened, as the alert says it, or ""
// when it is a readable file of this machine, whose path goes in `fichier`.
QString refus_document(const QUrl& adresse, QString& fichier);

// The token that the desktop gave a start to hand the activation of its
// window on (Wayland's XDG_ACTIVATION_TOKEN), read before the application
// object takes it out of the environment; "" when there is none.
QString jeton_activation();

// The socket message of a start: a header line, one encoded address a line,
// an empty line; the answer is "ok". The addresses, or nothing for a message
// that is malformed, not whole or too large.
QByteArray message_socket(const QList<QUrl>& documents, const QString& jeton);
std::optional<QList<QUrl>> lit_message_socket(const QByteArray& message, QString* jeton = nullptr);

// The session's program, on the side of the process that is it.
class programme_session : public QObject {
    Q_OBJECT
public:
    programme_session();
    ~programme_session() override;

    // Makes this process the session's program, or hands `documents` to the
    // one already running: true when it took them, and this start ends.
    bool transmis(const QList<QUrl>& documents, const QString& jeton);

    // Called by the bus adaptor and by the socket.
    void recu(const QList<QUrl>& documents, const QString& jeton);

signals:
    // Documents of a later start, in its order; empty: bring the window
    // forward.
    void documents_recus(const QList<QUrl>& documents, const QString& jeton_activation);

private:
    // Each waits for an answer until `limite` at most.
    bool transmis_par_bus(const QList<QUrl>& documents, const QString& jeton,
                          const QDeadlineTimer& limite);
    // Under the lock of the runtime folder: hands over to the socket of a
    // running program, or listens on it.
    bool transmis_par_socket(const QList<QUrl>& documents, const QString& jeton,
                             const QDeadlineTimer& limite);
    void connexion();
    void lecture(QLocalSocket* client);

    bool nom_sur_bus = false;
    QLocalServer serveur;
};

} // namespace instance_unique
