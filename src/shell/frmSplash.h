#pragma once
#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

// The window shown while the program starts.
class frmSplash : public FormModel {
public:
    explicit frmSplash(Platform& platform);
    Label lblProductName;
    Label lblVersion;
    Label lblStatus;
};

}  // namespace movra
