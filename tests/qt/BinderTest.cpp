#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <string>
#include <vector>

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/ImageCombo.h"
#include "platform/Menu.h"
#include "platform/PictureBox.h"
#include "platform/Toolbar.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "support/TestApp.h"

namespace movra {
namespace {

// A small dialog with one control of each common kind.
struct SmallForm : FormModel {
    explicit SmallForm(Platform& platform)
        : FormModel(platform, "SmallForm"),
          Command1(*this, "Command1"),
          Text1(*this, "Text1"),
          Label1(*this, "Label1"),
          Frame1(*this, "Frame1"),
          Option1(*this, "Option1", &Frame1),
          Option2(*this, "Option2", &Frame1),
          Check1(*this, "Check1"),
          Combo1(*this, "Combo1"),
          ImageCombo1(*this, "ImageCombo1"),
          Toolbar1(*this, "Toolbar1"),
          Command3(*this, "Command3"),
          mnuFile(*this, "mnuFile", "文件"),
          mnuExit(*this, "mnuExit", "退出", &mnuFile),
          Picture1(*this, "Picture1"),
          HScroll1(*this, "HScroll1", false),
          List1(*this, "List1") {
        SetCaption("小窗口");
        Move(0, 0, 6000, 5000);
        Toolbar1.AddButton("打开", "打开", ButtonDropdown).AddMenu("新建", "新建");
        Toolbar1.Buttons(1).AddMenu("最近文件1", "1.");
        Toolbar1.AddButton("撤消", "撤消");
        Command1.SetCaption("确定");
        Command1.Move(300, 600, 1200, 400);
        Text1.Move(300, 1200, 2400, 300);
        Label1.SetCaption("比例尺");
        Label1.Move(300, 1600, 2400, 450);
        Frame1.SetCaption("层状态");
        Frame1.Move(3000, 600, 2400, 1500);
        Option1.Move(150, 300, 1500, 300);
        Option2.Move(150, 700, 1500, 300);
        Check1.Move(300, 2200, 1500, 300);
        Combo1.Move(300, 2600, 1500, 300);
        ImageCombo1.Move(300, 3000, 1500, 300);
        Picture1.Move(3000, 2200, 1500, 1500);
        HScroll1.Move(300, 4000, 3000, 255);
        List1.Move(300, 4300, 1500, 600);
        Picture1.SetScale(0, 1000, 1500, -1000);
        Command3.LoadRange(0, 2);
        Command3.ForEach([](CommandButton& b, int i) {
            b.SetCaption(std::to_string(i));
            b.Move(300 + i * 600, 3500, 500, 300);
        });
    }
    CommandButton Command1;
    TextBox Text1;
    Label Label1;
    Frame Frame1;
    OptionButton Option1, Option2;
    CheckBox Check1;
    ComboBox Combo1;
    ImageCombo ImageCombo1;
    Toolbar Toolbar1;
    ControlArray<CommandButton> Command3;
    Menu mnuFile, mnuExit;
    PictureBox Picture1;
    ScrollBar HScroll1;
    ListBox List1;
};

struct BinderTest : ::testing::Test {
    BinderTest() { UseChineseUiFont(); }
    TempFolder program{"program"}, work{"work"};
    QtPlatform platform{program.Str(), work.Str()};
    SmallForm form{platform};
    Binder binder{platform};

