#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <ostream>

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace korvane::testing {

// Answers modal windows in order, as the user would: each step waits for the
// next modal window of its type, checks it and presses its button. Steps
// left over (a window that never came) are reported by pending().
class ModalScript {
public:
    ModalScript() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }

    template <class Window>
    ModalScript& then(std::function<void(Window*)> act) {
        steps_.push_back([act](QWidget* widget) {
            auto* window = qobject_cast<Window*>(widget);
            if (!window) return false;
            act(window);
            return true;
        });
        return *this;
    }

    std::size_t pending() const { return steps_.size(); }

private:
    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == handled_ || steps_.empty() || !modal->isVisible()) return;
        if (steps_.front()(modal)) {
            handled_ = modal;
            steps_.pop_front();
        }
    }

    QTimer timer_;
    std::deque<std::function<bool(QWidget*)>> steps_;
    QPointer<QWidget> handled_;
};

}  // namespace korvane::testing
