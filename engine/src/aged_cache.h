// A cache counted in frames: what has not been used for a number of frames goes, and while the rest holds
// more bytes than its budget, the least recently used goes first.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zorbel {

template <typename Key, typename Value, typename Hash> class AgedCache {
  public:
    // A value left unused for keepFrames whole frames is still there; left unused for one more, it goes.
    AgedCache(uint64_t keepFrames, size_t budgetBytes) : keepFrames_(keepFrames), budgetBytes_(budgetBytes) {}

    // The value kept under the key, counted as used this frame; null if there is none.
    Value* Find(const Key& key) {
        auto it = slots_.find(key);
        if (it == slots_.end()) return nullptr;
        it->second.lastFrame = frame_;
        return &it->second.value;
    }

    // Keeps the value under the key (in place of any value there), used this frame and weighing `bytes`.
    Value& Put(const Key& key, Value value, size_t bytes) {
        Erase(key);
        bytes_ += bytes;
        return slots_.emplace(key, Slot{std::move(value), bytes, frame_}).first->second.value;
    }

    // Whether there was a value under the key to let go.
    bool Erase(const Key& key) {
        auto it = slots_.find(key);
        if (it == slots_.end()) return false;
        bytes_ -= it->second.bytes;
        slots_.erase(it);
        return true;
    }

    // Lets go every value whose key satisfies `pred`.
    template <typename Pred> void EraseIf(Pred pred) {
        DropIf([&pred](const Key& key, const Slot&) { return pred(key); });
    }

    void Clear() {
        slots_.clear();
        bytes_ = 0;
    }

    // The frame is over: values it was the (keepFrames + 1)-th unused frame for go, then the least recently
    // used while over budget.
    void EndFrame() {
        DropIf([this](const Key&, const Slot& slot) { return slot.lastFrame + keepFrames_ < frame_; });
        if (bytes_ > budgetBytes_) DropOldest();
        ++frame_;
    }

    size_t bytes() const { return bytes_; }
    size_t size() const { return slots_.size(); }

  private:
    struct Slot {
        Value value;
        size_t bytes;
        uint64_t lastFrame;
    };

    template <typename Pred> void DropIf(Pred pred) {
        std::erase_if(slots_, [&](const auto& kept) {
            if (!pred(kept.first, kept.second)) return false;
            bytes_ -= kept.second.bytes;
            return true;
        });
    }

    void DropOldest() {
        std::vector<std::pair<uint64_t, Key>> byAge;
        byAge.reserve(slots_.size());
        for (const auto& [key, slot] : slots_)
            byAge.emplace_back(slot.lastFrame, key);
        std::sort(byAge.begin(), byAge.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [frame, key] : byAge) {
            if (bytes_ <= budgetBytes_) break;
            Erase(key);
        }
    }

    std::unordered_map<Key, Slot, Hash> slots_;
    uint64_t keepFrames_, frame_ = 0;
    size_t budgetBytes_, bytes_ = 0;
};

} // namespace zorbel
