// The process entry on hosts without Windows: chooses the display device, runs WinMain,
// and gives the terminal back afterwards.
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include <windows.h>

#include "display/device.h"
#include "display/terminal.h"

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine,
                              int nShowCmd);

namespace {

// The arguments after the program's name, as Windows hands them to WinMain: separated by
// spaces, quoted where they hold a space.
std::string commandLine(int argc, char** argv) {
    std::string line;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (!line.empty())
            line += ' ';
        bool quote = argument.empty() || argument.find_first_of(" \t") != std::string::npos;
        line += quote ? '"' + argument + '"' : argument;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    std::string arguments = commandLine(argc, argv);
    // On a terminal the program is full screen; otherwise (input or output redirected)
    // the layer's headless device, which has no input, ends the run at once.
    std::unique_ptr<winapi::TerminalDevice> terminal;
    if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
        try {
            terminal = std::make_unique<winapi::TerminalDevice>();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s: %s\n", argc > 0 ? argv[0] : "tarnholm", error.what());
            return 1;
        }
        winapi::setDevice(terminal.get());
    }
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, arguments.data(), SW_SHOWDEFAULT);
    if (terminal) {
        winapi::setDevice(nullptr);
        terminal.reset();
    }
    return result;
}
