// The open dialog's file types: the filter pairs a program passes, and matching names
// against their patterns.
#pragma once

#include <string>
#include <vector>

namespace winapi {

struct FileFilter {
    std::string description;
    std::vector<std::string> patterns;  // "*.zmk", "*.*" ... spaces around them trimmed
};

// Reads "description\0patterns\0...\0\0" pairs; patterns are separated by ';'. A pair
// whose patterns are empty is skipped. Null gives no filters.
std::vector<FileFilter> parseFilters(const char* pairs);

// Splits "a; b ;c" into trimmed, non-empty patterns.
std::vector<std::string> splitPatterns(const std::string& patterns);

// Whether `name` matches `pattern`: '*' any run, '?' one character, case-insensitive
// (ASCII letters). "*.*" matches every name, with or without a dot.
bool matchesPattern(const std::string& name, const std::string& pattern);

// Whether `name` matches any pattern of `filter`.
bool matchesFilter(const std::string& name, const FileFilter& filter);

// Whether text typed as a file name is a pattern to list by instead.
bool isPattern(const std::string& text);

}  // namespace winapi
