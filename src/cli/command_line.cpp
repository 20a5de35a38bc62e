// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_line.h"

#include "messages/cli_messages.h"

#include <algorithm>
#include <cctype>
#include <getopt.h>
#include <vector>

namespace tarvex::cli {
namespace {

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<Encoding> encodingNamed(const std::string& name) {
    std::string key = lower(name);
    if (key == "utf-8" || key == "utf8") return Encoding::Utf8;
    if (key == "cp1252" || key == "windows-1252") return Encoding::Cp1252;
    return std::nullopt;
}

UsageError missingValue(const std::string& option) {
    return UsageError{messages::optionNeedsValue(option)};
}

// One command's options, parsed by getopt_long as Unix tools do: options and
// operands in any order, "--" ends the options, "--name=value", "-nvalue" and
// unique abbreviations of long names. Stops at the first usage error, except
// that -h or --help among the options always asks for the help.
class OptionParser {
public:
    struct Option {
        const char* longName;
        char shortName; // 0: only the long name
        bool takesValue;
    };

    OptionParser(std::span<const std::string> args, std::string command, std::vector<Option> options)
        : command_(std::move(command)), options_(std::move(options)) {
        options_.push_back({"help", 'h', false});
        argv_.push_back(command_.data());
        for (const std::string& arg : args) {
            copies_.push_back(arg);
        }
        for (std::string& arg : copies_) argv_.push_back(arg.data());
        argv_.push_back(nullptr);
    }

    // Calls onOption(index in the option list, value) and onOperand(text) in
    // the order given; a returned UsageError ends the parse.
    template <typename OnOption, typename OnOperand>
    std::optional<Request> parse(OnOption onOption, OnOperand onOperand) {
        // '-': operands come back in their place, whatever POSIXLY_CORRECT says;
        // ':': a missing value is told apart from an unknown option.
        std::string shortOptions = "-:";
        std::vector<::option> longOptions;
        for (std::size_t i = 0; i < options_.size(); ++i) {
            const Option& option = options_[i];
            if (option.shortName != 0) {
                shortOptions += option.shortName;
                if (option.takesValue) shortOptions += ':';
            }
            longOptions.push_back({option.longName, option.takesValue ? required_argument : no_argument, nullptr,
                                   static_cast<int>(kLongOnly + i)});
        }
        longOptions.push_back({nullptr, 0, nullptr, 0});

        const int argc = static_cast<int>(argv_.size()) - 1;
        std::optional<Request> failure;
        bool help = false;
        ::opterr = 0;
        ::optind = 0; // starts a fresh parse
        for (;;) {
            const int at = ::optind == 0 ? 1 : ::optind;
            const int found = ::getopt_long(argc, argv_.data(), shortOptions.c_str(), longOptions.data(), nullptr);
            if (found == -1) break;
            if (failure) continue; // only -h or --help can still change the outcome
            const std::string arg = at < argc ? argv_[static_cast<std::size_t>(at)] : "";
            if (found == 1) {
                failure = onOperand(std::string(::optarg));
            } else if (found == ':') {
                failure = missingValue("--" + std::string(options_[indexOf(::optopt)].longName));
            } else if (found == '?') {
                if (arg.starts_with("--") && ::optopt != 0) {
                    failure = UsageError{
                        messages::optionTakesNoValue("--" + std::string(options_[indexOf(::optopt)].longName))};
                } else {
                    const std::string given = arg.starts_with("--") ? arg : std::string("-") + char(::optopt);
                    failure = UsageError{messages::unknownOption(given, command_)};
                }
            } else if (std::size_t index = indexOf(found); options_[index].shortName == 'h') {
                help = true;
            } else {
                failure = onOption(index, ::optarg ? std::string(::optarg) : std::string());
            }
        }
        if (help) return HelpRequest{};
        if (failure) return failure;
        for (int i = ::optind; i < argc; ++i) {
            if (std::optional<Request> wrong = onOperand(std::string(argv_[static_cast<std::size_t>(i)]))) return wrong;
        }
        return std::nullopt;
    }

private:
    static constexpr int kLongOnly = 256;

    std::size_t indexOf(int found) const {
        if (found >= kLongOnly) return static_cast<std::size_t>(found - kLongOnly);
        for (std::size_t i = 0; i < options_.size(); ++i) {
            if (options_[i].shortName == found) return i;
        }
        return options_.size() - 1;
    }

