#include "printing/PageRecords.h"

namespace movra {

// The page carries the frame and the footnote alone until the records are printed here.
void PrintPageRecords(App&) {}

}  // namespace movra
