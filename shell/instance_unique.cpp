#include "instance_unique.h"

#include "ecriture_fichiers.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace instance_unique {

namespace {

const QString chemin_objet = QStringLiteral("/invalid/valdorin/Valdorin");
const QString interface_application = QStringLiteral("org.freedesktop.Application");
const QByteArray entete_socket = QByteArrayLiteral("valdorin-documents 1");
const QByteArray ligne_document = QByteArrayLiteral("document ");
const QByteArray ligne_jeton = QByteArrayLiteral("jeton ");
// How long a start waits in all for the running program's answer, by the bus
// and the socket together: the bus's own default, so that a program busy with
// a long file still answers in time. One that has not answered by then is
// taken for hung, and the start runs on its own.
constexpr int attente_reponse_ms = 25000;

// What is left of the wait, in ms, for a call that takes a time-out: at least
// 1, since 0 or less would mean the default one.
int restant(const QDeadlineTimer& limite) {
    return static_cast<int>(std::clamp<qint64>(limite.remainingTime(), 1, attente_reponse_ms));
}

// The process at the other end of a local socket runs as this user: no one
// else reaches the program, nor passes for it.
bool meme_utilisateur(qintptr descripteur) {
    ucred pair = {};
    socklen_t taille = sizeof pair;
    return getsockopt(static_cast<int>(descripteur), SOL_SOCKET, SO_PEERCRED, &pair, &taille) ==
               0 &&
           pair.uid == geteuid();
}

// A token is short printable ASCII, as the platforms make them.
bool jeton_valable(const QByteArray& jeton) {
    if (jeton.size() > 1024)
        return false;
    for (char c : jeton)
        if (c <= ' ' || c > '~')
            return false;
    return true;
}

QString jeton_de(const QVariantMap& donnees) {
    const QString jeton = donnees.value(QStringLiteral("activation-token")).toString();
    return jeton_valable(jeton.toLatin1()) ? jeton : QString();
}

// The freedesktop application interface of the session's program.
class adaptateur_application : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    explicit adaptateur_application(programme_session* programme)
        : QDBusAbstractAdaptor(programme), programme(programme) {}

public slots:
    void Activate(const QVariantMap& donnees) { programme->recu({}, jeton_de(donnees)); }

    void Open(const QStringList& uris, const QVariantMap& donnees) {
        qsizetype taille = 0;
        QList<QUrl> documents;
        for (const QString& uri : uris) {
            taille += uri.size();
            const QUrl adresse(uri, QUrl::StrictMode);
            // A message that names something else than addresses, or that is
            // too large, is no start of ours: ignored as a whole.
            if (taille > taille_maximale_message || !adresse.isValid() ||
                adresse.scheme().isEmpty())
                return;
            documents.append(adresse);
        }
        programme->recu(documents, jeton_de(donnees));
    }

    // The program has no actions of its own.
    void ActivateAction(const QString&, const QVariantList&, const QVariantMap&) {}

private:
    programme_session* programme;
};

} // namespace

QList<QUrl> adresses_documents(const QStringList& arguments) {
    QList<QUrl> adresses;
    for (const QString& argument : arguments) {
        if (argument.isEmpty())
            continue;
        // A scheme of one letter is a drive, as a path copied from another
        // system may start; a file of the name given is a path.
        const QUrl uri(argument);
        if (uri.isValid() && uri.scheme().size() > 1 && !QFileInfo::exists(argument))
            adresses.append(uri);
        else
            adresses.append(QUrl::fromLocalFile(QDir::current().absoluteFilePath(argument)));
    }
    return adresses;
}

std::optional<QString> fichier_local(const QUrl& adresse) {
    if (!adresse.isLocalFile())
        return std::nullopt;
    const QString hote = adresse.host();
    if (!hote.isEmpty() && hote.compare(u"localhost", Qt::CaseInsensitive) != 0 &&
        hote.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) != 0)
        return std::nullopt;
    QUrl ici = adresse;
    ici.setHost(QString());
    const QString chemin = ici.toLocalFile();
    if (!QDir::isAbsolutePath(chemin))
        return std::nullopt;
    return chemin;
}

