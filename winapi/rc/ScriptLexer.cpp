// Preprocessing and tokenizing of resource scripts.
#include "ScriptLexer.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "ResourceScript.h"

namespace winrc {

namespace {

constexpr int kMaxIncludeDepth = 16;

// Headers every script may name; their definitions are built into the compiler.
const char* const kSystemHeaders[] = {"windows.h", "winuser.h", "winres.h", "winresrc.h",
                                      "afxres.h", "commctrl.h", "winver.h", "winnt.h"};

std::string describeChar(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x21 && u < 0x7f) return std::string("'") + c + "'";
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02x", u);
    return buf;
}

bool isWordStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return "";
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

bool isHeaderName(const std::string& path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == "h" || ext == "hpp" || ext == "hh" || ext == "c";
}

bool isSystemHeader(const std::string& name) {
    std::string lower = baseName(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (const char* known : kSystemHeaders) {
        if (lower == known) return true;
    }
    return false;
}

bool fileExists(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return static_cast<bool>(in);
}

// Decodes one escape after a backslash at text[i]; advances i past it.
char decodeEscape(const std::string& text, size_t& i, const std::string& file, int line) {
    char c = text[i++];
    switch (c) {
    case 't': return '\t';
    case 'n': return '\n';
    case 'r': return '\r';
    case 'a': return '\b';  // the right-alignment mark of menu texts
    case '\\': return '\\';
    case '"': return '"';
    case '\'': return '\'';
    case 'x': {
        int value = 0;
        int digits = 0;
        while (i < text.size() && digits < 2 && std::isxdigit(static_cast<unsigned char>(text[i]))) {
            value = value * 16 + std::stoi(std::string(1, text[i]), nullptr, 16);
            ++i;
            ++digits;
        }
        if (digits == 0) throw ScriptError(file, line, "\\x needs hexadecimal digits");
        return static_cast<char>(value);
    }
    default:
        if (c >= '0' && c <= '7') {
            int value = c - '0';
            for (int n = 0; n < 2 && i < text.size() && text[i] >= '0' && text[i] <= '7'; ++n) {
                value = value * 8 + (text[i++] - '0');
            }
            return static_cast<char>(value & 0xff);
        }
        throw ScriptError(file, line, "unknown escape sequence \\" + std::string(1, c));
    }
}

// Removes comments from one line, carrying an open block comment to the next line.
std::string stripComments(const std::string& text, bool& inBlock) {
    std::string out;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (inBlock) {
            if (c == '*' && next == '/') {
                inBlock = false;
                ++i;
                out += ' ';
            }
            continue;
        }
        if (inString) {
            out += c;
            if (c == '\\' && next != '\0') {
                out += next;
                ++i;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '/' && next == '/') {
            break;
        } else if (c == '/' && next == '*') {
            inBlock = true;
            ++i;
            continue;
        }
        out += c;
    }
    return out;
}

// The #if expression grammar: || && ! == != < > <= >= defined numbers names parentheses.
class ConditionEvaluator {
public:
    ConditionEvaluator(const std::vector<Token>& tokens, const std::map<std::string, Macro>& macros,
                       const std::string& file, int line)
        : tokens_(tokens), macros_(macros), file_(file), line_(line) {}

    long evaluate() {
        long value = orExpression();
        if (pos_ != tokens_.size()) fail("unexpected '" + tokens_[pos_].text + "'");
        return value;
    }

private:
    bool accept(const char* punct) {
        if (pos_ < tokens_.size() && tokens_[pos_].kind == Token::Kind::Punct && tokens_[pos_].text == punct) {
            ++pos_;
            return true;
        }
        return false;
    }
    long orExpression() {
        long value = andExpression();
        while (accept("||")) value = (andExpression() || value) ? 1 : 0;
        return value;
    }
    long andExpression() {
        long value = comparison();
        while (accept("&&")) value = (comparison() && value) ? 1 : 0;
        return value;
    }
    long comparison() {
        long left = unary();
        for (;;) {
            if (accept("==")) left = left == unary();
            else if (accept("!=")) left = left != unary();
            else if (accept("<=")) left = left <= unary();
            else if (accept(">=")) left = left >= unary();
            else if (accept("<")) left = left < unary();
            else if (accept(">")) left = left > unary();
            else return left;
        }
    }
    long unary() {
        if (accept("!")) return !unary();
        if (accept("-")) return -unary();
        return primary();
    }
    long primary() {
        if (accept("(")) {
            long value = orExpression();
            if (!accept(")")) fail("missing ')'");
            return value;
        }
        if (pos_ >= tokens_.size()) fail("expression expected");
        const Token& token = tokens_[pos_++];
        if (token.kind == Token::Kind::Number) return std::stol(token.text, nullptr, 0);
        if (token.kind != Token::Kind::Word) fail("unexpected '" + token.text + "'");
        if (token.text == "defined") {
            bool parens = accept("(");
            if (pos_ >= tokens_.size() || tokens_[pos_].kind != Token::Kind::Word) fail("defined needs a name");
            long value = macros_.count(tokens_[pos_++].text) ? 1 : 0;
            if (parens && !accept(")")) fail("missing ')'");
            return value;
        }
        return macroValue(token.text, 0);
    }
    long macroValue(const std::string& name, int depth) {
        auto it = macros_.find(name);
        if (it == macros_.end() || it->second.body.size() != 1 || depth > 32) return 0;
        const Token& body = it->second.body.front();
        if (body.kind == Token::Kind::Number) return std::stol(body.text, nullptr, 0);
        if (body.kind == Token::Kind::Word) return macroValue(body.text, depth + 1);
        return 0;
    }
    [[noreturn]] void fail(const std::string& message) { throw ScriptError(file_, line_, "#if: " + message); }

    const std::vector<Token>& tokens_;
    const std::map<std::string, Macro>& macros_;
    const std::string& file_;
    int line_;
    size_t pos_ = 0;
};

}  // namespace

std::vector<Token> tokenizeLine(const std::string& text, const std::string& file, int line) {
    static const char* const kTwoCharPuncts[] = {"&&", "||", "==", "!=", "<=", ">="};
    static const std::string kPuncts = ",{}()|+-~!&*/<>=";
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
        char c = text[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
            ++i;
            continue;
        }
        Token token;
        token.file = file;
        token.line = line;
        if (isWordStart(c)) {
            token.kind = Token::Kind::Word;
            while (i < text.size() && isWordChar(text[i])) token.text += text[i++];
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            token.kind = Token::Kind::Number;
            while (i < text.size() && isWordChar(text[i])) token.text += text[i++];
        } else if (c == '"') {
            token.kind = Token::Kind::String;
            ++i;
            for (;;) {
                if (i >= text.size()) throw ScriptError(file, line, "unterminated string");
                char s = text[i++];
                if (s == '"') {
                    if (i < text.size() && text[i] == '"') {  // "" stands for one quote
                        token.text += '"';
                        ++i;
                        continue;
                    }
                    break;
                }
                if (s == '\\') {
                    if (i >= text.size()) throw ScriptError(file, line, "unterminated string");
                    token.text += decodeEscape(text, i, file, line);
                } else {
                    token.text += s;
                }
            }
        } else {
            token.kind = Token::Kind::Punct;
            for (const char* two : kTwoCharPuncts) {
                if (text.compare(i, 2, two) == 0) token.text = two;
            }
            if (token.text.empty()) {
                if (kPuncts.find(c) == std::string::npos) {
                    throw ScriptError(file, line, "unexpected character " + describeChar(c));
                }
                token.text = std::string(1, c);
            }
            i += token.text.size();
        }
        tokens.push_back(std::move(token));
    }
    return tokens;
}

