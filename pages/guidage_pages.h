#pragma once

// Puts the guidance pages at the shell's disposal: the makers of the
// agreement, version, welcome and state pages, the training window and the
// connection test. Called once at start-up, before the main window opens.
namespace guidage_pages {

void installe();

} // namespace guidage_pages
