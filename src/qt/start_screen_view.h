#pragma once

#include "app/start_screen.h"
#include "qt/form_dialog.h"

class QLabel;

namespace korvane {

// The start screen: a window without title showing its picture.
class StartScreenView : public FormDialog {
    Q_OBJECT
public:
    StartScreenView(StartScreen& form, QWidget* parent);

    void setVisible(bool visible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    StartScreen& start_;
    QLabel* picture_;
};

}  // namespace korvane
