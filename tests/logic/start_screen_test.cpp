#include "app/start_screen.h"

#include <gtest/gtest.h>

#include "app/closing_splash.h"
#include "fake_platform.h"

namespace korvane {
namespace {

TEST(StartScreen, ClosesOnCharacterKeyOrFirstTick) {
    struct Case {
        const char* what;
        int key;  // 0: no key, let the timer tick
        bool closed;
    } const cases[] = {
        {"letter", 'a', true}, {"digit", '7', true},   {"Enter", 13, true},
        {"Escape", 27, true},  {"Backspace", 8, true}, {"a key without character", 0, false},
    };
    for (const auto& c : cases) {
        ProjectSettings settings;
        FakePlatform platform;
        AppContext context{settings, platform};
        StartScreen start(context);
        start.load();
        EXPECT_EQ(start.Picture1.path(), "/opt/korvane/korvane.jpg");
        EXPECT_TRUE(start.Timer3.enabled());
        EXPECT_EQ(start.Timer3.interval(), 2000);
        start.Form_KeyPress(c.key);
        EXPECT_EQ(start.unloaded(), c.closed) << c.what;
        start.Timer3.tick();
        EXPECT_TRUE(start.unloaded()) << c.what;
        EXPECT_EQ(start.caption(), "");
        EXPECT_EQ(settings, ProjectSettings{});
    }
}

TEST(ClosingSplash, EndsTheProgramOnItsFirstTick) {
    ProjectSettings settings;
    FakePlatform platform;
    AppContext context{settings, platform};
    ClosingSplash splash(context);
    EXPECT_EQ(splash.Label1.caption(), "谢谢使用！");
    EXPECT_FALSE(splash.Timer1.enabled());
    splash.Timer1.tick();  // not running before the load
    EXPECT_EQ(platform.endProgramCalls, 0);
    splash.load();
    EXPECT_EQ(splash.Timer1.interval(), 1000);
    splash.Timer1.tick();
    splash.Timer1.tick();
    EXPECT_EQ(platform.endProgramCalls, 1);
}

}  // namespace
}  // namespace korvane
