#include "dialogs/portb_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fake_platform.h"

namespace korvane {
namespace {

using PortBDialogTest = FormFixture<PortBForm>;

// Each control stores its choice at once; the interrupts make their pins
// inputs and port B used, and keep them so when they go off.
TEST_F(PortBDialogTest, EachChoiceIsStoredAndClaimsItsPins) {
    struct Case {
        const char* what;
        std::function<void(PortBForm&)> act;
        std::function<void(ProjectSettings&)> expect;
        bool edgeEnabled;
    };
    const Case cases[] = {
        {"nothing", [](PortBForm&) {}, [](ProjectSettings&) {}, false},
        {"INT on", [](PortBForm& f) { f.Chk_IntE.click(); },
         [](ProjectSettings& s) {
             s.Rb0Int = -1;
             s.PortBDir[0] = 1;
         },
         true},
        {"INT on and off, rising edge",
         [](PortBForm& f) {
             f.Chk_IntE.click();
             f.Opt_Edge.click(1);
             f.Chk_IntE.click();
         },
         [](ProjectSettings& s) {
             s.Rb0Edge = 1;
             s.PortBDir[0] = 1;
         },
         false},
        {"change interrupt on", [](PortBForm& f) { f.Chk_RbIE.click(); },
         [](ProjectSettings& s) {
             s.RbChangeInt = -1;
             s.PortBDir = {0, 0, 0, 0, 1, 1, 1, 1};
         },
         false},
        {"pull-ups on", [](PortBForm& f) { f.Chk_PullUp.click(); },
         [](ProjectSettings& s) { s.RbPullUp = 1; }, false},
    };
    for (const auto& c : cases) {
        settings = ProjectSettings{};
        settings.PortBUsed = 0;
        auto form = Open();
        c.act(*form);
        ProjectSettings expected;
        expected.PortBUsed = 0;
        c.expect(expected);
        if (expected.PortBDir != PinDirections{}) expected.PortBUsed = 1;
        EXPECT_EQ(settings, expected) << c.what;
        EXPECT_EQ(form->Fra_Edge.enabled(), c.edgeEnabled) << c.what;
        EXPECT_EQ(form->Opt_Edge.enabled(1), c.edgeEnabled) << c.what;
    }
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(PortBDialogTest, OpensShowingTheStoredChoicesAndChangesNothing) {
    settings.Rb0Int = -1;
    settings.Rb0Edge = 1;
    settings.RbPullUp = 1;
    settings.PortBDir[0] = 1;
    const ProjectSettings stored = settings;
    auto form = Open();
    EXPECT_TRUE(form->Chk_IntE.checked());
    EXPECT_EQ(form->Opt_Edge.selected(), 1);
    EXPECT_TRUE(form->Fra_Edge.enabled());
    EXPECT_FALSE(form->Chk_RbIE.checked());
    EXPECT_TRUE(form->Chk_PullUp.checked());
    EXPECT_EQ(settings, stored);
    form->Command1.click();
    EXPECT_TRUE(form->unloaded());
}

}  // namespace
}  // namespace korvane
