#include "bibliotheque_divers.h"
#include "services_guidage.h"
#include "w_web.h"

#include <QLabel>
#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A connection test on a clock the test moves, whose system answer the test
// sets, counting the queries.
struct banc {
    w_web fenetre;
    std::int64_t maintenant = 0;
    bool reseau = true;
    int requetes = 0;
    // Milliseconds a query takes.
    std::int64_t duree_requete = 0;

    banc() {
        fenetre.horloge = [this] { return maintenant; };
        fenetre.interroge = [this] {
            ++requetes;
            maintenant += duree_requete;
            return reseau;
        };
    }
};

} // namespace

TEST(ConnexionWeb, TheSystemIsAskedAtMostOnceASecond) {
    struct etape {
        std::int64_t avance_ms; // clock move before the call
        bool reseau;            // what the system now says
        bool attendu;
        int requetes;
    };
    // The clock starts far beyond what 32 bits of sixtieths would hold.
    const std::int64_t depart = std::int64_t{1} << 42;
    const etape etapes[] = {
        {0, true, true, 1},    // the first call asks
        {500, false, true, 1}, // half a second on: the kept answer
        {500, false, true, 1}, // one second exactly: still kept
        {1, false, false, 2},  // just over: asked again
        {999, true, false, 2}, //
        {1001, true, true, 3}, //
        {40000, false, false, 4},
    };
    banc b;
    b.maintenant = depart;
    for (const etape& e : etapes) {
        b.maintenant += e.avance_ms;
        b.reseau = e.reseau;
        EXPECT_EQ(b.fenetre.test(), e.attendu) << "at +" << b.maintenant - depart;
        EXPECT_EQ(b.requetes, e.requetes) << "at +" << b.maintenant - depart;
    }
}

TEST(ConnexionWeb, TheSecondStartsWhenTheQueryHasEnded) {
    banc b;
    b.duree_requete = 700;
    EXPECT_TRUE(b.fenetre.test());
    b.maintenant += 1000; // 1.7 s after the call began, 1 s after the query ended
    b.reseau = false;
    EXPECT_TRUE(b.fenetre.test());
    EXPECT_EQ(b.requetes, 1);
}

TEST(ConnexionWeb, AFailingQueryCountsAsNoConnection) {
    banc b;
    b.fenetre.interroge = []() -> bool { throw std::runtime_error("no backend"); };
    EXPECT_FALSE(b.fenetre.test());
}

TEST(ConnexionWeb, TheWindowIsTheApplicationsConnectionTest) {
    {
        banc b;
        EXPECT_EQ(guidage::w_web(), &b.fenetre);
        EXPECT_TRUE(bibliotheque_v1::web_disponible());
        EXPECT_FALSE(b.fenetre.isVisible());
        EXPECT_EQ(
            b.fenetre.st_message->text(),
            QString("Essai de connection Internet en cours\u00A0! Merci de patienter\u00A0!"));
    }
    EXPECT_EQ(guidage::w_web(), nullptr);
    EXPECT_FALSE(bibliotheque_v1::web_disponible());
}
