// The registry of the module's resource tables.
#include "user32/resources.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace winapi {

namespace {

template <typename Table>
struct Entry {
    ResourceKey key;
    Table table;
};

// Function-local statics: generated code registers during static initialisation, in an
// order no one controls.
template <typename Table>
std::vector<Entry<Table>>& registry() {
    static std::vector<Entry<Table>> entries;
    return entries;
}

template <typename Table>
void store(const ResourceKey& key, Table table) {
    auto& entries = registry<Table>();
    for (auto& entry : entries) {
        if (entry.key == key) {
            entry.table = std::move(table);
            return;
        }
    }
    entries.push_back({key, std::move(table)});
}

template <typename Table>
const Table* find(LPCSTR name) {
    if (name == nullptr) return nullptr;
    const ResourceKey key = ResourceKey::fromArgument(name);
    for (const auto& entry : registry<Table>()) {
        if (entry.key == key) return &entry.table;
    }
    return nullptr;
}

}  // namespace

ResourceKey ResourceKey::number(unsigned id) {
    ResourceKey key;
    key.isNumber_ = true;
    key.number_ = id;
    return key;
}

ResourceKey ResourceKey::named(std::string_view name) {
    ResourceKey key;
    key.isNumber_ = false;
    key.name_.assign(name.begin(), name.end());
    for (char& c : key.name_) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

ResourceKey ResourceKey::fromArgument(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return number(static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)));
    std::string_view text(name);
    if (text.size() > 1 && text[0] == '#' &&
        std::all_of(text.begin() + 1, text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        unsigned long id = std::strtoul(name + 1, nullptr, 10);
        if (id <= 0xFFFF) return number(static_cast<unsigned>(id));
    }
    return named(text);
}

bool ResourceKey::operator==(const ResourceKey& other) const {
    return isNumber_ == other.isNumber_ && (isNumber_ ? number_ == other.number_ : name_ == other.name_);
}

void registerMenuResource(const ResourceKey& key, const MenuTemplateItem* items, size_t count) {
    store(key, std::vector<MenuTemplateItem>(items, items + count));
}

void registerAcceleratorResource(const ResourceKey& key, const AcceleratorTemplateEntry* entries, size_t count) {
    store(key, std::vector<AcceleratorTemplateEntry>(entries, entries + count));
}

void registerManifestResource(const ResourceKey& key, const char* bytes, size_t size) {
    store(key, std::string(bytes, size));
}

const std::vector<MenuTemplateItem>* findMenuResource(LPCSTR name) { return find<std::vector<MenuTemplateItem>>(name); }

const std::vector<AcceleratorTemplateEntry>* findAcceleratorResource(LPCSTR name) {
    return find<std::vector<AcceleratorTemplateEntry>>(name);
}

const std::string* findManifestResource(LPCSTR name) { return find<std::string>(name); }

}  // namespace winapi
