#include "kit_pages.h"

#include <QFontMetrics>
#include <QLabel>
#include <gtest/gtest.h>

// A caption too wide for its place is narrowed as the page asks: smaller
// sizes only, the condensed face first, or the semi-condensed face before the
// condensed one; a caption that fits keeps its face.
TEST(KitPages, AjustePoliceNarrowsACaptionAsAskedUntilItFits) {
    using kit_pages::resserrement;
    const QString texte = QStringLiteral("Extension des fichiers eps");
    QLabel legende(texte);
    legende.setFont(kit_pages::police(13, true));
    QFont semi = legende.font();
    semi.setStretch(QFont::SemiCondensed);
    const int largeur = QFontMetrics(semi).horizontalAdvance(texte);
    const int etirement = legende.font().stretch();
    for (const auto& [maniere, place, attendu] :
         {std::tuple{resserrement::tailles, largeur, etirement},
          {resserrement::condense, largeur, int(QFont::Condensed)},
          {resserrement::semi_condense, largeur, int(QFont::SemiCondensed)},
          {resserrement::semi_condense, 1000, etirement}}) {
        legende.setFont(kit_pages::police(13, true));
        kit_pages::ajuste_police(&legende, texte, place, maniere);
        EXPECT_EQ(legende.font().stretch(), attendu) << static_cast<int>(maniere) << " " << place;
    }
}
