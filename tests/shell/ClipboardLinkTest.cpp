#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "App.h"
#include "exchange/wbxxFrm.h"
#include "platform/fake/RecordingSurface.h"
#include "shell/ClipboardLink.h"
#include "shell/MainToolbar.h"
#include "support/TestApp.h"

namespace movra {
namespace {

constexpr Rgb Red = MakeRgb(255, 0, 0);
constexpr Rgb Yellow = MakeRgb(255, 255, 0);
constexpr Rgb Blue = MakeRgb(0, 0, 255);

class ClipboardLink : public ::testing::Test {
protected:
    ClipboardLink() {
        t.form1.Load();
        t.app.current.CurrentColor = MakeRgb(10, 200, 30);
        t.app.current.CurrentPen = 9;
    }

    // The menu command, a layout chosen from the list (none for -1), and OK.
    void StartLink(int layoutItem) {
        RunToolbarKey(t.app, "启动超级链");
        ASSERT_TRUE(t.app.linkDialog && t.app.linkDialog->Loaded());
        if (layoutItem >= 0) t.app.linkDialog->List2.SetListIndex(layoutItem);
        t.app.linkDialog->Command1.Click();
    }
    void StartLink(const std::string& layout) {
        StartLink(-1);
        link().ClipboardLinkFormat = layout;
    }
    // Puts a text on the clipboard and lets the link poll `polls` times through its timer.
    void Poll(const std::string& text, int polls = 1) {
        t.platform.memoryClipboard.SetText(text);
        for (int k = 0; k < polls; ++k) ASSERT_EQ(t.platform.manualTimers.FireAll(), 1);
    }
    ClipboardLinkState& link() { return t.form1.link; }
    int Points() const { return t.app.store.Count(1); }
    const MapRecord& Point(int slot) const { return t.app.store.Get(1, slot); }

    TestApp t;
};

TEST_F(ClipboardLink, APointIsTakenOnceTheClipboardStaysForOnePoll) {
    StartLink(11);  // "idxyz"
    ASSERT_EQ(link().ClipboardLinkFormat, "idxyz");
    EXPECT_EQ(t.form1.Timer1.Interval(), 1000);
    std::vector<Rgb> lamp;
    t.form1.Label6.SetObserver([&](Prop prop) {
        if (prop == Prop::Color) lamp.push_back(t.form1.Label6.BackColor());
    });

    Poll("6,2355.22,3232.31,5.23'");
    EXPECT_EQ(Points(), 0);
    EXPECT_EQ(lamp, (std::vector<Rgb>{Red, Yellow, Blue}));
    Poll("6,2355.22,3232.31,5.23'", 3);
    ASSERT_EQ(Points(), 1);
    const MapRecord& r = Point(0);
    EXPECT_EQ(r.RecordType, 46);
    EXPECT_DOUBLE_EQ(r.RecordX1, 2355.22);
    EXPECT_DOUBLE_EQ(r.RecordY1, 3232.31);
    EXPECT_FLOAT_EQ(r.RecordZ1, 5.23f);
    EXPECT_EQ(std::string(r.RecordText), "0");
    EXPECT_EQ(r.RecordColor, t.app.current.CurrentColor);
    EXPECT_EQ(r.RecordPen, 9);
    EXPECT_EQ(t.form1.Label6.BackColor(), Blue);
    EXPECT_TRUE(t.form1.Timer1.Running());
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);

