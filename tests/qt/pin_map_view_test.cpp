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
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

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

QAction* Tick(MainSetup& app) {
    return app.window.findChild<QAction*>("VbMenuView_PinMap");
}

// The story: the map opened from the view menu, a pin double-clicked opens
// its dialog, and what the dialog changed is on the map once it closes.
TEST(PinMapView, AClosingDialogUpdatesTheMap) {
    MainSetup app;
    app.choose("VbMenuView_PinMap");
    PinMapDock* dock = Dock(app);
    ASSERT_NE(dock, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&app.window));
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(dock->windowTitle(), "引脚图");
    EXPECT_TRUE(Tick(app)->isChecked());
    PinMapView* view = dock->view();
    EXPECT_TRUE(view->description(kRc2).contains("RC2/CCP1"));
    EXPECT_TRUE(view->description(kRc2).contains("未用"));

    // A free pin is the Port dialog's; a claimed one its module's.
    const auto doubleClick = [&](const char* dialogName, const std::function<void(QDialog*)>& use) {
        ModalScript script;
        script.then<QDialog>([&](QDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), dialogName);
            use(dialog);
        });
        QTest::mouseDClick(view, Qt::LeftButton, {}, view->boxOf(kRc2).center());
        EXPECT_EQ(script.pending(), 0u);
    };
    doubleClick("Port", [](QDialog* dialog) { dialog->close(); });
    app.settings.T2En = true;  // PWM then asks nothing about Timer2
    OpenFromMenu(app, "VbMenuSet_CCP", "ccp", "捕捉/比较/脉宽调制(CCP)模块设置", {}, [](QDialog* dialog) {
        MouseClick(Find<QCheckBox>(dialog, "Chk_Ccp1En"));
        MouseClick(Find<QRadioButton>(dialog, "Opt_Ccp1Mode(2)"));
        Find<QPushButton>(dialog, "Command1")->click();
    });
    EXPECT_TRUE(view->description(kRc2).contains("CCP1 PWM输出"));
    EXPECT_EQ(view->picture().table(), PinTableOf(app.settings));
    doubleClick("ccp", [](QDialog* dialog) { Find<QPushButton>(dialog, "Command1")->click(); });
}

TEST(PinMapView, OpenOrClosedIsRememberedAcrossRuns) {
    QSettings("korvane", "korvane").remove("PinMap");  // as on a first run
    {
        MainSetup first;
        EXPECT_FALSE(Dock(first)->isVisible());
        first.choose("VbMenuView_PinMap");
    }
    {
        MainSetup second;
        EXPECT_TRUE(Dock(second)->isVisible());
        EXPECT_TRUE(Tick(second)->isChecked());
        Dock(second)->close();  // its own close box
        EXPECT_FALSE(Tick(second)->isChecked());
    }
    MainSetup third;
    EXPECT_FALSE(Dock(third)->isVisible());
}

// On a 1024x768 screen the map stands beside the text, every pin's box
// apart from the others; a larger window draws it larger.
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

ProjectSettings Conflicting() {
    ProjectSettings s;
    s.Ccp2En = true;
    s.T1En = true;
    s.T1OscEn = 1;
    s.SciEn = 1;
    s.AdEn = 1;
    s.AdPcfg = 0b1000;  // both references
    ApplyPinClaims(s);
    return s;
}

ProjectSettings SmallPart() {
    ProjectSettings s;
    s.ChipPart = 2;  // PIC16F876
    s.MsspEn = 1;
    s.Rb0Int = -1;
    ApplyPinClaims(s);
    return s;
}

// The exported SVG names every pin and its use in full; the PNG has the
// picture's own size.
TEST(PinMapExport, SvgNamesEveryPinAndItsUsePngHasThePictureSize) {
    QTemporaryDir dir;
    for (const ProjectSettings& s : {Conflicting(), SmallPart()}) {
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
    EXPECT_EQ(PinMapPicture(PinTableOf(Conflicting())).size().toSize(), QSize(662, 815));
    EXPECT_EQ(PinMapPicture(PinTableOf(SmallPart())).size().toSize(), QSize(662, 611));
    EXPECT_NE(SavePinMap(PinTableOf(SmallPart()), (dir.path() + "/map.jpg").toStdString()), "");
    EXPECT_NE(SavePinMap(PinTableOf(SmallPart()), (dir.path() + "/no/such/map.png").toStdString()), "");
}

}  // namespace
}  // namespace korvane
