// A tree item's label: kept inside the item up to a small size, on the heap beyond it.
#include "comctl32/item_label.h"

#include <cstring>

namespace winapi {

ItemLabel::ItemLabel(ItemLabel&& other) noexcept : size_(other.size_) {
    std::memcpy(inline_, other.inline_, kInline);  // the text, or the heap pointer
    other.size_ = 0;
    other.inline_[0] = '\0';
}

ItemLabel& ItemLabel::operator=(ItemLabel&& other) noexcept {
    if (this != &other) {
        release();
        size_ = other.size_;
        std::memcpy(inline_, other.inline_, kInline);
        other.size_ = 0;
        other.inline_[0] = '\0';
    }
    return *this;
}

void ItemLabel::assign(const char* text) {
    const size_t length = std::strlen(text);
    // A label may be set from its own text: copy before letting the old storage go.
    if (length < kInline) {
        char copy[kInline];
        std::memcpy(copy, text, length + 1);
        release();
        std::memcpy(inline_, copy, length + 1);
    } else {
        char* heap = new char[length + 1];
        std::memcpy(heap, text, length + 1);
        release();
        heap_ = heap;
    }
    size_ = length;
}

void ItemLabel::clear() {
    release();
    size_ = 0;
    inline_[0] = '\0';
}

void ItemLabel::release() {
    if (!isInline()) delete[] heap_;
}

}  // namespace winapi
