// Reads a resource script into tokens: comments, #include, #define and the conditional
// directives are handled here, so the parser sees only resource statements.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace winrc {

struct Token {
    enum class Kind { Word, Number, String, Punct };
    Kind kind = Kind::Word;
    std::string text;  // a String token holds its decoded bytes
    std::string file;
    int line = 0;
};

// A #define: object-like macros only; function-like ones (in headers) are kept out.
struct Macro {
    std::vector<Token> body;
};

class ScriptLexer {
public:
    // `includeDirs` are searched for quoted includes after the including file's folder.
    explicit ScriptLexer(std::vector<std::string> includeDirs = {});

    // Reads the script at `path` and everything it includes. Throws ScriptError.
    void read(const std::string& path);

    const std::vector<Token>& tokens() const { return tokens_; }
    const std::map<std::string, Macro>& macros() const { return macros_; }
    const std::vector<std::string>& files() const { return files_; }

private:
    struct Conditional {
        bool active = true;    // lines are used
        bool taken = false;    // a branch of this group was already used
        bool seenElse = false;
    };

    void readFile(const std::string& path, bool isHeader, int depth);
    void directive(const std::string& text, const std::string& file, int line, bool isHeader, int depth);
    void include(const std::string& argument, const std::string& file, int line, int depth);
    void define(const std::string& rest, const std::string& file, int line);
    bool evaluateCondition(const std::string& expression, const std::string& file, int line);
    bool active() const;

    std::vector<std::string> includeDirs_;
    std::vector<Token> tokens_;
    std::map<std::string, Macro> macros_;
    std::vector<std::string> files_;
    std::vector<Conditional> conditionals_;
};

// Splits one line of script text into tokens; throws ScriptError on a stray character
// or an unterminated string.
std::vector<Token> tokenizeLine(const std::string& text, const std::string& file, int line);

}  // namespace winrc
