#pragma once

class QApplication;

namespace korvane {

// Process-wide set-up shared by the program and the Qt tests: Chinese texts on
// the standard buttons (是/否/确定), a font with Chinese glyphs, and "." as the
// decimal point of the C library, which Qt would otherwise take from the
// user's locale. Returns whether the Chinese translations were found.
bool PrepareApplication(QApplication& app);

}  // namespace korvane
