#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "App.h"
#include "document/RecordTypes.h"
#include "support/TestApp.h"
#include "survey/PhotoOrientation.h"
#include "survey/xpdxFrm.h"

namespace movra {
namespace {

// An image record on layer 1, slot 1: anchor (100, 200), 50 wide, 40 high.
struct PhotoDialog : ::testing::Test {
    PhotoDialog() {
        t.form1.Load();
        t.app.view.ScaleFactor = 0.5;
        t.form1.Picture1.SetScale(0, 300, 400, -300);
        t.app.store.LayerOnFlag[1] = -1;
        MapRecord& r = t.app.store.At(1, 1);
        r.RecordType = TypeImage;
        r.RecordX1 = 100;
        r.RecordY1 = 200;
        r.RecordX2 = 50;
        r.RecordY2 = -40;
        // A picture file that is there, so that the redraw after orienting finds it.
        photoPath = (t.workFolder.Path() / "航片07.jpg").string();
        std::ofstream(photoPath) << "jpg";
        t.platform.pictures.files[photoPath] = Picture{2, 2, {0, 0, 0, 0}};
        t.app.store.PutText(r.RecordText, photoPath);
        t.app.store.Count(1) = 2;
        ShowPhotoOrientationWindow(t.app);
        d = t.app.photoDialog.get();
    }
    const MapRecord& Image() const { return t.app.store.Get(1, 1); }
    // Pricks corner k at (x, y) on the image, as the canvas tool does.
    void Prick(int k, double x, double y) {
        d->Command1(k).Click();
        t.form1.Picture1.MouseDown(LeftButton, 0, x, y);
        t.form1.Picture1.MouseUp(LeftButton, 0, x, y);
    }
    void Type(const std::string& xa, const std::string& ya, const std::string& xb, const std::string& yb) {
        d->Text1(0).SetText(xa);
        d->Text1(1).SetText(ya);
        d->Text1(2).SetText(xb);
        d->Text1(3).SetText(yb);
    }
    std::string Orient() {
        t.platform.promptScript.questions.clear();
        d->Command2.Click();
        return t.platform.promptScript.LastText();
    }
    TestApp t;
    std::string photoPath;
    xpdxFrm* d = nullptr;
};

TEST_F(PhotoDialog, TwoCornersPutThePhotoOnTheTypedCoordinates) {
    EXPECT_EQ(d->Caption(), "相片定向");
    EXPECT_EQ(d->Command1(1).Caption(), "右下刺点");
    EXPECT_EQ(d->Command1(3).Caption(), "左下刺点");
    EXPECT_EQ(d->Text1(7).Text(), "y4");

    // A corner button arms the pick with snapping off and hides the dialog.
    t.app.tool.SnapOn = -1;
    d->Command1(1).Click();
    EXPECT_EQ(t.app.tool.CommandMode, ModeControlPoint);
    EXPECT_EQ(t.app.tool.SnapOn, 0);
    EXPECT_EQ(t.form1.Label3.Caption(), "不捕捉");
    EXPECT_EQ(t.form1.Label3.BackColor(), t.app.tables.ColorPalette[8]);
    EXPECT_FALSE(d->Visible());
    // Off every image: the message, and the tool stays armed.
    t.form1.Picture1.MouseDown(LeftButton, 0, 5, 5);
    EXPECT_EQ(t.platform.promptScript.LastText(), "刺点失败！");
    EXPECT_EQ(t.app.tool.CommandMode, ModeControlPoint);
    EXPECT_EQ(d->photo.ImageRecordLayer, 0);

    Prick(0, 110, 190);
    EXPECT_EQ(t.app.tool.CommandMode, ModeIdle);
    EXPECT_TRUE(d->Visible());
    EXPECT_EQ(d->Label1.Caption(), "相片名：" + photoPath);
    Prick(1, 140, 170);
    EXPECT_EQ(d->photo.PhotoCornerPicks[3], 140);
    EXPECT_EQ(d->photo.PhotoCornerPicks[4], 170);
    // Heights and the other two corners take no part.
    d->Text2(0).SetText("99");
    Prick(2, 130, 185);
    Type("1000", "2000", "1300", "1800");
    EXPECT_EQ(Orient(), "");
    EXPECT_DOUBLE_EQ(Image().RecordX2, 500);
    EXPECT_DOUBLE_EQ(Image().RecordY2, -400);
    EXPECT_DOUBLE_EQ(Image().RecordX1, 900);
    EXPECT_DOUBLE_EQ(Image().RecordY1, 2100);
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);
    // The picked points now lie on the typed ones (map point = anchor + picture fraction × size).
    const double u0 = (110 - 100) / 50.0, v0 = (190 - 200) / -40.0;
    EXPECT_DOUBLE_EQ(Image().RecordX1 + u0 * Image().RecordX2, 1000);
    EXPECT_DOUBLE_EQ(Image().RecordY1 + v0 * Image().RecordY2, 2000);
    EXPECT_DOUBLE_EQ(t.form1.Picture1.ScaleLeft(), 900 - 20 * 0.5);
    EXPECT_DOUBLE_EQ(t.form1.Picture1.ScaleTop(), 2100 + 20 * 0.5);
    EXPECT_TRUE(d->Visible());

