// The fixture script as the build compiles it: the generated tables are registered
// before main() and found by id or name, byte for byte.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "user32/resources.h"

namespace {

TEST(GeneratedTables, MenuIsRegisteredDepthFirstWithFlagsAndTexts) {
    const auto* menu = winapi::findMenuResource(MAKEINTRESOURCEA(201));
    ASSERT_NE(menu, nullptr);
    struct Expected {
        int depth;
        unsigned flags;
        unsigned id;
        const char* text;
    };
    const Expected expected[] = {
        {0, MF_POPUP, 0, "&File"},
        {1, 0, 1001, "&Open\tCtrl+O"},
        {1, MF_GRAYED, 1002, "&Reload\tF5"},
        {1, MF_SEPARATOR, 0, nullptr},
        {1, MF_POPUP, 0, "Re&cent"},
        {2, MF_CHECKED, 1003, "Say \"hi\" \\ ok?\?="},
        {0, MF_POPUP | MF_GRAYED, 0, "&Help"},
        {1, 0, 1004, "&About"},
    };
    ASSERT_EQ(menu->size(), std::size(expected));
    for (size_t i = 0; i < menu->size(); ++i) {
        const winapi::MenuTemplateItem& item = (*menu)[i];
        EXPECT_EQ(item.depth, expected[i].depth) << "item " << i;
        EXPECT_EQ(item.flags, expected[i].flags) << "item " << i;
        EXPECT_EQ(item.id, expected[i].id) << "item " << i;
        if (expected[i].text == nullptr) {
            EXPECT_EQ(item.text, nullptr) << "item " << i;
        } else {
            ASSERT_NE(item.text, nullptr) << "item " << i;
            EXPECT_STREQ(item.text, expected[i].text) << "item " << i;
        }
    }
}

TEST(GeneratedTables, ResourcesAreFoundByIdByHashIdAndByNameInAnyCase) {
    EXPECT_EQ(winapi::findMenuResource("#201"), winapi::findMenuResource(MAKEINTRESOURCEA(201)));
    const auto* named = winapi::findMenuResource("NAMEDMENU");
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(winapi::findMenuResource("namedmenu"), named);
    ASSERT_EQ(named->size(), 1u);
    EXPECT_STREQ((*named)[0].text, "Only");

    EXPECT_EQ(winapi::findMenuResource(MAKEINTRESOURCEA(999)), nullptr);
    EXPECT_EQ(winapi::findMenuResource(MAKEINTRESOURCEA(202)), nullptr);  // an accelerator table's id
    EXPECT_EQ(winapi::findMenuResource(nullptr), nullptr);
    EXPECT_EQ(winapi::findAcceleratorResource("absent"), nullptr);
}

TEST(GeneratedTables, AcceleratorTableKeepsKeysFlagsAndCommands) {
    const auto* table = winapi::findAcceleratorResource(MAKEINTRESOURCEA(0xCA));
    ASSERT_NE(table, nullptr);
    const ACCEL expected[] = {
        {FVIRTKEY | FCONTROL, 'O', 1001},
        {FVIRTKEY, VK_F5, 1002},
        {FVIRTKEY | FSHIFT | FALT | FNOINVERT, VK_F1, 1004},
        {0, 'Q' - 0x40, 1005},
        {FALT, 'k', 1005},
    };
    ASSERT_EQ(table->size(), std::size(expected));
    for (size_t i = 0; i < table->size(); ++i) {
        EXPECT_EQ((*table)[i].flags, expected[i].fVirt) << "entry " << i;
        EXPECT_EQ((*table)[i].key, expected[i].key) << "entry " << i;
        EXPECT_EQ((*table)[i].command, expected[i].cmd) << "entry " << i;
    }
}

TEST(GeneratedTables, ManifestBytesAreEmbeddedExactly) {
    std::ifstream in(std::string(RC_FIXTURE_DIR) + "/sample.manifest", std::ios::binary);
    std::stringstream file;
    file << in.rdbuf();
    ASSERT_FALSE(file.str().empty());
    ASSERT_NE(file.str().find('\0'), std::string::npos);  // the fixture holds every awkward byte

    const std::string* manifest = winapi::findManifestResource(MAKEINTRESOURCEA(1));
    ASSERT_NE(manifest, nullptr);
    EXPECT_EQ(*manifest, file.str());
}

}  // namespace
