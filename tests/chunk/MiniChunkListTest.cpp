// The mini-chunk rule: which data chunk bodies are lists of mini-chunks.
#include "chunk/MiniChunkList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "support/ChunkFileBuilder.h"

namespace {

// The body is copied into an array of exactly its size, so a read past it is caught by the
// address sanitizer.
bool isList(const std::string& body) {
    std::unique_ptr<unsigned char[]> bytes(new unsigned char[body.size()]);
    std::copy(body.begin(), body.end(), bytes.get());
    return isMiniChunkList(bytes.get(), static_cast<uint32_t>(body.size()));
}

std::string miniChunks(int count, uint8_t payloadLength) {
    std::string body;
    for (int i = 0; i < count; ++i) {
        body += bytesOf({static_cast<uint8_t>(i), payloadLength});
        body += std::string(payloadLength, 'p');
    }
    return body;
}

TEST(IsMiniChunkList, FollowsTheRuleCaseByCase) {
    const std::string longestList = miniChunks(15, 255) + bytesOf({1, 238}) + std::string(238, 'x');
    ASSERT_EQ(longestList.size(), 4095u);
    struct Case {
        const char* what;
        std::string body;
        bool list;
    } cases[] = {
        {"one mini-chunk", bytesOf({0x01, 0x02, 0x41, 0x42}), true},
        {"empty body", "", true},
        {"several, back to back", bytesOf({1, 1, 9, 2, 3, 7, 8, 9, 3, 1, 0}), true},
        {"payload of 255", miniChunks(1, 255), true},
        {"last one overruns", bytesOf({0x01, 0x02, 0x41}), false},
        {"payload length 0", bytesOf({0x01, 0x00, 0x02, 0x01, 0x41}), false},
        {"one byte left over", bytesOf({0x01, 0x01, 0x41, 0x02}), false},
        {"two bytes left over", bytesOf({0x01, 0x01, 0x41, 0x02, 0x05}), false},
        {"one byte", bytesOf({0x07}), false},
        {"two bytes", bytesOf({0x07, 0x00}), false},
        {"4095 bytes of mini-chunks", longestList, true},
        {"4096 bytes of mini-chunks", miniChunks(16, 254), false},
    };
    for (const Case& c : cases) EXPECT_EQ(isList(c.body), c.list) << c.what;
}

TEST(IsMiniChunkList, BodiesOf4096BytesOrMoreAreNeverLists) {
    ASSERT_EQ(miniChunks(16, 254).size(), 4096u);
    const std::string big = miniChunks(40, 200);
    EXPECT_FALSE(isMiniChunkList(reinterpret_cast<const unsigned char*>(big.data()), 4096));
    EXPECT_FALSE(isList(big));
}

}  // namespace
