// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarvex::cli::test {
namespace {

Request parse(std::vector<std::string> args) {
    return parseCommandLine(args);
}

TransformRequest transform(std::vector<std::string> args) {
    Request request = parse(std::move(args));
    auto* result = std::get_if<TransformRequest>(&request);
    if (!result) {
        ADD_FAILURE() << "not a transform request";
        return {};
    }
    return *result;
}

TEST(CommandLine, TransformOptionsInShortLongAndAttachedForms) {
    struct Case {
        std::vector<std::string> args;
        bool encrypt;
        Encoding encoding;
        std::optional<std::string> output;
        std::optional<std::string> input;
    };
    const std::vector<Case> cases = {
        {{"encrypt", "-k", "k.tvk"}, true, Encoding::Utf8, std::nullopt, std::nullopt},
        {{"decrypt", "--key", "k.tvk", "in.txt"}, false, Encoding::Utf8, std::nullopt, "in.txt"},
        {{"encrypt", "--key=k.tvk", "--encoding=cp1252", "--output=o.txt", "-"}, true, Encoding::Cp1252, "o.txt",
         std::nullopt},
        {{"decrypt", "-kk.tvk", "-ecp1252", "-oo.txt", "in.txt"}, false, Encoding::Cp1252, "o.txt", "in.txt"},
        {{"encrypt", "in.txt", "-e", "UTF-8", "-k", "k.tvk"}, true, Encoding::Utf8, std::nullopt, "in.txt"},
        {{"encrypt", "-k", "k.tvk", "--", "-odd-name"}, true, Encoding::Utf8, std::nullopt, "-odd-name"},
        {{"encrypt", "-k", "k.tvk", "--", "-h"}, true, Encoding::Utf8, std::nullopt, "-h"},
        {{"decrypt", "in.txt", "--out=o.txt", "--encoding", "cp1252", "--key", "k.tvk"}, false, Encoding::Cp1252, "o.txt",
         "in.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.size() > 1 ? c.args[1] : c.args[0]);
        TransformRequest request = transform(c.args);
        EXPECT_EQ(request.encrypt, c.encrypt);
        EXPECT_EQ(request.keyFile, "k.tvk");
        EXPECT_EQ(request.encoding, c.encoding);
        EXPECT_EQ(request.output, c.output);
        EXPECT_EQ(request.input, c.input);
    }
}

TEST(CommandLine, CreateKey) {
    Request plain = parse({"create-key", "new.tvk"});
    ASSERT_TRUE(std::holds_alternative<CreateKeyRequest>(plain));
    EXPECT_EQ(std::get<CreateKeyRequest>(plain).keyFile, "new.tvk");
    EXPECT_FALSE(std::get<CreateKeyRequest>(plain).force);

    Request forced = parse({"create-key", "new.tvk", "--force"});
    ASSERT_TRUE(std::holds_alternative<CreateKeyRequest>(forced));
    EXPECT_TRUE(std::get<CreateKeyRequest>(forced).force);
}

TEST(CommandLine, DoubleDashEndsTheOptionsOfEveryCommand) {
    Request key = parse({"create-key", "--", "--force"});
    ASSERT_TRUE(std::holds_alternative<CreateKeyRequest>(key));
    EXPECT_EQ(std::get<CreateKeyRequest>(key).keyFile, "--force");
    EXPECT_FALSE(std::get<CreateKeyRequest>(key).force);

    Request fingerprint = parse({"fingerprint", "--", "-x"});
    ASSERT_TRUE(std::holds_alternative<FingerprintRequest>(fingerprint));
    EXPECT_EQ(std::get<FingerprintRequest>(fingerprint).keyFile, "-x");

    EXPECT_FALSE(transform({"decrypt", "-k", "k.tvk"}).sealed);
    EXPECT_TRUE(transform({"decrypt", "--sealed", "-k", "k.tvk", "--", "--sealed"}).sealed);
}

TEST(CommandLine, HelpAndVersion) {
    EXPECT_TRUE(std::holds_alternative<HelpRequest>(parse({"--help"})));
    EXPECT_TRUE(std::holds_alternative<HelpRequest>(parse({"encrypt", "--help"})));
    EXPECT_TRUE(std::holds_alternative<VersionRequest>(parse({"--version"})));
}

TEST(CommandLine, UsageErrors) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frobnicate"},
        {"encrypt"},                                // no key
        {"encrypt", "-k"},                          // key without value
        {"encrypt", "--key="},                      // empty key
        {"decrypt", "-k", "k.tvk", "-e", "latin9"}, // unknown encoding
        {"decrypt", "-k", "k.tvk", "-o"},           // output without value
        {"encrypt", "-k", "k.tvk", "a", "b"},       // two inputs
        {"encrypt", "-k", "k.tvk", "--verbose"},
        {"create-key"},
        {"create-key", "a.tvk", "b.tvk"},
        {"create-key", "-f", "a.tvk"},
        {"create-key", "--force=yes", "a.tvk"},
        {"fingerprint", "-k", "a.tvk", "--", "b.tvk"},
        {"encrypt", "--sealed", "-k", "k.tvk", "-e", "utf-8"}, // the sealed format has no encoding
    };
    for (const auto& args : wrong) {
        Request request = parse(args);
        auto* usage = std::get_if<UsageError>(&request);
        ASSERT_NE(usage, nullptr) << (args.empty() ? "(none)" : args.back());
        EXPECT_FALSE(usage->message.empty());
    }
}

} // namespace
} // namespace tarvex::cli::test
