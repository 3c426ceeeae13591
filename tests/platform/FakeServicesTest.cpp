#include <gtest/gtest.h>

#include "basic/Errors.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

TEST(ScriptedPrompt, AnswersFromTheQueueAndRecordsEveryQuestion) {
    ScriptedPrompt prompt;
    prompt.QueueAnswer(AnswerNo);
    prompt.QueueInput("12.5");
    EXPECT_EQ(prompt.MsgBox("是否保存？", MsgYesNoCancel + MsgQuestion, "提示"), AnswerNo);
    // With the queue empty: the first button of the set.
    EXPECT_EQ(prompt.MsgBox("继续？", MsgYesNo), AnswerYes);
    EXPECT_EQ(prompt.MsgBox("出错", MsgRetryCancel), AnswerRetry);
    EXPECT_EQ(prompt.MsgBox("完成"), AnswerOk);
    prompt.defaultAnswer = AnswerCancel;
    EXPECT_EQ(prompt.MsgBox("再问", MsgYesNoCancel), AnswerCancel);

    EXPECT_EQ(prompt.InputBox("输入比例尺", "比例", "500"), "12.5");
    EXPECT_EQ(prompt.InputBox("输入比例尺", "比例", "500"), "500");  // the user just pressed OK
    prompt.inputCancelsWhenEmpty = true;
    EXPECT_EQ(prompt.InputBox("输入比例尺", "比例", "500"), "");

    ASSERT_EQ(prompt.questions.size(), 8u);
    EXPECT_EQ(prompt.questions[0].text, "是否保存？");
    EXPECT_EQ(prompt.questions[0].style, MsgYesNoCancel + MsgQuestion);
    EXPECT_EQ(prompt.questions[0].title, "提示");
    EXPECT_EQ(prompt.questions[5].kind, PromptQuestion::Kind::InputBox);
    EXPECT_EQ(prompt.questions[5].defaultText, "500");
    EXPECT_EQ(prompt.LastText(), "输入比例尺");
}

TEST(ScriptedDialogs, QueuedFilesThenCancel) {
    ScriptedDialogs dialogs;
    dialogs.QueueFile("/maps/a.wtw", 2);
    dialogs.QueueColor(MakeRgb(1, 2, 3));
    FileDialogRequest request;
    request.filter = "jdx文件|*.jdx|wtw文件|*.wtw";
    request.filterIndex = 1;
    FileDialogResult chosen = dialogs.ShowOpen(request);
    EXPECT_FALSE(chosen.cancelled);
    EXPECT_EQ(chosen.fileName, "/maps/a.wtw");
    EXPECT_EQ(chosen.filterIndex, 2);
    EXPECT_TRUE(dialogs.ShowSave(request).cancelled);
    EXPECT_EQ(dialogs.ShowColor(0), MakeRgb(1, 2, 3));
    EXPECT_EQ(dialogs.ShowColor(0), std::nullopt);
    ASSERT_EQ(dialogs.requests.size(), 4u);
    EXPECT_EQ(dialogs.requests[1].kind, ScriptedDialogs::Request::Kind::Save);
    EXPECT_EQ(dialogs.requests[1].file.filter, request.filter);
}

TEST(ScriptedEvents, DoEventsRunsQueuedActionsWhenDue) {
    ScriptedEvents events;
    bool stopPressed = false;
    int loops = 0;
    events.QueueAt(3, [&] { stopPressed = true; });
    // A long command that looks at a stop button between steps.
    while (!stopPressed && loops < 100) {
        ++loops;
        events.DoEvents();
    }
    EXPECT_EQ(loops, 3);

    // An action may queue another; it runs at a later DoEvents, not in the same one.
    std::vector<int> order;
    events.Queue([&] {
        order.push_back(1);
        events.Queue([&] { order.push_back(2); });
    });
    events.DoEvents();
    EXPECT_EQ(order, std::vector<int>{1});
    events.DoEvents();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
    EXPECT_EQ(events.Pending(), 0);
}

TEST(ManualTimer, FiresOnlyWhileActiveAndForgetsDestroyedTimers) {
    ManualTimerFactory factory;
    int ticks = 0;
    auto timer = factory.CreateTimer();
    timer->onTimeout = [&] { ++ticks; };
    auto other = factory.CreateTimer();
    other->onTimeout = [&] { ticks += 100; };
    EXPECT_EQ(factory.FireAll(), 0);
    timer->Start(500);
    other->Start(10);
    EXPECT_EQ(timer->Interval(), 500);
    EXPECT_EQ(factory.FireAll(), 2);
    EXPECT_EQ(ticks, 101);
    other.reset();
    EXPECT_EQ(factory.FireAll(), 1);
    timer->Stop();
    EXPECT_EQ(factory.FireAll(), 0);
    EXPECT_EQ(ticks, 102);
    EXPECT_EQ(factory.Timers()[1], nullptr);
    timer->Start(0);  // no interval: not running
    EXPECT_FALSE(timer->Active());
}

