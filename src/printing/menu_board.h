#pragma once
// The menu board: a price list for posting at the stand, drawn on A4 pages of the current
// printer (the PDF printer of the settings panel): the title, each section as a heading, the
// names on the left and the prices aligned on the right, in large type.
#include "data/catalogue.h"
#include "printing/print_backend.h"

namespace vorsa {

/// Draws the named, active articles and ends the document. Returns how many were listed; with
/// none, the page says so.
int StampaTabellone(const Catalogue& cat, PrintBackend& b);

}  // namespace vorsa
