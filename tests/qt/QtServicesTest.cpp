#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

#include <gtest/gtest.h>

#include "EventLoopRetry.h"
#include "basic/Errors.h"
#include "platform/qt/QtBasicServices.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtCommonDialog.h"
#include "platform/qt/QtFileTypes.h"
#include "platform/qt/QtPlatform.h"
#include "platform/qt/QtPrompt.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtSurface.h"
#include "platform/qt/QtTimer.h"
#include "PseudoTerminal.h"

namespace movra {
namespace {

// Runs `act` on the first modal dialog of type T once it is shown.
template <typename T>
void WhenShown(std::function<void(T*)> act) {
    RetryOnEventLoop(
        [act] {
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* dialog = qobject_cast<T*>(widget); dialog && dialog->isVisible()) {
                    act(dialog);
                    return true;
                }
            }
            return false;
        },
        0);
}

// Lets the event loop run until `done` holds or the time is up.
bool WaitFor(const std::function<bool()>& done, int ms = 2000) {
    QEventLoop loop;
    QTimer poll, limit;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (done()) loop.quit();
    });
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    poll.start(5);
    limit.start(ms);
    if (!done()) loop.exec();
    return done();
}

void ClickButton(QMessageBox* box, const QString& text) {
    for (QAbstractButton* button : box->buttons())
        if (button->text() == text) button->click();
}

TEST(QtPrompt, MessageBoxAnswersWithTheOldNumbers) {
    QtPrompt prompt;
    WhenShown<QMessageBox>([](QMessageBox* box) { ClickButton(box, QStringLiteral("否(&N)")); });
    EXPECT_EQ(prompt.MsgBox("是_保存，否_不保存，取消", MsgYesNoCancel + MsgQuestion, "提示"), AnswerNo);
    WhenShown<QMessageBox>([](QMessageBox* box) {
        EXPECT_EQ(box->buttons().size(), 3);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("提示"));
        ClickButton(box, QStringLiteral("取消"));
    });
    EXPECT_EQ(prompt.MsgBox("是_保存，否_不保存，取消", MsgYesNoCancel, "提示"), AnswerCancel);
    WhenShown<QMessageBox>([](QMessageBox* box) { box->reject(); });  // Escape on an OK box
    EXPECT_EQ(prompt.MsgBox("完成"), AnswerOk);
}

TEST(QtPrompt, InputBoxGivesTheTextOrNothingWhenCancelled) {
    QtPrompt prompt;
    WhenShown<QInputDialog>([](QInputDialog* dialog) {
        EXPECT_EQ(dialog->textValue(), QStringLiteral("500"));
        dialog->setTextValue(QStringLiteral("1000"));
        dialog->accept();
    });
    EXPECT_EQ(prompt.InputBox("比例尺分母", "比例", "500"), "1000");
    WhenShown<QInputDialog>([](QInputDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(prompt.InputBox("比例尺分母", "比例", "500"), "");
}

TEST(QtCommonDialog, FiltersBecomeQtNameFilters) {
    EXPECT_EQ(ToQtNameFilters("图形文件|*.jdx;*.wtw|jdx文件|*.jdx"),
              (QStringList{QStringLiteral("图形文件 (*.jdx *.wtw)"), QStringLiteral("jdx文件 (*.jdx)")}));
    EXPECT_EQ(ToQtNameFilters("所有文件|*.*"), QStringList{QStringLiteral("所有文件 (*.*)")});
    EXPECT_EQ(ToQtNameFilters(""), QStringList{});
    EXPECT_EQ(ToQtNameFilters("只有说明"), QStringList{});  // a description without patterns
    EXPECT_EQ(ToQtNameFilters("|*.txt"), QStringList{QStringLiteral("*.txt (*.txt)")});
}

TEST(QtCommonDialog, OpenReportsTheFileAndFilterOrTheCancel) {
    QTemporaryDir folder;
    QString wtw = folder.filePath(QStringLiteral("地形.wtw"));
    QFile(wtw).open(QIODevice::WriteOnly);
    FileDialogRequest request;
    request.title = "打开";
    request.filter = "jdx文件|*.jdx|wtw文件|*.wtw";
    request.filterIndex = 1;
    request.initialDir = folder.path().toStdString();
    request.fileMustExist = true;
    QtCommonDialog dialogs;

    WhenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->selectedNameFilter(), QStringLiteral("jdx文件 (*.jdx)"));
        dialog->selectNameFilter(QStringLiteral("wtw文件 (*.wtw)"));
        dialog->selectFile(wtw);
        static_cast<QDialog*>(dialog)->accept();
    });
    FileDialogResult chosen = dialogs.ShowOpen(request);
    EXPECT_FALSE(chosen.cancelled);
    EXPECT_EQ(QString::fromStdString(chosen.fileName), wtw);
    EXPECT_EQ(chosen.filterIndex, 2);

    WhenShown<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_TRUE(dialogs.ShowSave(request).cancelled);
}

