#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic/Errors.h"
#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"
#include "platform/ImageCombo.h"
#include "platform/Menu.h"
#include "platform/PictureBox.h"
#include "platform/TimerControl.h"
#include "platform/Toolbar.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

struct ControlsTest : ::testing::Test {
    FakePlatform platform;
    FormModel form{platform, "TestForm"};
};

int ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.number;
    }
    return 0;
}

TEST_F(ControlsTest, TextChangeRunsOnRealChangesOnly) {
    TextBox box(form, "Text1");
    std::vector<std::string> seen;
    box.onChange = [&] { seen.push_back(box.Text()); };
    int notices = 0;
    box.SetObserver([&](Prop prop) { notices += prop == Prop::Text; });

    box.SetText("abc");
    box.SetText("abc");  // the same text: no change
    box.SetText("层1");
    box.SetText("");
    box.SetText("");
    EXPECT_EQ(seen, (std::vector<std::string>{"abc", "层1", ""}));
    EXPECT_EQ(notices, 3);
}

TEST_F(ControlsTest, ChangeHandlerWritingItsOwnBoxDoesNotRecurse) {
    TextBox box(form, "Text3");
    std::vector<std::string> shown;
    box.SetObserver([&](Prop prop) {
        if (prop == Prop::Text) shown.push_back(box.Text());
    });
    int runs = 0;
    // A range check that writes the box back, and one that would grow the text for ever.
    box.onChange = [&] {
        ++runs;
        if (box.Text() == "300") box.SetText("0");
    };
    box.SetText("300");
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(box.Text(), "0");
    EXPECT_EQ(shown, (std::vector<std::string>{"300", "0"}));  // the view still saw the correction

    runs = 0;
    box.onChange = [&] {
        ++runs;
        box.SetText(box.Text() + "x");
    };
    box.SetText("a");
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(box.Text(), "ax");
    box.SetText("b");  // the guard is released after the handler
    EXPECT_EQ(runs, 2);
}

TEST_F(ControlsTest, ChangeHandlerThatThrowsReleasesTheGuard) {
    TextBox box(form, "Text1");
    int runs = 0;
    box.onChange = [&] {
        ++runs;
        Raise(ErrOverflow);
    };
    EXPECT_THROW(box.SetText("1"), RuntimeError);
    EXPECT_THROW(box.SetText("2"), RuntimeError);
    EXPECT_EQ(runs, 2);
}

TEST_F(ControlsTest, SelectionStaysInsideTheText) {
    TextBox box(form, "Text8");
    box.SetText("比例尺12");
    box.SetSelStart(1);
    box.SetSelLength(2);
    EXPECT_EQ(box.SelText(), "例尺");
    box.SetSelStart(99);
    EXPECT_EQ(box.SelStart(), 5);
    box.SetSelLength(3);
    EXPECT_EQ(box.SelLength(), 0);
    box.SetSelStart(-4);
    EXPECT_EQ(box.SelStart(), 0);
}

TEST_F(ControlsTest, ComboChoosingRunsClickAndTypingRunsChange) {
    ComboBox combo(form, "Combo2");
    int clicks = 0, changes = 0;
    combo.onClick = [&] { ++clicks; };
    combo.onChange = [&] { ++changes; };
    combo.AddItem("10");
    combo.AddItem("12");
    combo.AddItem("8", 0);
    EXPECT_EQ(combo.List(0), "8");
    EXPECT_EQ(combo.List(7), "");

    combo.SetListIndex(2);
    EXPECT_EQ(combo.Text(), "12");
    combo.SetListIndex(2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 0);

    combo.SetText("10");  // a typed text that is an item chooses it, without a click
    EXPECT_EQ(combo.ListIndex(), 1);
    combo.SetText("11");
    EXPECT_EQ(combo.ListIndex(), -1);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(clicks, 1);

    combo.RemoveItem(0);
    EXPECT_EQ(combo.ListCount(), 2);
    EXPECT_EQ(ErrorNumberOf([&] { combo.RemoveItem(5); }), ErrInvalidCall);
    EXPECT_EQ(ErrorNumberOf([&] { combo.SetListIndex(2); }), 380);
    combo.Clear();
    EXPECT_EQ(combo.ListIndex(), -1);
}

