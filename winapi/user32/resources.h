// The module's resource tables (menus, accelerator tables, manifests), registered by the
// code winrc generates from the program's script and looked up by id or by name.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace winapi {

// One menu entry in depth-first order: depth 0 are the bar's titles, depth 1 their items.
// flags are MF_ bits (MF_POPUP, MF_SEPARATOR, MF_GRAYED, MF_DISABLED, MF_CHECKED); text is
// null for a separator and keeps '&' mnemonics and the '\t' before the accelerator text.
struct MenuTemplateItem {
    int depth = 0;
    unsigned flags = 0;
    unsigned id = 0;
    const char* text = nullptr;
};

// One accelerator, laid out as ACCEL: FVIRTKEY/FSHIFT/FCONTROL/FALT/FNOINVERT flags.
struct AcceleratorTemplateEntry {
    uint8_t flags = 0;
    uint16_t key = 0;
    uint16_t command = 0;
};

// A resource's identity: an integer id or a name; names compare case-insensitively.
class ResourceKey {
public:
    static ResourceKey number(unsigned id);
    static ResourceKey named(std::string_view name);
    // From an API argument: MAKEINTRESOURCEA(id), "#101" (an id too), or a name.
    static ResourceKey fromArgument(LPCSTR name);

    bool operator==(const ResourceKey& other) const;
    bool isNumber() const { return isNumber_; }
    unsigned id() const { return number_; }
    const std::string& name() const { return name_; }

private:
    bool isNumber_ = true;
    unsigned number_ = 0;
    std::string name_;  // upper-cased
};

// Registration, from generated code before main(); a later table with the same key
// replaces the earlier one.
void registerMenuResource(const ResourceKey& key, const MenuTemplateItem* items, size_t count);
void registerAcceleratorResource(const ResourceKey& key, const AcceleratorTemplateEntry* entries, size_t count);
void registerManifestResource(const ResourceKey& key, const char* bytes, size_t size);

// Lookups by API argument; null when the module has no such resource (or name is null).
const std::vector<MenuTemplateItem>* findMenuResource(LPCSTR name);
const std::vector<AcceleratorTemplateEntry>* findAcceleratorResource(LPCSTR name);
const std::string* findManifestResource(LPCSTR name);

}  // namespace winapi
