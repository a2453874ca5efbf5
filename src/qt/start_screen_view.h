#pragma once

#include "app/start_screen.h"
#include "qt/form_dialog.h"

namespace korvane {

// The start screen: a window without title showing its picture.
class StartScreenView : public FormDialog {
    Q_OBJECT
public:
    StartScreenView(StartScreen& form, QWidget* parent);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    StartScreen& start_;
};

}  // namespace korvane
