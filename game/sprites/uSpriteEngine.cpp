// Sprites and the sprite table: slot bookkeeping, the depth sorts, moving and drawing.
#include "uSpriteEngine.h"

#include "ZORBEL.h"

#include <array>
#include <cmath>
#include <memory>
#include <new>
#include <utility>
#include <vector>

double CosTable[256];

void BuildCosTable() {
    for (int i = 0; i < 256; ++i)
        CosTable[i] = std::cos(i * 2 * 3.14 / 256);
}

int32_t WholeDegrees(float degrees) {
    return ZB_Round(degrees);
}

std::string IntToText(int32_t value) {
    return std::to_string(value);
}

namespace {

// Under AddressSanitizer every sprite goes to the heap, so a sprite used after it was freed is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// Free lists of sprite memory by size, in steps of 16 bytes; a block, once carved from a chunk, serves one
// size for the rest of the run. Sprites are made and freed on the game's thread only.
class SpritePool {
  public:
    static constexpr std::size_t kStep = 16, kLargest = 1024;

    void* Take(std::size_t size) {
        if (size > kLargest || kSanitized) return ::operator new(size);
        Block*& free = free_[Class(size)];
        if (free) {
            Block* block = free;
            free = block->next;
            return block;
        }
        return Carve(Class(size) * kStep);
    }

    void Give(void* memory, std::size_t size) noexcept {
        if (!memory) return;
        if (size > kLargest || kSanitized) {
            ::operator delete(memory, size);
            return;
        }
        Block*& free = free_[Class(size)];
        free = ::new (memory) Block{free};
    }

  private:
    struct Block {
        Block* next;
    };
    static constexpr std::size_t kChunkBytes = 64 * 1024;

    static std::size_t Class(std::size_t size) { return (size + kStep - 1) / kStep; }

    void* Carve(std::size_t bytes) {
        if (left_ < bytes) {
            chunks_.push_back(std::make_unique<std::byte[]>(kChunkBytes));
            next_ = chunks_.back().get();
            left_ = kChunkBytes;
        }
        void* block = next_;
        next_ += bytes;
        left_ -= bytes;
        return block;
    }

    std::array<Block*, kLargest / kStep + 1> free_{};
    std::vector<std::unique_ptr<std::byte[]>> chunks_;
    std::byte* next_ = nullptr;
    std::size_t left_ = 0;
};

static_assert(alignof(CSprite) <= SpritePool::kStep);

SpritePool& Pool() {
    static SpritePool* pool = new SpritePool; // never freed: sprites may outlive any static's destruction
    return *pool;
}

} // namespace

void* CSprite::operator new(std::size_t size) {
    return Pool().Take(size);
}

void CSprite::operator delete(void* memory, std::size_t size) noexcept {
    Pool().Give(memory, size);
}

void CSprite::Draw() {
    if (!Texture) return;
    if (Animated) {
        ASprite_Draw(Texture, static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W),
                     static_cast<float>(H), ZB_Round(Frame), Alpha, static_cast<float>(Angle), FX);
    } else {
        SSprite_Draw(Texture, static_cast<float>(X), static_cast<float>(Y), static_cast<float>(W),
                     static_cast<float>(H), Alpha, static_cast<float>(Angle), FX);
    }
}

void CSprite::Move() {
    if (!Animated) return;
    Frame += AnimSpeed;
    // The frame may run one past the last frame for a tick before it wraps; the engine wraps that too.
    if (Texture) {
        const int32_t frames = int32_t{Texture->FramesX} * int32_t{Texture->FramesY};
        if (static_cast<double>(Frame) - 1.0 > frames) Frame = 1.0f;
    }
}

int32_t CSpriteEngine::NewSlot() {
    // The list and the order always hold Count entries, so the new slot is appended to both.
    List.emplace_back();
    Order.push_back(Count);
    return Count++;
}

void CSpriteEngine::RemoveSprite(int32_t index) {
    if (Count == 0) return;
    --Count;
    List[static_cast<size_t>(index)]->OnRemove();
    List[static_cast<size_t>(index)].reset();
    for (int32_t j = index; j < Count; ++j) {
        List[static_cast<size_t>(j)] = std::move(List[static_cast<size_t>(j) + 1]);
        List[static_cast<size_t>(j)]->ID -= 1;
    }
    List.resize(static_cast<size_t>(Count));
    Order.resize(static_cast<size_t>(Count));
    for (int32_t i = 0; i < Count; ++i)
        Order[static_cast<size_t>(i)] = List[static_cast<size_t>(i)]->ID;
}

void CSpriteEngine::Move() {
    // One walk closes up the table: a dead sprite is freed where the walk finds it, and each living one
    // slides down over the gaps before it moves, so the sprite moving and every one before it sit in the
    // slots their IDs name, as if each removal had closed up at once. Slots between the last sprite moved and
    // the next are empty until the walk reaches them. Count is re-read every step: sprites born in this pass
    // are appended and move in it, and may move the list, so no slot's address is kept across a call.
    int32_t kept = 0;
    for (int32_t next = 0; next < Count; ++next) {
        CSprite* sprite = At(next);
        if (sprite->Dead) {
            sprite->OnRemove();
            List[static_cast<size_t>(next)].reset();
            continue;
        }
        if (kept != next) {
            // The slot it slides into is empty, so swapping moves it without a check for a sprite to free.
            List[static_cast<size_t>(kept)].swap(List[static_cast<size_t>(next)]);
            sprite->ID = kept;
        }
        ++kept;
        sprite->Move();
    }
    // Every sprite the walk met was kept or freed, so a shorter table means something was removed.
    if (kept == Count) return;
    Count = kept;
    List.resize(static_cast<size_t>(Count));
    // A removal leaves the drawing order in slot order for the next sort, as RemoveSprite does.
    Order.resize(static_cast<size_t>(Count));
    int32_t* const order = Order.data();
    for (int32_t i = 0; i < kept; ++i)
        order[i] = i;
}

void CSpriteEngine::Draw() {
    if (Count > 1) {
        if (SortAscending)
            SortZAscending(0, Count - 1);
        else
            SortZDescending(0, Count - 1);
    }
    const int32_t count = Count;
    for (int32_t i = 0; i < count; ++i)
        At(Order[static_cast<size_t>(i)])->Draw();
}

// Hoare quicksort over Order by the Z of the sprites named; the two directions differ only in comparisons.
template <bool Ascending> static void SortByZ(CSpriteEngine& table, int32_t lo, int32_t hi) {
    std::vector<int32_t>& order = table.Order;
    auto z = [&](int32_t k) { return table.At(order[static_cast<size_t>(k)])->Z; };
    auto before = [](int32_t a, int32_t b) { return Ascending ? a < b : a > b; };
    int32_t i = lo, j = hi;
    const int32_t pivot = z((lo + hi) / 2);
    do {
        while (before(z(i), pivot))
            ++i;
        while (before(pivot, z(j)))
            --j;
        if (i <= j) {
            std::swap(order[static_cast<size_t>(i)], order[static_cast<size_t>(j)]);
            ++i;
            --j;
        }
    } while (i <= j);
    if (lo < j) SortByZ<Ascending>(table, lo, j);
    if (i < hi) SortByZ<Ascending>(table, i, hi);
}

void CSpriteEngine::SortZAscending(int32_t lo, int32_t hi) {
    SortByZ<true>(*this, lo, hi);
}
void CSpriteEngine::SortZDescending(int32_t lo, int32_t hi) {
    SortByZ<false>(*this, lo, hi);
}
