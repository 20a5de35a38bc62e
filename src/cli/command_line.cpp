// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line.h"

#include "messages/messages.h"

#include <algorithm>
#include <cctype>

namespace tarvex::cli {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// An argument as a message shows it: on one line, with no control reaching the terminal.
std::string shown(const std::string& arg) {
    return escapedForMessage(arg);
}

std::optional<Encoding> encodingNamed(const std::string& name) {
    std::string key = lower(name);
    if (key == "utf-8" || key == "utf8") return Encoding::Utf8;
    if (key == "cp1252" || key == "windows-1252") return Encoding::Cp1252;
    return std::nullopt;
}

// Walks the arguments, splitting "--name=value" and "-xVALUE" forms.
class ArgumentCursor {
public:
    explicit ArgumentCursor(std::span<const std::string> args) : args_(args) {}

    bool done() const { return index_ >= args_.size(); }
    const std::string& current() const { return args_[index_]; }
    void skip() { ++index_; }

    // The value of an option, from "--opt=value", "-ovalue" or the next argument.
    std::optional<std::string> valueOf(const std::string& option) {
        const std::string& arg = args_[index_++];
        if (arg.size() > option.size() && arg.compare(0, option.size(), option) == 0) {
            std::size_t start = option.size();
            if (option.starts_with("--")) {
                if (arg[start] != '=') return std::nullopt;
                ++start;
            }
            return arg.substr(start);
        }
        if (done()) return std::nullopt;
        return args_[index_++];
    }

private:
    std::span<const std::string> args_;
    std::size_t index_ = 0;
};

bool matches(const std::string& arg, const std::string& shortName, const std::string& longName) {
    if (arg == longName || arg.starts_with(longName + "=")) return true;
    return !shortName.empty() && arg.starts_with(shortName) && !arg.starts_with("--");
}

UsageError missingValue(const std::string& option) {
    return UsageError{"option '" + option + "' needs a value"};
}

Request parseCreateKey(ArgumentCursor& cursor) {
    CreateKeyRequest request;
    std::optional<std::string> file;
    bool optionsEnded = false;
    for (; !cursor.done(); cursor.skip()) {
        const std::string& arg = cursor.current();
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg == "--force") {
            request.force = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError{"unknown option '" + shown(arg) + "' for create-key"};
        } else if (file) {
            return UsageError{"create-key takes one key file, not also '" + shown(arg) + "'"};
        } else {
            file = arg;
        }
    }
    if (!file) return UsageError{"create-key needs the name of the key file to write"};
    request.keyFile = *file;
    return request;
}

Request parseTransform(ArgumentCursor& cursor, bool encrypt) {
    TransformRequest request;
    request.encrypt = encrypt;
    const std::string command = encrypt ? "encrypt" : "decrypt";
    std::optional<std::string> key;
    bool haveInput = false;
    bool optionsEnded = false;
    while (!cursor.done()) {
        const std::string arg = cursor.current();
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            cursor.skip();
        } else if (!optionsEnded && matches(arg, "-k", "--key")) {
            key = cursor.valueOf(arg.starts_with("--") ? "--key" : "-k");
            if (!key || key->empty()) return missingValue("--key");
        } else if (!optionsEnded && matches(arg, "-e", "--encoding")) {
            std::optional<std::string> name = cursor.valueOf(arg.starts_with("--") ? "--encoding" : "-e");
            if (!name) return missingValue("--encoding");
            std::optional<Encoding> encoding = encodingNamed(*name);
            if (!encoding) return UsageError{"unknown encoding '" + shown(*name) + "' (use utf-8 or cp1252)"};
            request.encoding = *encoding;
        } else if (!optionsEnded && matches(arg, "-o", "--output")) {
            request.output = cursor.valueOf(arg.starts_with("--") ? "--output" : "-o");
            if (!request.output || request.output->empty()) return missingValue("--output");
            if (*request.output == "-") request.output.reset(); // standard output, as in other tools
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            return UsageError{"unknown option '" + shown(arg) + "' for " + command};
        } else if (haveInput) {
            return UsageError{command + " takes one input file, not also '" + shown(arg) + "'"};
        } else {
            haveInput = true;
            if (arg != "-") request.input = arg; // "-" is standard input
            cursor.skip();
        }
    }
    if (!key) return UsageError{command + " needs a key file: -k KEYFILE"};
    request.keyFile = *key;
    return request;
}

Request parseFingerprint(ArgumentCursor& cursor) {
    std::optional<std::string> key;
    while (!cursor.done()) {
        const std::string arg = cursor.current();
        if (matches(arg, "-k", "--key")) {
            key = cursor.valueOf(arg.starts_with("--") ? "--key" : "-k");
            if (!key || key->empty()) return missingValue("--key");
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError{"unknown option '" + shown(arg) + "' for fingerprint"};
        } else {
            return UsageError{"fingerprint takes the key file as -k KEYFILE, not '" + shown(arg) + "'"};
        }
    }
    if (!key) return UsageError{"fingerprint needs a key file: -k KEYFILE"};
    return FingerprintRequest{*key};
}

} // namespace

Request parseCommandLine(std::span<const std::string> args) {
    if (std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; })) {
        return HelpRequest{};
    }
    if (args.empty()) return UsageError{"no command given"};
    const std::string& command = args.front();
    if (command == "--version") return VersionRequest{};

    ArgumentCursor cursor(args.subspan(1));
    if (command == "create-key") return parseCreateKey(cursor);
    if (command == "encrypt") return parseTransform(cursor, true);
    if (command == "decrypt") return parseTransform(cursor, false);
    if (command == "fingerprint") return parseFingerprint(cursor);
    return UsageError{"unknown command '" + shown(command) + "'"};
}

} // namespace tarvex::cli