TEST_F(ControlsTest, ListIndexFollowsInsertsAndRemovals) {
    ListBox list(form, "List1");
    for (const char* text : {"a", "b", "c"}) list.AddItem(text);
    list.SetListIndex(1);
    list.AddItem("z", 0);
    EXPECT_EQ(list.Text(), "b");
    list.RemoveItem(0);
    EXPECT_EQ(list.Text(), "b");
    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Text(), "");
}

TEST_F(ControlsTest, ImageComboRunsClickOnlyForTheUser) {
    ImageList swatches;
    swatches.AddSwatch(MakeRgb(255, 0, 0));
    ImageCombo combo(form, "ImageCombo1");
    combo.SetImageList(&swatches);
    int clicks = 0, changes = 0;
    combo.onClick = [&] { ++clicks; };
    combo.onChange = [&] { ++changes; };

    combo.AddItem(1, "k1", "层1", 1);
    combo.AddItem(2, "k2", "层2", 1);
    combo.AddItem(1, "k0", "层0", 1);
    combo.SetSelectedItem(3);
    combo.SetText("层1");
    combo.RemoveItem(1);
    combo.ClearItems();
    combo.AddItem(0, "k5", "层5");
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(combo.Text(), "层1");

    combo.AddItem(0, "k6", "层6");
    combo.UserChoose(2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(combo.Text(), "层6");
    EXPECT_EQ(combo.SelectedItem()->Key(), "k6");
    combo.UserType("层");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(ControlsTest, ImageComboItemsByIndexAndKey) {
    ImageCombo combo(form, "ImageCombo2");
    combo.AddItem(1, "k1", "红");
    combo.AddItem(2, "k2", "黄");
    combo.AddItem(1, "k9", "白");
    EXPECT_EQ(combo.Item("K2").Index(), 3);
    EXPECT_EQ(combo.Item(2).Text(), "红");
    EXPECT_EQ(ErrorNumberOf([&] { combo.AddItem(9, "k3", "x"); }), 35600);
    EXPECT_EQ(ErrorNumberOf([&] { combo.AddItem(0, "k1", "x"); }), 35602);
    EXPECT_EQ(ErrorNumberOf([&] { combo.Item("k7"); }), 35601);
    EXPECT_EQ(ErrorNumberOf([&] { combo.Item(0); }), 35600);
    combo.SetSelectedItem(2);
    combo.RemoveItem(2);
    EXPECT_EQ(combo.SelectedItem(), nullptr);
    EXPECT_EQ(combo.Item(2).Index(), 2);
}

TEST_F(ControlsTest, ControlArrayEventsCarryTheirIndex) {
    ControlArray<CommandButton> buttons(form, "Command3");
    buttons.LoadRange(0, 2);
    std::vector<int> pressed;
    buttons.Wire([&](CommandButton& button, int index) { button.onClick = [&pressed, index] { pressed.push_back(index); }; });
    buttons.Load(66);  // elements loaded later are wired too
    buttons(2).Click();
    buttons(66).Click();
    buttons[0].Click();
    EXPECT_EQ(pressed, (std::vector<int>{2, 66, 0}));
    EXPECT_EQ(buttons(66).Index(), 66);
    EXPECT_EQ(buttons(66).Name(), "Command3");
    EXPECT_EQ(buttons.LBound(), 0);
    EXPECT_EQ(buttons.UBound(), 66);
    EXPECT_EQ(ErrorNumberOf([&] { buttons(3); }), 340);
    EXPECT_EQ(ErrorNumberOf([&] { buttons.Load(2); }), 360);
    buttons.Unload(66);
    EXPECT_EQ(form.Controls().size(), 3u);
}

TEST_F(ControlsTest, OptionButtonsOfOneContainerExcludeEachOther) {
    Frame frame(form, "Frame1");
    OptionButton a(form, "Option1"), b(form, "Option2");
    OptionButton c(form, "Option3", &frame), d(form, "Option4", &frame);
    std::vector<std::string> clicked;
    for (OptionButton* option : {&a, &b, &c, &d}) option->onClick = [&clicked, option] { clicked.push_back(option->Name()); };

    a.SetValue(true);
    c.SetValue(true);
    b.Click();
    EXPECT_FALSE(a.Value());
    EXPECT_TRUE(b.Value());
    EXPECT_TRUE(c.Value());  // the frame's group is its own
    d.Click();
    EXPECT_FALSE(c.Value());
    b.SetValue(true);  // already on: nothing runs
    EXPECT_EQ(clicked, (std::vector<std::string>{"Option1", "Option3", "Option2", "Option4"}));
}

TEST_F(ControlsTest, CheckBoxValueAndClick) {
    CheckBox box(form, "Check1");
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.Click();
    EXPECT_EQ(box.Value(), Checked);
    box.SetValue(Grayed);
    box.Click();
    EXPECT_EQ(box.Value(), Checked);
    box.SetValue(Checked);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(ErrorNumberOf([&] { box.SetValue(3); }), 380);
}

TEST_F(ControlsTest, ScrollBarKeepsItsValueInsideAReversedRange) {
    ScrollBar bar(form, "HScroll1", false);
    int changes = 0, scrolls = 0;
    bar.onChange = [&] { ++changes; };
    bar.onScroll = [&] { ++scrolls; };
    bar.SetMax(-250);
    bar.SetMin(250);
    bar.SetValue(5);
    bar.SetValue(5);
    bar.SetValue(900);
    EXPECT_EQ(bar.Value(), 250);
    bar.SetValue(-900);
    EXPECT_EQ(bar.Value(), -250);
    EXPECT_EQ(changes, 3);
    bar.UserScroll(10);
    bar.UserScroll(20);
    bar.UserScrollEnd();
    bar.UserScrollEnd();
    EXPECT_EQ(scrolls, 2);
    EXPECT_EQ(changes, 4);
}

TEST_F(ControlsTest, ToolbarButtonsAndMenusByIndexAndKey) {
    Toolbar bar(form, "Toolbar1");
    bar.AddButton("打开", "打开", ButtonDropdown).AddMenu("新建", "新建");
    bar.Buttons(1).AddMenu("最近文件1", "1.");
    bar.AddButton("", "", ButtonSeparator);
    bar.AddButton("撤消", "撤消").SetEnabled(false);
    bar.AddButton("捕捉", "捕捉", ButtonCheck);
    std::vector<std::string> keys;
    bar.onButtonClick = [&](ToolbarButton& button) { keys.push_back(button.Key()); };
    bar.onButtonMenuClick = [&](ButtonMenu& menu) { keys.push_back(menu.Parent().Key() + "/" + menu.Key()); };

    bar.UserClickButton(1);
    bar.UserClickMenu(1, 2);
    bar.UserClickButton(2);  // separator
    bar.UserClickButton(3);  // disabled
    bar.UserClickButton(4);
    bar.Buttons("打开").ButtonMenus("新建").SetEnabled(false);
    bar.UserClickMenu(1, 1);
    bar.UserClickMenu(1, 9);
    EXPECT_EQ(keys, (std::vector<std::string>{"打开", "打开/最近文件1", "捕捉"}));
    EXPECT_EQ(bar.Buttons(4).Value(), 1);
    EXPECT_EQ(bar.Buttons("撤消").Index(), 3);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Buttons(0); }), 35600);
    EXPECT_EQ(ErrorNumberOf([&] { bar.Buttons("无"); }), 35601);

    int notices = 0;
    bar.SetObserver([&](Prop) { ++notices; });
    bar.Buttons(1).ButtonMenus(2).SetText("town\\a.jdx");
    bar.Buttons(3).SetEnabled(true);
    bar.Buttons(3).SetEnabled(true);
    EXPECT_EQ(notices, 2);
}

