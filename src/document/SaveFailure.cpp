#include "document/SaveFailure.h"

#include "App.h"
#include "basic/Errors.h"

namespace movra {

std::string SaveFailureReason(const std::exception& error) {
    const auto* runtime = dynamic_cast<const RuntimeError*>(&error);
    return runtime ? runtime->description : std::string(error.what());
}

void TellSaveFailed(App& app, const std::string& path, const std::string& reason) {
    app.platform.prompt().MsgBox(std::string(MapSaveFailedMessage) + path + "\n" + reason, MsgOkOnly | MsgExclamation,
                                 MapSaveFailedTitle);
}

}  // namespace movra
