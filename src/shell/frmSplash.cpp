#include "shell/frmSplash.h"

namespace movra {

frmSplash::frmSplash(Platform& platform)
    : FormModel(platform, "frmSplash"),
      lblProductName(*this, "lblProductName"),
      lblVersion(*this, "lblVersion"),
      lblStatus(*this, "lblStatus") {
    SetCaption("Movra");
    Move(0, 0, 6000, 3000);
    SetBackColor(MakeRgb(0, 0, 64));
    lblProductName.SetCaption("Movra 地形地籍图编辑");
    lblProductName.SetFontSize(20);
    lblProductName.SetForeColor(MakeRgb(255, 255, 255));
    lblProductName.SetBackColor(MakeRgb(0, 0, 64));
    lblProductName.Move(300, 500, 5400, 700);
    lblVersion.SetCaption("版本 1.0");
    lblVersion.SetForeColor(MakeRgb(200, 200, 200));
    lblVersion.SetBackColor(MakeRgb(0, 0, 64));
    lblVersion.Move(300, 1400, 5400, 400);
    lblStatus.SetCaption("正在启动……");
    lblStatus.SetForeColor(MakeRgb(200, 200, 200));
    lblStatus.SetBackColor(MakeRgb(0, 0, 64));
    lblStatus.Move(300, 2100, 5400, 400);
}

}  // namespace movra
