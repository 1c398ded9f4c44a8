// What a resource script declares: menus, accelerator tables and the manifest, as the
// resource compiler reads them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace winrc {

// A script error, with the file and line it was found at.
class ScriptError : public std::runtime_error {
public:
    ScriptError(const std::string& file, int line, const std::string& message)
        : std::runtime_error(file + ":" + std::to_string(line) + ": error: " + message) {}
};

// A resource's identity: an integer id, or a name when the script gives an undefined word.
struct ResourceName {
    bool isNumber = true;
    unsigned number = 0;
    std::string name;  // upper-cased, as the platform compares names
};

// Item option bits; the values are the MF_ flags of the menu API.
enum MenuFlag : unsigned {
    kMenuGrayed = 0x0001,
    kMenuDisabled = 0x0002,
    kMenuChecked = 0x0008,
    kMenuPopup = 0x0010,
    kMenuSeparator = 0x0800,
};

struct MenuNode {
    std::string text;  // mnemonic '&' and '\t' kept
    unsigned id = 0;
    unsigned flags = 0;
    std::vector<MenuNode> children;  // for a popup
};

struct MenuResource {
    ResourceName name;
    std::vector<MenuNode> items;  // the bar's titles
};

// Accelerator option bits; the values are the platform's ACCEL flags.
enum AccelFlag : uint8_t {
    kAccelVirtKey = 0x01,
    kAccelNoInvert = 0x02,
    kAccelShift = 0x04,
    kAccelControl = 0x08,
    kAccelAlt = 0x10,
};

struct AcceleratorEntry {
    uint8_t flags = 0;
    uint16_t key = 0;
    uint16_t command = 0;
};

struct AcceleratorResource {
    ResourceName name;
    std::vector<AcceleratorEntry> entries;
};

struct ManifestResource {
    ResourceName name;
    std::string path;   // as resolved when the script was read
    std::string bytes;  // the file's contents
};

struct ResourceScript {
    std::vector<MenuResource> menus;
    std::vector<AcceleratorResource> accelerators;
    std::vector<ManifestResource> manifests;
    std::vector<std::string> dependencies;  // every file read: the script, headers, manifests
};

}  // namespace winrc
