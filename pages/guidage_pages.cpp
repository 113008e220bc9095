#include "guidage_pages.h"

#include "cp_accueil.h"
#include "cp_formation_memo.h"
#include "csp_contrat.h"
#include "csp_version.h"
#include "services_guidage.h"
#include "w_formation.h"
#include "w_web.h"

namespace guidage_pages {

void installe() {
    guidage::installe_fabrique(3, [] { return new csp_contrat; });
    guidage::installe_fabrique(4, [] { return new csp_version; });
    guidage::installe_fabrique(5, [] { return new cp_accueil; });
    guidage::installe_fabrique(7, [] { return new cp_formation_memo; });
    guidage::installe_fabrique_w_formation([] { w_formation::instance(); });
    w_web::instance();
}

} // namespace guidage_pages
