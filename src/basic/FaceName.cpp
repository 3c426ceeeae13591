#include "basic/FaceName.h"

#include <array>
#include <memory>
#include <mutex>
#include <ostream>
#include <unordered_map>

#include "basic/Errors.h"

namespace movra {

namespace {

// Names are kept in pages that never move, so a reference to a name stays valid while the table
// grows, and reading a name needs no lock.
constexpr std::size_t PageBits = 8;
constexpr std::size_t PageSize = std::size_t{1} << PageBits;

struct FaceTable {
    std::mutex lock;
    std::array<std::unique_ptr<std::string[]>, (FaceName::MaxNames + 1) / PageSize + 1> pages;
    std::unordered_map<std::string_view, std::uint16_t> places;
    std::size_t count = 0;

    FaceTable() {
        pages[0] = std::make_unique<std::string[]>(PageSize);
        count = 1;  // place 0: the empty name
        places.emplace(std::string_view(), 0);
    }
};

FaceTable& Table() {
    // Never destroyed: records may still read their names while the program ends.
    static FaceTable* table = new FaceTable;
    return *table;
}

}  // namespace

std::uint16_t FaceName::Enter(std::string_view name) {
    if (name.empty()) return 0;
    // Records are mostly written with the font of the record before them.
    thread_local std::uint16_t last = 0;
    if (NameOf(last) == name) return last;
    FaceTable& table = Table();
    std::lock_guard guard(table.lock);
    if (const auto found = table.places.find(name); found != table.places.end()) return last = found->second;
    if (table.count >= MaxNames) Raise(ErrOverflow);
    const std::size_t place = table.count;
    auto& page = table.pages[place >> PageBits];
    if (!page) page = std::make_unique<std::string[]>(PageSize);
    std::string& kept = page[place & (PageSize - 1)];
    kept.assign(name);
    table.places.emplace(std::string_view(kept), static_cast<std::uint16_t>(place));
    ++table.count;
    return last = static_cast<std::uint16_t>(place);
}

const std::string& FaceName::NameOf(std::uint16_t index) noexcept {
    const auto& page = Table().pages[index >> PageBits];
    // A place never handed out reads as the empty name.
    if (!page) return Table().pages[0][0];
    return page[index & (PageSize - 1)];
}

std::ostream& operator<<(std::ostream& out, const FaceName& name) { return out << '"' << name.str() << '"'; }

}  // namespace movra
