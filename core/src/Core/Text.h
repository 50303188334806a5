#pragma once
// core::Text: an immutable Unicode string held as UTF-8 bytes in shared
// storage, with a start offset and a length in bytes. Copying and slicing
// share the bytes; no operation mutates them.
//
// core::Builder: an append-only, chunked producer of Text.
#include <compare>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Core/Types.h"

namespace core {

class Text {
public:
    Text() noexcept = default;
    // From UTF-8 bytes. Invalid sequences are replaced by U+FFFD so that a
    // Text always holds valid UTF-8; use `fromUtf8` to reject them instead.
    Text(std::string_view bytes);
    Text(const char* bytes) : Text(std::string_view(bytes)) {}
    Text(const std::string& bytes) : Text(std::string_view(bytes)) {}

    // The bytes if they are valid UTF-8, else nullopt.
    static std::optional<Text> fromUtf8(std::string_view bytes);
    // One code point (invalid code points become U+FFFD).
    static Text singleton(Char c);

    std::string_view view() const noexcept { return {data(), size_}; }
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(view()); }
    const char* data() const noexcept { return buf_ ? buf_.get() + offset_ : ""; }

    // Start offset into the shared byte array, and length, both in bytes.
    std::size_t offset() const noexcept { return offset_; }
    std::size_t sizeBytes() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    // Number of code points.
    std::size_t length() const noexcept;

    // Byte-indexed slices; they share the storage. The caller keeps the
    // cut on a code-point boundary (the parsers cut after ASCII bytes).
    // Out-of-range arguments are clamped.
    Text sliceBytes(std::size_t from, std::size_t count) const noexcept;
    Text dropBytes(std::size_t n) const noexcept;
    Text takeBytes(std::size_t n) const noexcept;
    // Code-point-indexed slices.
    Text take(std::size_t n) const noexcept;
    Text drop(std::size_t n) const noexcept;

    // The code points, decoded.
    std::vector<Char> chars() const;
    // True when both share the same storage (slicing preserves this).
    bool sharesStorageWith(const Text& o) const noexcept { return buf_ && buf_ == o.buf_; }

    friend Text operator+(const Text& a, const Text& b);
    friend bool operator==(const Text& a, const Text& b) noexcept { return a.view() == b.view(); }
    // Byte order of UTF-8 is code-point order.
    friend std::strong_ordering operator<=>(const Text& a, const Text& b) noexcept {
        return a.view() <=> b.view();
    }

private:
    friend class Builder;
    Text(std::shared_ptr<const char[]> buf, std::size_t offset, std::size_t size) noexcept
        : buf_(std::move(buf)), offset_(offset), size_(size) {}

    std::shared_ptr<const char[]> buf_;
    std::size_t offset_ = 0;
    std::size_t size_ = 0;
};

// UTF-8 helpers shared by Text, the parsers and the renderers.
namespace utf8 {
// Appends the UTF-8 form of c (U+FFFD for surrogates and values above
// U+10FFFF).
void append(std::string& out, Char c);
// Decodes the code point at the front of `bytes`: returns it with the
// number of bytes it takes, or nullopt for an empty, truncated or invalid
// sequence. Never reads past the end.
struct Decoded {
    Char c;
    std::size_t size;
};
std::optional<Decoded> decode(std::string_view bytes) noexcept;
bool valid(std::string_view bytes) noexcept;
std::size_t length(std::string_view validBytes) noexcept;
}  // namespace utf8

// An append-only text producer. Bytes go into chunks of at least
// chunkSize bytes; `build` joins them once into a Text. Builders also
// append to each other, so renderers can return a Builder that callers
// combine.
//
// Renderers of fixed-width text write straight into the current chunk:
//
//   char* p = b.reserve(8);   // at least 8 writable bytes
//   p[0] = '1'; ...           // write up to 8 bytes
//   b.commit(n);              // n <= 8 bytes written become part of the text
//
// Bytes written but not committed are not part of the text; any other
// append in between discards them.
class Builder {
public:
    static constexpr std::size_t chunkSize = 4096;

    Builder() noexcept = default;
    Builder(const Builder& o);
    Builder(Builder&& o) noexcept;
    Builder& operator=(const Builder& o);
    Builder& operator=(Builder&& o) noexcept;
    ~Builder() = default;

    Builder& append(std::string_view bytes);
    Builder& append(const std::string& s) { return append(std::string_view(s)); }
    Builder& append(const char* s) { return append(std::string_view(s)); }
    Builder& append(const Text& t) { return append(t.view()); }
    Builder& append(const Builder& b);
    Builder& append(char c) {
        if (cur_ == end_) newChunk(1);
        *cur_++ = c;
        ++size_;
        return *this;
    }
    Builder& appendChar(Char c);
    template <class T>
    Builder& operator<<(const T& x) {
        return append(x);
    }

    // A pointer to at least n writable bytes at the end of the text (any n;
    // a new chunk is started when the current one has less room).
    char* reserve(std::size_t n) {
        if (static_cast<std::size_t>(end_ - cur_) >= n) [[likely]]
            return cur_;
        return newChunk(n);
    }
    // Makes the first n bytes written at the pointer of the last `reserve`
    // part of the text; n is at most what was reserved.
    void commit(std::size_t n) noexcept {
        cur_ += n;
        size_ += n;
    }

    std::size_t sizeBytes() const noexcept { return size_; }
    Text build() const;
    std::string str() const;

    friend Builder operator+(Builder a, const Builder& b) { return std::move(a.append(b)); }

private:
    struct Chunk {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity = 0;
        std::size_t used = 0;  // for the last chunk, cur_ tells instead
    };
    // Starts a chunk with room for at least n bytes and returns its start.
    char* newChunk(std::size_t n);
    std::size_t usedOf(std::size_t i) const noexcept {
        return i + 1 == chunks_.size() ? static_cast<std::size_t>(cur_ - chunks_[i].bytes.get()) : chunks_[i].used;
    }
    template <class F>
    void forEachPiece(F f) const {
        for (std::size_t i = 0; i < chunks_.size(); ++i) f(chunks_[i].bytes.get(), usedOf(i));
    }

    std::vector<Chunk> chunks_;
    char* cur_ = nullptr;  // next free byte of the last chunk
    char* end_ = nullptr;  // end of the last chunk
    std::size_t size_ = 0;
};

}  // namespace core
