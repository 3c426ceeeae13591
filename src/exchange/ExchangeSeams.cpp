#include "exchange/ExchangeSeams.h"

#include "App.h"
#include "exchange/ExportCoordinateText.h"
#include "exchange/ExportDxfOwnDialect.h"
#include "exchange/ExportDxfR12.h"

namespace movra {

void InstallExchangeSeams(App& app) {
    app.exportSeams.dxfR12 = &ExportDxfR12;
    app.exportSeams.dxfOwnDialect = &ExportDxfOwnDialect;
    app.exportSeams.coordinateText = &ExportCoordinateText;
}

}  // namespace movra
