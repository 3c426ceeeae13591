#pragma once
// A text value that takes a fixed, small number of bytes: the characters themselves when they fit,
// otherwise a pointer to a block holding them. It behaves like the std::string it replaces where a
// record keeps a text: it converts to std::string and std::string_view, takes both (and C strings)
// by assignment, compares with them and with another PackedText, and answers empty() and size().
//
// A copy is always a value of its own: a long text is copied into a block the copy owns. A text
// may also point into a buffer its holder keeps (a record store reads a whole map's long texts into
// one buffer); such a pointer is only ever set by that holder, and copying or moving the value out
// turns it into an owned block, so no copy ever points into the holder's buffer.
//
// Layout: `bytes_[0]` odd: the text is inline, of length bytes_[0] / 2, in the bytes after it.
// Otherwise bytes 0..7 hold a pointer to a block [32-bit length][bytes]: 0 for the empty text;
// bit 1 set when the block belongs to the holder's buffer rather than to this value.

#include <compare>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>

namespace movra {

namespace packed_text {
// A block of `size` bytes (with its length in front), owned by the caller; its alignment leaves the
// two low bits of its address free.
char* NewBlock(std::string_view text);
void DeleteBlock(char* block);
void Print(std::ostream& out, std::string_view text);
}  // namespace packed_text

template <std::size_t N>
class PackedText {
    static_assert(N >= 8 && N <= 128);

public:
    static constexpr std::size_t InlineCapacity = N - 1;

    PackedText() noexcept { std::memset(bytes_, 0, N); }
    explicit PackedText(std::string_view text) { SetOwned(text); }
    PackedText(const PackedText& other) {
        if (other.IsInline() || other.Pointer() == nullptr) {
            std::memcpy(bytes_, other.bytes_, N);
        } else {
            SetOwned(other.View());
        }
    }
    PackedText(PackedText&& other) noexcept {
        std::memcpy(bytes_, other.bytes_, N);
        if (!IsInline() && Pointer() != nullptr) {
            if (IsShared()) {
                // The holder's buffer stays with the holder: the moved value owns a copy.
                try {
                    SetOwned(other.View());
                } catch (...) {
                    std::memset(bytes_, 0, N);
                }
            } else {
                std::memset(other.bytes_, 0, N);
            }
        }
    }
    PackedText& operator=(const PackedText& other) {
        if (this != &other) Assign(other.View());
        return *this;
    }
    PackedText& operator=(PackedText&& other) noexcept {
        if (this == &other) return *this;
        if (other.IsInline() || other.Pointer() == nullptr || other.IsShared()) {
            try {
                Assign(other.View());
            } catch (...) {
                Release();
            }
        } else {
            Release();
            std::memcpy(bytes_, other.bytes_, N);
            std::memset(other.bytes_, 0, N);
        }
        return *this;
    }
    PackedText& operator=(std::string_view text) {
        Assign(text);
        return *this;
    }
    PackedText& operator=(const std::string& text) { return *this = std::string_view(text); }
    PackedText& operator=(const char* text) { return *this = (text ? std::string_view(text) : std::string_view()); }
    ~PackedText() { Release(); }

    std::string_view View() const noexcept {
        if (IsInline()) return {reinterpret_cast<const char*>(bytes_ + 1), static_cast<std::size_t>(bytes_[0] >> 1)};
        const char* block = Pointer();
        if (block == nullptr) return {};
        std::uint32_t length;
        std::memcpy(&length, block, sizeof length);
        return {block + sizeof length, length};
    }
    operator std::string_view() const noexcept { return View(); }  // NOLINT
    operator std::string() const { return std::string(View()); }   // NOLINT
    std::string str() const { return std::string(View()); }

    bool empty() const noexcept { return IsInline() ? bytes_[0] < 2 : Pointer() == nullptr; }
    std::size_t size() const noexcept { return View().size(); }
    std::size_t length() const noexcept { return View().size(); }
    const char* data() const noexcept { return View().data(); }
    const char* begin() const noexcept { return View().data(); }
    const char* end() const noexcept { return View().data() + View().size(); }
    char operator[](std::size_t i) const noexcept { return View()[i]; }
    char front() const noexcept { return View().front(); }
    char back() const noexcept { return View().back(); }
    void clear() noexcept { Release(); }

    std::size_t find(std::string_view what, std::size_t pos = 0) const noexcept { return View().find(what, pos); }
    std::size_t find(char what, std::size_t pos = 0) const noexcept { return View().find(what, pos); }
    std::string substr(std::size_t pos = 0, std::size_t count = std::string::npos) const {
        return std::string(View().substr(pos, count));
    }
    PackedText& operator+=(std::string_view more) {
        std::string joined(View());
        joined += more;
        Assign(joined);
        return *this;
    }

