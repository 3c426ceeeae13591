#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QWidget>
#include <cstdlib>

#include "App.h"
#include "document/csForm2.h"
#include "app/MainProgram.h"
#include "support/TestApp.h"
#include "TemporaryDataHome.h"

namespace movra {
namespace {

struct LayerManagerQtTest : ::testing::Test {
    // The desktop registration at start-up writes below the user's data folder: a temporary one.
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
};

TEST_F(LayerManagerQtTest, OpensModelessAndItsLayerButtonSwitchesALayerOff) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;

    OpenLayerManager(app);
    QApplication::processEvents();
    ASSERT_TRUE(app.form2);
    csForm2& layers = *app.form2;
    QWidget* window = run.binder.WindowOf(layers);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "图层操作");
    if (const char* folder = std::getenv("MOVRA_TEST_PICTURES"); folder && *folder)
        window->grab().save(QString::fromLocal8Bit(folder) + "/layer-manager.png");

    // The main window stays usable: the dialog is not modal.
    EXPECT_FALSE(window->isModal());
    const int layer = 1;
    ASSERT_TRUE(layers.Command3.Exists(layer));
    auto* button = qobject_cast<QPushButton*>(run.binder.WidgetOf(layers.Command3[layer]));
    ASSERT_NE(button, nullptr);
    ASSERT_EQ(app.store.LayerOnFlag[layer], -1);
    // The layer buttons start disabled; "全层开" turns every layer on and enables its button.
    EXPECT_FALSE(button->isEnabled());
    layers.Label4.Click();
    QApplication::processEvents();
    ASSERT_TRUE(button->isEnabled());
    button->click();
    QApplication::processEvents();
    EXPECT_EQ(app.store.LayerOnFlag[layer], 0);
    EXPECT_EQ(layers.Command3[layer].BackColor(), MakeRgb(128, 128, 128));
}

}  // namespace
}  // namespace movra
