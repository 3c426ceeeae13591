#pragma once
// What the tests of the program's dialogs share: the real widget bound to a control, a picture
// of a window kept for a look when MOVRA_TEST_PICTURES names a folder, and waiting for the event
// loop to bring something about.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>

#include "EventLoopRetry.h"
#include "app/MainProgram.h"

namespace movra {

template <typename W>
W* BoundWidget(MainProgram& run, const Control& control) {
    return qobject_cast<W*>(run.binder.WidgetOf(control));
}

// The item of a main-toolbar button's menu, as a user picks it; null when there is none.
inline QAction* MenuAction(MainProgram& run, const QString& button, const QString& item) {
    for (auto* tool : run.binder.WidgetOf(run.form1.Toolbar1)->findChildren<QToolButton*>())
        if (tool->text() == button && tool->menu())
            for (QAction* action : tool->menu()->actions())
                if (action->text() == item) return action;
    return nullptr;
}

inline void SaveTestPicture(const QImage& image, const char* name) {
    if (const char* folder = std::getenv("MOVRA_TEST_PICTURES"); folder && *folder)
        image.save(QString::fromLocal8Bit(folder) + "/" + name);
}

// Runs the event loop until done() holds or the time is up; whether it holds. The default bound
// is generous: waiting ends as soon as done() holds, and a busy machine may take its time.
inline bool WaitFor(const std::function<bool()>& done, int ms = 60000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// The last resort of a test that drives modal windows: should one of them never close (a step
// that waits for it failed), after `seconds` it records a failure and runs `end` to close it, so
// the test stops with a message instead of hanging. It measures no time: the steps wait for their
// own events, however long a busy machine takes.
class ModalWatchdog {
public:
    explicit ModalWatchdog(std::function<void()> end, int seconds = 300) : end_(std::move(end)) {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            ADD_FAILURE() << "a modal window was still up after the watchdog's time";
            end_();
        });
        timer_.start(seconds * 1000);
    }

private:
    std::function<void()> end_;
    QTimer timer_;
};

// Answers modal windows as they come up, at whatever pace the machine brings them: at every turn
// of the event loop while a modal window is up, `answer` sees the one on top. A button it presses
// is pressed through the event loop (PressLater), so that a window the press opens runs its own
// loop outside the answer and is answered in turn.
class ModalDriver {
public:
    explicit ModalDriver(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) answer_(modal);
        });
        timer_.start(10);
    }

private:
    std::function<void(QWidget*)> answer_;
    QTimer timer_;
};

inline void PressLater(QAbstractButton* button) {
    ASSERT_NE(button, nullptr);
    QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
}

// Accepts the next message box that comes up, keeping its text in `text` (which must outlive it).
inline void AnswerNextMessageBox(std::string& text) {
    RetryOnEventLoop([&text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return false;
        text = box->text().toStdString();
        box->accept();
        return true;
    });
}

// Closes the modal window on top, for ModalWatchdog.
inline void CloseActiveModal() {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
}

}  // namespace movra
