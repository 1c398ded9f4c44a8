// The open dialog's filter pairs and wildcard patterns.
#include <gtest/gtest.h>

#include "comdlg32/file_filter.h"
#include "comdlg32/folder_listing.h"

namespace {

TEST(FileFilter, PairsAreReadUntilTheDoubleZeroAndPatternsTrimmed) {
    const char pairs[] = "Chunks\0 *.ZMK;*.zmr ; ;*.QVX \0Empty\0\0All\0*.*\0";
    const std::vector<winapi::FileFilter> filters = winapi::parseFilters(pairs);
    ASSERT_EQ(filters.size(), 1u);  // "Empty" has no patterns: the list ends there
    EXPECT_EQ(filters[0].description, "Chunks");
    EXPECT_EQ(filters[0].patterns, (std::vector<std::string>{"*.ZMK", "*.zmr", "*.QVX"}));
    EXPECT_TRUE(winapi::parseFilters(nullptr).empty());
    EXPECT_TRUE(winapi::parseFilters("").empty());
}

TEST(FileFilter, PatternsMatchIgnoringCaseWithStarAndQuestionMark) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"model.zmk", "*.ZMK", true},     {"MODEL.ZMK", "*.zmk", true},   {"model.zmkx", "*.zmk", false},
        {"model.zm", "*.zmk", false},     {"a.zmk.txt", "*.zmk", false},  {"noext", "*.*", true},
        {"x.txt", "*", true},             {"ab.c", "a?.c", true},         {"a.c", "a?.c", false},
        {"aXbXc", "a*b*c", true},         {"aXbX", "a*b*c", false},       {".zmk", "*.zmk", true},
        {"ÄRGER.ZMK", "*.zmk", true},     {"", "*", true},                {"", "?", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(winapi::matchesPattern(c.name, c.pattern), c.matches) << c.name << " vs " << c.pattern;
    }
    const std::string longName(10000, 'a');
    EXPECT_FALSE(winapi::matchesPattern(longName, "*a*a*a*a*a*b"));  // no exponential backtracking
}

TEST(FileFilter, PathsResolveAgainstTheFolderLexically) {
    struct Case {
        const char* folder;
        const char* name;
        const char* path;
    };
    const Case cases[] = {
        {"/data", "a.zmk", "/data/a.zmk"},        {"/data", "../a.zmk", "/a.zmk"},
        {"/data", "/etc//x", "/etc/x"},           {"/data", "sub/./b/..", "/data/sub"},
        {"/", "..", "/"},                          {"/data/", "", "/data"},
    };
    for (const Case& c : cases) EXPECT_EQ(winapi::resolvePath(c.folder, c.name), c.path) << c.folder << " + " << c.name;
}

}  // namespace
