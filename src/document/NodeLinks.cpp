#include "document/NodeLinks.h"

#include <algorithm>
#include <cmath>

#include "App.h"

namespace movra {

namespace {

using Links = std::array<std::int16_t, 10>;

// The first node within the tolerance of (x, y), or -1. Node 0 is not a candidate: an entry of 0
// in the link table means "empty", so no link to it can be kept.
int NearestNode(const TerrainNodeLinks& nodes, double x, double y, double tolerance) {
    const int last = std::min({int{nodes.NodeCount}, static_cast<int>(nodes.NodeX.size()) - 1,
                               static_cast<int>(nodes.NodeY.size()) - 1,
                               static_cast<int>(nodes.NodeLinks.size()) - 1});
    for (int i = 1; i <= last; ++i) {
        if (std::abs(nodes.NodeX[static_cast<size_t>(i)] - x) < tolerance &&
            std::abs(nodes.NodeY[static_cast<size_t>(i)] - y) < tolerance)
            return i;
    }
    return -1;
}

bool RemoveLink(Links& links, int node) {
    auto it = std::find(links.begin(), links.end(), node);
    if (it == links.end()) return false;
    std::move(it + 1, links.end(), it);
    links.back() = 0;
    return true;
}

// Entry 9 is never filled by adding.
void AddLink(Links& links, int node) {
    auto it = std::find(links.begin(), links.end() - 1, 0);
    if (it != links.end() - 1) *it = static_cast<std::int16_t>(node);
}

}  // namespace

void ResetNodeLinks(App& app) {
    auto& nodes = app.nodes;
    nodes = TerrainNodeLinks{};
}

void LinkNodes(App& app, double x1, double y1, double x2, double y2) {
    try {
        auto& nodes = app.nodes;
        const double tolerance = 3 * app.view.ScaleFactor;
        const int a = NearestNode(nodes, x1, y1, tolerance);
        const int b = NearestNode(nodes, x2, y2, tolerance);
        if (a < 0 || b < 0 || a == b) return;
        auto& linksA = nodes.NodeLinks[static_cast<size_t>(a)];
        auto& linksB = nodes.NodeLinks[static_cast<size_t>(b)];
        const bool removedFromA = RemoveLink(linksA, b);
        const bool removedFromB = RemoveLink(linksB, a);
        if (removedFromA || removedFromB) return;
        AddLink(linksA, b);
        AddLink(linksB, a);
    } catch (...) {
    }
}

}  // namespace movra
