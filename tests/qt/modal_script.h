#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
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
// left over (a window that never came) are reported by pending(). A modal
// window that no step answers within the deadline fails the test and is
// closed, so the test ends instead of waiting for ever.
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
    static constexpr qint64 kDeadlineMs = 10000;

    void poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == handled_ || !modal->isVisible()) {
            waiting_ = nullptr;
            return;
        }
        if (!steps_.empty() && steps_.front()(modal)) {
            handled_ = modal;
            steps_.pop_front();
            return;
        }
        if (modal != waiting_) {
            waiting_ = modal;
            waited_.start();
        } else if (waited_.elapsed() > kDeadlineMs) {
            ADD_FAILURE() << "no step answered the modal " << modal->metaObject()->className() << " \""
                          << modal->windowTitle().toStdString() << "\" within " << kDeadlineMs << " ms";
            waiting_ = nullptr;
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        }
    }

    QTimer timer_;
    std::deque<std::function<bool(QWidget*)>> steps_;
    QPointer<QWidget> handled_;
    QPointer<QWidget> waiting_;  // an unanswered modal window, waited for since waited_
    QElapsedTimer waited_;
};

}  // namespace korvane::testing
