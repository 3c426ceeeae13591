// The save commands in the shown window, answered through the real file dialogs and message boxes:
// a compact save that would drop attribute texts warns first and lets the user go back, and a
// canvas picture that cannot be written is told.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "App.h"
#include "DialogTestHelpers.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "basic/Files.h"
#include "document/SaveFailure.h"
#include "document/StoreRecord.h"
#include "support/TestApp.h"

namespace movra {
namespace {

using ModalStep = std::function<bool(QWidget*)>;  // true when it answered the window

// Answers the modal windows as they come up, one step each, in order.
void AnswerInTurn(std::vector<ModalStep> steps) {
    RetryOnEventLoop([steps = std::move(steps), next = std::size_t{0}]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && steps[next](modal)) ++next;
        return next == steps.size();
    });
}

ModalStep ChooseFile(const std::string& path) {
    return [path](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        auto* name = files ? files->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        if (!name || !name->isVisible()) return false;
        // Typed as a user types it: what the dialog takes when it is accepted.
        name->setText(QString::fromStdString(path));
        QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        return true;
    };
}

ModalStep CancelFileDialog(bool& shown) {
    return [&shown](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        if (!files) return false;
        shown = true;
        QMetaObject::invokeMethod(files, "reject", Qt::QueuedConnection);
        return true;
    };
}

// Notes the message box's text and presses the button whose text starts with `button`.
ModalStep AnswerBox(std::string& text, const QString& button) {
    return [&text, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return false;
        text = box->text().toStdString();
        for (QAbstractButton* b : box->buttons())
            if (b->text().startsWith(button)) QMetaObject::invokeMethod(b, "click", Qt::QueuedConnection);
        return true;
    };
}

class SaveCommandsQt : public ::testing::Test {
protected:
    SaveCommandsQt() {
        run.Start();
        QApplication::processEvents();
        app.store.CurrentLayer = 1;
        StoreRecord(app, StoreFull, 2, 100, 100, 300, 200, 0, 0, 0, 0, "");
        app.current.ModifiedFlag = -1;
        // Whatever is left open after a failure is closed, so that the test ends.
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        watchdog.start(15000);
    }

    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run{program.Str(), work.Str()};
    App& app = run.app;
    QTimer watchdog;
};

TEST_F(SaveCommandsQt, ACompactSaveOfAMapWithAttributesWarnsAndLetsTheUserGoBack) {
    app.store.At(1, 0).RecordExtra = "门牌12";
    QAction* save = MenuAction(run, "保存", "另存为jdx");
    ASSERT_NE(save, nullptr);
    const std::string path = work.Str() + "/plan.jdx";
    std::string warning;
    bool dialogAgain = false;
    AnswerInTurn({ChooseFile(path), AnswerBox(warning, "否"), CancelFileDialog(dialogAgain)});
    save->trigger();
    QApplication::processEvents();

    EXPECT_NE(warning.find("属性文本"), std::string::npos) << warning;
    EXPECT_NE(warning.find("wtw"), std::string::npos) << warning;
    EXPECT_TRUE(dialogAgain);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(app.current.ModifiedFlag, -1);
}

TEST_F(SaveCommandsQt, ACanvasPictureThatCannotBeWrittenIsTold) {
    QAction* save = MenuAction(run, "保存", "另存为bmp");
    ASSERT_NE(save, nullptr);
    // A name that is a link to itself: the dialog takes it, the save cannot follow it.
    const std::string path = work.Str() + "/view.bmp";
    std::filesystem::create_symlink("view.bmp", path);
    std::string told;
    AnswerInTurn({ChooseFile(path), AnswerBox(told, "确定")});
    save->trigger();
    QApplication::processEvents();

    EXPECT_EQ(told.rfind(MapSaveFailedMessage + path, 0), 0u) << told;
    EXPECT_TRUE(std::filesystem::is_symlink(path));

    // And a picture that can be written is a real BMP file.
    const std::string written = work.Str() + "/view2.bmp";
    AnswerInTurn({ChooseFile(written)});
    save->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(FileExists(written));
    EXPECT_EQ(ReadWholeFile(written).substr(0, 2), "BM");
    const auto picture = run.platform.pictureFiles().Load(written);
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, run.form1.Picture1.surface().PixelWidth());
}

}  // namespace
}  // namespace movra
