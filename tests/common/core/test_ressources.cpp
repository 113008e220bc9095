#include "ressources.h"

#include <gtest/gtest.h>

TEST(Ressources, MissingResourcesAreEmpty) {
    EXPECT_TRUE(ressources::texte(12345).isEmpty());
    EXPECT_TRUE(ressources::image(12345).isNull());
}

TEST(Ressources, FontsAndPreviewBackgroundAreBuiltIn) {
    for (int numero = 170; numero <= 180; ++numero)
        EXPECT_FALSE(ressources::texte(numero).isEmpty()) << numero;
    // The EPS symbol fonts define the names the writers ask for.
    for (int k = 0; k <= 4; ++k) {
        const QByteArray nom = "/EanP35N" + QByteArray::number(k) + " exch definefont";
        EXPECT_TRUE(ressources::texte(170 + k).contains(nom)) << k;
    }
    EXPECT_TRUE(ressources::texte(175).contains("/VuraVaze exch definefont"));
    // The PDF font programs end with the ASCII85 end-of-data mark.
    for (int numero = 176; numero <= 180; ++numero)
        EXPECT_TRUE(ressources::texte(numero).endsWith("~>")) << numero;
    const QImage fond = ressources::image(169);
    ASSERT_FALSE(fond.isNull());
    EXPECT_EQ(fond.size(), QSize(191, 65));
}
