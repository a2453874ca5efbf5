// What start-up leaves for later must come out the same as if it were made
// at once: the main window's contents and the Chinese font.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStringList>

#include "qt/application.h"
#include "qt/binders.h"
#include "view_test_support.h"

namespace korvane {
namespace {

TEST(Startup, TheChineseFontIsUsedWhereInstalled) {
    // scripts/setup installs it, so the tests always find it.
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "WenQuanYi Micro Hei");
}

struct Layout {
    QRect text;
    QStringList items;
    bool operator==(const Layout&) const = default;
};

// The text box sized by the form before the window shows (as the load
// sequence does behind the start screen) or after it: either way it stands
// where the form says, under the same menus.
TEST(Startup, MainWindowMadeOnFirstShowMatchesOneMadeAtOnce) {
    Layout layouts[2];
    for (bool sizeFirst : {true, false}) {
        QtPlatform platform;
        Application program{platform};
        Form1& form = program.form;
        MainWindow& window = program.window;
        if (sizeFirst) form.Text1.setSize(5000, 3000);
        window.show();
        if (!sizeFirst) form.Text1.setSize(5000, 3000);
        Layout& layout = layouts[sizeFirst];
        layout.text = window.text1()->geometry();
        const double dpiX = window.logicalDpiX(), dpiY = window.logicalDpiY();
        EXPECT_EQ(layout.text,
                  QRect(0, TwipsToPixels(Form1::kText1Top, dpiY), TwipsToPixels(form.Text1.width(), dpiX),
                        TwipsToPixels(form.Text1.height(), dpiY)));
        for (QAction* item : window.findChildren<QAction*>()) {
            if (!item->objectName().isEmpty())
                layout.items << item->objectName() + " " + item->text() + (item->isEnabled() ? "" : " off");
        }
    }
    EXPECT_FALSE(layouts[0].items.isEmpty());
    EXPECT_GT(layouts[0].text.width(), 0);
    EXPECT_EQ(layouts[0].items, layouts[1].items);
}

}  // namespace
}  // namespace korvane