TEST_F(ControlsTest, TimerRunsWhileEnabledWithAnInterval) {
    TimerControl timer(form, "Timer2");
    int ticks = 0;
    timer.onTimer = [&] { ++ticks; };
    EXPECT_EQ(platform.manualTimers.FireAll(), 0);
    timer.SetInterval(50);
    EXPECT_TRUE(timer.Running());
    platform.manualTimers.FireAll();
    timer.SetEnabled(false);
    platform.manualTimers.FireAll();
    timer.SetEnabled(true);
    timer.SetInterval(0);
    platform.manualTimers.FireAll();
    EXPECT_EQ(ticks, 1);
}

TEST_F(ControlsTest, PictureBoxSurfaceFollowsItsSizeAndReportsUserCoordinates) {
    PictureBox picture(form, "Picture1");
    int resizes = 0;
    picture.onResize = [&] { ++resizes; };
    picture.Move(0, 0, 1500, 3000);  // 15 twips per pixel
    EXPECT_EQ(picture.surface().PixelWidth(), 100);
    EXPECT_EQ(picture.surface().PixelHeight(), 200);
    picture.SetScale(0, 1000, 1500, -1000);
    picture.SetLeft(30);  // moving does not resize
    EXPECT_EQ(resizes, 1);

    double x = 0, y = 0;
    int button = 0, shift = 0;
    picture.onMouseUp = [&](int b, int s, double px, double py) { button = b, shift = s, x = px, y = py; };
    picture.UserMouseUp(RightButton, CtrlMask, 50, 100);
    EXPECT_EQ(button, RightButton);
    EXPECT_EQ(shift, CtrlMask);
    EXPECT_DOUBLE_EQ(x, 750);
    EXPECT_DOUBLE_EQ(y, 500);

    picture.SetBackColor(MakeRgb(0, 0, 0));
    EXPECT_EQ(picture.surface().BackColor(), MakeRgb(0, 0, 0));
    picture.Move(0, 0, 0, -5);  // an impossible size still leaves a surface
    EXPECT_GE(picture.surface().PixelWidth(), 1);
}

