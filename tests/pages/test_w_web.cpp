#include "bibliotheque_divers.h"
#include "services_guidage.h"
#include "w_web.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(ConnexionWeb, TheSystemIsAskedAtMostOnceASecondOnAClockThatNeverWraps) {
    struct etape {
        std::int64_t avance_ms; // clock move before the call
        bool reseau;            // what the system now says
        bool attendu;
        int requetes;
    };
    const etape etapes[] = {
        {0, true, true, 1},    // the first call asks
        {500, false, true, 1}, // half a second on: the kept answer
        {500, false, true, 1}, // one second after the query ended: still kept
        {1, false, false, 2},  // just over: asked again
        {1001, true, true, 3}, //
        {40000, false, false, 4},
    };
    // Far beyond what 32 bits of sixtieths of a second hold.
    std::int64_t maintenant = std::int64_t{1} << 42;
    bool reseau = true;
    int requetes = 0;
    {
        w_web fenetre;
        EXPECT_EQ(guidage::w_web(), &fenetre);
        fenetre.horloge = [&maintenant] { return maintenant; };
        fenetre.interroge = [&] {
            ++requetes;
            maintenant += 300; // the second starts when the query has ended
            return reseau;
        };
        for (const etape& e : etapes) {
            maintenant += e.avance_ms;
            reseau = e.reseau;
            EXPECT_EQ(bibliotheque_v1::web_disponible(), e.attendu) << e.avance_ms;
            EXPECT_EQ(requetes, e.requetes) << e.avance_ms;
        }
    }
    EXPECT_EQ(guidage::w_web(), nullptr);
}
