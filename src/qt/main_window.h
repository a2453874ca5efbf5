#pragma once

#include <QMainWindow>

#include "app/form1.h"
#include "format/number_text.h"

class QPlainTextEdit;

namespace korvane {

// The main window's view: the menu bar and the text area, laid out by the
// twips rule of the form (the text area's size comes from the form).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Form1& form, QWidget* parent = nullptr);

    // The text box, made first if the window has not been shown yet.
    QPlainTextEdit* text1();
    void setVisible(bool visible) override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // The text area follows the client area, which the pin map's dock narrows.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The pin map's dock, its tick in the view menu and its remembered state.
    void buildPinMap();
    void buildContents();
    void reportSize();
    void placeText1();
    void centreOnceRestored();
    double dpiX() const;
    double dpiY() const;

    Form1& form_;
    QPlainTextEdit* text1_ = nullptr;
    bool placeOnBuild_ = false;  // the form sized the text box before it was made
    bool closing_ = false;
    bool centred_ = false;
    bool restoredOnce_ = false;
    bool centreWhenRestored_ = false;
};

// The user's number habits from the system locale.
NumberLocale SystemNumberLocale();

}  // namespace korvane