TEST_F(ControlsTest, ObserverHearsRealChangesOnly) {
    Label label(form, "Label6");
    std::vector<Prop> heard;
    label.SetObserver([&](Prop prop) { heard.push_back(prop); });
    label.SetCaption("比例尺");
    label.SetCaption("比例尺");
    label.SetBackColor(MakeRgb(0, 0, 255));
    label.SetBackColor(MakeRgb(0, 0, 255));
    label.Move(10, 20, 30, 40);
    label.Move(10, 20, 30, 40);
    label.SetEnabled(false);
    label.SetVisible(false);
    label.SetToolTipText("状态");
    EXPECT_EQ(heard, (std::vector<Prop>{Prop::Text, Prop::Color, Prop::Geometry, Prop::Enabled, Prop::Visible,
                                        Prop::ToolTipText}));
}

struct ClosingForm : FormModel {
    explicit ClosingForm(Platform& platform) : FormModel(platform, "ClosingForm") {}
    void Form_Load() override { ++loads; }
    void Form_QueryUnload(int& cancel, int& mode) override {
        modes.push_back(mode);
        cancel = refuse ? 1 : 0;
    }
    void Form_Unload(int&) override { ++unloads; }
    int loads = 0, unloads = 0;
    bool refuse = true;
    std::vector<int> modes;
};

TEST_F(ControlsTest, FormLoadsOnceAndQueryUnloadCanCancel) {
    ClosingForm dialog(platform);
    Frame frame(dialog, "Frame1");
    CommandButton ok(dialog, "Command1", &frame);
    dialog.Show(true);  // no view: a modal show returns at once
    dialog.Show();
    EXPECT_EQ(dialog.loads, 1);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_FALSE(dialog.Unload(UnloadFromControlMenu));
    EXPECT_TRUE(dialog.Loaded());
    dialog.refuse = false;
    EXPECT_TRUE(dialog.Unload());
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(dialog.unloads, 1);
    EXPECT_EQ(dialog.modes, (std::vector<int>{UnloadFromControlMenu, UnloadFromCode}));
    dialog.Load();
    EXPECT_EQ(dialog.loads, 2);

    ASSERT_EQ(dialog.Controls().size(), 2u);
    EXPECT_EQ(dialog.Controls()[1], &ok);
    EXPECT_EQ(ok.Container(), &frame);
    EXPECT_EQ(dialog.FindControl("Frame1"), &frame);
}

TEST_F(ControlsTest, MenuEntriesFormSubMenus) {
    Menu file(form, "mnuFile", "文件");
    Menu exit(form, "mnuExit", "退出", &file);
    int clicks = 0;
    exit.onClick = [&] { ++clicks; };
    exit.Click();
    exit.SetChecked(true);
    EXPECT_EQ(exit.ParentMenu(), &file);
    EXPECT_EQ(file.ParentMenu(), nullptr);
    EXPECT_TRUE(exit.Checked());
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace movra
