// The desktop tests run on a real X screen under a window manager (run-under-openbox); without one
// they fail, since what they check is what only a window manager decides.
#include <QApplication>
#include <QProcess>
#include <cstdio>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        std::fprintf(stderr, "desktop tests: an X screen is needed (run them through run-under-openbox)\n");
        return 1;
    }
    QProcess check;
    check.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
    if (!check.waitForFinished(5000) || !check.readAllStandardOutput().contains("window id")) {
        std::fprintf(stderr, "desktop tests: no window manager runs on this screen\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
