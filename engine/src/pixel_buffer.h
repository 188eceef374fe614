// 32-bit pictures in plain memory: a view of pixels someone else owns, and a picture that owns its own.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace zorbel::pixels {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Rows lie `pitch` pixels apart (at least w); the memory belongs to whoever handed the view out and must
// outlive it.
struct View {
    int w = 0, h = 0, pitch = 0;
    uint32_t* data = nullptr;
    uint32_t* Row(int y) const { return data + static_cast<ptrdiff_t>(y) * pitch; }
};

// The smallest rectangle holding every pixel of the picture whose alpha is not 0; empty (0 × 0) when there
// is none. Whatever lies outside it blends into nothing.
inline Rect OpaquePart(const View& picture) {
    int left = picture.w, right = -1, top = picture.h, bottom = -1;
    for (int y = 0; y < picture.h; ++y) {
        const uint32_t* row = picture.Row(y);
        int x = 0;
        while (x < picture.w && (row[x] >> 24) == 0)
            ++x;
        if (x == picture.w) continue;
        int last = picture.w - 1;
        while ((row[last] >> 24) == 0)
            --last;
        left = std::min(left, x);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    return right < 0 ? Rect{} : Rect{left, top, right - left + 1, bottom - top + 1};
}

// Rows back to back, every pixel 0 at the start unless the picture is made Unfilled, for one about to be
// written whole.
class Buffer {
  public:
    struct Unfilled {};
    Buffer(int w, int h, Unfilled)
        : w_(w), h_(h), pixels_(new uint32_t[static_cast<size_t>(w) * static_cast<size_t>(h)]) {}
    Buffer(int w, int h) : Buffer(w, h, Unfilled{}) { std::fill_n(pixels_.get(), count(), 0u); }
    Buffer(const Buffer& other) : Buffer(other.w_, other.h_, Unfilled{}) {
        std::copy_n(other.pixels_.get(), count(), pixels_.get());
    }
    Buffer& operator=(const Buffer& other) {
        if (this != &other) *this = Buffer(other);
        return *this;
    }
    Buffer(Buffer&&) noexcept = default;
    Buffer& operator=(Buffer&&) noexcept = default;
    View view() { return View{w_, h_, w_, pixels_.get()}; }
    size_t bytes() const { return count() * sizeof(uint32_t); }

  private:
    size_t count() const { return static_cast<size_t>(w_) * static_cast<size_t>(h_); }
    int w_, h_;
    std::unique_ptr<uint32_t[]> pixels_;
};

} // namespace zorbel::pixels