ScriptLexer::ScriptLexer(std::vector<std::string> includeDirs) : includeDirs_(std::move(includeDirs)) {}

void ScriptLexer::read(const std::string& path) {
    if (!fileExists(path)) throw ScriptError(path, 0, "cannot open the script");
    readFile(path, false, 0);
}

bool ScriptLexer::active() const { return conditionals_.empty() || conditionals_.back().active; }

void ScriptLexer::readFile(const std::string& path, bool isHeader, int depth) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    files_.push_back(path);

    const size_t outerConditionals = conditionals_.size();
    bool inBlock = false;
    std::string line;
    std::string logical;
    int lineNumber = 0;
    int logicalStart = 0;
    while (std::getline(content, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (logical.empty()) logicalStart = lineNumber;
        if (!line.empty() && line.back() == '\\') {  // continued on the next line
            line.pop_back();
            logical += line;
            continue;
        }
        logical += line;
        std::string text = trim(stripComments(logical, inBlock));
        logical.clear();
        if (!text.empty() && text[0] == '#') {
            directive(trim(text.substr(1)), path, logicalStart, isHeader, depth);
        } else if (active() && !isHeader && !text.empty()) {
            std::vector<Token> lineTokens = tokenizeLine(text, path, logicalStart);
            tokens_.insert(tokens_.end(), lineTokens.begin(), lineTokens.end());
        }
    }
    if (conditionals_.size() > outerConditionals) {
        throw ScriptError(path, lineNumber, "#if without #endif");
    }
}

