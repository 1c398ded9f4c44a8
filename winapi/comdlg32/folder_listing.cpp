// Folder listings and path resolution for the open dialog.
#include "comdlg32/folder_listing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace winapi {

namespace fs = std::filesystem;

namespace {

bool lessIgnoringCase(const FolderEntry& a, const FolderEntry& b) {
    const auto fold = [](unsigned char c) { return std::tolower(c); };
    const bool less = std::lexicographical_compare(
        a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
        [&](char x, char y) { return fold(static_cast<unsigned char>(x)) < fold(static_cast<unsigned char>(y)); });
    const bool greater = std::lexicographical_compare(
        b.name.begin(), b.name.end(), a.name.begin(), a.name.end(),
        [&](char x, char y) { return fold(static_cast<unsigned char>(x)) < fold(static_cast<unsigned char>(y)); });
    return less || (!greater && a.name < b.name);  // names equal but for case: a stable order
}

bool matchesAny(const std::string& name, const std::vector<std::string>& patterns) {
    if (patterns.empty()) return true;
    return std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) { return matchesPattern(name, p); });
}

}  // namespace

bool listFolder(const std::string& folder, const std::vector<std::string>& patterns, bool showHidden,
                std::vector<FolderEntry>& entries) {
    entries.clear();
    std::error_code error;
    fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, error);
    if (error) return false;
    std::vector<FolderEntry> folders;
    std::vector<FolderEntry> files;
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (error) break;
        const std::string name = it->path().filename().string();
        if (!showHidden && !name.empty() && name[0] == '.') continue;
        std::error_code typeError;
        if (it->is_directory(typeError)) {
            folders.push_back({name, true});
        } else if (matchesAny(name, patterns)) {
            files.push_back({name, false});
        }
    }
    std::sort(folders.begin(), folders.end(), lessIgnoringCase);
    std::sort(files.begin(), files.end(), lessIgnoringCase);
    if (resolvePath(folder, "..") != resolvePath(folder, ".")) entries.push_back({"..", true});
    entries.insert(entries.end(), folders.begin(), folders.end());
    entries.insert(entries.end(), files.begin(), files.end());
    return true;
}

std::string resolvePath(const std::string& folder, const std::string& name) {
    const std::string joined = !name.empty() && name[0] == '/' ? name : folder + "/" + name;
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        const std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string path;
    for (const std::string& part : parts) path += "/" + part;
    return path.empty() ? "/" : path;
}

std::string parentFolder(const std::string& path) { return resolvePath(path, ".."); }

std::string currentFolder() {
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? "/" : resolvePath(current.string(), ".");
}

bool isFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool pathExists(const std::string& path) {
    std::error_code error;
    return fs::exists(path, error);
}

}  // namespace winapi
