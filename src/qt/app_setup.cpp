#include "qt/app_setup.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>

namespace korvane {

bool PrepareApplication(QApplication& app) {
    std::setlocale(LC_NUMERIC, "C");
    // WenQuanYi Micro Hei where it is installed, else the usual font. Naming
    // it first rather than asking the font database whether it is there
    // leaves the database unread until the first text is drawn, so the
    // start screen opens sooner and the program starts smaller.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), font.family()});
    QApplication::setFont(font);
    // The program speaks Chinese whatever the system's language, in Qt's
    // own dialogs too (file type names, dates). Number read-outs follow the
    // user's regional settings: they take QLocale::system(), not this.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(&app);
    if (!translator->load(chinese, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QApplication::installTranslator(translator);
    return true;
}

}  // namespace korvane
