#include "csp_contrat.h"

#include "controles_texte.h"
#include "fichiers_inclus.h"
#include "kit_pages.h"

#include <QLabel>

csp_contrat::csp_contrat(QWidget* parent)
    : classe_page(parent),
      st_titre(kit_pages::texte_statique(this, QStringLiteral("st_titre"), QRect(13, 8, 610, 30),
                                         QStringLiteral("Contrat de licence"), 24, true, 0x780000,
                                         Qt::AlignLeft | Qt::AlignVCenter)),
      ch_contrat(new zone_texte(this)) {
    setObjectName(QStringLiteral("csp_contrat"));
    setFixedSize(640, 400);
    setAutoFillBackground(true);
    kit_pages::place(ch_contrat, QStringLiteral("ch_contrat"), QRect(13, 50, 614, 337));
    ch_contrat->setFont(kit_pages::police(13));
    ch_contrat->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    ch_contrat->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ch_contrat->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPalette palette = ch_contrat->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    ch_contrat->setPalette(palette);
    encadre_zone(ch_contrat);
    // The text has no caption of its own: the page's title names it.
    ch_contrat->setAccessibleName(st_titre->text());
    ch_contrat_Open();
    kit_pages::ordre_lecture(this);
}

void csp_contrat::ch_contrat_Open() {
    ch_contrat->setPlainText(
        kit_pages::lignes_qt(fichiers_inclus::desincorpore_texte(QStringLiteral("licence"), {})));
}

void csp_contrat::formation_page(QString& message, QString&) {
    message = QStringLiteral("Cet écran présente les conditions générales du contrat de licence "
                             "que propose ou qu'a consenti Brimlow.");
}

void csp_contrat::Open() {
    ch_contrat->resize(ch_contrat->width(), 337);
}
