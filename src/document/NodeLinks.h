#pragma once

namespace movra {

struct App;

// Empties the terrain node list: a single node 0 at (0, 0, 0) without links.
void ResetNodeLinks(App& app);

// Toggles the link between the nodes nearest (within 3 paper millimetres) to the two points:
// removes it where present, adds it otherwise. Nothing happens unless both points find a node.
void LinkNodes(App& app, double x1, double y1, double x2, double y2);

}  // namespace movra
