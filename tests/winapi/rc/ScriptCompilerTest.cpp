// The resource compiler read on scripts written to a temporary folder: the model it
// builds, and its errors with file and line.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CodeWriter.h"
#include "ScriptParser.h"

namespace {

namespace fs = std::filesystem;

class ScriptFolder {
public:
    ScriptFolder() {
        std::string pattern = (fs::temp_directory_path() / "winrc-test-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
    }
    ~ScriptFolder() { fs::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream(dir_ / name, std::ios::binary) << content;
        return (dir_ / name).string();
    }

private:
    fs::path dir_;
};

// The message of the ScriptError that compiling `script` raises, with the folder left out.
std::string errorOf(const std::string& script, const std::string& header = "") {
    ScriptFolder folder;
    if (!header.empty()) folder.write("ids.h", header);
    const std::string path = folder.write("app.rc", script);
    try {
        winrc::compileScript(path);
    } catch (const winrc::ScriptError& e) {
        std::string message = e.what();
        const std::string prefix = fs::path(path).parent_path().string() + "/";
        for (size_t at; (at = message.find(prefix)) != std::string::npos;) message.erase(at, prefix.size());
        return message;
    }
    return "(no error)";
}

TEST(ScriptCompiler, ReadsMenuTreeWithOptionsAndKeepsTextEscapes) {
    ScriptFolder folder;
    folder.write("ids.h", "#define ID_A 10\n#define ID_B (ID_A + 1)\n");
    const std::string path = folder.write("app.rc",
                                          "#include \"ids.h\"\n"
                                          "MAIN MENU\n{\n"
                                          "  POPUP \"&File\" { MENUITEM \"&Open\\tCtrl+O\", ID_A\n"
                                          "    MENUITEM SEPARATOR\n"
                                          "    MENUITEM \"&Gone\", ID_B, GRAYED }\n"
                                          "  MENUITEM \"Top\", 0x20, INACTIVE, CHECKED\n}\n");
    const winrc::ResourceScript script = winrc::compileScript(path);
    ASSERT_EQ(script.menus.size(), 1u);
    const winrc::MenuResource& menu = script.menus[0];
    EXPECT_FALSE(menu.name.isNumber);
    EXPECT_EQ(menu.name.name, "MAIN");
    ASSERT_EQ(menu.items.size(), 2u);
    const winrc::MenuNode& file = menu.items[0];
    EXPECT_EQ(file.text, "&File");
    EXPECT_EQ(file.flags, winrc::kMenuPopup);
    ASSERT_EQ(file.children.size(), 3u);
    EXPECT_EQ(file.children[0].text, "&Open\tCtrl+O");
    EXPECT_EQ(file.children[0].id, 10u);
    EXPECT_EQ(file.children[1].flags, winrc::kMenuSeparator);
    EXPECT_EQ(file.children[2].id, 11u);
    EXPECT_EQ(file.children[2].flags, winrc::kMenuGrayed);
    EXPECT_EQ(menu.items[1].id, 0x20u);
    EXPECT_EQ(menu.items[1].flags, winrc::kMenuDisabled | winrc::kMenuChecked);
}

TEST(ScriptCompiler, ListsEveryFileReadAsDependencies) {
    ScriptFolder folder;
    folder.write("ids.h", "#include \"more.h\"\n");
    folder.write("more.h", "#define ID_X 5\n");
    folder.write("app.manifest", "<assembly/>");
    const std::string path =
        folder.write("app.rc", "#include \"ids.h\"\n1 MENU { MENUITEM \"x\", ID_X }\n1 24 \"app.manifest\"\n");
    const winrc::ResourceScript script = winrc::compileScript(path);
    ASSERT_EQ(script.dependencies.size(), 4u);
    EXPECT_EQ(fs::path(script.dependencies[0]).filename(), "app.rc");
    EXPECT_EQ(fs::path(script.dependencies[1]).filename(), "ids.h");
    EXPECT_EQ(fs::path(script.dependencies[2]).filename(), "more.h");
    EXPECT_EQ(fs::path(script.dependencies[3]).filename(), "app.manifest");
    EXPECT_EQ(script.manifests[0].bytes, "<assembly/>");
    EXPECT_EQ(winrc::writeDepfile("out dir/x.cpp", {"a.rc", "b.h"}), "out\\ dir/x.cpp: \\\n  a.rc \\\n  b.h\n");
}

TEST(ScriptCompiler, SkipsInactiveConditionalBranches) {
    const std::string script =
        "#define USE_B\n"
        "#ifdef USE_A\n garbage ;;; here\n#elif defined(USE_B) && 1\n"
        "1 MENU { MENUITEM \"b\", 2 }\n"
        "#else\n 1 MENU { MENUITEM \"c\", 3 }\n#endif\n"
        "#if 0\n#error never\n#endif\n";
    ScriptFolder folder;
    const winrc::ResourceScript compiled = winrc::compileScript(folder.write("app.rc", script));
    ASSERT_EQ(compiled.menus.size(), 1u);
    EXPECT_EQ(compiled.menus[0].items[0].text, "b");
}

TEST(ScriptCompiler, ReadsAcceleratorKeysAndOptions) {
    ScriptFolder folder;
    const std::string path = folder.write("app.rc",
                                          "7 ACCELERATORS BEGIN\n"
                                          "  \"C\", 1, VIRTKEY, CONTROL\n"
                                          "  VK_F5, 2, VIRTKEY, SHIFT, ALT, NOINVERT\n"
                                          "  \"^c\", 3\n"
                                          "  \"k\", 4, ASCII, ALT\n"
                                          "  0x41, 5\n"
                                          "END\n");
    const winrc::ResourceScript script = winrc::compileScript(path);
    ASSERT_EQ(script.accelerators.size(), 1u);
    const auto& entries = script.accelerators[0].entries;
    struct Expected {
        unsigned flags, key, command;
    };
    const Expected expected[] = {{winrc::kAccelVirtKey | winrc::kAccelControl, 'C', 1},
                                 {winrc::kAccelVirtKey | winrc::kAccelShift | winrc::kAccelAlt | winrc::kAccelNoInvert, 0x74, 2},
                                 {0, 3, 3},
                                 {winrc::kAccelAlt, 'k', 4},
                                 {0, 0x41, 5}};
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].flags, expected[i].flags) << "entry " << i;
        EXPECT_EQ(entries[i].key, expected[i].key) << "entry " << i;
        EXPECT_EQ(entries[i].command, expected[i].command) << "entry " << i;
    }
}

