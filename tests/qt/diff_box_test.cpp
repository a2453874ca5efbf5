// The update's question shows the whole change as a diff a user can read:
// monospace, nothing cut, removed and added lines in their own colours.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <string>

#include "modal_script.h"
#include "qt/qt_platform.h"

namespace korvane {
namespace {

using namespace testing;

TEST(DiffBox, ShowsTheWholeDiffInColourAndAnswers) {
    std::string diff = "--- a.c\t\n+++ a.c\t\n@@ -1,200 +1,200 @@\n";
    for (int i = 0; i < 200; ++i) diff += "-old " + std::to_string(i) + "\n+new " + std::to_string(i) + "\n";
    for (const bool yes : {true, false}) {
        QtPlatform platform;
        ModalScript script;
        script.then<QDialog>([&](QDialog* dialog) {
            EXPECT_EQ(dialog->objectName(), "DiffBox");
            EXPECT_EQ(dialog->windowTitle(), "更新C文件");
            auto* view = dialog->findChild<QPlainTextEdit*>("DiffView");
            ASSERT_NE(view, nullptr);
            EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
            EXPECT_EQ(view->lineWrapMode(), QPlainTextEdit::NoWrap);
            EXPECT_EQ(view->document()->blockCount(), 403);  // every line, none cut
            const auto colour = [&](int block) {
                return view->document()
                    ->findBlockByNumber(block)
                    .begin()
                    .fragment()
                    .charFormat()
                    .background()
                    .color();
            };
            EXPECT_NE(colour(3), colour(4));  // "-old 0" and "+new 0"
            EXPECT_NE(colour(3), view->palette().base().color());
            auto* buttons = dialog->findChild<QDialogButtonBox*>();
            ASSERT_NE(buttons, nullptr);
            EXPECT_TRUE(buttons->button(QDialogButtonBox::Yes)->isDefault());
            buttons->button(yes ? QDialogButtonBox::Yes : QDialogButtonBox::No)->click();
        });
        EXPECT_EQ(platform.diffBox("是否写入?", diff, "更新C文件"),
                  yes ? MessageAnswer::Yes : MessageAnswer::No);
        EXPECT_EQ(script.pending(), 0u);
    }
}

}  // namespace
}  // namespace korvane
