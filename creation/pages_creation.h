#pragma once

class csp_creer_unit;
class csp_creer_plusieurs;

// The two pages that make barcode files, for the parts of the application
// that reach them without owning them. Each page installs itself when it is
// built and removes itself when it goes; the accessors answer nullptr while
// there is none.
namespace pages_creation {

csp_creer_unit* sp_creer_unit();
csp_creer_plusieurs* sp_creer_plusieurs();

void installe_sp_creer_plusieurs(csp_creer_plusieurs* page);

} // namespace pages_creation
