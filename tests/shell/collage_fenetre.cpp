// collage_fenetre ZONE SOURCE COMMANDE: shows the application's main window
// on the platform QT_QPA_PLATFORM names, fills the clipboard from SOURCE,
// pastes by COMMANDE into the multi-line field named ZONE, which holds
// "avant" with the cursor at its end, and prints the field's text, followed
// by " (gras)" when a character of it is bold. A paste that ends the process
// prints nothing. After a paste of a large text the program types "Z", as
// the user goes on, and prints its length and its last ten characters.
//   ZONE: ch_commentaire (single page) or ch_contrat (agreement page).
//   SOURCE: vide (no clipboard owner), coupe (Ctrl+X of "12345" selected in
//   "Code produit"), copie_sans_selection (Ctrl+C there with nothing selected,
//   on an empty clipboard), riche (Markdown, HTML and plain text of one bold
//   word), html (HTML alone), bloc (a megabyte of digits, no break),
//   lignes (5 MB of lines of 75 digits).
//   COMMANDE: ctrl_v, clic_milieu (the X selection), menu
//   (Édition > Coller).

#include "application_essai.h"
#include "controles_texte.h"
#include "cp_onglets.h"
#include "csp_creer_unit.h"
#include "menu_operateur.h"
#include "w_main.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest/QTest>

#include <cstdio>

namespace {

// Whether a character of `document` is bold, as pasted rich text makes it.
bool texte_gras(const QTextDocument& document) {
    for (QTextBlock bloc = document.begin(); bloc.isValid(); bloc = bloc.next())
        for (auto morceau = bloc.begin(); !morceau.atEnd(); ++morceau)
            if (morceau.fragment().charFormat().fontWeight() > QFont::Normal)
                return true;
    return false;
}

void remplit_presse_papiers(const QString& source, w_main& fenetre) {
    QClipboard& presse_papiers = *QGuiApplication::clipboard();
    presse_papiers.clear(QClipboard::Clipboard);
    presse_papiers.clear(QClipboard::Selection);
    QLineEdit& code = *fenetre.p_onglets->sp_creer_unit->ch_code_produit;
    if (source == u"coupe" || source == u"copie_sans_selection") {
        fenetre.montrer(coquille::ecran_creer_unit, coquille::origine_page);
        code.setText(QStringLiteral("12345"));
        code.setFocus();
        if (source == u"coupe")
            code.selectAll();
        else
            code.deselect();
        QTest::keyClick(&code, source == u"coupe" ? Qt::Key_X : Qt::Key_C, Qt::ControlModifier);
    } else if (source == u"riche" || source == u"html") {
        // Markdown first, as an editor of Markdown offers it.
        auto* donnees = new QMimeData;
        if (source == u"riche") {
            donnees->setData(QStringLiteral("text/markdown"), "**gras**");
            donnees->setText(QStringLiteral("gras"));
        }
        donnees->setHtml(QStringLiteral("<b>gras</b>"));
        presse_papiers.setMimeData(donnees);
    } else if (source == u"bloc" || source == u"lignes") {
        const QString chiffres = QStringLiteral("0123456789").repeated(8).left(75);
        presse_papiers.setText(source == u"bloc"
                                   ? chiffres.repeated(13334).left(1000000)
                                   : (chiffres + u'\n').repeated(5 * 1000 * 1000 / 76));
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage : collage_fenetre ZONE SOURCE COMMANDE\n");
        return 2;
    }
    essai_coquille::application_essai application(argc, argv);
    const QString nom = QString::fromLocal8Bit(argv[1]);
    const QString commande = QString::fromLocal8Bit(argv[3]);
    w_main& fenetre = w_main::instance();
    fenetre.show();
    fenetre.activateWindow();
    if (!QTest::qWaitForWindowActive(&fenetre)) {
        std::fprintf(stderr, "la fenêtre n'est pas devenue active\n");
        return 3;
    }
    remplit_presse_papiers(QString::fromLocal8Bit(argv[2]), fenetre);
    // On screen, where Qt lays the text out: the window may already count
    // the single page as shown.
    fenetre.montrer(coquille::ecran_accueil, coquille::origine_page);
    fenetre.montrer(nom == u"ch_contrat" ? coquille::ecran_contrat : coquille::ecran_creer_unit,
                    coquille::origine_page);
    auto* zone = fenetre.findChild<zone_texte*>(nom);
    if (!zone) {
        std::fprintf(stderr, "pas de zone %s\n", argv[1]);
        return 2;
    }
    if (!zone->isVisible())
        return 3;
    zone->setPlainText(QStringLiteral("avant"));
    zone->setFocus();
    zone->moveCursor(QTextCursor::End);
    if (commande == u"ctrl_v")
        QTest::keyClick(zone, Qt::Key_V, Qt::ControlModifier);
    else if (commande == u"clic_milieu")
        QTest::mouseClick(zone->viewport(), Qt::MiddleButton, {}, QPoint(200, 10));
    else if (commande == u"menu")
        menu_operateur::instance().element(QStringLiteral("EditPaste"))->trigger();
    QString texte = texte_zone(*zone);
    if (texte.size() > 1000) {
        QTest::keyClick(zone, 'Z');
        texte = texte_zone(*zone);
        texte = QString::number(texte.size()) + u' ' + texte.right(10);
    }
    std::printf("%s%s\n", texte.toUtf8().constData(),
                texte_gras(*zone->document()) ? " (gras)" : "");
    return 0;
}
