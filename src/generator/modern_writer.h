#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "generator/program.h"
#include "settings/output_form.h"

namespace korvane {

// The program as today's compilers take it, XC8 in C99 mode or SDCC's pic14
// port: their header, configuration and interrupt syntax; registers written
// whole where the chip configures them whole; main ending in its loop; flags
// served the way the chip clears them. CRLF line ends, like the classic text.
std::string WriteModern(const Program& program, OutputFormId form, bool withComments);

// The modern form a text was written in, told by its header lines (in
// either encoding, any line ends), or nothing for any other text.
std::optional<OutputFormId> ModernFormOf(std::string_view text);

}  // namespace korvane
