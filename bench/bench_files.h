// The files the dump and load benchmarks read: generated once into a folder, the same bytes
// on every run (fixed seeds), kept for the external tools that run on the same bytes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

// The folder given with --data-dir=DIR (taken out of argv), or a folder under /tmp.
inline std::string takeDataDir(int& argc, char** argv) {
    std::string dir = (std::filesystem::temp_directory_path() / "tarnholm-bench").string();
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (std::strncmp(arg, "--data-dir=", 11) == 0) {
            dir = arg + 11;
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    std::filesystem::create_directories(dir);
    return dir;
}

// The value of --name=VALUE (taken out of argv), or "" when absent.
inline std::string takeOption(int& argc, char** argv, const std::string& name) {
    const std::string key = "--" + name + "=";
    std::string value;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], key.c_str(), key.size()) == 0) {
            value = argv[i] + key.size();
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    return value;
}

inline void putWord(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

inline std::string randomBytes(size_t count, uint64_t seed) {
    std::mt19937_64 random(seed);
    std::string bytes(count, '\0');
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const uint64_t word = random();
        std::memcpy(&bytes[i], &word, 8);
    }
    for (; i < count; ++i) bytes[i] = static_cast<char>(random());
    return bytes;
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    const std::string partial = path + ".partial";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + partial);
    }
    std::filesystem::rename(partial, path);
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in && !in.eof()) throw std::runtime_error("cannot read " + path);
    return bytes;
}

// The dump's bytes: `count` random bytes raw (for the external dumpers) and the same bytes
// as the body of the one data chunk of a chunk file. Returns the chunk file's path.
inline std::string dumpFiles(const std::string& dir, size_t count, std::string* rawPath = nullptr) {
    const std::string raw = dir + "/dump-" + std::to_string(count) + ".bin";
    const std::string chunk = dir + "/dump-" + std::to_string(count) + ".chunk";
    if (rawPath) *rawPath = raw;
    if (std::filesystem::exists(raw) && std::filesystem::exists(chunk) &&
        std::filesystem::file_size(raw) == count)
        return chunk;
    const std::string bytes = randomBytes(count, 64);
    writeFile(raw, bytes);
    std::string file;
    putWord(file, 1);
    putWord(file, static_cast<uint32_t>(count));
    file += bytes;
    writeFile(chunk, file);
    return chunk;
}

// Containers of nine data chunks with bodies of 0 to 500 random bytes, `chunks` chunks in
// all (a multiple of ten). Returns the file's path.
inline std::string loadFile(const std::string& dir, size_t chunks) {
    const std::string path = dir + "/load-" + std::to_string(chunks) + ".chunk";
    if (std::filesystem::exists(path)) return path;
    std::mt19937_64 random(chunks);
    std::string file;
    file.reserve(chunks * 240);
    std::string body;
    for (size_t container = 0; container < chunks / 10; ++container) {
        body.clear();
        for (int i = 0; i < 9; ++i) {
            const uint32_t length = static_cast<uint32_t>(random() % 501);
            putWord(body, static_cast<uint32_t>(random() & 0xFFFF));
            putWord(body, length);
            for (uint32_t b = 0; b < length; ++b) body += static_cast<char>(random());
        }
        putWord(file, static_cast<uint32_t>(0x10000 + container));
        putWord(file, 0x80000000u | static_cast<uint32_t>(body.size()));
        file += body;
    }
    writeFile(path, file);
    return path;
}

}  // namespace bench
