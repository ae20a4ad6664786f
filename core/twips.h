// Twips, the unit of the stored window and picture sizes: 1440 to the logical inch.
#pragma once

#include <cstdint>

// Twips to pixels at the given logical resolution, and back; 0 pixels per inch gives 0 twips.
int twipsToPixels(int64_t twips, double dpi);
int32_t pixelsToTwips(int64_t pixels, double dpi);
