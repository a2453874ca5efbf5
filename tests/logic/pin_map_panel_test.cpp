#include "app/pin_map_panel.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "chip/claims.h"
#include "controls/app_context.h"
#include "fake_platform.h"
#include "project/project_file.h"
#include "settings/pin_claims.h"

namespace korvane {
namespace {

struct MainWindowWithMap {
    ProjectSettings settings;
    FakePlatform platform;
    AppContext context{settings, platform};
    Form1 form{context};
    int raised = 0;
    MainWindowWithMap() {
        context.mainWindow = &form;
        form.SettingsWatch.observe([this](Change) { ++raised; });
    }
};

// Every way the settings change tells the one change point, and the map
// then shows the settings as they now are.
TEST(PinMapPanel, FollowsEveryWayTheSettingsChange) {
    const std::string project = ::testing::TempDir() + "pin_map_panel.kvp";
    ProjectSettings small;
    small.ChipPart = 6;
    ASSERT_EQ(WriteProjectFile(project, small), "");
    struct Case {
        const char* what;
        std::function<void(MainWindowWithMap&)> act;
    };
    const Case cases[] = {
        {"a dialog closes",
         [](MainWindowWithMap& m) {
             m.platform.formActions[FormId::Ccp] = [&m] {
                 m.settings.Ccp1En = true;
                 ApplyPinClaims(m.settings);
             };
             m.form.VbMenuSet_CCP.click();
         }},
        {"the crystal command",
         [](MainWindowWithMap& m) {
             m.platform.inputs = {"20"};
             m.form.VbMenuSet_Osc.click();
         }},
        {"the crystal command cancelled, Timer0's frequency taken",
         [](MainWindowWithMap& m) {
             m.settings.T0FreqMHz = 8.0f;
             m.platform.inputs = {""};
             m.form.VbMenuSet_Osc.click();
         }},
        {"a project opens", [&project](MainWindowWithMap& m) { m.form.OpenProject(project); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MainWindowWithMap m;
        const PinTable before = m.form.PinMap.table();
        int redrawn = 0;
        m.form.PinMap.observe([&redrawn](Change) { ++redrawn; });
        c.act(m);
        EXPECT_EQ(m.raised, 1);
        EXPECT_EQ(m.form.PinMap.table(), PinTableOf(m.settings));
        EXPECT_NE(m.form.PinMap.table(), before);
        EXPECT_EQ(redrawn, 1);
    }
    std::remove(project.c_str());
}

// A pin opens the dialog that decides it; the export writes where the user
// chose, with .svg when no suffix was typed, or says why it could not.
TEST(PinMapPanel, PinsOpenTheirDialogsAndTheMapExports) {
    MainWindowWithMap m;
    m.settings.SciEn = 1;
    m.form.SettingsChanged();
    for (int row : {24, 10, 33, 40}) m.form.PinMap.OpenPin(row);  // RC6/TX, VDD, RB1, none
    EXPECT_EQ(m.platform.shownForms, (std::vector<std::string>{"sci", "Port"}));

    std::vector<std::string> written;
    m.form.PinMap.writer = [&](const PinTable& table, const std::string& path) {
        EXPECT_EQ(table, m.form.PinMap.table());
        written.push_back(path);
        return std::string(written.size() == 2 ? "disk full" : "");
    };
    m.platform.savePaths = {"/tmp/chip", "/tmp/chip.png", ""};
    for (int i = 0; i < 3; ++i) m.form.VbMenuFile_ExportPinMap.click();
    EXPECT_EQ(written, (std::vector<std::string>{"/tmp/chip.svg", "/tmp/chip.png"}));
    EXPECT_EQ(m.platform.saveFilters.front(), "SVG图片(*.svg)|*.svg|PNG图片(*.png)|*.png");
    ASSERT_EQ(m.platform.messages.size(), 1u);
    EXPECT_EQ(m.platform.messages[0].text, "无法写入文件：\r/tmp/chip.png\rdisk full");

    // The open project is never the picture, by any name.
    const std::string project = ::testing::TempDir() + "pinmap_project.kvp";
    ASSERT_EQ(WriteProjectFile(project, ProjectSettings{}), "");
    ASSERT_TRUE(m.form.OpenProject(project));
    m.platform.savePaths = {project};
    m.form.VbMenuFile_ExportPinMap.click();
    EXPECT_EQ(written.size(), 2u);
    EXPECT_EQ(m.platform.messages.back().text, "无法写入文件：\r" + project + "\r" + kOutputIsInput);
    std::remove(project.c_str());
}

}  // namespace
}  // namespace korvane
