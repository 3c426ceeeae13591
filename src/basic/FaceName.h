#pragma once
// A font face name kept as a two-byte number: the names a program meets are few (a map has a few
// dozen), so each distinct name is entered once in a table that only grows, and a value is its
// place in that table. Values stay valid for the whole run, in copies as much as in the store.
// It behaves like the std::string it replaces: it converts to const std::string& and
// std::string_view, takes both (and C strings) by assignment and compares with them.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace movra {

class FaceName {
public:
    // The most names the table holds; entering one more raises RuntimeError 6.
    static constexpr std::size_t MaxNames = 0xFFFF;

    FaceName() noexcept = default;
    explicit FaceName(std::string_view name) { Set(Enter(name)); }
    FaceName& operator=(std::string_view name) {
        Set(Enter(name));
        return *this;
    }
    FaceName& operator=(const std::string& name) { return *this = std::string_view(name); }
    FaceName& operator=(const char* name) { return *this = (name ? std::string_view(name) : std::string_view()); }

    // The name; the reference stays valid for the whole run.
    const std::string& str() const noexcept { return NameOf(Index()); }
    operator const std::string&() const noexcept { return str(); }  // NOLINT: reads like a string
    operator std::string_view() const noexcept { return str(); }    // NOLINT

    bool empty() const noexcept { return Index() == 0; }
    std::size_t size() const noexcept { return str().size(); }
    std::size_t length() const noexcept { return str().size(); }
    const char* c_str() const noexcept { return str().c_str(); }
    const char* data() const noexcept { return str().data(); }
    void clear() noexcept { Set(0); }

    // The place of the name in the table (0 is the empty name), and the value at a place.
    std::uint16_t Index() const noexcept { return static_cast<std::uint16_t>(bytes_[0] | bytes_[1] << 8); }
    static FaceName AtIndex(std::uint16_t index) noexcept {
        FaceName f;
        f.Set(index);
        return f;
    }
    // The place of a name, entering it when it is new.
    static std::uint16_t Enter(std::string_view name);
    static const std::string& NameOf(std::uint16_t index) noexcept;

    friend bool operator==(const FaceName& a, const FaceName& b) noexcept { return a.Index() == b.Index(); }
    friend bool operator==(const FaceName& a, std::string_view b) noexcept { return std::string_view(a.str()) == b; }
    friend bool operator==(const FaceName& a, const std::string& b) noexcept { return a.str() == b; }
    friend bool operator==(const FaceName& a, const char* b) noexcept { return a.str() == b; }
    friend std::string operator+(const FaceName& a, std::string_view b) { return std::string(a.str()).append(b); }
    friend std::string operator+(std::string_view a, const FaceName& b) { return std::string(a).append(b.str()); }
    friend std::ostream& operator<<(std::ostream& out, const FaceName& name);

private:
    void Set(std::uint16_t index) noexcept {
        bytes_[0] = static_cast<unsigned char>(index & 0xFF);
        bytes_[1] = static_cast<unsigned char>(index >> 8);
    }
    // Bytes rather than a 16-bit number, so that a record can place it at any offset.
    unsigned char bytes_[2] = {0, 0};
};

}  // namespace movra
