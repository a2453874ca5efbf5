#pragma once

#include "app/closing_splash.h"
#include "app/start_screen.h"
#include "qt/form_dialog.h"

class QTimer;

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
