#pragma once
// The drawing of a large compact map file decoded on several threads at once. The records of a
// layer take its slots in file order, so each thread first counts the records of its stretch of the
// file by layer; from those counts every thread knows where its records go, and decodes them
// straight into their slots. A cleared record, which the one-thread reader holds back until the
// next record shows whether its layer goes on, is decided the same way, across stretches where it
// ends one. Left to the one-thread reader are the files whose reading moves records as it goes (a
// layer that has to grow) and a record cut off at the end.

namespace movra {

struct App;
class DrawingRecordSink;
class FileWindow;

// Reads the fixed drawing records from the window's position to the end record or the end of the
// file into the store, widening the extents as the sink does, and tells whether the end record was
// met. False, with nothing stored and the window untouched, when the file is small or is left to the
// one-thread reader. Raises when the file cannot be read or changes while it is read; the store
// then holds only whole records.
bool AppendFixedDrawingInParallel(App& app, FileWindow& file, DrawingRecordSink& sink, bool& ended);

}  // namespace movra
