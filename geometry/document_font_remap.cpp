// Document filing's entry to the font re-mapping, in a file of its own so a
// program that brings its own (the filing tests' fake) links without it.
#include "geometry/glyph_fonts.h"
#include "store/filing_seams.h"

void RemapDocumentFonts(Tower* document) { RemapDocumentFonts(document, nullptr); }