TEST(QtTimer, TicksFromTheEventLoopAndStops) {
    QtTimerFactory factory;
    auto timer = factory.CreateTimer();
    int ticks = 0;
    timer->onTimeout = [&] { ++ticks; };
    timer->Start(5);
    EXPECT_TRUE(timer->Active());
    EXPECT_EQ(timer->Interval(), 5);
    EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
    timer->Stop();
    int stoppedAt = ticks;
    WaitFor([] { return false; }, 50);
    EXPECT_EQ(ticks, stoppedAt);
}

TEST(QtTimer, AHandlerThatLetsEventsRunIsNotReentered) {
    QtTimer timer;
    QtEvents events;
    int depth = 0, deepest = 0, ticks = 0;
    timer.onTimeout = [&] {
        ++ticks;
        ++depth;
        deepest = std::max(deepest, depth);
        QEventLoop wait;
        QTimer::singleShot(30, &wait, &QEventLoop::quit);
        wait.exec();  // the handler waits for events, as a long command calling DoEvents does
        events.DoEvents();
        --depth;
    };
    timer.Start(2);
    EXPECT_TRUE(WaitFor([&] { return ticks >= 2; }));
    timer.Stop();
    EXPECT_EQ(deepest, 1);
}

TEST(QtEvents, DoEventsRunsPendingEvents) {
    QtEvents events;
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    for (int i = 0; i < 20 && !ran; ++i) events.DoEvents();
    EXPECT_TRUE(ran);
}

TEST(QtClipboard, TextGoesInAndComesBack) {
    QtClipboard clipboard;
    clipboard.SetText("1,100.5,200.25\r\n2,3,4");
    EXPECT_EQ(clipboard.GetText(), "1,100.5,200.25\r\n2,3,4");
    clipboard.Clear();
    EXPECT_EQ(clipboard.GetText(), "");
}

TEST(QtScreen, MeasuresInTwipsAtTheLogicalResolution) {
    QtScreen screen;
    QScreen* qscreen = QGuiApplication::primaryScreen();
    ASSERT_NE(qscreen, nullptr);
    int perPixel = static_cast<int>(std::lround(1440.0 / qscreen->logicalDotsPerInchX()));
    EXPECT_EQ(screen.TwipsPerPixelX(), perPixel);
    EXPECT_EQ(screen.WidthTwips(), qscreen->geometry().width() * perPixel);
    auto families = screen.FontFamilies();
    EXPECT_NE(std::find(families.begin(), families.end(), "Noto Sans CJK SC"), families.end());
}