TEST(ScriptCompiler, ReportsErrorsWithFileAndLine) {
    struct Case {
        const char* script;
        const char* header;
        const char* message;
    };
    const Case cases[] = {
        {"\n1 DIALOG 0, 0, 10, 10\n", "", "app.rc:2: error: unsupported resource type DIALOG"},
        {"1 MENU\nBEGIN\n  MENUITEM \"x\", ID_NOPE\nEND\n", "", "app.rc:3: error: undefined symbol ID_NOPE"},
        {"1 MENU\nBEGIN\n  POPUP \"x\"\n  BEGIN\n  END\n", "", "app.rc:5: error: END or } missing before the end of the script"},
        {"1 MENU { MENUITEM \"x\", 1,\n BOLD }\n", "", "app.rc:2: error: menu option expected, found 'BOLD'"},
        {"1 MENU { MENUITEM \"x\", 1, MENUBREAK }\n", "", "app.rc:1: error: unsupported menu option MENUBREAK"},
        {"1 MENU { MENUITEM \"x\" 1 }\n", "", "app.rc:1: error: ',' and a command id expected after the item text"},
        {"1 MENU { MENUITEM \"x\", 70000 }\n", "", "app.rc:1: error: command id 70000 is out of range 0..65535"},
        {"1 MENU { }\n1 MENU { }\n", "", "app.rc:2: error: duplicate MENU resource 1"},
        {"1 ACCELERATORS { \"C\", 1, VIRTKEY, CTRL }\n", "", "app.rc:1: error: unknown accelerator option CTRL"},
        {"1 ACCELERATORS {\n \"C\", 1, SHIFT }\n", "", "app.rc:2: error: SHIFT and CONTROL need VIRTKEY"},
        {"1 ACCELERATORS { \"c\", 1, VIRTKEY }\n", "", "app.rc:1: error: virtual-key letters are upper case: write \"C\""},
        {"1 ACCELERATORS { \"CC\", 1 }\n", "", "app.rc:1: error: accelerator key must be one character or ^letter"},
        {"\n\n1 RT_MANIFEST \"absent.manifest\"\n", "", "app.rc:3: error: cannot open manifest file \"absent.manifest\""},
        {"#include \"absent.h\"\n", "", "app.rc:1: error: cannot open include file \"absent.h\""},
        {"#include \"ids.h\"\n", "#define A 1\n#include \"gone.h\"\n", "ids.h:2: error: cannot open include file \"gone.h\""},
        {"1 MENU { MENUITEM \"x, 1 }\n", "", "app.rc:1: error: unterminated string"},
        {"1 MENU { MENUITEM \"\\q\", 1 }\n", "", "app.rc:1: error: unknown escape sequence \\q"},
        {"1 MENU { MENUITEM \"x\", 1; }\n", "", "app.rc:1: error: unexpected character ';'"},
        {"LANGUAGE 9, 1\n", "", "app.rc:1: error: unsupported statement LANGUAGE"},
        {"#ifdef X\n1 MENU { }\n", "", "app.rc:2: error: #if without #endif"},
        {"#endif\n", "", "app.rc:1: error: #endif without #if"},
        {"#line 4\n", "", "app.rc:1: error: unsupported directive #line"},
        {"#define LOOP LOOP\n1 MENU { MENUITEM \"x\", LOOP }\n", "", "error: #define of LOOP refers to itself"},
        {"1 MENU { MENUITEM \"x\", 99999999999 }\n", "", "app.rc:1: error: bad number 99999999999"},
        {"1 MENU { MENUITEM \"x\", 12abc }\n", "", "app.rc:1: error: bad number 12abc"},
        {"1 MENU\n", "", "app.rc:1: error: BEGIN or { expected before the end of the script"},
    };
    for (const Case& c : cases) {
        EXPECT_NE(errorOf(c.script, c.header).find(c.message), std::string::npos)
            << "script:\n" << c.script << "\nerror: " << errorOf(c.script, c.header) << "\nexpected: " << c.message;
    }
}

}  // namespace