    template <class W>
    W* Widget(const Control& control) {
        return qobject_cast<W*>(binder.WidgetOf(control));
    }
    void Show() {
        binder.Bind(form);
        form.Show();
        QApplication::processEvents();
    }
};

void Type(QWidget* widget, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QCoreApplication::sendEvent(widget, &press);
    }
}

void MouseClick(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

TEST_F(BinderTest, ClickingRealButtonsRunsTheirHandlers) {
    int clicks = 0;
    form.Command1.onClick = [&] { ++clicks; };
    std::vector<int> pressed;
    form.Command3.Wire([&](CommandButton& b, int i) { b.onClick = [&pressed, i] { pressed.push_back(i); }; });
    Show();

    auto* button = Widget<QPushButton>(form.Command1);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "确定");
    EXPECT_EQ(button->geometry(), QRect(20, 40, 80, 27));  // twips at 15 per pixel
    MouseClick(button, button->rect().center());
    button->click();
    EXPECT_EQ(clicks, 2);

    form.Command1.SetEnabled(false);
    EXPECT_FALSE(button->isEnabled());
    MouseClick(button, button->rect().center());
    EXPECT_EQ(clicks, 2);

    Widget<QPushButton>(form.Command3(2))->click();
    form.Command3.Load(7);  // an element loaded while the window is open gets its button
    auto* late = Widget<QPushButton>(form.Command3(7));
    ASSERT_NE(late, nullptr);
    late->click();
    EXPECT_EQ(pressed, (std::vector<int>{2, 7}));
    form.Command3.Unload(7);
    EXPECT_EQ(binder.WidgetOf(form.Command3(2)), Widget<QPushButton>(form.Command3(2)));
}

TEST_F(BinderTest, TypingRunsChangeOncePerEdit) {
    std::vector<std::string> changes;
    form.Text1.onChange = [&] { changes.push_back(form.Text1.Text()); };
    Show();
    auto* edit = Widget<QLineEdit>(form.Text1);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    Type(edit, "层1");
    EXPECT_EQ(changes, (std::vector<std::string>{"层", "层1"}));
    EXPECT_EQ(form.Text1.SelStart(), 2);

    form.Text1.SetText("abc");  // the program's write reaches the widget and runs Change once
    EXPECT_EQ(edit->text(), "abc");
    EXPECT_EQ(changes.size(), 3u);

    // A handler that puts its own box right: the widget shows the correction.
    form.Text1.onChange = [&] {
        changes.push_back(form.Text1.Text());
        if (form.Text1.Text().size() > 4) form.Text1.SetText("0");
    };
    changes.clear();
    EXPECT_EQ(edit->cursorPosition(), 0);  // a write puts the caret at the start
    form.Text1.SetSelStart(3);
    EXPECT_EQ(edit->cursorPosition(), 3);
    Type(edit, "de");
    EXPECT_EQ(changes, (std::vector<std::string>{"abcd", "abcde"}));
    EXPECT_EQ(edit->text(), "0");
    EXPECT_EQ(form.Text1.Text(), "0");

    // KeyPress can swallow a character.
    form.Text1.onKeyPress = [](int& ascii) {
        if (ascii == 'x') ascii = 0;
    };
    Type(edit, "x");
    EXPECT_EQ(edit->text(), "0");
}

TEST_F(BinderTest, ChoicesOfTheUserRunClickButTheProgramsDoNot) {
    int comboClicks = 0, imageClicks = 0, checkClicks = 0;
    form.Combo1.onClick = [&] { ++comboClicks; };
    form.ImageCombo1.onClick = [&] { ++imageClicks; };
    form.Check1.onClick = [&] { ++checkClicks; };
    form.Combo1.AddItem("10");
    form.Combo1.AddItem("12");
    ImageList swatches;
    swatches.AddSwatch(MakeRgb(255, 0, 0));
    form.ImageCombo1.SetImageList(&swatches);
    form.ImageCombo1.AddItem(1, "k1", "层1", 1);
    Show();

    auto* combo = Widget<QComboBox>(form.Combo1);
    ASSERT_EQ(combo->count(), 2);
    emit combo->activated(1);
    EXPECT_EQ(form.Combo1.Text(), "12");
    EXPECT_EQ(comboClicks, 1);

    auto* image = Widget<QComboBox>(form.ImageCombo1);
    form.ImageCombo1.AddItem(2, "k2", "层2", 1);
    form.ImageCombo1.SetSelectedItem(2);
    EXPECT_EQ(image->count(), 2);
    EXPECT_EQ(image->currentText(), "层2");
    EXPECT_FALSE(image->itemIcon(0).isNull());
    EXPECT_EQ(imageClicks, 0);
    emit image->activated(0);
    EXPECT_EQ(imageClicks, 1);
    EXPECT_EQ(form.ImageCombo1.Text(), "层1");
    // Items put in front and taken out of the middle show in the widget in the model's order.
    form.ImageCombo1.AddItem(1, "k0", "层0");
    form.ImageCombo1.RemoveItem(2);
    QStringList shown;
    for (int i = 0; i < image->count(); ++i) shown << image->itemText(i);
    EXPECT_EQ(shown, (QStringList{"层0", "层2"}));
    EXPECT_TRUE(image->itemIcon(0).isNull());
    EXPECT_FALSE(image->itemIcon(1).isNull());

    Widget<QCheckBox>(form.Check1)->click();
    EXPECT_EQ(form.Check1.Value(), Checked);
    form.Check1.SetValue(Unchecked);
    EXPECT_FALSE(Widget<QCheckBox>(form.Check1)->isChecked());
    EXPECT_EQ(checkClicks, 2);

    auto* first = Widget<QRadioButton>(form.Option1);
    auto* second = Widget<QRadioButton>(form.Option2);
    EXPECT_EQ(first->parentWidget(), binder.WidgetOf(form.Frame1));
    first->click();
    second->click();
    EXPECT_FALSE(first->isChecked());
    EXPECT_TRUE(second->isChecked());
    EXPECT_FALSE(form.Option1.Value());
}

TEST_F(BinderTest, ToolbarAndMenusReachTheirHandlers) {
    std::vector<std::string> keys;
    form.Toolbar1.onButtonClick = [&](ToolbarButton& b) { keys.push_back(b.Key()); };
    form.Toolbar1.onButtonMenuClick = [&](ButtonMenu& m) { keys.push_back(m.Key()); };
    form.mnuExit.onClick = [&] { keys.push_back("退出"); };
    Show();

    auto* bar = Widget<QToolBar>(form.Toolbar1);
    ASSERT_NE(bar, nullptr);
    auto tools = bar->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
    QToolButton* open = nullptr;
    QToolButton* undo = nullptr;
    for (QToolButton* tool : tools) {
        if (tool->text() == "打开") open = tool;
        if (tool->text() == "撤消") undo = tool;
    }
    ASSERT_TRUE(open && undo);
    open->click();
    ASSERT_NE(open->menu(), nullptr);
    open->menu()->actions().at(1)->trigger();
    form.Toolbar1.Buttons("撤消").SetEnabled(false);
    EXPECT_FALSE(undo->isEnabled());
    undo->click();
    form.Toolbar1.Buttons(1).ButtonMenus(2).SetText("town\\a.jdx");
    EXPECT_EQ(open->menu()->actions().at(1)->text(), "town\\a.jdx");

    QAction* exit = binder.ActionOf(form.mnuExit);
    ASSERT_NE(exit, nullptr);
    exit->trigger();
    EXPECT_EQ(keys, (std::vector<std::string>{"打开", "最近文件1", "退出"}));
}

TEST_F(BinderTest, ChineseTextRendersWithACjkFont) {
    form.Label1.SetBackColor(MakeRgb(255, 255, 255));
    form.Label1.SetForeColor(MakeRgb(0, 0, 0));
    Show();
    auto* label = Widget<QLabel>(form.Label1);
    ASSERT_NE(label, nullptr);
    QFontInfo info(label->font());
    EXPECT_TRUE(info.family().contains("CJK") || info.family().contains("Hei") || info.family().contains("Ming") ||
                info.family().contains("Droid Sans Fallback"))
        << info.family().toStdString();
    QFontMetrics metrics(label->font());
    for (QChar ch : QString("比例尺")) EXPECT_TRUE(metrics.inFont(ch));

    QImage image = label->grab().toImage();
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ink += qGray(image.pixel(x, y)) < 128;
    EXPECT_GT(ink, 30);
}

TEST_F(BinderTest, CanvasMouseAndKeysArriveInTheUserScale) {
    std::vector<std::string> events;
    auto record = [&](const char* what) {
        return [&events, what](int button, int shift, double x, double y) {
            events.push_back(std::string(what) + " " + std::to_string(button) + " " + std::to_string(shift) + " " +
                             std::to_string(static_cast<int>(x)) + " " + std::to_string(static_cast<int>(y)));
        };
    };
    form.Picture1.onMouseDown = record("down");
    form.Picture1.onMouseUp = record("up");
    int keyCode = 0;
    form.Picture1.onKeyDown = [&](int& code, int shift) { keyCode = code * 10 + shift; };
    Show();
    QWidget* canvas = binder.WidgetOf(form.Picture1);
    ASSERT_EQ(canvas->size(), QSize(100, 100));

    QPoint at(25, 75);
    QMouseEvent press(QEvent::MouseButtonPress, at, canvas->mapToGlobal(at), Qt::RightButton, Qt::RightButton,
                      Qt::ShiftModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, canvas->mapToGlobal(at), Qt::RightButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &press);
    QCoreApplication::sendEvent(canvas, &release);
    EXPECT_EQ(events, (std::vector<std::string>{"down 2 1 375 250", "up 2 0 375 250"}));

    QKeyEvent key(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
    QCoreApplication::sendEvent(canvas, &key);
    EXPECT_EQ(keyCode, KeyDelete * 10 + CtrlMask);
}

TEST_F(BinderTest, ScrollBarsAndListsFollowTheUserOnce) {
    int changes = 0, clicks = 0;
    form.HScroll1.SetMax(-250);
    form.HScroll1.SetMin(250);  // the value falls towards the right end
    form.HScroll1.SetSmallChange(5);
    form.HScroll1.onChange = [&] { ++changes; };
    form.List1.AddItem("宋体");
    form.List1.AddItem("黑体");
    form.List1.onClick = [&] { ++clicks; };
    Show();

    auto* bar = Widget<QScrollBar>(form.HScroll1);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->invertedAppearance());
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form.HScroll1.Value(), 5);
    EXPECT_EQ(changes, 1);
    form.HScroll1.SetValue(-200);
    EXPECT_EQ(bar->value(), -200);
    EXPECT_EQ(changes, 2);

