// File type filters and wildcard matching for the open dialog.
#include "comdlg32/file_filter.h"

#include <cctype>
#include <cstring>

namespace winapi {

namespace {

char fold(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

// Iterative wildcard match with one backtrack point: linear in practice, never exponential.
bool wildcardMatch(const std::string& name, const std::string& pattern) {
    size_t n = 0;
    size_t p = 0;
    size_t starP = std::string::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || fold(pattern[p]) == fold(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

std::vector<std::string> splitPatterns(const std::string& patterns) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos) end = patterns.size();
        std::string pattern = patterns.substr(start, end - start);
        const size_t first = pattern.find_first_not_of(" \t");
        const size_t last = pattern.find_last_not_of(" \t");
        if (first != std::string::npos) out.push_back(pattern.substr(first, last - first + 1));
        start = end + 1;
    }
    return out;
}

std::vector<FileFilter> parseFilters(const char* pairs) {
    std::vector<FileFilter> filters;
    if (pairs == nullptr) return filters;
    const char* at = pairs;
    while (*at != '\0') {
        FileFilter filter;
        filter.description = at;
        at += std::strlen(at) + 1;
        if (*at == '\0') break;  // a description without patterns ends the list
        filter.patterns = splitPatterns(at);
        at += std::strlen(at) + 1;
        if (!filter.patterns.empty()) filters.push_back(std::move(filter));
    }
    return filters;
}

bool matchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern == "*.*" || pattern == "*") return true;
    return wildcardMatch(name, pattern);
}

bool matchesFilter(const std::string& name, const FileFilter& filter) {
    for (const std::string& pattern : filter.patterns) {
        if (matchesPattern(name, pattern)) return true;
    }
    return false;
}

bool isPattern(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

}  // namespace winapi
