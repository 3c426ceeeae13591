#include "document/ParallelDrawingRead.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <new>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "document/DrawingRecordDecoder.h"
#include "document/FileRecord.h"
#include "document/JdxFile.h"
#include "document/MapFileCommon.h"

namespace movra {

namespace {

constexpr int MaxReadThreads = 8;
// A thread is started for every so many records at least.
constexpr std::uint64_t RecordsPerThread = 16384;
// Records a thread reads from the file at a time.
constexpr std::uint64_t PieceRecords = 1024;

constexpr double NoValue = std::numeric_limits<double>::infinity();

// Reads `count` whole records at `offset`; the number read, fewer when the file ends first.
std::uint64_t ReadRecordsAt(int descriptor, std::uint64_t offset, std::uint64_t count, char* buffer) {
    const std::size_t want = count * FixedRecordSize;
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::pread(descriptor, buffer + got, want - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) RaiseFileError(errno);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got / FixedRecordSize;
}

// The records of a stretch of the file, by their numbers counted from the first drawing record.
struct Stretch {
    std::uint64_t first = 0;
    std::uint64_t end = 0;
};

// What the counting pass finds in one stretch.
struct StretchCount {
    std::array<std::int32_t, LayerTableSize> records{};  // by the layer they go to
    std::int64_t endRecord = -1;                         // the end record, when the stretch holds it
    bool plain = true;     // false: the file ended early
    int firstLayer = 0;    // layers of the first and last record stored
    int lastLayer = 0;
    bool inOrder = true;   // the layers never go back within the stretch
    // The layer byte of the first record appended (0: none); a cleared record that ends the stretch
    // and waits for the next stretch to tell whether it is kept (its layer byte, 0: none).
    int firstLayerByte = 0;
    int waitingLayerByte = 0;
    bool keepWaiting = false;
    double maxX = -NoValue;  // largest first vertex of the records that widen the extents
    double maxY = -NoValue;
    std::exception_ptr error;
};

// What the decoding pass leaves of one stretch.
struct StretchFill {
    double minX = NoValue;
    double maxX = -NoValue;
    double maxY = -NoValue;
    bool matched = true;  // the stretch held the records the counting pass found
    int unusable = 0;     // records with a vertex beyond the storable range, read as deleted
    std::exception_ptr error;
};

struct ReadPlan {
    int descriptor = -1;
    std::uint64_t start = 0;  // file offset of the first drawing record
    int layerCount = 0;
    bool widen = false;
    std::array<bool, LayerTableSize> widens{};  // layers whose records widen the extents
    std::uint8_t source = 0;
};

std::unique_ptr<char[]> PieceBuffer() { return std::make_unique_for_overwrite<char[]>(PieceRecords * FixedRecordSize); }

int LayerByte(const char* r) { return static_cast<unsigned char>(r[0]); }

// A record stored, for the order of the layers.
void CountStored(StretchCount& count, int layer) {
    ++count.records[static_cast<std::size_t>(layer)];
    if (count.firstLayer == 0) count.firstLayer = layer;
    if (layer < count.lastLayer) count.inOrder = false;
    count.lastLayer = layer;
}

void CountStretch(const ReadPlan& plan, const Stretch& stretch, StretchCount& count) {
    try {
        const auto buffer = PieceBuffer();
        DrawingRecordDecoder decoder;
        for (std::uint64_t at = stretch.first; at < stretch.end;) {
            const std::uint64_t want = std::min(PieceRecords, stretch.end - at);
            const std::uint64_t got = ReadRecordsAt(plan.descriptor, plan.start + at * FixedRecordSize, want, buffer.get());
            for (std::uint64_t i = 0; i < got; ++i) {
                const char* r = buffer.get() + i * FixedRecordSize;
                if (r[0] == 0) {
                    if (IsFixedEndRecord(r)) {
                        count.endRecord = static_cast<std::int64_t>(at + i);
                        count.waitingLayerByte = 0;  // the end comes before a record that would keep it
                        return;
                    }
                    continue;
                }
                if (count.firstLayerByte == 0) count.firstLayerByte = LayerByte(r);
                if (count.waitingLayerByte != 0) {
                    if (LayerByte(r) == count.waitingLayerByte) {
                        CountStored(count, std::min(count.waitingLayerByte, plan.layerCount));
                    }
                    count.waitingLayerByte = 0;
                }
                if (decoder.IsHeldBack(r, FixedTextField(r), FixedFontField(r))) {
                    count.waitingLayerByte = LayerByte(r);
                    continue;
                }
                const int layer = std::min(LayerByte(r), plan.layerCount);
                CountStored(count, layer);
                if (plan.widen && plan.widens[static_cast<std::size_t>(layer)]) {
                    const double x = FieldAt<double>(r, 10);
                    const double y = FieldAt<double>(r, 18);
                    // A record without storable coordinates is decoded as deleted, which
                    // widens nothing.
                    if (x != 0 && y != 0 && HasStorableCoordinates(r)) {
                        if (x > count.maxX) count.maxX = x;
                        if (y > count.maxY) count.maxY = y;
                    }
                }
            }
            if (got < want) {
                count.plain = false;
                return;
            }
            at += got;
        }
    } catch (...) {
        count.error = std::current_exception();
    }
}

// Decodes a stretch into the slots from `firstSlot` on of each layer. `enteringMaxX`: the largest
// x of the extents when the stretch begins, on which the west edge depends.
void FillStretch(const ReadPlan& plan, const Stretch& stretch, const StretchCount& count,
                 const std::array<std::int32_t, LayerTableSize>& firstSlot, double enteringMaxX, RecordStore& store,
                 int writer, StretchFill& fill) {
    std::array<std::int32_t, LayerTableSize> next = firstSlot;
    try {
        const auto buffer = PieceBuffer();
        DrawingRecordDecoder decoder;
        double maxX = enteringMaxX;
        const std::uint64_t end = count.endRecord >= 0 ? static_cast<std::uint64_t>(count.endRecord) : stretch.end;
        // Stores a record in the next slot of its layer; false when the layer has no slot left.
        auto store1 = [&](const char* r) {
            const int layer = std::min(LayerByte(r), plan.layerCount);
            const auto l = static_cast<std::size_t>(layer);
            if (next[l] >= firstSlot[l] + count.records[l]) return false;
            MapRecord* m = new (store.ReservedSlot(layer, next[l]++)) MapRecord();
            decoder.Fill(r, FixedTextField(r), FixedFontField(r), false, plan.source, *m, store, writer);
            return true;
        };
        std::array<char, FixedRecordSize> waiting{};
        bool isWaiting = false;
        for (std::uint64_t at = stretch.first; at < end && fill.matched;) {
            const std::uint64_t want = std::min(PieceRecords, end - at);
            const std::uint64_t got = ReadRecordsAt(plan.descriptor, plan.start + at * FixedRecordSize, want, buffer.get());
            if (got < want) fill.matched = false;
            for (std::uint64_t i = 0; i < got && fill.matched; ++i) {
                const char* r = buffer.get() + i * FixedRecordSize;
                if (r[0] == 0) continue;
                if (isWaiting) {
                    isWaiting = false;
                    if (r[0] == waiting[0] && !store1(waiting.data())) fill.matched = false;
                }
                if (decoder.IsHeldBack(r, FixedTextField(r), FixedFontField(r))) {
                    std::memcpy(waiting.data(), r, FixedRecordSize);
                    isWaiting = true;
                    continue;
                }
                if (!store1(r)) {
                    fill.matched = false;
                    break;
                }
                const auto l = static_cast<std::size_t>(std::min(LayerByte(r), plan.layerCount));
                const MapRecord* m = store.ReservedSlot(static_cast<int>(l), next[l] - 1);
                if (plan.widen && plan.widens[l]) {
                    // As the extents are widened record by record: the west edge takes only points
                    // east of half the largest x met so far.
                    const double x = m->RecordX1;
                    const double y = m->RecordY1;
                    if (x != 0 && y != 0) {
                        if (x > maxX) maxX = x;
                        if (x < fill.minX && x > 0.5 * maxX) fill.minX = x;
                        if (y > fill.maxY) fill.maxY = y;
                    }
                }
            }
            at += got;
        }
        if (isWaiting && count.keepWaiting && fill.matched && !store1(waiting.data())) fill.matched = false;
        fill.maxX = maxX;
        fill.unusable = decoder.Unusable();
    } catch (...) {
        fill.error = std::current_exception();
    }
    // Every slot handed to this stretch holds a whole record, whatever happened.
    for (std::size_t l = 0; l < next.size(); ++l) {
        const std::int32_t limit = firstSlot[l] + count.records[l];
        if (next[l] != limit) fill.matched = false;
        for (; next[l] < limit; ++next[l]) new (store.ReservedSlot(static_cast<int>(l), next[l])) MapRecord();
    }
}

// Runs work(0) .. work(shares - 1), each on a thread of its own where the system gives one.
template <typename Work>
void RunOnThreads(int shares, const Work& work) {
    std::vector<std::thread> started;
    int share = 1;
    try {
        started.reserve(static_cast<std::size_t>(shares));
        for (; share < shares; ++share) started.emplace_back(work, share);
    } catch (...) {
        // No more threads to be had: this one does the shares left.
    }
    for (int rest = share; rest < shares; ++rest) work(rest);
    work(0);
    for (std::thread& thread : started) thread.join();
}

int ThreadsFor(const App& app, std::uint64_t records) {
    if (app.mapFile.ReadThreads > 0) return std::min(app.mapFile.ReadThreads, MaxReadThreads);
    const int machine = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    return static_cast<int>(std::clamp<std::uint64_t>(records / RecordsPerThread, 1, std::min(machine, MaxReadThreads)));
}

}  // namespace

bool AppendFixedDrawingInParallel(App& app, FileWindow& file, DrawingRecordSink& sink, bool& ended) {
    app.mapFile.LastReadThreads = 0;
    RecordStore& store = app.store;
    ReadPlan plan;
    plan.descriptor = file.Descriptor();
    plan.start = file.Offset();
    struct stat info {};
    if (::fstat(plan.descriptor, &info) != 0 || static_cast<std::uint64_t>(info.st_size) < plan.start) return false;
    const std::uint64_t bytes = static_cast<std::uint64_t>(info.st_size) - plan.start;
    const std::uint64_t records = bytes / FixedRecordSize;
    if (records < static_cast<std::uint64_t>(std::max(app.mapFile.ParallelReadMinimumRecords, 1))) return false;
    if (store.LayerCount < 1 || store.LayerCount > store.LayerDimension()) return false;
    plan.layerCount = store.LayerCount;
    plan.widen = sink.Widening();
    for (int layer = 1; layer <= plan.layerCount; ++layer) {
        plan.widens[static_cast<std::size_t>(layer)] = store.LayerOnFlag[static_cast<std::size_t>(layer)] == -1;
    }
    plan.source = app.mapFile.MergedFileCount;

    const int threads = ThreadsFor(app, records);
    std::vector<Stretch> stretches(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t) {
        stretches[static_cast<std::size_t>(t)] = {records * static_cast<std::uint64_t>(t) / static_cast<std::uint64_t>(threads),
                                                  records * static_cast<std::uint64_t>(t + 1) / static_cast<std::uint64_t>(threads)};
    }
    std::vector<StretchCount> counts(stretches.size());
    RunOnThreads(threads, [&](int t) { CountStretch(plan, stretches[static_cast<std::size_t>(t)], counts[static_cast<std::size_t>(t)]); });

    // The stretches up to the one holding the end record are read; those after it are not.
    std::size_t used = 0;
    bool foundEnd = false;
    while (used < counts.size() && !foundEnd) {
        const StretchCount& count = counts[used++];
        if (count.error) std::rethrow_exception(count.error);
        if (!count.plain) return false;
        foundEnd = count.endRecord >= 0;
    }
    // A record cut off at the end, with no end record before it, is the one-thread reader's to report.
    if (!foundEnd && bytes % FixedRecordSize != 0) return false;

    // A cleared record that ends a stretch is kept when the next record appended, in a later
    // stretch, goes on with its layer.
    for (std::size_t s = 0; s < used; ++s) {
        StretchCount& count = counts[s];
        if (count.waitingLayerByte == 0) continue;
        for (std::size_t t = s + 1; t < used; ++t) {
            if (counts[t].firstLayerByte == 0) continue;
            if (counts[t].firstLayerByte == count.waitingLayerByte) {
                count.keepWaiting = true;
                CountStored(count, std::min(count.waitingLayerByte, plan.layerCount));
            }
            break;
        }
    }

    // Where each stretch's records go, and whether the records come in layer order.
    std::vector<std::array<std::int32_t, LayerTableSize>> firstSlots(used);
    std::array<std::int32_t, LayerTableSize> slot{};
    for (int layer = 1; layer <= plan.layerCount; ++layer) {
        const auto l = static_cast<std::size_t>(layer);
        slot[l] = store.Count(layer);
        if (store.AllocatedSlots(layer) != slot[l]) return false;
    }
    bool inOrder = true;
    int lastLayer = 0;
    for (std::size_t s = 0; s < used; ++s) {
        firstSlots[s] = slot;
        for (std::size_t l = 0; l < slot.size(); ++l) slot[l] += counts[s].records[l];
        if (counts[s].firstLayer == 0) continue;
        if (!counts[s].inOrder || counts[s].firstLayer < lastLayer) inOrder = false;
        lastLayer = counts[s].lastLayer;
    }
    // A layer that would have to grow is grown by the one-thread reader, which may move records on.
    for (int layer = 1; layer <= plan.layerCount; ++layer) {
        if (slot[static_cast<std::size_t>(layer)] > store.LayerCapacity - 10) return false;
    }
    if (!inOrder) {
        plan.widen = false;
        sink.StopWidening();
    }
    DrawingExtents& extents = app.extents;
    std::vector<double> enteringMaxX(used);
    double maxX = extents.ExtentMaxX;
    for (std::size_t s = 0; s < used; ++s) {
        enteringMaxX[s] = maxX;
        if (counts[s].maxX > maxX) maxX = counts[s].maxX;
    }

    // The writers first, so that nothing else can fail between reserving slots and filling them (a
    // store whose reservation itself fails is dropped with the failed read).
    store.SetTextWriters(static_cast<int>(used));
    for (int layer = 1; layer <= plan.layerCount; ++layer) store.ReserveSlots(layer, slot[static_cast<std::size_t>(layer)]);
    std::vector<StretchFill> fills(used);
    RunOnThreads(static_cast<int>(used), [&](int t) {
        const auto s = static_cast<std::size_t>(t);
        FillStretch(plan, stretches[s], counts[s], firstSlots[s], enteringMaxX[s], store, t, fills[s]);
    });
    for (int layer = 1; layer <= plan.layerCount; ++layer) store.Count(layer) = slot[static_cast<std::size_t>(layer)];
    for (const StretchFill& fill : fills) {
        if (fill.error) std::rethrow_exception(fill.error);
    }
    // The file changed between the passes.
    for (const StretchFill& fill : fills) {
        if (!fill.matched) Raise(ErrInputPastEnd);
    }

    if (lastLayer != 0) store.CurrentLayer = static_cast<std::uint8_t>(lastLayer);
    if (plan.widen) {
        for (const StretchFill& fill : fills) {
            if (fill.maxX > extents.ExtentMaxX) extents.ExtentMaxX = fill.maxX;
            if (fill.minX < extents.ExtentMinX) extents.ExtentMinX = fill.minX;
            if (fill.maxY > extents.ExtentMaxY) extents.ExtentMaxY = fill.maxY;
        }
    }
    for (const StretchFill& fill : fills) sink.AddUnusable(fill.unusable);
    ended = foundEnd;
    app.mapFile.LastReadThreads = static_cast<int>(used);
    return true;
}

}  // namespace movra