    auto* list = Widget<QListWidget>(form.List1);
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(1);
    EXPECT_EQ(form.List1.Text(), "黑体");
    form.List1.SetListIndex(0);
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(clicks, 2);
}

struct ModalForm : FormModel {
    explicit ModalForm(Platform& platform) : FormModel(platform, "ModalForm"), Command2(*this, "Command2") {
        Command2.SetCaption("退出");
        Command2.onClick = [this] { Unload(); };
    }
    void Form_QueryUnload(int& cancel, int&) override { cancel = keepOpen ? 1 : 0; }
    bool keepOpen = false;
    CommandButton Command2;
};

TEST_F(BinderTest, ModalShowWaitsUntilTheFormIsUnloaded) {
    binder.Install();
    ModalForm dialog(platform);
    bool pressed = false;
    QTimer::singleShot(0, [&] {
        auto* button = qobject_cast<QPushButton*>(binder.WidgetOf(dialog.Command2));
        ASSERT_NE(button, nullptr);
        pressed = true;
        button->click();
    });
    dialog.Show(true);  // bound by the installed binder, returns once Command2 unloads it
    EXPECT_TRUE(pressed);
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ(binder.WindowOf(dialog), nullptr);

    // The close box asks the form; a cancel keeps the window.
    dialog.keepOpen = true;
    dialog.Show();
    QWidget* window = binder.WindowOf(dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(dialog.Loaded());
    dialog.keepOpen = false;
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(dialog.Loaded());
}

}  // namespace
}  // namespace movra
