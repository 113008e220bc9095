#include "ressources.h"

#include <gtest/gtest.h>

TEST(Ressources, MissingResourcesAreEmpty) {
    EXPECT_TRUE(ressources::texte(12345).isEmpty());
    EXPECT_TRUE(ressources::image(12345).isNull());
}
