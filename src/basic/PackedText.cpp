#include "basic/PackedText.h"

#include <new>
#include <ostream>

namespace movra::packed_text {

char* NewBlock(std::string_view text) {
    const auto length = static_cast<std::uint32_t>(text.size());
    // operator new aligns far beyond the two bits a value keeps for itself.
    char* block = static_cast<char*>(::operator new(sizeof length + text.size()));
    std::memcpy(block, &length, sizeof length);
    std::memcpy(block + sizeof length, text.data(), text.size());
    return block;
}

void DeleteBlock(char* block) { ::operator delete(block); }

void Print(std::ostream& out, std::string_view text) { out << '"' << text << '"'; }

}  // namespace movra::packed_text
