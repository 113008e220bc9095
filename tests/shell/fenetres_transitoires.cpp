// fenetres_transitoires PILE...: shows the application's main window on the
// platform QT_QPA_PLATFORM names (an X display), then, one PILE after the
// other, opens the windows of a PILE each over the one before: names joined
// by "+" among alerte (an alert), previsu (the data preview window) and
// dialogue (the choose-folder dialog of the main window). Each window, once
// on screen, prints "NAME sur OWNER": OWNER is the window of the application
// that its WM_TRANSIENT_FOR names, as xprop reads it, or "?" for any other.

#include "application_essai.h"
#include "bibliotheque_divers.h"
#include "dialogues_fichiers.h"
#include "w_alerte.h"
#include "w_main.h"
#include "w_previsu_table.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QWindow>
#include <QtTest/QTest>

#include <cstdio>

namespace {

const char* nom(const QWidget* fenetre) {
    return fenetre ? fenetre->metaObject()->className() : "?";
}

// The window of the application that the X property WM_TRANSIENT_FOR of
// `fenetre` names.
const QWidget* proprietaire_x(const QWidget* fenetre) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(fenetre->internalWinId()),
                 QStringLiteral("WM_TRANSIENT_FOR")});
    xprop.waitForFinished();
    const auto lu = QRegularExpression(QStringLiteral("# (0x[0-9a-f]+)"))
                        .match(QString::fromLatin1(xprop.readAllStandardOutput()));
    bool ok = false;
    const WId id = lu.captured(1).toULongLong(&ok, 16);
    for (const QWidget* candidat : QApplication::topLevelWidgets())
        if (ok && candidat->internalWinId() == id)
            return candidat;
    return nullptr;
}

// Opens the windows of `pile` from `i` on, each over the one before, and
// returns once they are all closed.
void ouvre(const QStringList& pile, qsizetype i) {
    if (i == pile.size())
        return;
    QWidget* const dessous = QApplication::activeModalWidget();
    QTimer::singleShot(0, [pile, i, dessous] {
        QWidget* fenetre = nullptr;
        if (!QTest::qWaitFor([&] {
                fenetre = QApplication::activeModalWidget();
                return fenetre && fenetre != dessous && fenetre->windowHandle() &&
                       fenetre->windowHandle()->isExposed();
            })) {
            std::printf("%s : rien à l'écran\n", pile.at(i).toUtf8().constData());
            return;
        }
        std::printf("%s sur %s\n", nom(fenetre), nom(proprietaire_x(fenetre)));
        ouvre(pile, i + 1);
        fenetre->close();
    });
    const QString& etape = pile.at(i);
    if (etape == u"alerte")
        w_alerte::instance().message(QStringLiteral("Essai"), QString());
    else if (etape == u"previsu")
        w_previsu_table::instance().afficher_questionner({QStringLiteral("a\tb")}, 2, nullptr);
    else if (etape == u"dialogue")
        bibliotheque_v1::get_savefolder(coquille::w_main_qt(), QStringLiteral("ecriture"), {});
}

} // namespace

int main(int argc, char** argv) {
    essai_coquille::application_essai application(argc, argv);
    w_main& fenetre = w_main::instance();
    fenetre.show();
    fenetre.activateWindow();
    if (!QTest::qWaitForWindowActive(&fenetre)) {
        std::fprintf(stderr, "la fenêtre n'est pas devenue active\n");
        return 3;
    }
    for (int n = 1; n < argc; ++n)
        ouvre(QString::fromLocal8Bit(argv[n]).split(u'+'), 0);
    std::fflush(stdout);
    return 0;
}
