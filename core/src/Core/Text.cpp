#include "Core/Text.h"

#include <algorithm>
#include <cstring>

namespace core {

namespace utf8 {

void append(std::string& out, Char c) {
    auto u = static_cast<std::uint32_t>(c);
    if ((u >= 0xD800 && u <= 0xDFFF) || u > 0x10FFFF) u = 0xFFFD;
    if (u < 0x80) {
        out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (u >> 6)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else if (u < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (u >> 12)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (u >> 18)));
        out.push_back(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
}

std::optional<Decoded> decode(std::string_view s) noexcept {
    if (s.empty()) return std::nullopt;
    const auto b0 = static_cast<unsigned char>(s[0]);
    if (b0 < 0x80) return Decoded{b0, 1};
    std::size_t n;
    std::uint32_t c, min;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2, c = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3, c = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        return std::nullopt;
    }
    if (s.size() < n) return std::nullopt;
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    return Decoded{static_cast<Char>(c), n};
}

bool valid(std::string_view s) noexcept {
    std::size_t i = 0;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        auto d = decode(s.substr(i));
        if (!d) return false;
        i += d->size;
    }
    return true;
}

std::size_t length(std::string_view s) noexcept {
    std::size_t n = 0;
    for (char ch : s)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace utf8

namespace {

std::shared_ptr<const char[]> copyBytes(std::string_view s) {
    if (s.empty()) return nullptr;
    std::shared_ptr<char[]> p(new char[s.size()]);
    std::memcpy(p.get(), s.data(), s.size());
    return p;
}

std::string repair(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        if (auto d = utf8::decode(s.substr(i))) {
            out.append(s.substr(i, d->size));
            i += d->size;
        } else {
            utf8::append(out, 0xFFFD);
            ++i;
        }
    }
    return out;
}

// Byte offset of the n-th code point of valid UTF-8 (clamped to the end).
std::size_t byteIndex(std::string_view s, std::size_t n) noexcept {
    std::size_t i = 0;
    while (i < s.size() && n > 0) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
        --n;
    }
    return i;
}

}  // namespace

Text::Text(std::string_view bytes) {
    if (utf8::valid(bytes)) {
        buf_ = copyBytes(bytes);
        size_ = bytes.size();
    } else {
        std::string fixed = repair(bytes);
        buf_ = copyBytes(fixed);
        size_ = fixed.size();
    }
}

std::optional<Text> Text::fromUtf8(std::string_view bytes) {
    if (!utf8::valid(bytes)) return std::nullopt;
    return Text(copyBytes(bytes), 0, bytes.size());
}

Text Text::singleton(Char c) {
    std::string s;
    utf8::append(s, c);
    return Text(copyBytes(s), 0, s.size());
}

std::size_t Text::length() const noexcept { return utf8::length(view()); }

Text Text::sliceBytes(std::size_t from, std::size_t count) const noexcept {
    if (from > size_) from = size_;
    if (count > size_ - from) count = size_ - from;
    return Text(buf_, offset_ + from, count);
}
Text Text::dropBytes(std::size_t n) const noexcept { return sliceBytes(n, size_); }
Text Text::takeBytes(std::size_t n) const noexcept { return sliceBytes(0, n); }
Text Text::take(std::size_t n) const noexcept { return takeBytes(byteIndex(view(), n)); }
Text Text::drop(std::size_t n) const noexcept { return dropBytes(byteIndex(view(), n)); }

std::vector<Char> Text::chars() const {
    std::vector<Char> out;
    std::string_view s = view();
    while (!s.empty()) {
        auto d = utf8::decode(s);  // valid by construction
        if (!d) break;
        out.push_back(d->c);
        s.remove_prefix(d->size);
    }
    return out;
}

Text operator+(const Text& a, const Text& b) {
    if (a.empty()) return b;
    if (b.empty()) return a;
    std::shared_ptr<char[]> p(new char[a.size_ + b.size_]);
    std::memcpy(p.get(), a.data(), a.size_);
    std::memcpy(p.get() + a.size_, b.data(), b.size_);
    return Text(std::move(p), 0, a.size_ + b.size_);
}

Builder::Builder(const Builder& o) : size_(o.size_) {
    chunks_.reserve(o.chunks_.size());
    o.forEachPiece([&](const char* p, std::size_t n) {
        Chunk c{std::unique_ptr<char[]>(new char[chunkSize > n ? chunkSize : n]), chunkSize > n ? chunkSize : n, n};
        std::memcpy(c.bytes.get(), p, n);
        chunks_.push_back(std::move(c));
    });
    if (!chunks_.empty()) {
        cur_ = chunks_.back().bytes.get() + chunks_.back().used;
        end_ = chunks_.back().bytes.get() + chunks_.back().capacity;
    }
}

Builder::Builder(Builder&& o) noexcept
    : chunks_(std::move(o.chunks_)), cur_(o.cur_), end_(o.end_), size_(o.size_) {
    o.chunks_.clear();
    o.cur_ = o.end_ = nullptr;
    o.size_ = 0;
}

Builder& Builder::operator=(const Builder& o) {
    if (this != &o) *this = Builder(o);
    return *this;
}

Builder& Builder::operator=(Builder&& o) noexcept {
    if (this != &o) {
        chunks_ = std::move(o.chunks_);
        cur_ = o.cur_;
        end_ = o.end_;
        size_ = o.size_;
        o.chunks_.clear();
        o.cur_ = o.end_ = nullptr;
        o.size_ = 0;
    }
    return *this;
}

char* Builder::newChunk(std::size_t n) {
    if (!chunks_.empty()) chunks_.back().used = static_cast<std::size_t>(cur_ - chunks_.back().bytes.get());
    const std::size_t capacity = n > chunkSize ? n : chunkSize;
    chunks_.push_back(Chunk{std::unique_ptr<char[]>(new char[capacity]), capacity, 0});
    cur_ = chunks_.back().bytes.get();
    end_ = cur_ + capacity;
    return cur_;
}

Builder& Builder::append(std::string_view bytes) {
    size_ += bytes.size();
    while (!bytes.empty()) {
        if (cur_ == end_) newChunk(1);
        const std::size_t n = std::min(bytes.size(), static_cast<std::size_t>(end_ - cur_));
        std::memcpy(cur_, bytes.data(), n);
        cur_ += n;
        bytes.remove_prefix(n);
    }
    return *this;
}

Builder& Builder::append(const Builder& b) {
    if (&b == this) {
        const Builder copy = b;
        return append(copy);
    }
    b.forEachPiece([&](const char* p, std::size_t n) { append(std::string_view(p, n)); });
    return *this;
}

Builder& Builder::appendChar(Char c) {
    std::string s;
    utf8::append(s, c);
    return append(std::string_view(s));
}

std::string Builder::str() const {
    std::string out;
    out.reserve(size_);
    forEachPiece([&](const char* p, std::size_t n) { out.append(p, n); });
    return out;
}

Text Builder::build() const {
    if (size_ == 0) return Text();
    std::shared_ptr<char[]> p(new char[size_]);
    std::size_t at = 0;
    forEachPiece([&](const char* q, std::size_t n) {
        std::memcpy(p.get() + at, q, n);
        at += n;
    });
    return Text(std::move(p), 0, size_);
}

}  // namespace core
