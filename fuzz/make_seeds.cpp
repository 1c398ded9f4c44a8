// Writes the seed corpus of one fuzz target into a folder, built from the test fixtures.
// Usage: fuzz_seeds load|format|program <folder>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "ProgramScript.h"
#include "support/ChunkFileBuilder.h"

namespace {

// The files the view tests use: data, containers, mini-chunk lists, and broken ones.
std::vector<std::string> chunkFiles() {
    std::vector<std::string> files;
    ChunkFileBuilder sample;
    sample.data(0x12, "Hi there!")
        .container(0x20,
                   [](ChunkFileBuilder& inside) {
                       inside.data(0x21, bytesOf({0x01, 0x02, 0x41, 0x42, 0x0a, 0x01, 0x7a}));
                       inside.data(0x22, "abc");
                   })
        .data(0x30, "");
    files.push_back(sample.bytes());
    files.push_back("");
    files.push_back(ChunkFileBuilder().header(1, 0).bytes());
    files.push_back(ChunkFileBuilder().header(1, 0x80000000u).bytes());
    files.push_back(ChunkFileBuilder()
                        .container(1, [](ChunkFileBuilder& a) {
                            a.container(2, [](ChunkFileBuilder& b) {
                                b.container(3, [](ChunkFileBuilder& c) { c.data(4, "deep"); });
                                b.data(5, bytesOf({0x07, 0x01, 0x00}));
                            });
                        })
                        .bytes());
    files.push_back(ChunkFileBuilder().data(7, std::string(4096, 'x')).data(8, "tail").bytes());
    files.push_back(ChunkFileBuilder().chunk(0x30, 0x7FFFFFFF, "short").bytes());
    files.push_back(ChunkFileBuilder().header(0x40, 0x80000010).data(1, "ab").bytes());
    files.push_back(ChunkFileBuilder(sample).truncate(sample.size() - 3).bytes());
    files.push_back(sample.bytes() + "--tarnholm-reload--" +
                    ChunkFileBuilder().data(0x12, "Changed!").container(0x20, [](ChunkFileBuilder&) {}).bytes());
    return files;
}

// Width selector, four width bytes (the selector is the first), prefix length, prefix, bytes.
std::vector<std::string> formatInputs() {
    const std::string body = "Hello, world!" + bytesOf({0x00, 0x1f, 0x7f, 0x80, 0xff});
    const std::string list = bytesOf({0x01, 0x02, 0x41, 0x42, 0x0a, 0x01, 0x7a});
    std::vector<std::string> inputs;
    for (uint8_t selector = 0; selector < 8; ++selector) {
        inputs.push_back(bytesOf({selector, 8, 0, 0, 0}) + body);
        inputs.push_back(bytesOf({selector, 16, 0, 0, 7}) + "       " + list);
    }
    return inputs;
}

std::vector<std::string> programScripts() {
    std::vector<std::string> scripts;
    const ChunkFileBuilder changed = ChunkFileBuilder().data(0x12, "Changed!").data(0x13, "new");
    // Keys: 0 Down, 1 Up, 2 Right, 3 Left, 4 Tab, 5 F5, 6 Enter, 7 Escape (see fuzz_program).
    scripts.push_back(ProgramScript().open().key(0).key(0).key(2).key(0).bytes());
    scripts.push_back(ProgramScript().open().key(0).rewrite(changed.bytes()).refresh().key(0).bytes());
    scripts.push_back(ProgramScript().open().key(0).rewrite("\x01\x00").refresh().key(7).bytes());
    scripts.push_back(ProgramScript().refresh().key(6).open().resize(40, 10).key(0).bytes());
    scripts.push_back(ProgramScript().open().key(4).type("8").key(4).key(0).bytes());
    scripts.push_back(ProgramScript().open().click(10, 3).click(60, 1).type("0x10").bytes());
    return scripts;
}

bool writeAll(const std::string& folder, const char* stem, const std::vector<std::string>& seeds) {
    for (size_t i = 0; i < seeds.size(); ++i) {
        const std::string path = folder + "/" + stem + "-" + std::to_string(i);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(seeds[i].data(), static_cast<std::streamsize>(seeds[i].size()));
        if (!out) {
            std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", path.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds load|format|program <folder>\n");
        return 2;
    }
    const std::string target = argv[1];
    if (target == "load") return writeAll(argv[2], "load", chunkFiles()) ? 0 : 1;
    if (target == "format") return writeAll(argv[2], "format", formatInputs()) ? 0 : 1;
    if (target == "program") return writeAll(argv[2], "program", programScripts()) ? 0 : 1;
    std::fprintf(stderr, "fuzz_seeds: unknown target %s\n", argv[1]);
    return 2;
}
