// Turns the tokens of a resource script into its menus, accelerator tables and manifest.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "ResourceScript.h"
#include "ScriptLexer.h"

namespace winrc {

class ScriptParser {
public:
    ScriptParser(const std::vector<Token>& tokens, const std::map<std::string, Macro>& macros,
                 std::string scriptPath);

    // Parses every statement; throws ScriptError at the first error. Manifest files are
    // read relative to the script's folder and added to the script's dependencies.
    ResourceScript parse();

private:
    void resource(ResourceScript& script);
    ResourceName resourceName(const Token& token);
    void skipMemoryOptions();
    std::vector<MenuNode> menuBody();
    MenuNode menuItem();
    MenuNode popup();
    unsigned menuOptions();
    std::vector<AcceleratorEntry> acceleratorBody();
    AcceleratorEntry acceleratorEntry();
    std::string manifestBytes(const Token& fileToken, std::string& resolvedPath);

    // Expressions: numbers and #defined names with | + - ~ and parentheses.
    long expression();
    long term();
    long symbolValue(const Token& token, int depth);
    long numberValue(const Token& token);

    const Token& peek() const;
    const Token& next();
    bool atEnd() const { return pos_ >= tokens_.size(); }
    bool peekKeyword(const char* keyword) const;
    bool peekPunct(const char* punct) const;
    void expectPunct(const char* punct, const char* what);
    bool acceptComma();
    bool beginBlock();
    bool endBlock();
    [[noreturn]] void fail(const Token& at, const std::string& message) const;
    [[noreturn]] void failAtEnd(const std::string& message) const;

    const std::vector<Token>& tokens_;
    const std::map<std::string, Macro>& macros_;
    std::string scriptPath_;
    size_t pos_ = 0;
    int depth_ = 0;  // nesting of #define expansion
};

// Reads the script at `path` with its includes and manifests: the whole compile short of
// writing code. The script's dependencies list every file read. Throws ScriptError.
ResourceScript compileScript(const std::string& path, const std::vector<std::string>& includeDirs = {});

// The value of a name the platform's headers define for scripts (VK_F5, RT_MANIFEST...),
// or -1 when it is not one of them.
long builtInSymbol(const std::string& name);

}  // namespace winrc