    // Reopened, the old picks still count and apply again to the record as it is now.
    d->Command3.Click();
    EXPECT_FALSE(d->Loaded());
    ShowPhotoOrientationWindow(t.app);
    Type("1000", "2000", "1300", "1800");
    EXPECT_EQ(Orient(), "");
    EXPECT_DOUBLE_EQ(Image().RecordX2, 300 * 500 / 30.0);
}

TEST_F(PhotoDialog, WhatIsRefusedLeavesTheRecord) {
    // Never pricked: the picks share their X and Y.
    Type("1000", "2000", "1300", "1800");
    EXPECT_EQ(Orient(), "刺点可能有误,请复查！");
    Prick(0, 110, 190);
    Prick(1, 140, 170);
    struct Case {
        const char* xa;
        const char* ya;
        const char* xb;
        const char* yb;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"x1", "2000", "1300", "1800", "定向坐标不能为零！"},
        {"1000", "2000", "1300", "0", "定向坐标不能为零！"},
        {"1300", "2000", "1000", "1800", "刺点可能有误,请复查！(也禁止180度反向)"},
        {"1000", "1800", "1300", "2000", "刺点可能有误,请复查！(也禁止180度反向)"},
        {"1000", "2000", "1000", "1800", "刺点可能有误,请复查！(也禁止180度反向)"},
        // 30 wide between the picks, 50 wide in all: 15,000.006 across the picks is 25,000.01.
        {"1000", "2000", "16000.006", "1800", "刺点可能有误,请复查！"},
        // A corner far beyond the storable range.
        {"1e40", "2000", "1e40", "1800", "刺点可能有误,请复查！"},
    };
    for (const Case& c : cases) {
        Type(c.xa, c.ya, c.xb, c.yb);
        EXPECT_EQ(Orient(), c.message) << c.xa << " " << c.xb;
        EXPECT_EQ(Image().RecordX1, 100);
        EXPECT_EQ(Image().RecordX2, 50);
        EXPECT_EQ(Image().RecordY2, -40);
    }
    // Exactly 25,000 wide is accepted.
    Type("1000", "2000", "16000", "1800");
    EXPECT_EQ(Orient(), "");
    EXPECT_DOUBLE_EQ(Image().RecordX2, 25000);

    // The record pricked is gone (deleted): nothing is written into what is there now.
    MapRecord& r = t.app.store.At(1, 1);
    r.RecordType = TypeImage + 100;
    Type("1000", "2000", "1300", "1800");
    EXPECT_EQ(Orient(), "刺点失败！");
    EXPECT_DOUBLE_EQ(Image().RecordX2, 25000);
}

TEST(PhotoFitTest, WidthBoundIsInclusive) {
    const ImageFrame frame{100, 200, 50, -40};
    EXPECT_EQ(FitPhotoToCorners(frame, 100, 200, 150, 160, 0, 0, 25000, -100).refusal, "");
    EXPECT_EQ(FitPhotoToCorners(frame, 100, 200, 150, 160, 0, 0, 25000.01, -100).refusal, "刺点可能有误,请复查！");
}

}  // namespace
}  // namespace movra
