#pragma once

// A web server on the loopback interface for the version check: each test
// tells it how to answer, and it records the requests it received. Nothing
// leaves the machine.

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace essai {

class serveur_web : public QObject {
public:
    enum class conduite {
        repond,      // the headers and the whole body, then closes
        se_tait,     // sends the headers and the body, then keeps the line open
        egrene,      // the headers, then one byte of the body every 20 ms, for ever
        coupe,       // announces a longer body than it sends, then closes
        introuvable, // answers 404 with the body
    };

    serveur_web() {
        serveur.listen(QHostAddress::LocalHost);
        connect(&serveur, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* ligne = serveur.nextPendingConnection()) {
                ligne->setParent(this);
                connect(ligne, &QTcpSocket::readyRead, this, [this, ligne] { lit(ligne); });
            }
        });
    }

    // The base address of the site, ending with "/".
    QString adresse() const {
        return QStringLiteral("http://127.0.0.1:%1/").arg(serveur.serverPort());
    }

    conduite comportement = conduite::repond;
    QByteArray corps;
    // Request targets received ("/serveur/version.html?...").
    QStringList demandes;

private:
    void lit(QTcpSocket* ligne) {
        recu[ligne] += ligne->readAll();
        if (!recu[ligne].contains("\r\n\r\n"))
            return;
        const QList<QByteArray> mots = recu[ligne].left(recu[ligne].indexOf("\r\n")).split(' ');
        recu.remove(ligne);
        demandes.append(QString::fromLatin1(mots.value(1)));
        const QByteArray etat = comportement == conduite::introuvable ? "404 Not Found" : "200 OK";
        QByteArray entete = "HTTP/1.1 " + etat + "\r\nContent-Type: text/html\r\n";
        if (comportement == conduite::coupe)
            entete += "Content-Length: " + QByteArray::number(corps.size() + 100) + "\r\n";
        else if (comportement != conduite::egrene && comportement != conduite::se_tait)
            entete += "Content-Length: " + QByteArray::number(corps.size()) + "\r\n";
        entete += "Connection: close\r\n\r\n";
        ligne->write(entete);
        if (comportement == conduite::egrene) {
            auto* minuterie = new QTimer(ligne);
            connect(minuterie, &QTimer::timeout, ligne, [ligne] { ligne->write("0"); });
            ligne->write("version = 3");
            minuterie->start(20);
            return;
        }
        ligne->write(corps);
        if (comportement == conduite::repond || comportement == conduite::coupe ||
            comportement == conduite::introuvable)
            ligne->disconnectFromHost();
    }

    QTcpServer serveur;
    QMap<QTcpSocket*, QByteArray> recu;
};

} // namespace essai