void ScriptLexer::directive(const std::string& text, const std::string& file, int line, bool isHeader,
                            int depth) {
    size_t nameEnd = 0;
    while (nameEnd < text.size() && isWordChar(text[nameEnd])) ++nameEnd;
    const std::string name = text.substr(0, nameEnd);
    const std::string rest = trim(text.substr(nameEnd));
    const bool parentActive = conditionals_.size() < 2 ? true : conditionals_[conditionals_.size() - 2].active;

    if (name == "ifdef" || name == "ifndef" || name == "if") {
        Conditional group;
        bool outer = active();
        bool condition = false;
        if (outer) {
            if (name == "if") {
                condition = evaluateCondition(rest, file, line);
            } else {
                condition = macros_.count(rest) != 0;
                if (name == "ifndef") condition = !condition;
            }
        }
        group.active = outer && condition;
        group.taken = condition;
        conditionals_.push_back(group);
        return;
    }
    if (name == "elif" || name == "else" || name == "endif") {
        if (conditionals_.empty()) throw ScriptError(file, line, "#" + name + " without #if");
        Conditional& group = conditionals_.back();
        if (name == "endif") {
            conditionals_.pop_back();
            return;
        }
        if (group.seenElse) throw ScriptError(file, line, "#" + name + " after #else");
        if (name == "else") {
            group.seenElse = true;
            group.active = parentActive && !group.taken;
            group.taken = true;
        } else {
            bool condition = parentActive && !group.taken && evaluateCondition(rest, file, line);
            group.active = condition;
            group.taken = group.taken || condition;
        }
        return;
    }
    if (!active()) return;
    if (name == "include") {
        include(rest, file, line, depth);
    } else if (name == "define") {
        define(rest, file, line);
    } else if (name == "undef") {
        macros_.erase(rest);
    } else if (name == "pragma") {
        // Code pages and the like change nothing in the tables.
    } else if (name == "error") {
        throw ScriptError(file, line, "#error " + rest);
    } else if (!isHeader) {
        throw ScriptError(file, line, "unsupported directive #" + name);
    }
}

void ScriptLexer::include(const std::string& argument, const std::string& file, int line, int depth) {
    if (argument.size() < 2) throw ScriptError(file, line, "#include needs a file name");
    if (argument.front() == '<') return;  // a system header: its names are built in
    if (argument.front() != '"' || argument.find('"', 1) == std::string::npos) {
        throw ScriptError(file, line, "#include needs \"file\" or <file>");
    }
    const std::string name = argument.substr(1, argument.find('"', 1) - 1);
    if (depth >= kMaxIncludeDepth) throw ScriptError(file, line, "#include nested too deeply");
    std::vector<std::string> candidates;
    if (!name.empty() && (name[0] == '/' || name.find(':') == 1)) {
        candidates.push_back(name);
    } else {
        candidates.push_back(folderOf(file) + name);
        for (const std::string& dir : includeDirs_) candidates.push_back(dir + "/" + name);
    }
    for (const std::string& candidate : candidates) {
        if (fileExists(candidate)) {
            readFile(candidate, isHeaderName(candidate), depth + 1);
            return;
        }
    }
    if (isSystemHeader(name)) return;
    throw ScriptError(file, line, "cannot open include file \"" + name + "\"");
}

void ScriptLexer::define(const std::string& rest, const std::string& file, int line) {
    size_t nameEnd = 0;
    while (nameEnd < rest.size() && isWordChar(rest[nameEnd])) ++nameEnd;
    if (nameEnd == 0 || !isWordStart(rest[0])) throw ScriptError(file, line, "#define needs a name");
    const std::string name = rest.substr(0, nameEnd);
    if (nameEnd < rest.size() && rest[nameEnd] == '(') {
        macros_.erase(name);  // a function-like macro: resources cannot use it
        return;
    }
    Macro macro;
    macro.body = tokenizeLine(rest.substr(nameEnd), file, line);
    macros_[name] = std::move(macro);
}

bool ScriptLexer::evaluateCondition(const std::string& expression, const std::string& file, int line) {
    std::vector<Token> tokens = tokenizeLine(expression, file, line);
    if (tokens.empty()) throw ScriptError(file, line, "#if needs an expression");
    return ConditionEvaluator(tokens, macros_, file, line).evaluate() != 0;
}

}  // namespace winrc