TEST(QtPictureFiles, SavesAndLoadsByExtension) {
    QTemporaryDir folder;
    Picture picture;
    picture.width = 3;
    picture.height = 2;
    picture.pixels = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u, 0xFFFFFFFFu, 0xFF808080u};
    QtPictureFiles files;
    for (const char* name : {"/图.bmp", "/a.png"}) {
        SCOPED_TRACE(name);
        std::string path = folder.path().toStdString() + name;
        ASSERT_TRUE(files.Save(picture, path));
        auto loaded = files.Load(path);
        ASSERT_TRUE(loaded.has_value());
        EXPECT_EQ(loaded->width, 3);
        EXPECT_EQ(loaded->pixels, picture.pixels);
    }
    EXPECT_FALSE(files.Save(picture, folder.path().toStdString() + "/a.xyz"));
    EXPECT_FALSE(files.Load(folder.path().toStdString() + "/none.bmp").has_value());
    QFile junk(folder.filePath("junk.jpg"));
    junk.open(QIODevice::WriteOnly);
    junk.write("not a picture");
    junk.close();
    EXPECT_FALSE(files.Load(junk.fileName().toStdString()).has_value());
}

class QtFileTypesTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", root_.path().toLocal8Bit());
    }
    void TearDown() override {
        if (saved_.isEmpty()) qunsetenv("XDG_DATA_HOME");
        else qputenv("XDG_DATA_HOME", saved_);
    }
    QString Read(const QString& relative) {
        QFile file(root_.filePath(relative));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QTemporaryDir root_;
    QByteArray saved_;
};

TEST_F(QtFileTypesTest, WritesMimePackageDesktopEntryAndIcon) {
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::red);
    QString iconPath = root_.filePath(QStringLiteral("jdxtubiao.png"));
    ASSERT_TRUE(icon.save(iconPath, "PNG"));

    QtFileTypes types;
    ASSERT_TRUE(types.Register({".jdx", "jdxfile", "jdx矢量图文件", iconPath.toStdString(), "/opt/movra/movra"}));
    ASSERT_TRUE(types.Register({".wtw", "wtwfile", "wtw图文二进制文件", "/missing.ico", "/opt/movra/movra"}));
    // The shipped icons are scalable: they go into the theme as they are.
    const std::string shipped = std::string(MOVRA_TEST_PROGRAM_DIR) + "/tubiao.svg";
    ASSERT_TRUE(QFile::exists(QString::fromStdString(shipped)));
    ASSERT_TRUE(types.Register({".wtw", "wtwfile", "wtw图文二进制文件", shipped, "/opt/movra/movra"}));
    EXPECT_TRUE(QFile::exists(root_.filePath(QStringLiteral("icons/hicolor/scalable/mimetypes/application-x-movra-wtw.svg"))));

    QString jdx = Read(QStringLiteral("mime/packages/movra-jdxfile.xml"));
    EXPECT_TRUE(jdx.contains(QStringLiteral("type=\"application/x-movra-jdx\"")));
    EXPECT_TRUE(jdx.contains(QStringLiteral("<glob pattern=\"*.jdx\"/>")));
    EXPECT_TRUE(jdx.contains(QStringLiteral("<comment>jdx矢量图文件</comment>")));
    QString desktop = Read(QStringLiteral("applications/movra.desktop"));
    EXPECT_TRUE(desktop.contains(QStringLiteral("Exec=\"/opt/movra/movra\" %f")));
    EXPECT_TRUE(desktop.contains(QStringLiteral("MimeType=application/x-movra-jdx;application/x-movra-wtw;")));
    EXPECT_TRUE(QFile::exists(root_.filePath(QStringLiteral("icons/hicolor/48x48/mimetypes/application-x-movra-jdx.png"))));
    EXPECT_FALSE(QFile::exists(root_.filePath(QStringLiteral("icons/hicolor/48x48/mimetypes/application-x-movra-wtw.png"))));

    // Names that would leave the folder are refused.
    EXPECT_FALSE(types.Register({"../x", "jdxfile", "", "", ""}));
    EXPECT_FALSE(types.Register({".jdx", "../../evil", "", "", ""}));
}

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.number;
    }
    return 0;
}

