#include "kit_pages.h"

#include <QFontMetrics>
#include <QLabel>
#include <gtest/gtest.h>

// A caption too wide for its place is narrowed as the page asks: smaller
// sizes only, the condensed face first, or the semi-condensed face before the
// condensed one; a caption that fits leaves the control's font alone.
TEST(KitPages, AjustePoliceNarrowsACaptionAsAskedUntilItFits) {
    using kit_pages::resserrement;
    const QString texte = QStringLiteral("Extension des fichiers eps");
    const QFont grasse = kit_pages::police(13, true);
    QFont semi = grasse;
    semi.setStretch(QFont::SemiCondensed);
    const int largeur = QFontMetrics(semi).horizontalAdvance(texte);
    ASSERT_LT(largeur, QFontMetrics(grasse).horizontalAdvance(texte));

    const struct {
        resserrement maniere;
        int etirement;
        bool treize_pixels;
    } cas[] = {
        {resserrement::tailles, grasse.stretch(), false},
        {resserrement::condense, QFont::Condensed, true},
        {resserrement::semi_condense, QFont::SemiCondensed, true},
    };
    for (const auto& c : cas) {
        QLabel legende(texte);
        legende.setFont(grasse);
        kit_pages::ajuste_police(&legende, texte, largeur, c.maniere);
        const QFont fonte = legende.font();
        EXPECT_EQ(fonte.stretch(), c.etirement) << static_cast<int>(c.maniere);
        EXPECT_EQ(fonte.pixelSize() == 13, c.treize_pixels) << static_cast<int>(c.maniere);
        EXPECT_TRUE(fonte.bold());
        EXPECT_LE(QFontMetrics(fonte).horizontalAdvance(texte), largeur);
    }

    QWidget page;
    page.setFont(kit_pages::police(13));
    QLabel courte(QStringLiteral("Codage"), &page);
    kit_pages::ajuste_police(&courte, courte.text(), 200, resserrement::condense);
    EXPECT_FALSE(courte.testAttribute(Qt::WA_SetFont));
}
