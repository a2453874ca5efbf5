#include "dialogs/portb_form.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"

namespace korvane {
namespace {

using PortBDialogTest = FormFixture<PortBForm>;

// Each control stores its choice at once; the interrupts make their pins
// inputs and port B used, and give them back as they were when they go off.
TEST_F(PortBDialogTest, EachChoiceIsStoredAndClaimsItsPins) {
    struct Case {
        const char* clicks;  // I: INT box, R: rising edge, C: change box, U: pull-ups
        std::int16_t rb0Int, rb0Edge, changeInt, pullUp;
        PinDirections portB;
        bool edgeEnabled;
    };
    const Case cases[] = {
        {"I", -1, 0, 0, 0, {1, 0, 0, 0, 0, 0, 0, 0}, true},
        {"IRI", 0, 1, 0, 0, {}, false},
        {"ICI", 0, 0, -1, 0, {0, 0, 0, 0, 1, 1, 1, 1}, false},
        {"C", 0, 0, -1, 0, {0, 0, 0, 0, 1, 1, 1, 1}, false},
        {"U", 0, 0, 0, 1, {}, false},
    };
    for (const Case& c : cases) {
        settings = ProjectSettings{};
        settings.PortBUsed = 0;
        auto form = Open();
        for (const char click : std::string(c.clicks)) {
            if (click == 'I') form->Chk_IntE.click();
            if (click == 'R') form->Opt_Edge.click(1);
            if (click == 'C') form->Chk_RbIE.click();
            if (click == 'U') form->Chk_PullUp.click();
        }
        ProjectSettings expected;
        expected.Rb0Int = c.rb0Int;
        expected.Rb0Edge = c.rb0Edge;
        expected.RbChangeInt = c.changeInt;
        expected.RbPullUp = c.pullUp;
        expected.PortBDir = c.portB;
        expected.PortBUsed = c.portB != PinDirections{} ? 1 : 0;
        EXPECT_EQ(settings, expected) << c.clicks;
        EXPECT_EQ(form->Fra_Edge.enabled(), c.edgeEnabled) << c.clicks;
        EXPECT_EQ(form->Opt_Edge.enabled(1), c.edgeEnabled) << c.clicks;
    }
    EXPECT_TRUE(platform.messages.empty());
}

// Pins an earlier opening took stay inputs when the interrupt goes off, and
// the user is told.
TEST_F(PortBDialogTest, PinsTakenBeforeStayInputsAndSaySo) {
    settings.RbChangeInt = -1;
    settings.PortBDir = {0, 0, 0, 0, 1, 1, 1, 1};
    auto form = Open();
    form->Chk_RbIE.click();
    EXPECT_EQ(settings.PortBDir, (PinDirections{0, 0, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(platform.messageTitles(), std::vector<std::string>{"RB口中断及上拉设置"});
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
}

}  // namespace
}  // namespace korvane
