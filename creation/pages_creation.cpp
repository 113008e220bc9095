#include "pages_creation.h"

namespace pages_creation {

namespace {
csp_creer_unit* page_unique = nullptr;
csp_creer_plusieurs* page_plusieurs = nullptr;
} // namespace

csp_creer_unit* sp_creer_unit() {
    return page_unique;
}

csp_creer_plusieurs* sp_creer_plusieurs() {
    return page_plusieurs;
}

void installe_sp_creer_unit(csp_creer_unit* page) {
    page_unique = page;
}

void installe_sp_creer_plusieurs(csp_creer_plusieurs* page) {
    page_plusieurs = page;
}

} // namespace pages_creation
