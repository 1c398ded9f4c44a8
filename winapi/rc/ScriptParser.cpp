// The resource statements the program's script uses: MENU, ACCELERATORS and RT_MANIFEST.
#include "ScriptParser.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace winrc {

namespace {

constexpr int kMaxMacroDepth = 32;
constexpr long kManifestType = 24;

std::string upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string folderOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}

bool isOneOf(const std::string& word, std::initializer_list<const char*> words) {
    return std::any_of(words.begin(), words.end(), [&](const char* w) { return word == w; });
}

std::string describe(const ResourceName& name) {
    return name.isNumber ? std::to_string(name.number) : name.name;
}

bool sameName(const ResourceName& a, const ResourceName& b) {
    return a.isNumber == b.isNumber && (a.isNumber ? a.number == b.number : a.name == b.name);
}

template <typename Resource>
bool contains(const std::vector<Resource>& resources, const ResourceName& name) {
    return std::any_of(resources.begin(), resources.end(),
                       [&](const Resource& r) { return sameName(r.name, name); });
}

}  // namespace

long builtInSymbol(const std::string& name) {
    static const std::map<std::string, long> kSymbols = {
        {"RT_MANIFEST", 24}, {"CREATEPROCESS_MANIFEST_RESOURCE_ID", 1},
        {"ISOLATIONAWARE_MANIFEST_RESOURCE_ID", 2}, {"VK_BACK", 0x08}, {"VK_TAB", 0x09},
        {"VK_CLEAR", 0x0C}, {"VK_RETURN", 0x0D}, {"VK_SHIFT", 0x10}, {"VK_CONTROL", 0x11},
        {"VK_MENU", 0x12}, {"VK_PAUSE", 0x13}, {"VK_CAPITAL", 0x14}, {"VK_ESCAPE", 0x1B},
        {"VK_SPACE", 0x20}, {"VK_PRIOR", 0x21}, {"VK_NEXT", 0x22}, {"VK_END", 0x23},
        {"VK_HOME", 0x24}, {"VK_LEFT", 0x25}, {"VK_UP", 0x26}, {"VK_RIGHT", 0x27},
        {"VK_DOWN", 0x28}, {"VK_SELECT", 0x29}, {"VK_PRINT", 0x2A}, {"VK_EXECUTE", 0x2B},
        {"VK_SNAPSHOT", 0x2C}, {"VK_INSERT", 0x2D}, {"VK_DELETE", 0x2E}, {"VK_HELP", 0x2F},
        {"VK_MULTIPLY", 0x6A}, {"VK_ADD", 0x6B}, {"VK_SEPARATOR", 0x6C}, {"VK_SUBTRACT", 0x6D},
        {"VK_DECIMAL", 0x6E}, {"VK_DIVIDE", 0x6F},
    };
    auto it = kSymbols.find(name);
    if (it != kSymbols.end()) return it->second;
    if (name.size() > 4 && name.compare(0, 4, "VK_F") == 0 &&
        std::all_of(name.begin() + 4, name.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        long n = std::stol(name.substr(4));
        if (n >= 1 && n <= 24) return 0x70 + n - 1;
    }
    if (name.size() == 10 && name.compare(0, 9, "VK_NUMPAD") == 0 && std::isdigit(static_cast<unsigned char>(name[9]))) {
        return 0x60 + (name[9] - '0');
    }
    return -1;
}

ResourceScript compileScript(const std::string& path, const std::vector<std::string>& includeDirs) {
    ScriptLexer lexer(includeDirs);
    lexer.read(path);
    ResourceScript script = ScriptParser(lexer.tokens(), lexer.macros(), path).parse();
    script.dependencies.insert(script.dependencies.begin(), lexer.files().begin(), lexer.files().end());
    return script;
}

ScriptParser::ScriptParser(const std::vector<Token>& tokens, const std::map<std::string, Macro>& macros,
                           std::string scriptPath)
    : tokens_(tokens), macros_(macros), scriptPath_(std::move(scriptPath)) {}

ResourceScript ScriptParser::parse() {
    ResourceScript script;
    while (!atEnd()) resource(script);
    return script;
}

void ScriptParser::resource(ResourceScript& script) {
    const Token& first = next();
    if (first.kind == Token::Kind::Word &&
        isOneOf(upper(first.text), {"LANGUAGE", "STRINGTABLE", "VERSION", "CHARACTERISTICS"})) {
        fail(first, "unsupported statement " + first.text);
    }
    ResourceName name = resourceName(first);
    if (atEnd()) failAtEnd("resource type expected after " + first.text);
    const Token& type = next();
    const std::string keyword = upper(type.text);
    long typeNumber = -1;
    if (type.kind == Token::Kind::Number) {
        typeNumber = numberValue(type);
    } else if (type.kind == Token::Kind::Word && (macros_.count(type.text) || type.text == "RT_MANIFEST")) {
        typeNumber = symbolValue(type, 0);
    }

    if (type.kind == Token::Kind::Word && keyword == "MENU") {
        if (contains(script.menus, name)) fail(first, "duplicate MENU resource " + describe(name));
        skipMemoryOptions();
        script.menus.push_back({name, menuBody()});
    } else if (type.kind == Token::Kind::Word && keyword == "ACCELERATORS") {
        if (contains(script.accelerators, name)) fail(first, "duplicate ACCELERATORS resource " + describe(name));
        skipMemoryOptions();
        script.accelerators.push_back({name, acceleratorBody()});
    } else if (typeNumber == kManifestType) {
        if (contains(script.manifests, name)) fail(first, "duplicate RT_MANIFEST resource " + describe(name));
        skipMemoryOptions();
        if (atEnd()) failAtEnd("manifest file name expected");
        ManifestResource manifest;
        manifest.name = name;
        manifest.bytes = manifestBytes(next(), manifest.path);
        script.dependencies.push_back(manifest.path);
        script.manifests.push_back(std::move(manifest));
    } else {
        fail(type, "unsupported resource type " + type.text + " (MENU, ACCELERATORS and RT_MANIFEST are supported)");
    }
}

ResourceName ScriptParser::resourceName(const Token& token) {
    ResourceName name;
    if (token.kind == Token::Kind::Word && !macros_.count(token.text) && builtInSymbol(token.text) < 0) {
        name.isNumber = false;
        name.name = upper(token.text);
        return name;
    }
    if (token.kind != Token::Kind::Word && token.kind != Token::Kind::Number) {
        fail(token, "resource id or name expected, found '" + token.text + "'");
    }
    long value = token.kind == Token::Kind::Number ? numberValue(token) : symbolValue(token, 0);
    if (value < 0 || value > 0xFFFF) fail(token, "resource id " + std::to_string(value) + " is out of range 0..65535");
    name.number = static_cast<unsigned>(value);
    return name;
}

void ScriptParser::skipMemoryOptions() {
    while (!atEnd() && peek().kind == Token::Kind::Word &&
           isOneOf(upper(peek().text),
                   {"PRELOAD", "LOADONCALL", "FIXED", "MOVEABLE", "DISCARDABLE", "PURE", "IMPURE", "SHARED", "NONSHARED"})) {
        ++pos_;
    }
}

std::vector<MenuNode> ScriptParser::menuBody() {
    if (!beginBlock()) {
        if (atEnd()) failAtEnd("BEGIN or { expected");
        fail(peek(), "BEGIN or { expected, found '" + peek().text + "'");
    }
    std::vector<MenuNode> items;
    while (!endBlock()) {
        if (atEnd()) failAtEnd("END or } missing");
        const Token& token = peek();
        const std::string keyword = upper(token.text);
        if (token.kind == Token::Kind::Word && keyword == "MENUITEM") {
            ++pos_;
            items.push_back(menuItem());
        } else if (token.kind == Token::Kind::Word && keyword == "POPUP") {
            ++pos_;
            items.push_back(popup());
        } else {
            fail(token, "MENUITEM or POPUP expected, found '" + token.text + "'");
        }
    }
    return items;
}

MenuNode ScriptParser::menuItem() {
    MenuNode item;
    if (atEnd()) failAtEnd("menu item text expected");
    const Token& text = next();
    if (text.kind == Token::Kind::Word && upper(text.text) == "SEPARATOR") {
        item.flags = kMenuSeparator;
        return item;
    }
    if (text.kind != Token::Kind::String) fail(text, "menu item text in quotes expected, found '" + text.text + "'");
    item.text = text.text;
    if (!acceptComma()) fail(atEnd() ? text : peek(), "',' and a command id expected after the item text");
    if (atEnd()) failAtEnd("command id expected");
    const Token& idToken = peek();
    long id = expression();
    if (id < 0 || id > 0xFFFF) fail(idToken, "command id " + std::to_string(id) + " is out of range 0..65535");
    item.id = static_cast<unsigned>(id);
    item.flags = menuOptions();
    return item;
}

MenuNode ScriptParser::popup() {
    MenuNode node;
    if (atEnd()) failAtEnd("popup text expected");
    const Token& text = next();
    if (text.kind != Token::Kind::String) fail(text, "popup text in quotes expected, found '" + text.text + "'");
    node.text = text.text;
    node.flags = kMenuPopup | menuOptions();
    node.children = menuBody();
    return node;
}

unsigned ScriptParser::menuOptions() {
    unsigned flags = 0;
    for (;;) {
        bool comma = acceptComma();
        if (atEnd()) {
            if (comma) failAtEnd("menu option expected after ','");
            return flags;
        }
        const Token& token = peek();
        const std::string keyword = upper(token.text);
        if (token.kind == Token::Kind::Word && keyword == "GRAYED") {
            flags |= kMenuGrayed;
        } else if (token.kind == Token::Kind::Word && keyword == "INACTIVE") {
            flags |= kMenuDisabled;
        } else if (token.kind == Token::Kind::Word && keyword == "CHECKED") {
            flags |= kMenuChecked;
        } else if (token.kind == Token::Kind::Word && isOneOf(keyword, {"MENUBARBREAK", "MENUBREAK", "HELP"})) {
            fail(token, "unsupported menu option " + token.text);
        } else {
            if (comma) fail(token, "menu option expected, found '" + token.text + "'");
            return flags;
        }
        ++pos_;
    }
}

std::vector<AcceleratorEntry> ScriptParser::acceleratorBody() {
    if (!beginBlock()) {
        if (atEnd()) failAtEnd("BEGIN or { expected");
        fail(peek(), "BEGIN or { expected, found '" + peek().text + "'");
    }
    std::vector<AcceleratorEntry> entries;
    while (!endBlock()) {
        if (atEnd()) failAtEnd("END or } missing");
        entries.push_back(acceleratorEntry());
    }
    return entries;
}

AcceleratorEntry ScriptParser::acceleratorEntry() {
    AcceleratorEntry entry;
    const Token& event = peek();
    bool controlChar = false;
    long key = 0;
    if (event.kind == Token::Kind::String) {
        ++pos_;
        if (event.text.size() == 2 && event.text[0] == '^' && std::isalpha(static_cast<unsigned char>(event.text[1]))) {
            controlChar = true;
            key = std::toupper(static_cast<unsigned char>(event.text[1])) - 0x40;
        } else if (event.text.size() == 1) {
            key = static_cast<unsigned char>(event.text[0]);
        } else {
            fail(event, "accelerator key must be one character or ^letter, found \"" + event.text + "\"");
        }
    } else {
        key = expression();
    }
    if (key < 0 || key > 0xFFFF) fail(event, "accelerator key " + std::to_string(key) + " is out of range");
    if (!acceptComma()) fail(atEnd() ? event : peek(), "',' and a command id expected after the accelerator key");
    if (atEnd()) failAtEnd("command id expected");
    const Token& idToken = peek();
    long command = expression();
    if (command < 0 || command > 0xFFFF) fail(idToken, "command id " + std::to_string(command) + " is out of range 0..65535");

    bool ascii = false;
    while (acceptComma()) {
        if (atEnd()) failAtEnd("accelerator option expected after ','");
        const Token& option = next();
        const std::string keyword = upper(option.text);
        if (option.kind != Token::Kind::Word) fail(option, "accelerator option expected, found '" + option.text + "'");
        if (keyword == "VIRTKEY") entry.flags |= kAccelVirtKey;
        else if (keyword == "ASCII") ascii = true;
        else if (keyword == "NOINVERT") entry.flags |= kAccelNoInvert;
        else if (keyword == "SHIFT") entry.flags |= kAccelShift;
        else if (keyword == "CONTROL") entry.flags |= kAccelControl;
        else if (keyword == "ALT") entry.flags |= kAccelAlt;
        else fail(option, "unknown accelerator option " + option.text);
    }
    const bool virtKey = (entry.flags & kAccelVirtKey) != 0;
    if (virtKey && ascii) fail(event, "an accelerator is either VIRTKEY or ASCII");
    if (virtKey && controlChar) fail(event, "a ^letter key cannot be VIRTKEY");
    if (virtKey && event.kind == Token::Kind::String && std::islower(static_cast<unsigned char>(key))) {
        fail(event, "virtual-key letters are upper case: write \"" +
                        std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(key)))) + "\"");
    }
    if (!virtKey && (entry.flags & (kAccelShift | kAccelControl))) {
        fail(event, "SHIFT and CONTROL need VIRTKEY");
    }
    entry.key = static_cast<uint16_t>(key);
    entry.command = static_cast<uint16_t>(command);
    return entry;
}

