#pragma once

class csp_creer_plusieurs;
class csp_creer_unit;

// Where the two creation pages are found: by each other (the batch page reads
// the single page's form, the single page's fault messages depend on which
// page shows) and by the tab container that holds them. Each page installs
// itself from its constructor and removes itself from its destructor; until
// then the accessors answer nullptr.
namespace pages_creation {

// The single-barcode page, of the single barcode screen.
csp_creer_unit* sp_creer_unit();
// The batch page, of the batch screen.
csp_creer_plusieurs* sp_creer_plusieurs();

// nullptr removes the page. The page stays owned by its container.
void installe_sp_creer_unit(csp_creer_unit* page);
void installe_sp_creer_plusieurs(csp_creer_plusieurs* page);

} // namespace pages_creation
