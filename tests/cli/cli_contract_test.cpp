// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli_test_support.h"

#include "cipher/key_file_reader.h"
#include "cipher/key_fingerprint.h"
#include "cipher/text_transformer.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tarvex::cli::test {
namespace {

using tarvex::test::TempDir;
using tarvex::test::readBytes;
using tarvex::test::writeBytes;
using tarvex::test::permissionBits;
using tarvex::test::codes;
using tarvex::test::ProcessResult;
using tarvex::test::ProcessOptions;
using tarvex::test::runCli;

std::vector<std::string> splitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t end;
    while ((end = text.find("\r\n", start)) != std::string::npos) {
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

class CliContract : public ::testing::Test {
protected:
    TempDir dir;
    std::string key = dir.file("k.tvk");

    void createKey() { ASSERT_EQ(runCli({"create-key", key}).exitCode, 0); }
};

TEST_F(CliContract, CreateKeyWritesAnOwnerOnlyKeyFileOfTheRightShape) {
    ProcessResult result = runCli({"create-key", key});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(permissionBits(key), 0600u);

    std::string content = readBytes(key);
    std::vector<std::string> lines = splitCrLf(content);
    ASSERT_GE(lines.size(), 17u);
    ASSERT_LE(lines.size(), 222u);
    std::size_t pairs = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        bool last = i + 1 == lines.size();
        if (last) {
            EXPECT_LT(line.size(), 54u) << "final line";
        } else {
            EXPECT_EQ(line.size(), 54u) << "line " << i + 1;
        }
        EXPECT_EQ(line.size() % 2, 0u);
        EXPECT_EQ(line.find_first_not_of("0123456789ABCDEF"), std::string::npos) << line;
        pairs += line.size() / 2;
    }
    EXPECT_GE(pairs, 438u);
    EXPECT_LE(pairs, 5969u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"k.tvk"}) << "a temporary file was left";
}

TEST_F(CliContract, CreateKeyRefusesAnExistingFileUnlessForced) {
    writeBytes(key, "precious");
    ProcessResult refused = runCli({"create-key", key});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err.rfind("tarvex-cli: ", 0), 0u) << refused.err;
    EXPECT_NE(refused.err.find(key), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("already exists (use --force to replace it)"), std::string::npos) << refused.err;
    EXPECT_EQ(readBytes(key), "precious");

    ProcessResult forced = runCli({"create-key", "--force", key});
    ASSERT_EQ(forced.exitCode, 0) << forced.err;
    EXPECT_NE(readBytes(key), "precious");
    EXPECT_EQ(permissionBits(key), 0600u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"k.tvk"});
}

TEST_F(CliContract, TwoKeysDiffer) {
    createKey();
    std::string other = dir.file("other.tvk");
    ASSERT_EQ(runCli({"create-key", other}).exitCode, 0);
    EXPECT_NE(readBytes(key), readBytes(other));
}

TEST_F(CliContract, Cp1252EncryptWritesTheCipherBytesAndCarriageReturnLineFeed) {
    // Key numbers 1 and 2: "a" + 1 = "b", "b" + 2 = "d", "z" + 1 wraps to " ".
    writeBytes(key, "0102\r\n");
    ProcessResult result = runCli({"encrypt", "-k", key, "-e", "cp1252"}, std::string("abz"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "\xF0" "bd \r\n");

    ProcessResult back = runCli({"decrypt", "-k", key, "-e", "cp1252"}, result.out);
    ASSERT_EQ(back.exitCode, 0) << back.err;
    EXPECT_EQ(back.out, "abz");
}

TEST_F(CliContract, Utf8RoundTripPrintsTheMessageBack) {
    createKey();
    ProcessResult encrypted = runCli({"encrypt", "-k", key}, std::string("hi\n"));
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err;
    EXPECT_EQ(encrypted.out.rfind("ð", 0), 0u) << "cipher text starts with the marker";
    EXPECT_EQ(encrypted.out.back(), '\n');
    EXPECT_EQ(encrypted.out.find('\r'), std::string::npos);

    ProcessResult decrypted = runCli({"decrypt", "-k", key}, encrypted.out);
    ASSERT_EQ(decrypted.exitCode, 0) << decrypted.err;
    EXPECT_EQ(decrypted.out, "hi\n");

    // Only codes that come back with any key: 9, 10, 13 and 32 to 222.
    std::string letter = "ÜBER ÄRGER, ZOË!\n\tTabs — and “quotes” survive.\n\nLast line without end";
    ProcessResult sealed = runCli({"encrypt", "--key", key}, letter);
    ASSERT_EQ(sealed.exitCode, 0) << sealed.err;
    ProcessResult opened = runCli({"decrypt", "--key", key}, sealed.out);
    ASSERT_EQ(opened.exitCode, 0) << opened.err;
    EXPECT_EQ(opened.out, letter);
}

TEST_F(CliContract, Cp1252RoundTripOfEveryCodeThatComesBack) {
    createKey();
    std::string text;
    for (int repeat = 0; repeat < 40; ++repeat) { // longer than any key
        for (int c : {9, 10, 13}) text.push_back(static_cast<char>(c));
        for (int c = 32; c <= 222; ++c) text.push_back(static_cast<char>(c));
    }
    ProcessResult encrypted = runCli({"encrypt", "-k", key, "-e", "cp1252"}, text);
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err;
    ASSERT_EQ(encrypted.out.size(), text.size() + 3);
    ProcessResult decrypted = runCli({"decrypt", "-k", key, "-e", "cp1252"}, encrypted.out);
    ASSERT_EQ(decrypted.exitCode, 0) << decrypted.err;
    EXPECT_EQ(decrypted.out, text);
}

TEST_F(CliContract, AgreesWithTheCipherCoreByteForByte) {
    createKey();
    // Codes up to 222 have a result with every key number, which a random key needs.
    std::string text = "Meet me at the usual place.\r\nBring the ~{|}~ and some \xC0\xDE.";
    ProcessResult cli = runCli({"encrypt", "-k", key, "-e", "cp1252"}, text);
    ASSERT_EQ(cli.exitCode, 0) << cli.err;

    Result<secret::Bytes> numbers = cipher::readKeyNumbers(key);
    ASSERT_TRUE(numbers.ok());
    Result<secret::String> core = cipher::encryptText(text, *numbers);
    ASSERT_TRUE(core.ok());
    EXPECT_EQ(cli.out, std::string(*core) + "\r\n");
}

TEST_F(CliContract, FilesInAndOut) {
    createKey();
    std::string in = dir.file("message.txt");
    std::string sealed = dir.file("sealed.txt");
    std::string opened = dir.file("opened.txt");
    writeBytes(in, "line one\nline two\n");

    ProcessResult encrypted = runCli({"encrypt", "-k", key, "-o", sealed, in});
    ASSERT_EQ(encrypted.exitCode, 0) << encrypted.err;
    EXPECT_EQ(encrypted.out, "");
    ProcessResult decrypted = runCli({"decrypt", "-k", key, "--output", opened, sealed});
    ASSERT_EQ(decrypted.exitCode, 0) << decrypted.err;
    EXPECT_EQ(readBytes(opened), "line one\nline two\n");

    // Replacing an existing output keeps its permissions.
    ::chmod(opened.c_str(), 0640);
    ASSERT_EQ(runCli({"decrypt", "-k", key, "-o", opened, sealed}).exitCode, 0);
    EXPECT_EQ(permissionBits(opened), 0640u);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"k.tvk", "message.txt", "opened.txt", "sealed.txt"}));
}

