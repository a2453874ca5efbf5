#include "qt/pin_map_view.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "chip/claims.h"
#include "pinmap/pin_map_picture.h"
#include "settings/pin_claims.h"
#include "view_test_support.h"

namespace korvane {
namespace {

using namespace testing;

constexpr int kRc2 = 16;  // row of pin 17, RC2/CCP1, on the 40-pin parts

PinMapDock* Dock(MainSetup& app) {
    return app.window.findChild<PinMapDock*>("PinMapDock");
}

// The story: the map opened from the view menu, a pin double-clicked opens
// its dialog, and what the dialog changed is on the map once it closes.
TEST(PinMapView, AClosingDialogUpdatesTheMap) {
    MainSetup app;
    app.choose("VbMenuView_PinMap");
    PinMapDock* dock = Dock(app);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window));
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(dock->windowTitle(), "引脚图");
    EXPECT_TRUE(app.window.findChild<QAction*>("VbMenuView_PinMap")->isChecked());
    PinMapView* view = dock->view();
    EXPECT_TRUE(view->description(kRc2).contains("RC2/CCP1"));
    EXPECT_TRUE(view->description(kRc2).contains("未用"));

    // A free pin is the Port dialog's, a claimed one its module's; chosen by
    // a double-click or, the arrow keys having moved to it, by Enter.
    const auto choose = [&](const char* dialogName, const std::function<void()>& pick,
                            const std::function<void(QDialog*)>& use) {
        ModalScript script;
        script.then<QDialog>([&](QDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), dialogName);
            use(dialog);
        });
        pick();
        EXPECT_EQ(script.pending(), 0u);
    };
    const auto doubleClick = [&] {
        QTest::mouseDClick(view, Qt::LeftButton, {}, view->boxOf(kRc2).center());
    };
    choose("Port", doubleClick, [](QDialog* dialog) { dialog->close(); });
    app.settings.T2En = true;  // PWM then asks nothing about Timer2
    OpenFromMenu(app, "VbMenuSet_CCP", "ccp", "捕捉/比较/脉宽调制(CCP)模块设置", {}, [](QDialog* dialog) {
        MouseClick(Find<QCheckBox>(dialog, "Chk_Ccp1En"));
        MouseClick(Find<QRadioButton>(dialog, "Opt_Ccp1Mode(2)"));
        Find<QPushButton>(dialog, "Command1")->click();
    });
    EXPECT_TRUE(view->description(kRc2).contains("CCP1 PWM输出"));
    EXPECT_EQ(view->picture().table(), PinTableOf(app.settings));
    QTest::keyClick(view, Qt::Key_Home);
    for (int row = 0; row < kRc2; ++row) QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(view->currentRow(), kRc2);
    choose(
        "ccp", [&] { QTest::keyClick(view, Qt::Key_Return); },
        [](QDialog* dialog) { Find<QPushButton>(dialog, "Command1")->click(); });
}

TEST(PinMapView, OpenOrClosedIsRememberedAcrossRuns) {
    QtPlatform().storeOption("PinMapShown", "");  // as on a first run
    for (const bool shown : {false, true, false}) {
        MainSetup run;
        EXPECT_EQ(Dock(run)->isVisible(), shown);
        EXPECT_EQ(run.window.findChild<QAction*>("VbMenuView_PinMap")->isChecked(), shown);
        if (shown)
            Dock(run)->close();  // its own close box
        else
            run.choose("VbMenuView_PinMap");
    }
}

// On a 1024x768 screen the map stands beside the text, every pin's box
// apart from the others; a smaller window draws it smaller.
TEST(PinMapView, FitsASmallScreenAndScalesWithTheWindow) {
    MainSetup app;
    app.window.resize(1024 - 8, 768 - 32);
    app.choose("VbMenuView_PinMap");
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window));
    QApplication::processEvents();
    PinMapView* view = Dock(app)->view();
    const QRect text(app.window.text1()->mapTo(&app.window, QPoint()), app.window.text1()->size());
    const QRect map(view->mapTo(&app.window, QPoint()), view->size());
    EXPECT_FALSE(text.intersects(map));
    EXPECT_TRUE(app.window.rect().contains(map));
    const int rows = static_cast<int>(view->picture().table().rows.size());
    for (int i = 0; i < rows; ++i) {
        EXPECT_TRUE(view->rect().contains(view->boxOf(i))) << i;
        for (int j = i + 1; j < rows; ++j)
            EXPECT_FALSE(view->boxOf(i).intersects(view->boxOf(j))) << i << " " << j;
    }
    // Readable: drawn at two thirds of its own size at least.
    const PinMapPicture& picture = view->picture();
    EXPECT_GE(view->boxOf(0).width() * 3, picture.boxIn(QRectF(QPointF(), picture.size()), 0).width() * 2);
    const int large = view->boxOf(0).width();
    app.window.resize(1024 - 8, 400);
    QApplication::processEvents();
    EXPECT_LT(view->boxOf(0).width(), large);
}

// The exported SVG names every pin and its use in full; the PNG has the
// picture's own size.
TEST(PinMapExport, SvgNamesEveryPinAndItsUsePngHasThePictureSize) {
    ProjectSettings conflicting;  // CCP2 and Timer1's oscillator on RC1, SCI, both references
    conflicting.Ccp2En = conflicting.T1En = true;
    conflicting.T1OscEn = conflicting.AdEn = 1;
    conflicting.SciEn = 1;
    conflicting.AdPcfg = 0b1000;
    ProjectSettings small;  // PIC16F876 with the MSSP and RB0/INT
    small.ChipPart = 2;
    small.MsspEn = 1;
    small.Rb0Int = -1;
    QTemporaryDir dir;
    for (ProjectSettings& s : {std::ref(conflicting), std::ref(small)}) {
        ApplyPinClaims(s);
        const PinTable table = PinTableOf(s);
        SCOPED_TRACE(table.part);
        const std::string svg = (dir.path() + "/map.svg").toStdString();
        ASSERT_EQ(SavePinMap(table, svg), "");
        QFile file(QString::fromStdString(svg));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        // A line of mixed scripts is written as one text element per script,
        // one after the other.
        QStringList runs;
        const QRegularExpression textElement(">([^<]*)</text>");
        for (const auto& match : textElement.globalMatch(QString::fromUtf8(file.readAll())))
            runs << match.captured(1);
        const QString text = runs.join(QString());
        for (const PinRow& row : table.rows) {
            EXPECT_TRUE(runs.contains(QString::number(row.number))) << row.number;
            EXPECT_TRUE(text.contains(QString::fromStdString(row.name).toHtmlEscaped())) << row.name;
            EXPECT_TRUE(text.contains(QString::fromStdString(row.use).toHtmlEscaped())) << row.use;
        }
        for (const PinKindText& kind : kPinKindTexts)
            EXPECT_TRUE(text.contains(QString::fromUtf8(kind.text)));

        const std::string png = (dir.path() + "/MAP.PNG").toStdString();
        ASSERT_EQ(SavePinMap(table, png), "");
        const QImage image(QString::fromStdString(png), "PNG");
        EXPECT_EQ(image.size(), PinMapPicture(table).size().toSize());
    }
    EXPECT_EQ(PinMapPicture(PinTableOf(conflicting)).size().toSize(), QSize(662, 815));
    for (const char* refused : {"/map.jpg", "/no/such/map.png"})
        EXPECT_NE(SavePinMap(PinTableOf(small), (dir.path() + refused).toStdString()), "") << refused;
}

}  // namespace
}  // namespace korvane
