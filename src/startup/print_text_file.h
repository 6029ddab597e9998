#pragma once
// "/HH/": the text file printed line by line on a landscape page.
#include <string>
#include <vector>

#include "platform/drawing_surface.h"

namespace orbin {

// Lines of a text file in the ANSI code page (CR LF, CR or LF ends; a last
// line without an end is still a line), split in bytes, then each decoded.
std::vector<std::string> SplitTextLines(const std::string& ansi_bytes);

// Size of the printed text: fixed, so that the printout reads the same
// whatever stock font the printer driver offers.
constexpr float kTextFilePoints = 12;

// Every line in order, at kTextFilePoints, landscape; a line that would
// reach past the bottom of the page starts a new page.
void PrintTextFile(const std::vector<std::string>& lines, DrawingSurface& printer);

}  // namespace orbin