    std::string command_;
    std::vector<Option> options_;
    std::vector<std::string> copies_;
    std::vector<char*> argv_;
};

Request parseCreateKey(std::span<const std::string> args) {
    CreateKeyRequest request;
    std::optional<std::string> file;
    OptionParser parser(args, "create-key", {{"force", 0, false}});
    std::optional<Request> stop = parser.parse(
        [&](std::size_t, const std::string&) -> std::optional<Request> {
            request.force = true;
            return std::nullopt;
        },
        [&](const std::string& arg) -> std::optional<Request> {
            if (file) return UsageError{messages::oneKeyFileOnly("create-key", arg)};
            file = arg;
            return std::nullopt;
        });
    if (stop) return *stop;
    if (!file) return UsageError{messages::keyFileToWriteNeeded("create-key")};
    request.keyFile = *file;
    return request;
}

Request parseTransform(std::span<const std::string> args, bool encrypt) {
    enum { kKey, kEncoding, kOutput, kSealed };
    TransformRequest request;
    request.encrypt = encrypt;
    const std::string command = encrypt ? "encrypt" : "decrypt";
    std::optional<std::string> key;
    bool haveInput = false;
    bool encodingGiven = false;
    OptionParser parser(args, command,
                        {{"key", 'k', true}, {"encoding", 'e', true}, {"output", 'o', true}, {"sealed", 0, false}});
    std::optional<Request> stop = parser.parse(
        [&](std::size_t option, const std::string& value) -> std::optional<Request> {
            switch (option) {
            case kKey:
                if (value.empty()) return missingValue("--key");
                key = value;
                break;
            case kEncoding: {
                std::optional<Encoding> encoding = encodingNamed(value);
                if (!encoding) return UsageError{messages::unknownEncoding(value)};
                request.encoding = *encoding;
                encodingGiven = true;
                break;
            }
            case kOutput:
                if (value.empty()) return missingValue("--output");
                request.output = value;
                if (value == "-") request.output.reset(); // standard output, as in other tools
                break;
            case kSealed:
                request.sealed = true;
                break;
            }
            return std::nullopt;
        },
        [&](const std::string& arg) -> std::optional<Request> {
            if (haveInput) return UsageError{messages::oneInputOnly(command, arg)};
            haveInput = true;
            if (arg != "-") request.input = arg; // "-" is standard input
            return std::nullopt;
        });
    if (stop) return *stop;
    if (request.sealed && encodingGiven) return UsageError{messages::encodingWithSealed()};
    if (!key) return UsageError{messages::keyFileNeeded(command)};
    request.keyFile = *key;
    return request;
}

// The key file comes with -k, or after "--" when its name starts with '-'.
Request parseFingerprint(std::span<const std::string> args) {
    std::optional<std::string> key;
    bool keyGiven = false;
    OptionParser parser(args, "fingerprint", {{"key", 'k', true}});
    std::optional<Request> stop = parser.parse(
        [&](std::size_t, const std::string& value) -> std::optional<Request> {
            if (value.empty()) return missingValue("--key");
            if (keyGiven) return UsageError{messages::oneKeyFileOnly("fingerprint", value)};
            key = value;
            keyGiven = true;
            return std::nullopt;
        },
        [&](const std::string& arg) -> std::optional<Request> {
            if (keyGiven) return UsageError{messages::oneKeyFileOnly("fingerprint", arg)};
            key = arg;
            keyGiven = true;
            return std::nullopt;
        });
    if (stop) return *stop;
    if (!key) return UsageError{messages::keyFileNeeded("fingerprint")};
    return FingerprintRequest{*key};
}

Request parseAgree(std::span<const std::string> args, bool invite) {
    enum { kForce, kNoCompare };
    AgreeRequest request;
    request.invite = invite;
    const std::string command = invite ? "invite" : "answer";
    std::optional<std::string> file;
    OptionParser parser(args, command, {{"force", 0, false}, {"no-compare", 0, false}});
    std::optional<Request> stop = parser.parse(
        [&](std::size_t option, const std::string&) -> std::optional<Request> {
            (option == kForce ? request.force : request.noCompare) = true;
            return std::nullopt;
        },
        [&](const std::string& arg) -> std::optional<Request> {
            if (file) return UsageError{messages::oneKeyFileOnly(command, arg)};
            file = arg;
            return std::nullopt;
        });
    if (stop) return *stop;
    if (!file) return UsageError{messages::keyFileToWriteNeeded(command)};
    request.keyFile = *file;
    return request;
}

} // namespace

Request parseCommandLine(std::span<const std::string> args) {
    if (args.empty()) return UsageError{messages::noCommand()};
    const std::string& command = args.front();
    if (command == "--help" || command == "-h") return HelpRequest{};
    if (command == "--version") return VersionRequest{};

    std::span<const std::string> rest = args.subspan(1);
    if (command == "create-key") return parseCreateKey(rest);
    if (command == "encrypt") return parseTransform(rest, true);
    if (command == "decrypt") return parseTransform(rest, false);
    if (command == "fingerprint") return parseFingerprint(rest);
    if (command == "invite") return parseAgree(rest, true);
    if (command == "answer") return parseAgree(rest, false);
    return UsageError{messages::unknownCommand(command)};
}

} // namespace tarvex::cli
