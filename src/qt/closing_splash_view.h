#pragma once

#include "app/closing_splash.h"
#include "qt/form_dialog.h"

namespace korvane {

// The closing splash: a window without title that ignores keys and clicks.
class ClosingSplashView : public FormDialog {
    Q_OBJECT
public:
    ClosingSplashView(ClosingSplash& form, QWidget* parent);
    void reject() override {}

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

}  // namespace korvane
