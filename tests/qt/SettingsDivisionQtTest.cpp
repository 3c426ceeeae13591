// The settings window opened by the toolbar's "设置" button leads to the sheet division window
// through its label "进行标准分幅": with a map, the symbol standard loaded by the window's own switch
// and the grid box ticked, and only after a Yes to the real question box. The division window is kept as a picture in the folder MOVRA_TEST_PICTURES names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <filesystem>
#include <string>
#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "sheets/gzfenfufrm.h"
#include "shell/stForm1.h"
#include "shell/szForm3.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct Question {
    std::string title, text;
};

TEST(SettingsDivisionQt, TheStandardDivisionLabelOpensTheDivisionWindowAfterAYes) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    std::filesystem::copy_file(std::filesystem::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus", program.Path() / "电子图式.tus");
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;

    // Every message box is noted and answered Yes (or OK, where it has no Yes).
    std::vector<Question> asked;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->buttons().empty()) return;
        asked.push_back({box->windowTitle().toStdString(), box->text().toStdString()});
        QAbstractButton* press = box->buttons().front();
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QMessageBox::YesRole) press = b;
        press->click();
    });
    answerer.start(20);

    app.store.At(1, 0).RecordType = 2;
    app.store.Count(1) = 1;

    QToolButton* settingsButton = nullptr;
    for (auto* b : run.binder.WidgetOf(run.form1.Toolbar1)->findChildren<QToolButton*>())
        if (b->text() == "设置") settingsButton = b;
    ASSERT_NE(settingsButton, nullptr);
    settingsButton->click();
    QApplication::processEvents();
    szForm3& settings = run.form1.SettingsWindow();
    QWidget* settingsWindow = run.binder.WindowOf(settings);
    ASSERT_TRUE(settingsWindow && settingsWindow->isVisible());
    auto* grid = BoundWidget<QCheckBox>(run, settings.Check1);
    auto* standard = BoundWidget<QLabel>(run, settings.Label18);
    auto* symbolSwitch = BoundWidget<QPushButton>(run, settings.Command2);
    ASSERT_TRUE(grid && standard && symbolSwitch);
    EXPECT_EQ(standard->text().toStdString(), "进行标准分幅");
    ASSERT_TRUE(standard->isEnabled());  // the map holds a record
    const QPoint onLabel = standard->rect().center();

    // The symbol standard loaded by the window's own switch.
    symbolSwitch->click();
    ASSERT_EQ(app.symbolStandard.SymbolStandardLoaded, -1);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].title, "加载图式");
    EXPECT_EQ(asked[1].text, "已加载图式。");
    asked.clear();

    // The grid not shown: the label asks nothing.
    if (grid->isChecked()) grid->click();
    ClickOn(standard, onLabel);
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(settingsWindow->isVisible());
    EXPECT_EQ(app.sheetDivisionWindow, nullptr);

    grid->click();
    ASSERT_EQ(settings.Check1.Value(), Checked);
    ClickOn(standard, onLabel);
    answerer.stop();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "标准分幅");
    EXPECT_EQ(asked[0].text, "要进行图幅标准分幅吗？,确已掌握分幅方法了吗");
    ASSERT_NE(app.sheetDivisionWindow, nullptr);
    gzfenfufrm& division = *app.sheetDivisionWindow;
    QWidget* divisionWindow = run.binder.WindowOf(division);
    ASSERT_NE(divisionWindow, nullptr);
    EXPECT_TRUE(WaitFor([&] { return divisionWindow->isVisible(); }));
    EXPECT_FALSE(divisionWindow->isModal());
    EXPECT_EQ(divisionWindow->windowTitle().toStdString(), "gzfenfufrm");
    auto* start = BoundWidget<QPushButton>(run, division.Command3);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->text().toStdString(), "开始分幅");
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(settings.Loaded());
    EXPECT_EQ(run.binder.WindowOf(settings), nullptr);
    SaveTestPicture(divisionWindow->grab().toImage(), "settings-standard-division.png");
    division.Unload();
    QApplication::processEvents();
}

}  // namespace
}  // namespace movra
