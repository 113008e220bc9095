#include "pages_creation.h"

namespace pages_creation {

namespace {
csp_creer_plusieurs* page_plusieurs = nullptr;
} // namespace

csp_creer_plusieurs* sp_creer_plusieurs() {
    return page_plusieurs;
}

void installe_sp_creer_plusieurs(csp_creer_plusieurs* page) {
    page_plusieurs = page;
}

} // namespace pages_creation
