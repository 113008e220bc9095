// fenetres_transitoires PILE...: the application's main window on an X
// display, then, one PILE after the other, the windows of a PILE (alerte or
// previsu, joined by "+"), each shown modally over the one before. Each
// prints "NAME sur OWNER": OWNER is the window of the application that its
// WM_TRANSIENT_FOR names, as xprop reads it, or "?".

#include "application_essai.h"
#include "w_alerte.h"
#include "w_main.h"
#include "w_previsu_table.h"

#include <QProcess>
#include <QTimer>
#include <QtTest/QTest>

#include <cstdio>

namespace {

const char* proprietaire_x(const QWidget* fenetre) {
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(fenetre->internalWinId()), "WM_TRANSIENT_FOR"});
    xprop.waitForFinished();
    const QString id = QString::fromLatin1(xprop.readAllStandardOutput()).section("# ", 1);
    for (const QWidget* candidat : QApplication::topLevelWidgets())
        if (!id.isEmpty() && candidat->internalWinId() == id.trimmed().toULongLong(nullptr, 0))
            return candidat->metaObject()->className();
    return "?";
}

// Shows the windows of `pile`, each over the one before; returns once all are
// closed again.
void ouvre(const QStringList& pile) {
    if (pile.isEmpty())
        return;
    w_secondaire& fenetre = pile.first() == u"alerte"
                                ? static_cast<w_secondaire&>(w_alerte::instance())
                                : w_previsu_table::instance();
    QTimer::singleShot(0, [pile, &fenetre] {
        if (QTest::qWaitForWindowExposed(&fenetre))
            std::printf("%s sur %s\n", fenetre.metaObject()->className(), proprietaire_x(&fenetre));
        ouvre(pile.mid(1));
        fenetre.close();
    });
    fenetre.montrer_modale(1);
}

} // namespace

int main(int argc, char** argv) {
    essai_coquille::application_essai application(argc, argv);
    w_main::instance().show();
    if (!QTest::qWaitForWindowExposed(&w_main::instance()))
        return 3;
    for (int n = 1; n < argc; ++n)
        ouvre(QString::fromLocal8Bit(argv[n]).split(u'+'));
    return 0;
}