std::string ScriptParser::manifestBytes(const Token& fileToken, std::string& resolvedPath) {
    if (fileToken.kind != Token::Kind::String) fail(fileToken, "manifest file name in quotes expected");
    const std::string& name = fileToken.text;
    const bool absolute = !name.empty() && (name[0] == '/' || name[0] == '\\' || name.find(':') == 1);
    resolvedPath = absolute ? name : folderOf(scriptPath_) + name;
    std::ifstream in(resolvedPath, std::ios::binary);
    if (!in) fail(fileToken, "cannot open manifest file \"" + name + "\"");
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

long ScriptParser::expression() {
    long value = term();
    for (;;) {
        if (peekPunct("|")) {
            ++pos_;
            value |= term();
        } else if (peekPunct("+")) {
            ++pos_;
            value += term();
        } else if (peekPunct("-")) {
            ++pos_;
            value -= term();
        } else {
            return value;
        }
    }
}

long ScriptParser::term() {
    if (atEnd()) failAtEnd("number or name expected");
    const Token& token = next();
    if (token.kind == Token::Kind::Punct) {
        if (token.text == "-") return -term();
        if (token.text == "~") return ~term();
        if (token.text == "(") {
            long value = expression();
            expectPunct(")", "')'");
            return value;
        }
    }
    if (token.kind == Token::Kind::Number) return numberValue(token);
    if (token.kind == Token::Kind::Word) return symbolValue(token, depth_);
    fail(token, "number or name expected, found '" + token.text + "'");
}

long ScriptParser::symbolValue(const Token& token, int depth) {
    auto it = macros_.find(token.text);
    if (it == macros_.end()) {
        long builtIn = builtInSymbol(token.text);
        if (builtIn < 0) fail(token, "undefined symbol " + token.text);
        return builtIn;
    }
    if (depth >= kMaxMacroDepth) fail(token, "#define of " + token.text + " refers to itself");
    if (it->second.body.empty()) fail(token, token.text + " is defined without a value");
    ScriptParser body(it->second.body, macros_, scriptPath_);
    body.depth_ = depth + 1;
    long value = body.expression();
    if (!body.atEnd()) fail(body.peek(), "unexpected '" + body.peek().text + "' in the definition of " + token.text);
    return value;
}

long ScriptParser::numberValue(const Token& token) {
    std::string digits = token.text;
    while (!digits.empty() && (std::toupper(static_cast<unsigned char>(digits.back())) == 'L' ||
                               std::toupper(static_cast<unsigned char>(digits.back())) == 'U')) {
        digits.pop_back();
    }
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits = digits.substr(2);
    }
    const bool valid = !digits.empty() && digits.size() <= 10 &&
                       std::all_of(digits.begin(), digits.end(), [base](char c) {
                           return base == 16 ? std::isxdigit(static_cast<unsigned char>(c)) != 0
                                             : std::isdigit(static_cast<unsigned char>(c)) != 0;
                       });
    if (!valid) fail(token, "bad number " + token.text);
    unsigned long long value = std::stoull(digits, nullptr, base);
    if (value > 0xFFFFFFFFull) fail(token, "number " + token.text + " is too large");
    return static_cast<long>(static_cast<uint32_t>(value));
}