TEST_F(CliContract, OutputDashIsStandardOutput) {
    createKey();
    const std::string message = "line one\nline two\n";
    ProcessResult plain = runCli({"encrypt", "-k", key}, message);
    ASSERT_EQ(plain.exitCode, 0) << plain.err;

    ProcessOptions inDir;
    inDir.input = message;
    inDir.workingDirectory = dir.path();
    for (const std::vector<std::string>& dash :
         {std::vector<std::string>{"-o", "-"}, {"--output", "-"}, {"--output=-"}, {"-o-"}}) {
        std::vector<std::string> args{"encrypt", "-k", key};
        args.insert(args.end(), dash.begin(), dash.end());
        ProcessResult result = runCli(args, inDir);
        ASSERT_EQ(result.exitCode, 0) << dash.front() << ": " << result.err;
        EXPECT_EQ(result.out, plain.out) << dash.front();
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"k.tvk"}) << "a file named - was written";

    // ./- still names a file.
    ProcessResult toFile = runCli({"encrypt", "-k", key, "-o", "./-"}, inDir);
    ASSERT_EQ(toFile.exitCode, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readBytes(dir.file("-")), plain.out);
}

TEST_F(CliContract, FingerprintPrintsOneLineOrFails) {
    // Key numbers 3, 7, 30, 0; printf '\x03\x07\x1e\x00' | sha256sum starts 58b3f2b6bab7501d.
    writeBytes(key, "12\n34\nFF\n00\n");
    ProcessResult known = runCli({"fingerprint", "-k", key});
    EXPECT_EQ(known.exitCode, 0) << known.err;
    EXPECT_EQ(known.out, "58B3 F2B6 BAB7 501D\n");
    EXPECT_EQ(known.err, "");

    ASSERT_EQ(runCli({"create-key", "--force", key}).exitCode, 0);
    Result<std::string> library = cipher::keyFingerprint(key);
    ASSERT_TRUE(library.ok());
    EXPECT_EQ(runCli({"fingerprint", "--key=" + key}).out, *library + "\n");

    ProcessResult missing = runCli({"fingerprint", "-k", dir.file("missing.tvk")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err, "tarvex-cli: cannot read '" + dir.file("missing.tvk") + "': No such file or directory\n");

    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"fingerprint"}, {"fingerprint", "-k"}, {"fingerprint", "-k", key, key}, {"fingerprint", "-x", key}}) {
        ProcessResult usage = runCli(args);
        EXPECT_EQ(usage.exitCode, 2) << args.size();
        EXPECT_EQ(usage.err.rfind("tarvex-cli: ", 0), 0u) << usage.err;
        EXPECT_EQ(usage.out, "");
    }
}

TEST_F(CliContract, HelpAndVersion) {
    ProcessResult help = runCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"create-key", "encrypt", "decrypt", "fingerprint"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    ProcessResult version = runCli({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("tarvex-cli ", 0), 0u) << version.out;
}

} // namespace
} // namespace tarvex::cli::test