TEST(LoopbackSerialPort, DeliversInjectedBytesAndKeepsWhatWasWritten) {
    LoopbackSerialPortFactory factory;
    auto port = factory.CreateSerialPort();
    std::string received;
    port->onReceive = [&] { received += port->Read(); };
    LoopbackSerialPort& loopback = *factory.LastPort();

    EXPECT_FALSE(loopback.Inject("lost"));  // nothing reaches a closed port
    port->Open(1, "4800,N,8,1");
    EXPECT_EQ(loopback.settings.baud, 4800);
    EXPECT_TRUE(loopback.Inject("$GPRMC,1\r\n"));
    EXPECT_EQ(received, "$GPRMC,1\r\n");

    port->onReceive = nullptr;
    loopback.Inject("abcdef");
    EXPECT_EQ(port->BytesAvailable(), 6);
    EXPECT_EQ(port->Read(4), "abcd");
    port->ClearInput();
    EXPECT_EQ(port->BytesAvailable(), 0);

    port->Write("R\r\n");
    EXPECT_EQ(loopback.TakeWritten(), "R\r\n");
    EXPECT_EQ(loopback.TakeWritten(), "");

    EXPECT_TRUE(port->CarrierDetect());
    loopback.clearToSend = false;
    EXPECT_FALSE(port->ClearToSend());
    port->Close();
    EXPECT_FALSE(port->DataSetReady());  // no lines on a closed port
}

TEST(LoopbackSerialPort, OpenFailsAsTheOldPortsDid) {
    LoopbackSerialPortFactory factory;
    factory.busyPorts = {3};
    auto first = factory.CreateSerialPort();
    auto second = factory.CreateSerialPort();
    auto errorOf = [](auto&& open) {
        try {
            open();
        } catch (const RuntimeError& error) {
            return error.number;
        }
        return 0;
    };
    EXPECT_EQ(errorOf([&] { first->Open(9, "4800,N,8,1"); }), 8002);
    EXPECT_EQ(errorOf([&] { first->Open(0, "4800,N,8,1"); }), 8002);
    EXPECT_EQ(errorOf([&] { first->Open(3, "4800,N,8,1"); }), 8005);
    EXPECT_EQ(errorOf([&] { first->Open(1, "fast"); }), 380);
    EXPECT_FALSE(first->IsOpen());
    EXPECT_EQ(errorOf([&] { first->Open(1, "9600,E,7,2"); }), 0);
    EXPECT_EQ(errorOf([&] { first->Open(2, "9600,E,7,2"); }), 8005);   // this one is open already
    EXPECT_EQ(errorOf([&] { second->Open(1, "9600,E,7,2"); }), 8005);  // another one has it
    try {
        second->Open(9, "4800,N,8,1");
        FAIL();
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.description, "无效端口号");
    }
}

TEST(SerialSettings, ParsesTheSettingsString) {
    struct Case {
        const char* text;
        bool valid;
        int baud;
        char parity;
        int dataBits;
        double stopBits;
    };
    const Case cases[] = {
        {"4800,N,8,1", true, 4800, 'N', 8, 1},   {"9600,e,7,2", true, 9600, 'E', 7, 2},
        {" 1200 , O , 8 , 1.5", true, 1200, 'O', 8, 1.5}, {"4800,N,8", false, 0, 0, 0, 0},
        {"4800,X,8,1", false, 0, 0, 0, 0},       {"4800,N,9,1", false, 0, 0, 0, 0},
        {"abc,N,8,1", false, 0, 0, 0, 0},        {"4800,N,8,3", false, 0, 0, 0, 0},
        {"", false, 0, 0, 0, 0},                 {"99999999999999,N,8,1", false, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        auto parsed = ParseSerialSettings(c.text);
        ASSERT_EQ(parsed.has_value(), c.valid);
        if (!parsed) continue;
        EXPECT_EQ(parsed->baud, c.baud);
        EXPECT_EQ(parsed->parity, c.parity);
        EXPECT_EQ(parsed->dataBits, c.dataBits);
        EXPECT_EQ(parsed->stopBits, c.stopBits);
    }
}

TEST(FakePlatform, HandsOutItsFakes) {
    FakePlatform platform("/opt/movra", "/home/u/.local/share/movra");
    EXPECT_EQ(platform.folders().WorkFolder(), "/home/u/.local/share/movra");
    platform.clipboard().SetText("1,2,3");
    EXPECT_EQ(platform.memoryClipboard.text, "1,2,3");
    platform.sound().Beep(800, 100);
    EXPECT_EQ(platform.silentSound.beeps, (std::vector<SilentSound::Tone>{{800, 100}}));
    EXPECT_EQ(platform.screen().WidthTwips(), 1920 * 15);
    auto surface = platform.CreateSurface(64, 48);
    ASSERT_EQ(platform.surfaces.size(), 1u);
    EXPECT_EQ(platform.surfaces[0], surface.get());
    EXPECT_EQ(surface->PixelWidth(), 64);
    EXPECT_TRUE(platform.fileTypes().Register({".jdx", "jdxfile", "jdx矢量图文件", "", ""}));
    EXPECT_EQ(platform.fileTypeLog.registrations.at(0).typeName, "jdxfile");
    Picture picture{1, 1, {0xFF000000u}};
    EXPECT_TRUE(platform.pictureFiles().Save(picture, "/tmp/a.bmp"));
    EXPECT_TRUE(platform.pictureFiles().Load("/tmp/a.bmp").has_value());
    EXPECT_FALSE(platform.pictureFiles().Load("/tmp/b.bmp").has_value());
}

}  // namespace
}  // namespace movra
