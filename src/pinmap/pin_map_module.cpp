#include "pinmap/pin_map_module.h"

#include <QGuiApplication>

#include "pinmap/pin_map_picture.h"

namespace {

// Qt's start-up notes (no runtime folder and the like) are not the tool's to say.
void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

extern "C" __attribute__((visibility("default"))) void korvane_pin_map_bytes(const korvane::PinTable* table,
                                                                             const char* path,
                                                                             std::string* bytes,
                                                                             std::string* error) {
    // Text needs a font database, which needs an application; the offscreen
    // platform gives one without a display.
    qInstallMessageHandler(Quiet);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "korvane-gen";
    char* argv[] = {name, nullptr};
    const QGuiApplication app(argc, argv);
    *bytes = korvane::PinMapBytes(*table, korvane::PinMapFormatOf(path), *error);
}
