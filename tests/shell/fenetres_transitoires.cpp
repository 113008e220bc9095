// fenetres_transitoires PILE...: the application's main window on an X
// display, then, one PILE after the other, the windows of a PILE (alerte,
// previsu, dialogue, joined by "+") each opened over the one before. Each
// prints "NAME sur OWNER": OWNER is the window of the application that its
// WM_TRANSIENT_FOR names, as xprop reads it, or "?".

#include "application_essai.h"
#include "dialogues_fichiers.h"
#include "w_alerte.h"
#include "w_main.h"
#include "w_previsu_table.h"

#include <QProcess>
#include <QTimer>
#include <QWindow>
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

// Opens the windows of `pile`, each over the one before; returns once all
// are closed again.
void ouvre(const QStringList& pile) {
    if (pile.isEmpty())
        return;
    QWidget* const dessous = QApplication::activeModalWidget();
    QTimer::singleShot(0, [pile, dessous] {
        QWidget* fenetre = nullptr;
        if (!QTest::qWaitFor([&] {
                fenetre = QApplication::activeModalWidget();
                return fenetre && fenetre != dessous && fenetre->windowHandle()->isExposed();
            }))
            return; // its line is missing
        std::printf("%s sur %s\n", fenetre->metaObject()->className(), proprietaire_x(fenetre));
        ouvre(pile.mid(1));
        fenetre->close();
    });
    if (pile.first() == u"alerte")
        w_alerte::instance().message("Essai", {});
    else if (pile.first() == u"previsu")
        w_previsu_table::instance().afficher_questionner({"a\tb"}, 2, nullptr);
    else
        bibliotheque_v1::get_savefolder(coquille::w_main_qt(), "ecriture", {});
}

} // namespace

int main(int argc, char** argv) {
    essai_coquille::application_essai application(argc, argv);
    w_main& fenetre = w_main::instance();
    fenetre.show();
    if (!QTest::qWaitForWindowExposed(&fenetre))
        return 3;
    for (int n = 1; n < argc; ++n)
        ouvre(QString::fromLocal8Bit(argv[n]).split(u'+'));
    return 0;
}
