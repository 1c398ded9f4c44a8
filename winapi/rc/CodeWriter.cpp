// C++ output of the resource compiler: constant tables and one registration at start-up.
#include "CodeWriter.h"

#include <cstdio>
#include <sstream>

namespace winrc {

namespace {

// A C++ string literal for arbitrary bytes: everything outside plain ASCII is written as
// a three-digit octal escape, which cannot run into the character after it.
std::string literal(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '?') {
            out += "\\?";
        } else if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\%03o", c);
            out += buf;
        }
    }
    return out + "\"";
}

std::string keyExpression(const ResourceName& name) {
    if (name.isNumber) return "winapi::ResourceKey::number(" + std::to_string(name.number) + ")";
    return "winapi::ResourceKey::named(" + literal(name.name) + ")";
}

std::string suffix(const ResourceName& name, size_t index) {
    return (name.isNumber ? std::to_string(name.number) : "Named") + "_" + std::to_string(index);
}

void writeMenuItems(std::ostream& out, const std::vector<MenuNode>& items, int depth) {
    for (const MenuNode& item : items) {
        out << "    {" << depth << ", 0x" << std::hex << item.flags << std::dec << ", " << item.id << ", "
            << ((item.flags & kMenuSeparator) ? "nullptr" : literal(item.text)) << "},\n";
        writeMenuItems(out, item.children, depth + 1);
    }
}

// An empty table is passed as a null pointer: C++ has no zero-length arrays.
template <typename Items>
std::string tableArguments(const Items& items, const std::string& table) {
    return items.empty() ? "nullptr, 0" : table + ", sizeof " + table + " / sizeof " + table + "[0]";
}

}  // namespace

std::string writeResourceSource(const ResourceScript& script, const std::string& scriptName) {
    std::ostringstream out;
    std::ostringstream registrations;
    out << "// Resources of " << scriptName << ", compiled by winrc at build time; do not edit.\n"
        << "#include <winapi/user32/resources.h>\n\nnamespace {\n\n";

    for (size_t i = 0; i < script.menus.size(); ++i) {
        const MenuResource& menu = script.menus[i];
        const std::string table = "kMenu" + suffix(menu.name, i);
        if (!menu.items.empty()) {
            out << "const winapi::MenuTemplateItem " << table << "[] = {\n";
            writeMenuItems(out, menu.items, 0);
            out << "};\n\n";
        }
        registrations << "        winapi::registerMenuResource(" << keyExpression(menu.name) << ", "
                      << tableArguments(menu.items, table) << ");\n";
    }
    for (size_t i = 0; i < script.accelerators.size(); ++i) {
        const AcceleratorResource& table = script.accelerators[i];
        const std::string name = "kAccelerators" + suffix(table.name, i);
        if (!table.entries.empty()) {
            out << "const winapi::AcceleratorTemplateEntry " << name << "[] = {\n";
            for (const AcceleratorEntry& entry : table.entries) {
                out << "    {0x" << std::hex << static_cast<unsigned>(entry.flags) << ", 0x" << entry.key << std::dec
                    << ", " << entry.command << "},\n";
            }
            out << "};\n\n";
        }
        registrations << "        winapi::registerAcceleratorResource(" << keyExpression(table.name) << ", "
                      << tableArguments(table.entries, name) << ");\n";
    }
    for (size_t i = 0; i < script.manifests.size(); ++i) {
        const ManifestResource& manifest = script.manifests[i];
        const std::string name = "kManifest" + suffix(manifest.name, i);
        out << "const char " << name << "[] = " << literal(manifest.bytes) << ";\n\n";
        registrations << "        winapi::registerManifestResource(" << keyExpression(manifest.name) << ", " << name
                      << ", " << manifest.bytes.size() << ");\n";
    }

    out << "// Registers the tables before main() runs, so LoadMenuA and friends find them.\n"
        << "struct Registration {\n    Registration() {\n"
        << registrations.str() << "    }\n};\n\nconst Registration registration;\n\n}  // namespace\n";
    return out.str();
}

std::string writeDepfile(const std::string& target, const std::vector<std::string>& dependencies) {
    auto escape = [](const std::string& path) {
        std::string out;
        for (char c : path) {
            if (c == ' ' || c == '#') out += '\\';
            if (c == '$') out += '$';
            out += c;
        }
        return out;
    };
    std::string out = escape(target) + ":";
    for (const std::string& dependency : dependencies) out += " \\\n  " + escape(dependency);
    return out + "\n";
}

}  // namespace winrc
