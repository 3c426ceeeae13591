#pragma once
#include <string>

#include "platform/Picture.h"

namespace movra {

// The icon of a toolbar key ("打开", "存盘", "放大2", ...), drawn by the program itself; a key
// without a drawing of its own gets a plain framed square.
Picture ToolbarIcon(const std::string& key, int size = 20);

}  // namespace movra
