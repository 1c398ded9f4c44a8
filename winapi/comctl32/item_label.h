// A tree item's label: short ones (a chunk's "00000000h (00000000h)" among them) live
// inside the item, so a tree of a million items makes no allocation per label.
#pragma once

#include <cstddef>
#include <string_view>

namespace winapi {

class ItemLabel {
public:
    ItemLabel() { inline_[0] = '\0'; }
    ~ItemLabel() { release(); }
    ItemLabel(ItemLabel&& other) noexcept;
    ItemLabel& operator=(ItemLabel&& other) noexcept;
    ItemLabel(const ItemLabel&) = delete;
    ItemLabel& operator=(const ItemLabel&) = delete;

    void assign(const char* text);
    void clear();

    const char* c_str() const { return isInline() ? inline_ : heap_; }
    const char* data() const { return c_str(); }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    operator std::string_view() const { return {c_str(), size_}; }

private:
    // Room for the text and its terminator inside the item.
    static constexpr size_t kInline = 24;

    bool isInline() const { return size_ < kInline; }
    void release();

    union {
        char inline_[kInline];
        char* heap_;
    };
    size_t size_ = 0;
};

}  // namespace winapi