    // The same text copied again is not new; after another text it is.
    Poll("6,2355.22,3232.31,5.23'", 2);
    EXPECT_EQ(Points(), 1);
    Poll("7,1,2,3'", 2);
    Poll("6,2355.22,3232.31,5.23'", 2);
    EXPECT_EQ(Points(), 3);
}

TEST_F(ClipboardLink, ATextWithoutItsFinalSeparatorIsNeverTaken) {
    StartLink("x,y,z");
    Poll("1,2,3'4,5,6", 4);
    EXPECT_EQ(Points(), 0);
    EXPECT_TRUE(link().LastLinkText.empty());
    EXPECT_TRUE(link().LinkBuffer.empty());
}

TEST_F(ClipboardLink, TextsFasterThanThePollAreStoredTogetherInOrder) {
    StartLink("x,y,z");
    Poll("10,20,1'");
    Poll("30,40,2'");
    EXPECT_EQ(Points(), 0);
    Poll("30,40,2'");
    ASSERT_EQ(Points(), 2);
    EXPECT_DOUBLE_EQ(Point(0).RecordX1, 10);
    EXPECT_DOUBLE_EQ(Point(1).RecordX1, 30);
    EXPECT_EQ(std::string(Point(0).RecordText), "");
}

// One batch under a layout: how many points it stores, and the first one's X, Y, Z and text.
struct BatchCase {
    const char* layout;
    const char* text;
    int points;
    double x, y, z;
    const char* name;
};

TEST_F(ClipboardLink, RecordsAreReadByTheirLayout) {
    const BatchCase cases[] = {
        {"x,y,z", "gs:XYZ'1,2,3'", 1, 1, 2, 3, ""},
        {"", "GS: Yxz '1,2,3'", 1, 2, 1, 3, ""},
        {"", " gs:xyz'1,2,3'", 0, 0, 0, 0, ""},
        {"", "\r\ngs:xyz'1,2,3'", 0, 0, 0, 0, ""},
        {"Id,y,x,z", "9,100,200,3'", 1, 200, 100, 3, "0"},
        {"1,4,3,5", "9,100,200,3'", 1, 100, 200, 3, "0"},
        {"myxz", "K1,100,200,3'", 1, 200, 100, 3, "K1"},
        {"m,x,y,z", " K 1 ,100,200,3'", 1, 100, 200, 3, " K 1 "},
        {"3,4,5", "100,200,3'", 1, 200, 100, 3, ""},
        // Layouts beyond the table read their columns by the legend.
        {"1,2,3,4,5,6,7", "5,P5,300,200,10,7,note'", 1, 200, 300, 10, "P5"},
        {"2,3,4,5,6", "P6,300,200,10,7'", 1, 200, 300, 10, "P6"},
        {"2,3,4,5,6", "P6,300,200'", 0, 0, 0, 0, ""},
        {"999", "1,2,3'", 0, 0, 0, 0, ""},
        // 2 and 9 fields store nothing; 6 under x,y,z store the first three.
        {"x,y,z", "1,2'", 0, 0, 0, 0, ""},
        {"x,y,z", "1,2,3,4,5,6,7,8,9'", 0, 0, 0, 0, ""},
        {"x,y,z", "1,2,3,4,5,6'", 1, 1, 2, 3, ""},
        // A bad number skips its record only; white space around a number does not matter.
        {"x,y,z", "a,2,3'4,5,6'", 1, 4, 5, 6, ""},
        {"x,y,z", "1,,3'", 0, 0, 0, 0, ""},
        {"x,y,z", "1,2,1e60'", 0, 0, 0, 0, ""},
        // A coordinate the store cannot hold skips its record as a bad number does.
        {"x,y,z", "1e40,2,3'4,5,6'", 1, 4, 5, 6, ""},
        {"x,y,z", "1,-2e9,3'", 0, 0, 0, 0, ""},
        {"x,y,z", " 1\t, 2 ,3 '", 1, 1, 2, 3, ""},
        // Records without a field separator, empty ones among them, are passed over.
        {"x,y,z", "''abc'1,2,3'", 1, 1, 2, 3, ""},
    };
    for (const BatchCase& c : cases) {
        TestApp run;
        run.form1.Load();
        run.form1.link.ClipboardLinkFormat = c.layout;
        ReceiveLinkText(run.app, c.text);
        ReceiveLinkText(run.app, c.text);
        ASSERT_EQ(run.app.store.Count(1), c.points) << c.layout << " " << c.text;
        if (c.points == 0) continue;
        const MapRecord& r = run.app.store.Get(1, 0);
        EXPECT_DOUBLE_EQ(r.RecordX1, c.x) << c.text;
        EXPECT_DOUBLE_EQ(r.RecordY1, c.y) << c.text;
        EXPECT_FLOAT_EQ(r.RecordZ1, static_cast<float>(c.z)) << c.text;
        EXPECT_EQ(std::string(r.RecordText), c.name) << c.text;
    }
}

TEST_F(ClipboardLink, TheLayoutRecordStaysForLaterTexts) {
    StartLink("idxyz");
    Poll("gs:xyz'", 2);
    EXPECT_EQ(link().ClipboardLinkFormat, "xyz");
    Poll("5,6,7'", 2);
    ASSERT_EQ(Points(), 1);
    EXPECT_DOUBLE_EQ(Point(0).RecordX1, 5);
}

TEST_F(ClipboardLink, SwappedColumnsGiveTheSamePoint) {
    StartLink("y,x,z");
    Poll("3232.31,2355.22,5'", 2);
    link().ClipboardLinkFormat = "x,y,z";
    Poll("2355.22,3232.31,5'", 2);
    ASSERT_EQ(Points(), 2);
    EXPECT_EQ(Point(0).RecordX1, Point(1).RecordX1);
    EXPECT_EQ(Point(0).RecordY1, Point(1).RecordY1);
}

TEST_F(ClipboardLink, NamesOfAMultiLineTextKeepTheirLineBreakAndBlanks) {
    StartLink("m,x,y,z");
    Poll("A,1,2,3'\r\nB,4,5,6'\r\n C ,7,8,9'", 2);
    ASSERT_EQ(Points(), 3);
    EXPECT_EQ(std::string(Point(0).RecordText), "A");
    EXPECT_EQ(std::string(Point(1).RecordText), "\r\nB");
    EXPECT_EQ(std::string(Point(2).RecordText), "\r\n C ");
    EXPECT_DOUBLE_EQ(Point(2).RecordX1, 7);
}

TEST_F(ClipboardLink, NothingOrZeroOnTheClipboardKeepsTheLampRed) {
    StartLink("x,y,z");
    for (const char* text : {"", "0"}) {
        Poll(text, 2);
        EXPECT_EQ(t.form1.Label6.BackColor(), Red) << text;
        EXPECT_TRUE(link().LastLinkText.empty());
        EXPECT_TRUE(t.form1.Timer1.Running());
    }
    EXPECT_EQ(Points(), 0);
}

TEST_F(ClipboardLink, OkWithoutALayoutStoresNothingUntilALayoutRecord) {
    StartLink(-1);
    EXPECT_EQ(link().ClipboardLinkFormat, "");
    EXPECT_EQ(t.app.settings.ClipboardLinkIdle, 0);
    Poll("1,2,3'", 2);
    EXPECT_EQ(Points(), 0);
    Poll("GS:xyz'1,2,3'", 2);
    EXPECT_EQ(Points(), 1);
}

TEST_F(ClipboardLink, TheViewFollowsThePointAndABatchRedrawsOnce) {
    PictureBox& canvas = t.form1.Picture1;
    auto& surface = dynamic_cast<RecordingSurface&>(canvas.surface());
    const double left = canvas.ScaleLeft(), top = canvas.ScaleTop();
    const double width = canvas.ScaleWidth(), height = canvas.ScaleHeight();
    ASSERT_LT(height, 0);
    const auto clears = [&] { return surface.PrimitivesOf(SurfacePrimitive::Kind::Clear).size(); };

    // Inside: nothing moves, but the map is drawn again.
    t.form1.link.ClipboardLinkFormat = "x,y,z";
    const size_t before = clears();
    ParsePointRecord(t.app, std::to_string(left + width / 2) + "," + std::to_string(top + height / 2) + ",1");
    ASSERT_EQ(Points(), 1);
    EXPECT_EQ(canvas.ScaleLeft(), left);
    EXPECT_EQ(canvas.ScaleTop(), top);
    EXPECT_GT(clears(), before);

    // Left of the view and above it: a quarter inside the left and the top edge.
    const double x = left - 3 * width, y = top - height;
    ParsePointRecord(t.app, std::to_string(x) + "," + std::to_string(y) + ",1");
    EXPECT_NEAR(canvas.ScaleLeft(), x - width / 4, 1e-6);
    EXPECT_NEAR(canvas.ScaleTop(), y - height / 4, 1e-6);
    // Right of it and below: a quarter inside the right and the bottom edge.
    const double x2 = canvas.ScaleLeft() + 5 * width, y2 = canvas.ScaleTop() + 5 * height;
    ParsePointRecord(t.app, std::to_string(x2) + "," + std::to_string(y2) + ",1");
    EXPECT_NEAR(canvas.ScaleLeft() + width - x2, width / 4, 1e-6);
    EXPECT_NEAR(canvas.ScaleTop() + height - y2, height / 4, 1e-6);
    EXPECT_EQ(canvas.ScaleWidth(), width);

    // A batch is drawn once, after its last point; the view follows every point in turn: the
    // second point lies in the view the first one moved to, so the view stays there.
    const size_t one = (clears() - before) / 3;  // three points drawn above, one redraw each
    const size_t beforeBatch = clears();
    const double x3 = canvas.ScaleLeft() - 2 * width, x4 = x3 + width / 8;
    const std::string middle = std::to_string(canvas.ScaleTop() + height / 2);
    const std::string batch = std::to_string(x3) + "," + middle + ",1'" + std::to_string(x4) + "," + middle + ",1'";
    ReceiveLinkText(t.app, batch);
    ReceiveLinkText(t.app, batch);
    EXPECT_EQ(Points(), 5);
    EXPECT_EQ(clears() - beforeBatch, one);
    EXPECT_NEAR(canvas.ScaleLeft(), x3 - width / 4, 1e-6);
}

TEST_F(ClipboardLink, AFullLayerGrows) {
    t.form1.link.ClipboardLinkFormat = "x,y,z";
    t.app.store.Count(1) = t.app.store.LayerCapacity - 1;
    const int capacity = t.app.store.LayerCapacity;
    ParsePointRecord(t.app, "1,2,3");
    EXPECT_EQ(Points(), capacity);
    EXPECT_GT(t.app.store.LayerCapacity, capacity);
    EXPECT_EQ(Point(capacity - 1).RecordType, 46);
}

TEST_F(ClipboardLink, BadClipboardTextsStoreNothingWrong) {
    StartLink("x,y,z");
    std::mt19937 random(51);
    std::vector<std::string> texts;
    for (int k = 0; k < 40; ++k) {
        std::string bytes(static_cast<size_t>(random() % 400), '\0');
        for (char& c : bytes) c = static_cast<char>(random() % 256);
        texts.push_back(bytes + "'");
    }
    // Separators and digits in plenty, invalid UTF-8 and GBK lead bytes without their trail.
    std::string many;
    for (int k = 0; k < 20000; ++k) many += k % 7 == 0 ? "'" : (k % 3 == 0 ? "," : std::to_string(k % 10));
    texts.push_back(many + "'");
    texts.push_back(std::string(1 << 20, 'x') + ",1,2'");
    texts.push_back("\xb5\xe3,\xff\xfe,1'\x81,2,3,4'");
    texts.push_back("1,2,\xb5'");
    for (const std::string& text : texts) Poll(text, 2);
    EXPECT_TRUE(t.form1.Timer1.Running());
    for (int s = 0; s < Points(); ++s) {
        const MapRecord& r = Point(s);
        EXPECT_EQ(r.RecordType, 46);
        EXPECT_TRUE(std::isfinite(r.RecordX1) && std::isfinite(r.RecordY1) && std::isfinite(r.RecordZ1));
    }
}

}  // namespace
}  // namespace movra
