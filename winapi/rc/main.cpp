// winrc: compiles the program's resource script into C++ tables for our Win32 layer.
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>
#include <vector>

#include "CodeWriter.h"
#include "ScriptParser.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: winrc <script.rc> -o <out.cpp> [--depfile <file>] [-I <dir>]...\n");
    return 2;
}

// Writes through a temporary name, so a failed run never leaves half a file behind.
bool writeFile(const std::string& path, const std::string& content) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out.flush()) return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string input;
    std::string output;
    std::string depfile;
    std::vector<std::string> includeDirs;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "-o" || arg == "--depfile" || arg == "-I") && i + 1 < argc) {
            std::string value = argv[++i];
            if (arg == "-o") output = value;
            else if (arg == "--depfile") depfile = value;
            else includeDirs.push_back(value);
        } else if (arg.size() > 2 && arg.compare(0, 2, "-I") == 0) {
            includeDirs.push_back(arg.substr(2));
        } else if (!arg.empty() && arg[0] != '-' && input.empty()) {
            input = arg;
        } else {
            return usage();
        }
    }
    if (input.empty() || output.empty()) return usage();

    try {
        const winrc::ResourceScript script = winrc::compileScript(input, includeDirs);
        const size_t slash = input.find_last_of("/\\");
        const std::string scriptName = slash == std::string::npos ? input : input.substr(slash + 1);
        if (!writeFile(output, winrc::writeResourceSource(script, scriptName))) {
            std::fprintf(stderr, "winrc: cannot write %s\n", output.c_str());
            return 1;
        }
        if (!depfile.empty() && !writeFile(depfile, winrc::writeDepfile(output, script.dependencies))) {
            std::fprintf(stderr, "winrc: cannot write %s\n", depfile.c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
