// Prints the source that the generate command produces right after start with
// comments on, byte for byte, for comparison with the real clipboard.
#include <iostream>

#include "chip/assemble.h"
#include "generator/classic_writer.h"
#include "settings/project_settings.h"

int main() {
    std::cout << korvane::AssembleSource(korvane::ProjectSettings{}, true);
    return std::cout ? 0 : 1;
}
