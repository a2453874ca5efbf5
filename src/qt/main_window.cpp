#include "qt/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "format/number_text.h"
#include "qt/binders.h"
#include "qt/form_dialog.h"
#include "qt/pin_map_view.h"

namespace korvane {

namespace {
// The normal (restored) size; the form maximises the window on load.
constexpr QSize kNormalSize(900, 640);
}  // namespace

MainWindow::MainWindow(Form1& form, QWidget* parent) : QMainWindow(parent), form_(form) {
    setObjectName(ToQt(form.name()));
    setWindowTitle(ToQt(form.caption()));

    QPointer<MainWindow> guard(this);
    form.Text1.observe([guard](Change) {
        if (!guard) return;
        if (guard->text1_)
            guard->placeText1();
        else
            guard->placeOnBuild_ = true;
    });
    form.observe([guard](Change change) {
        if (!guard) return;
        if (change == Change::Close) {
            if (!guard->closing_) guard->close();
            return;
        }
        guard->setWindowTitle(ToQt(guard->form_.caption()));
        const auto state = guard->form_.windowState();
        const Qt::WindowStates wanted = state == WindowState::Maximized   ? Qt::WindowMaximized
                                        : state == WindowState::Minimized ? Qt::WindowMinimized
                                                                          : Qt::WindowNoState;
        if (guard->windowState() != wanted) guard->setWindowState(wanted);
    });
    resize(kNormalSize);
    reportSize();
    form.PinMap.writer = [](const PinTable& table, const std::string& path) {
        return SavePinMap(table, path);
    };
}

void MainWindow::buildContents() {
    // The window stays hidden behind the start screen, so its menus and text
    // box are made when first needed: the start screen opens sooner and
    // the program starts smaller.
    if (text1_) return;
    for (const auto& menu : form_.menus()) {
        QMenu* qmenu = menuBar()->addMenu(QString());
        Bind(qmenu, *menu.title);
        for (MenuItem* item : menu.items) {
            QAction* action = qmenu->addAction(QString());
            Bind(action, *item);
            // F1 opens the help, as in every desktop program; in a dialog it
            // opens that dialog's page instead (QtPlatform::showForm).
            if (item == &form_.VbMenuHelp_Con) action->setShortcut(QKeySequence(Qt::Key_F1));
        }
    }

    auto* client = new QWidget(this);
    client->setObjectName("ClientArea");
    setCentralWidget(client);
    client->installEventFilter(this);
    text1_ = Make<QPlainTextEdit>(form_.Text1, client);
    text1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text1_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (placeOnBuild_) placeText1();
    // After the text box, so that the text keeps the focus at start.
    buildPinMap();
}

QPlainTextEdit* MainWindow::text1() {
    buildContents();
    return text1_;
}

void MainWindow::setVisible(bool visible) {
    if (visible) buildContents();
    QMainWindow::setVisible(visible);
}

double MainWindow::dpiX() const {
    return logicalDpiX() > 0 ? logicalDpiX() : 96.0;
}
double MainWindow::dpiY() const {
    return logicalDpiY() > 0 ? logicalDpiY() : 96.0;
}

void MainWindow::placeText1() {
    const int top = TwipsToPixels(Form1::kText1Top, dpiY());
    // The rule's margins allow for a title bar and menu bar of the classic
    // size; where a window manager's are taller, the text area stops at the
    // window's edge so that both scroll bars stay in sight.
    const QSize room = centralWidget()->size() - QSize(0, top);
    text1_->setGeometry(0, top, std::min(TwipsToPixels(form_.Text1.width(), dpiX()), room.width()),
                        std::min(TwipsToPixels(form_.Text1.height(), dpiY()), room.height()));
}

void MainWindow::reportSize() {
    // The window's outer size, frame, title and menu bar included.
    const QSize outer = frameGeometry().size();
    const WindowState state = isMinimized()   ? WindowState::Minimized
                              : isMaximized() ? WindowState::Maximized
                                              : WindowState::Normal;
    form_.resized(PixelsToTwips(outer.width(), dpiX()), PixelsToTwips(outer.height(), dpiY()), state);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    reportSize();
    placeText1();
    centreOnceRestored();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    reportSize();
    // Restored for the first time: centre again once the restored size has
    // arrived, now that the window manager has told the frame's real size.
    if (!restoredOnce_ && windowState() == Qt::WindowNoState) {
        restoredOnce_ = true;
        centreWhenRestored_ = true;
    }
}

void MainWindow::centreOnceRestored() {
    if (!centreWhenRestored_ || windowState() != Qt::WindowNoState) return;
    const QRect screen = this->screen() ? this->screen()->geometry() : QRect();
    if (size().width() >= screen.width()) return;  // still the maximised size
    centreWhenRestored_ = false;
    QPointer<MainWindow> guard(this);
    QTimer::singleShot(0, this, [guard] {
        if (guard && guard->windowState() == Qt::WindowNoState) CentreOnScreen(guard);
    });
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    // A window manager reports its frame after the first resize; the outer
    // size then includes the title bar and borders.
    reportSize();
    centreOnceRestored();
}

void MainWindow::showEvent(QShowEvent* event) {
    if (!centred_) {
        // The normal position is centred on the screen, also when the window
        // shows maximised: restoring it comes back to this place.
        centred_ = true;
        restoredOnce_ = !isMaximized();
        CentreOnScreen(this);
    }
    QMainWindow::showEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closing_ = true;
    // However the window closes, the form unloads and shows the splash,
    // unless the user keeps the program running for unsaved settings.
    if (!form_.unload()) {
        closing_ = false;
        event->ignore();
        return;
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize && text1_) placeText1();
    return QMainWindow::eventFilter(watched, event);
}

namespace {
// The dock's first width: the picture readable, the text area wide enough.
constexpr int kPinMapDockWidth = 600;
constexpr int kPinMapDockShare = 50;  // per cent of the window at most
}  // namespace

void MainWindow::buildPinMap() {
    auto* dock = new PinMapDock(form_.PinMap, this);
    addDockWidget(Qt::RightDockWidgetArea, dock);
    dock->hide();
    QPointer<MainWindow> guard(this);
    const auto follow = [guard, dock] {
        if (!guard) return;
        const bool shown = guard->form_.PinMap.shown();
        if (shown == dock->isVisibleTo(guard)) return;
        dock->setVisible(shown);
        if (shown)
            guard->resizeDocks({dock}, {std::min(kPinMapDockWidth, guard->width() * kPinMapDockShare / 100)},
                               Qt::Horizontal);
    };
    form_.PinMap.observe([follow](Change) { follow(); });
    // Shown from the menu, the map takes the focus, so the keys reach its pins.
    QAction* tick = findChild<QAction*>(ToQt(form_.VbMenuView_PinMap.name()));
    connect(tick, &QAction::triggered, dock, [this, dock] {
        if (form_.PinMap.shown()) dock->view()->setFocus();
    });
    // The form restored the remembered state before the dock was made.
    follow();
}

NumberLocale SystemNumberLocale() {
    const QLocale locale = QLocale::system();
    NumberLocale result;
    result.groupSeparator = FromQt(locale.groupSeparator());
    result.minusSign = FromQt(locale.negativeSign());
    return result;
}

}  // namespace korvane
