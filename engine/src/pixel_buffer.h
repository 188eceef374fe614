// 32-bit pictures in plain memory: a view of pixels someone else owns, and a picture that owns its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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
        left = left < x ? left : x;
        right = right > last ? right : last;
        top = top < y ? top : y;
        bottom = y;
    }
    return right < 0 ? Rect{} : Rect{left, top, right - left + 1, bottom - top + 1};
}

// Rows back to back, every pixel 0 at the start.
class Buffer {
  public:
    Buffer(int w, int h) : w_(w), h_(h), pixels_(static_cast<size_t>(w) * static_cast<size_t>(h), 0u) {}
    View view() { return View{w_, h_, w_, pixels_.data()}; }
    size_t bytes() const { return pixels_.size() * sizeof(uint32_t); }

  private:
    int w_, h_;
    std::vector<uint32_t> pixels_;
};

} // namespace zorbel::pixels