    // True when the text is held in the value itself.
    bool IsInline() const noexcept { return (bytes_[0] & 1) != 0; }
    // True when the text points into a buffer its holder keeps.
    bool IsShared() const noexcept { return !IsInline() && (Word() & 2) != 0; }
    // For the holder of a text buffer only: points the value at a block of that buffer, of the
    // layout [32-bit length][bytes], whose address has its two low bits clear. What the value held
    // is released first.
    void PointIntoHolderBuffer(const char* block) noexcept {
        Release();
        SetWord(reinterpret_cast<std::uintptr_t>(block) | 2);
    }
    // For the holder of a text buffer only: writes a text that fits inline; false (and nothing
    // changed) when it does not fit.
    bool AssignInline(std::string_view text) noexcept {
        if (text.size() > InlineCapacity) return false;
        Release();
        if (text.empty()) return true;
        bytes_[0] = static_cast<unsigned char>(text.size() << 1 | 1);
        std::memcpy(bytes_ + 1, text.data(), text.size());
        return true;
    }

    friend bool operator==(const PackedText& a, const PackedText& b) noexcept { return a.View() == b.View(); }
    friend bool operator==(const PackedText& a, std::string_view b) noexcept { return a.View() == b; }
    friend bool operator==(const PackedText& a, const std::string& b) noexcept { return a.View() == b; }
    friend bool operator==(const PackedText& a, const char* b) noexcept { return a.View() == std::string_view(b); }
    friend std::strong_ordering operator<=>(const PackedText& a, std::string_view b) noexcept {
        return a.View() <=> b;
    }
    friend std::string operator+(const PackedText& a, std::string_view b) { return std::string(a.View()).append(b); }
    friend std::string operator+(const PackedText& a, const std::string& b) { return std::string(a.View()).append(b); }
    friend std::string operator+(const PackedText& a, const char* b) { return std::string(a.View()).append(b); }
    friend std::string operator+(const PackedText& a, char b) { return std::string(a.View()) + b; }
    friend std::string operator+(std::string_view a, const PackedText& b) { return std::string(a).append(b.View()); }
    friend std::string operator+(const std::string& a, const PackedText& b) { return std::string(a).append(b.View()); }
    friend std::string operator+(std::string&& a, const PackedText& b) { return std::move(a.append(b.View())); }
    friend std::string operator+(const char* a, const PackedText& b) { return std::string(a).append(b.View()); }
    friend std::string operator+(char a, const PackedText& b) { return a + std::string(b.View()); }
    friend std::ostream& operator<<(std::ostream& out, const PackedText& text) {
        packed_text::Print(out, text.View());
        return out;
    }

private:
    std::uintptr_t Word() const noexcept {
        std::uintptr_t word;
        std::memcpy(&word, bytes_, sizeof word);
        return word;
    }
    void SetWord(std::uintptr_t word) noexcept {
        std::memset(bytes_, 0, N);
        std::memcpy(bytes_, &word, sizeof word);
    }
    const char* Pointer() const noexcept { return reinterpret_cast<const char*>(Word() & ~std::uintptr_t{3}); }
    void Release() noexcept {
        if (!IsInline() && !IsShared() && Pointer() != nullptr) packed_text::DeleteBlock(const_cast<char*>(Pointer()));
        std::memset(bytes_, 0, N);
    }
    // Writes a text into a value that holds nothing.
    void SetOwned(std::string_view text) {
        std::memset(bytes_, 0, N);
        if (text.empty()) return;
        if (text.size() <= InlineCapacity) {
            bytes_[0] = static_cast<unsigned char>(text.size() << 1 | 1);
            std::memcpy(bytes_ + 1, text.data(), text.size());
        } else {
            SetWord(reinterpret_cast<std::uintptr_t>(packed_text::NewBlock(text)));
        }
    }
    void Assign(std::string_view text) {
        // The new text may be a part of the old one: make it before letting the old one go.
        PackedText fresh(text);
        Release();
        std::memcpy(bytes_, fresh.bytes_, N);
        std::memset(fresh.bytes_, 0, N);
    }

    unsigned char bytes_[N];
};

template <std::size_t A, std::size_t B>
bool operator==(const PackedText<A>& a, const PackedText<B>& b) noexcept {
    return a.View() == b.View();
}
template <std::size_t A, std::size_t B>
std::string operator+(const PackedText<A>& a, const PackedText<B>& b) {
    return std::string(a.View()).append(b.View());
}

}  // namespace movra
