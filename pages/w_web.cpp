#include "w_web.h"

#include "fenetres_uniques.h"
#include "kit_pages.h"

#include <QLabel>
#include <QNetworkInformation>
#include <QNetworkInterface>

namespace {

// One tick of the kept answer: a second.
constexpr std::int64_t duree_cache_ms = 1000;

} // namespace

w_web& w_web::instance() {
    static w_web* fenetre = nullptr;
    return fenetres_uniques::unique(fenetre, [] { return new w_web; });
}

w_web::w_web(QWidget* parent) : w_secondaire(parent), st_message(new QLabel(this)) {
    setObjectName(QStringLiteral("w_web"));
    setWindowTitle(QString());
    setFixedSize(425, 30);
    // Light yellow under the message. A style sheet would cut the message
    // off from the window's palette, and give it the desktop's text colour.
    QPalette fond = palette();
    fond.setColor(QPalette::Window, QColor::fromRgb(0xFFFFCC));
    setPalette(fond);
    setAutoFillBackground(true);
    st_message->setObjectName(QStringLiteral("st_message"));
    st_message->setGeometry(0, 0, 425, 30);
    st_message->setAlignment(Qt::AlignCenter);
    st_message->setText(
        QStringLiteral("Essai de connection Internet en cours\u00A0! Merci de patienter\u00A0!"));
    kit_pages::ordre_lecture(this);
    chrono.start();
    horloge = [this] { return chrono.elapsed(); };
    guidage::installe_w_web(this);
}

w_web::~w_web() {
    if (guidage::w_web() == this)
        guidage::installe_w_web(nullptr);
}

bool w_web::test() {
    const std::int64_t maintenant = horloge();
    if (!deja_interroge || maintenant - ticks_precedent > duree_cache_ms) {
        try {
            retour = interroge();
        } catch (...) {
            retour = false;
        }
        deja_interroge = true;
        ticks_precedent = horloge();
    }
    return retour;
}

bool w_web::etat_reseau_systeme() {
    if (QNetworkInformation::loadDefaultBackend()) {
        if (const QNetworkInformation* information = QNetworkInformation::instance()) {
            if (information->supports(QNetworkInformation::Feature::Reachability)) {
                const auto etat = information->reachability();
                if (etat != QNetworkInformation::Reachability::Unknown)
                    return etat != QNetworkInformation::Reachability::Disconnected;
            }
        }
    }
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& carte : interfaces) {
        const auto drapeaux = carte.flags();
        if (drapeaux.testFlag(QNetworkInterface::IsUp) &&
            drapeaux.testFlag(QNetworkInterface::IsRunning) &&
            !drapeaux.testFlag(QNetworkInterface::IsLoopBack))
            return true;
    }
    return false;
}