QString refus_document(const QUrl& adresse, QString& fichier) {
    const std::optional<QString> local = fichier_local(adresse);
    QString raison;
    if (!local) {
        raison = QStringLiteral("ce n'est pas un fichier de cet ordinateur.");
    } else {
        // Opened as it will be read, without waiting on a pipe or a device.
        const int fd = ::open(QFile::encodeName(*local).constData(),
                              O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        struct stat etat = {};
        if (fd < 0)
            raison = errno == ENOENT || errno == ENOTDIR
                         ? QStringLiteral("il n'existe pas, ou plus, à cet endroit.")
                         : bibliotheque_v1::raison_systeme(errno);
        else if (fstat(fd, &etat) != 0)
            raison = bibliotheque_v1::raison_systeme(errno);
        else if (!S_ISREG(etat.st_mode))
            raison = bibliotheque_v1::raison_systeme(
                S_ISDIR(etat.st_mode) ? EISDIR : bibliotheque_v1::erreur_fichier_special);
        if (fd >= 0)
            ::close(fd);
    }
    if (raison.isEmpty()) {
        fichier = *local;
        return QString();
    }
    return QStringLiteral("Le document «\u00A0%1\u00A0» n'a pas pu être ouvert\u00A0: %2\r\r"
                          "Ouverture annulée !")
        .arg(local ? *local : adresse.toDisplayString(), raison);
}

QString jeton_activation() {
    const QString jeton = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
    return jeton_valable(jeton.toLatin1()) ? jeton : QString();
}

QByteArray message_socket(const QList<QUrl>& documents, const QString& jeton) {
    QByteArray message = entete_socket + '\n';
    if (!jeton.isEmpty() && jeton_valable(jeton.toLatin1()))
        message += ligne_jeton + jeton.toLatin1() + '\n';
    for (const QUrl& document : documents)
        message += ligne_document + document.toEncoded() + '\n';
    return message + '\n';
}

std::optional<QList<QUrl>> lit_message_socket(const QByteArray& message, QString* jeton) {
    if (message.size() > taille_maximale_message || !message.endsWith("\n\n"))
        return std::nullopt;
    const QList<QByteArray> lignes = message.chopped(2).split('\n');
    if (lignes.constFirst() != entete_socket)
        return std::nullopt;
    QList<QUrl> documents;
    QString lu;
    for (qsizetype i = 1; i < lignes.size(); ++i) {
        const QByteArray& ligne = lignes[i];
        if (ligne.startsWith(ligne_document)) {
            const QUrl adresse =
                QUrl::fromEncoded(ligne.mid(ligne_document.size()), QUrl::StrictMode);
            if (!adresse.isValid() || adresse.scheme().isEmpty())
                return std::nullopt;
            documents.append(adresse);
        } else if (i == 1 && ligne.startsWith(ligne_jeton) &&
                   jeton_valable(ligne.mid(ligne_jeton.size()))) {
            lu = QString::fromLatin1(ligne.mid(ligne_jeton.size()));
        } else {
            return std::nullopt;
        }
    }
    if (jeton)
        *jeton = lu;
    return documents;
}

programme_session::programme_session() {
    new adaptateur_application(this);
}

programme_session::~programme_session() {
    if (nom_sur_bus) {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterService(identifiant);
        bus.unregisterObject(chemin_objet);
    }
}

bool programme_session::transmis(const QList<QUrl>& documents, const QString& jeton) {
    // A program that did not answer on the bus is not waited for again on the
    // socket.
    const QDeadlineTimer limite(attente_reponse_ms);
    return transmis_par_bus(documents, jeton, limite) ||
           (!limite.hasExpired() && transmis_par_socket(documents, jeton, limite));
}

bool programme_session::transmis_par_bus(const QList<QUrl>& documents, const QString& jeton,
                                         const QDeadlineTimer& limite) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    // The object is there before the name, so that whoever sees the name
    // finds it.
    if (!bus.registerObject(chemin_objet, this, QDBusConnection::ExportAdaptors))
        return false;
    QStringList uris;
    for (const QUrl& document : documents)
        uris.append(QString::fromUtf8(document.toEncoded()));
    QVariantMap donnees;
    if (!jeton.isEmpty())
        donnees.insert(QStringLiteral("activation-token"), jeton);
    // The name's owner may end between the question and the call: then the
    // name is free again, and asked for again. A call that timed out has used
    // the whole wait, and is not made again.
    for (int essai = 0; essai < 3 && !limite.hasExpired(); ++essai) {
        const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reponse =
            bus.interface()->registerService(identifiant,
                                             QDBusConnectionInterface::DontQueueService,
                                             QDBusConnectionInterface::DontAllowReplacement);
        if (!reponse.isValid())
            break;
        if (reponse.value() == QDBusConnectionInterface::ServiceRegistered) {
            nom_sur_bus = true;
            return false;
        }
        QDBusMessage appel = QDBusMessage::createMethodCall(
            identifiant, chemin_objet, interface_application,
            documents.isEmpty() ? QStringLiteral("Activate") : QStringLiteral("Open"));
        if (!documents.isEmpty())
            appel << uris;
        appel << donnees;
        if (bus.call(appel, QDBus::Block, restant(limite)).type() == QDBusMessage::ReplyMessage)
            return true;
    }
    bus.unregisterObject(chemin_objet);
    return false;
}

