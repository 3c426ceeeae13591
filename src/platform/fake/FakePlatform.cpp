#include "platform/fake/FakePlatform.h"

namespace movra {

std::unique_ptr<Surface> FakePlatform::CreateSurface(int pixelWidth, int pixelHeight) {
    auto surface = std::make_unique<RecordingSurface>(pixelWidth, pixelHeight);
    surfaces.push_back(surface.get());
    return surface;
}

}  // namespace movra