TEST(QtSerialPort, OpensByNumberAndReportsBadPorts) {
    QtSerialPortFactory factory;
    auto port = factory.CreateSerialPort();
    auto* qtPort = static_cast<QtSerialPort*>(port.get());
    EXPECT_EQ(qtPort->DeviceName(1), "/dev/ttyS0");
    EXPECT_EQ(qtPort->DeviceName(0), "");
    EXPECT_EQ(ErrorNumberOf([&] { port->Open(0, "4800,N,8,1"); }), 8002);
    EXPECT_EQ(ErrorNumberOf([&] { port->Open(250, "4800,N,8,1"); }), 8002);  // /dev/ttyS249 is not there
    EXPECT_EQ(ErrorNumberOf([&] { port->Open(1, "4800,Q,8,1"); }), 380);
    EXPECT_FALSE(port->IsOpen());
}

TEST(QtSerialPort, ReceivesWhatTheInstrumentSends) {
    PseudoTerminal instrument;
    ASSERT_FALSE(instrument.Name().empty()) << "openpty failed";
    QtSerialPortFactory factory;
    factory.names[7] = instrument.Name();
    auto port = factory.CreateSerialPort();
    std::string received;
    port->onReceive = [&] { received += port->Read(); };
    ASSERT_EQ(ErrorNumberOf([&] { port->Open(7, "4800,N,8,1"); }), 0);
    EXPECT_TRUE(port->IsOpen());
    EXPECT_EQ(ErrorNumberOf([&] { port->Open(7, "4800,N,8,1"); }), 8005);

    const std::string sentence = "$GPRMC,1\r\n";
    instrument.Send(sentence);
    EXPECT_TRUE(WaitFor([&] { return received.size() >= sentence.size(); }));
    EXPECT_EQ(received, sentence);
    EXPECT_EQ(port->BytesRead(), sentence.size());

    port->Write("R");
    std::string back;
    EXPECT_TRUE(WaitFor([&] { return !(back += instrument.Received()).empty(); }));
    EXPECT_EQ(back, "R");
    port->Close();
    EXPECT_FALSE(port->IsOpen());
}

// The processor time this process has used, in milliseconds.
double CpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

TEST(QtSerialPort, ADeviceThatGoesAwayClosesThePortAndLeavesTheLoopIdle) {
    PseudoTerminal instrument;
    ASSERT_FALSE(instrument.Name().empty()) << "openpty failed";
    QtSerialPortFactory factory;
    factory.names[7] = instrument.Name();
    auto port = factory.CreateSerialPort();
    int lost = 0;
    port->onLost = [&] {
        ++lost;
        EXPECT_FALSE(port->IsOpen());
    };
    ASSERT_EQ(ErrorNumberOf([&] { port->Open(7, "9600,N,8,1"); }), 0);
    instrument.HangUp();
    ASSERT_TRUE(WaitFor([&] { return lost > 0; }));
    EXPECT_FALSE(port->IsOpen());
    // Nothing keeps waking the event loop afterwards: it sleeps (the port once spun a core here).
    const double before = CpuMs();
    QEventLoop idle;
    QTimer::singleShot(500, &idle, &QEventLoop::quit);
    idle.exec();
    EXPECT_LT(CpuMs() - before, 150);
    EXPECT_EQ(lost, 1);
}

TEST(QtPlatform, GivesQtSurfacesAndItsFolders) {
    QtPlatform platform("/opt/movra", "/tmp/movra-work");
    auto surface = platform.CreateSurface(40, 30);
    auto* qtSurface = dynamic_cast<QtSurface*>(surface.get());
    ASSERT_NE(qtSurface, nullptr);
    EXPECT_EQ(qtSurface->Image().size(), QSize(40, 30));
    EXPECT_EQ(platform.folders().ProgramFolder(), "/opt/movra");
    EXPECT_EQ(platform.folders().WorkFolder(), "/tmp/movra-work");
    platform.sound().Beep(440, 50);  // returns at once
}

}  // namespace
}  // namespace movra
