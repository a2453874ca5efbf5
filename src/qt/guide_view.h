#pragma once

#include "guide/guide_form.h"
#include "qt/form_dialog.h"

namespace korvane {

// The setup guide's window, without title: the welcome line on top, the
// picture on the left, the question with 是/否 on the right, and the three
// buttons below. Esc and the close box go through the exit button, so
// leaving before the end is always confirmed.
class GuideView : public FormDialog {
    Q_OBJECT
public:
    GuideView(GuideForm& form, QWidget* parent);

    void reject() override;

private:
    GuideForm& guide_;
};

}  // namespace korvane
