#pragma once
// The fake platform, but with canvases that draw pixels: for the picture tests and the benchmarks.
#include <memory>

#include "platform/fake/FakePlatform.h"
#include "platform/qt/QtSurface.h"

namespace movra {

class QtCanvasPlatform : public FakePlatform {
public:
    using FakePlatform::FakePlatform;
    std::unique_ptr<Surface> CreateSurface(int pixelWidth, int pixelHeight) override {
        return std::make_unique<QtSurface>(pixelWidth, pixelHeight);
    }
};

}  // namespace movra
