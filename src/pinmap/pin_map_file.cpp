#include "files/file_io.h"
#include "pinmap/pin_map_picture.h"

namespace korvane {

// Apart from the picture, so that korvane-gen's module (which only draws)
// needs none of the core: the tool writes the bytes itself.
std::string SavePinMap(const PinTable& table, const std::string& path) {
    std::string error;
    const std::string bytes = PinMapBytes(table, PinMapFormatOf(path), error);
    return error.empty() ? ReplaceFileContents(path, bytes) : error;
}

}  // namespace korvane
