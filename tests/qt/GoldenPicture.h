#pragma once
// Comparing a drawn picture with the one kept in tests/fixtures/golden/. MOVRA_UPDATE_GOLDEN=1
// writes the picture instead, to be looked at and kept; a missing kept picture fails.
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "LookAt.h"

namespace movra {

// The number of pixels in which two pictures differ; every pixel when their sizes differ.
inline int DifferentPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// The number of pixels within `area` (clipped to the picture) whose colour matches.
inline int CountPixels(const QImage& image, QRect area, const std::function<bool(QRgb)>& match) {
    const QRect inside = area.intersected(image.rect());
    int count = 0;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) count += match(image.pixel(x, y));
    return count;
}

// A pixel differs when one of its channels is more than `channelTolerance` away; at most
// `allowedFraction` of the pixels may differ. On failure the picture is kept in the pictures folder
// (LookAt.h).
inline void ExpectMatchesGolden(const QImage& drawn, const std::string& name, int channelTolerance,
                                double allowedFraction) {
    const QImage image = drawn.convertToFormat(QImage::Format_RGB32);
    const std::string path = std::string(MOVRA_TEST_SOURCE_DIR) + "/tests/fixtures/golden/" + name + ".png";
    const char* update = std::getenv("MOVRA_UPDATE_GOLDEN");
    if (update && std::string(update) == "1") {
        ASSERT_TRUE(image.save(QString::fromStdString(path)));
        return;
    }
    QImage expected(QString::fromStdString(path));
    const std::string actual = LookAtPath("movra-golden-" + name + "-actual.png");
    if (expected.isNull()) {
        image.save(QString::fromStdString(actual));
        FAIL() << "no kept picture " << path << "; the drawn one is " << actual
               << " (MOVRA_UPDATE_GOLDEN=1 keeps it, after a look)";
    }
    expected = expected.convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(expected.size(), image.size()) << name;
    long differing = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = expected.pixel(x, y);
            if (std::abs(qRed(a) - qRed(b)) > channelTolerance || std::abs(qGreen(a) - qGreen(b)) > channelTolerance ||
                std::abs(qBlue(a) - qBlue(b)) > channelTolerance)
                ++differing;
        }
    }
    const long allowed = static_cast<long>(allowedFraction * image.width() * image.height());
    if (differing > allowed) image.save(QString::fromStdString(actual));
    EXPECT_LE(differing, allowed) << name << ": see " << actual;
}

}  // namespace movra
