#pragma once

// A web server on the loopback interface for the version check: each test
// says how it answers, and it notes the request targets it received.

#include <QMap>
#include <QStringList>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace essai {

class serveur_web : public QObject {
public:
    enum class conduite {
        repond,      // the headers and the whole body, then closes
        se_tait,     // the headers and the body, then keeps the line open
        egrene,      // "version = 3", then one more "0" every 20 ms, for ever
        coupe,       // announces a longer body than it sends, then closes
        introuvable, // answers 404 with the body, then keeps the line open
        lent,        // the headers, then two bytes of the body every 500 ms
    };

    serveur_web() {
        serveur.listen(QHostAddress::LocalHost);
        connect(&serveur, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* ligne = serveur.nextPendingConnection())
                connect(ligne, &QTcpSocket::readyRead, this, [this, ligne] { lit(ligne); });
        });
    }
    QString adresse() const { return QString("http://127.0.0.1:%1/").arg(serveur.serverPort()); }

    conduite comportement = conduite::repond;
    QByteArray corps;
    QStringList demandes;

private:
    void lit(QTcpSocket* ligne) {
        recu[ligne] += ligne->readAll();
        if (!recu[ligne].contains("\r\n\r\n"))
            return;
        demandes.append(QString::fromLatin1(recu.take(ligne).split(' ').value(1)));
        if (comportement == conduite::lent) {
            ligne->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(corps.size()) +
                         "\r\n\r\n");
            auto* minuterie = new QTimer(ligne);
            connect(minuterie, &QTimer::timeout, ligne, [ligne, reste = corps]() mutable {
                ligne->write(reste.left(2));
                reste.remove(0, 2);
            });
            minuterie->start(500);
            return;
        }
        const bool ferme = comportement == conduite::repond || comportement == conduite::coupe;
        QByteArray entete = comportement == conduite::introuvable ? "HTTP/1.1 404 Not Found\r\n"
                                                                  : "HTTP/1.1 200 OK\r\n";
        if (ferme)
            entete += "Content-Length: " +
                      QByteArray::number(corps.size() + (comportement == conduite::coupe) * 100) +
                      "\r\n";
        ligne->write(entete + "Connection: close\r\n\r\n" + corps);
        if (comportement == conduite::egrene) {
            ligne->write("version = 3");
            auto* minuterie = new QTimer(ligne);
            connect(minuterie, &QTimer::timeout, ligne, [ligne] { ligne->write("0"); });
            minuterie->start(20);
        }
        if (ferme)
            ligne->disconnectFromHost();
    }

    QTcpServer serveur;
    QMap<QTcpSocket*, QByteArray> recu;
};

} // namespace essai