bool programme_session::transmis_par_socket(const QList<QUrl>& documents, const QString& jeton,
                                            const QDeadlineTimer& limite) {
    // Qt gives the user's runtime folder, made by the session or by Qt itself,
    // readable by its owner alone; nothing where it belongs to someone else.
    const QString dossier = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dossier.isEmpty())
        return false;
    const QString chemin = dossier + u'/' + identifiant;
    // Two starts at the same moment: one listens, the other then finds it.
    QLockFile verrou(chemin + QStringLiteral(".lock"));
    if (!verrou.tryLock(restant(limite)))
        return false;
    QLocalSocket client;
    client.connectToServer(chemin);
    if (client.waitForConnected(std::min(2000, restant(limite)))) {
        if (!meme_utilisateur(client.socketDescriptor()))
            return false;
        client.write(message_socket(documents, jeton));
        bool repondu = client.waitForBytesWritten(restant(limite));
        while (repondu && !client.canReadLine())
            repondu = !limite.hasExpired() && client.waitForReadyRead(restant(limite));
        if (repondu && client.readLine() == "ok\n") {
            // A program that took the bus name, then found one already
            // running without a bus, gives the name back.
            if (nom_sur_bus) {
                QDBusConnection::sessionBus().unregisterService(identifiant);
                nom_sur_bus = false;
            }
            return true;
        }
        // A program that does not answer: this start runs on its own.
        return false;
    }
    // Nobody listens: a socket that a killed program left goes.
    if (client.error() != QLocalSocket::ConnectionRefusedError &&
        client.error() != QLocalSocket::ServerNotFoundError)
        return false;
    QLocalServer::removeServer(chemin);
    serveur.setSocketOptions(QLocalServer::UserAccessOption);
    if (serveur.listen(chemin))
        connect(&serveur, &QLocalServer::newConnection, this, &programme_session::connexion);
    return false;
}

void programme_session::connexion() {
    while (QLocalSocket* client = serveur.nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        if (!meme_utilisateur(client->socketDescriptor())) {
            client->abort();
            continue;
        }
        connect(client, &QLocalSocket::readyRead, this, [this, client] { lecture(client); });
        // A start that says nothing is not waited for.
        QTimer::singleShot(attente_reponse_ms, client, [client] { client->abort(); });
        if (client->bytesAvailable() > 0)
            lecture(client);
    }
}

void programme_session::lecture(QLocalSocket* client) {
    const QByteArray lu = client->property("lu").toByteArray() + client->readAll();
    if (lu.size() > taille_maximale_message) {
        client->abort();
        return;
    }
    if (!lu.endsWith("\n\n")) {
        client->setProperty("lu", lu);
        return;
    }
    QString jeton;
    const std::optional<QList<QUrl>> documents = lit_message_socket(lu, &jeton);
    if (!documents) {
        client->abort();
        return;
    }
    client->write("ok\n");
    client->disconnectFromServer();
    recu(*documents, jeton);
}

void programme_session::recu(const QList<QUrl>& documents, const QString& jeton) {
    emit documents_recus(documents, jeton);
}

} // namespace instance_unique

#include "instance_unique.moc"