const Token& ScriptParser::peek() const { return tokens_[pos_]; }

const Token& ScriptParser::next() { return tokens_[pos_++]; }

bool ScriptParser::peekKeyword(const char* keyword) const {
    return !atEnd() && peek().kind == Token::Kind::Word && upper(peek().text) == keyword;
}

bool ScriptParser::peekPunct(const char* punct) const {
    return !atEnd() && peek().kind == Token::Kind::Punct && peek().text == punct;
}

void ScriptParser::expectPunct(const char* punct, const char* what) {
    if (peekPunct(punct)) {
        ++pos_;
        return;
    }
    if (atEnd()) failAtEnd(std::string(what) + " expected");
    fail(peek(), std::string(what) + " expected, found '" + peek().text + "'");
}

bool ScriptParser::acceptComma() {
    if (!peekPunct(",")) return false;
    ++pos_;
    return true;
}

bool ScriptParser::beginBlock() {
    if (peekKeyword("BEGIN") || peekPunct("{")) {
        ++pos_;
        return true;
    }
    return false;
}

bool ScriptParser::endBlock() {
    if (peekKeyword("END") || peekPunct("}")) {
        ++pos_;
        return true;
    }
    return false;
}

void ScriptParser::fail(const Token& at, const std::string& message) const {
    throw ScriptError(at.file, at.line, message);
}

void ScriptParser::failAtEnd(const std::string& message) const {
    if (tokens_.empty()) throw ScriptError(scriptPath_, 0, message);
    throw ScriptError(tokens_.back().file, tokens_.back().line, message + " before the end of the script");
}

}  // namespace winrc
