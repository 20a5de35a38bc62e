// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli_test_support.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <cctype>

#include <sys/stat.h>
#include <unistd.h>

namespace tarvex::cli::test {
namespace {

using tarvex::test::TempDir;
using tarvex::test::fullDevice;
using tarvex::test::isCharacterDevice;
using tarvex::test::readBytes;
using tarvex::test::writeBytes;
using tarvex::test::ProcessResult;
using tarvex::test::ProcessOptions;
using tarvex::test::runProcess;
using tarvex::test::runCli;

// One line on standard error, naming what is at fault.
void expectOneLineError(const ProcessResult& result, const std::string& mentions) {
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err.rfind("tarvex-cli: ", 0), 0u) << result.err;
    ASSERT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    EXPECT_NE(result.err.find(mentions), std::string::npos) << result.err;
}

// Runs tarvex-cli without the capabilities that let root ignore permissions.
ProcessResult runUnprivileged(const std::vector<std::string>& args, const std::string& input = {}) {
    if (::geteuid() != 0) return runCli(args, input);
    std::vector<std::string> wrapped = {"--bounding-set", "-dac_override,-dac_read_search", TARVEX_CLI_PATH};
    wrapped.insert(wrapped.end(), args.begin(), args.end());
    ProcessOptions options;
    options.input = input;
    return runProcess("/usr/bin/setpriv", wrapped, options);
}

class CliFailure : public ::testing::Test {
protected:
    TempDir dir;
    std::string key = dir.file("k.tvk");

    // Key numbers all 1: predictable faults.
    void SetUp() override { writeBytes(key, "01\r\n"); }
};

TEST_F(CliFailure, KeyFileProblemsNameTheFile) {
    std::string missing = dir.file("missing.tvk");
    expectOneLineError(runCli({"encrypt", "-k", missing}, std::string("x")), missing + "': No such file or directory");

    expectOneLineError(runCli({"encrypt", "-k", dir.path()}, std::string("x")), "Is a directory");

    std::string empty = dir.file("empty.tvk");
    writeBytes(empty, "\r\n\r\n");
    expectOneLineError(runCli({"decrypt", "-k", empty}, std::string("ðx")), empty);
}

TEST_F(CliFailure, InputProblemsNameTheFileCharacterAndPosition) {
    std::string in = dir.file("in.txt");
    writeBytes(in, "abc ā");
    ProcessResult outside = runCli({"encrypt", "-k", key, in});
    expectOneLineError(outside, "'ā' (U+0101) at position 5");
    EXPECT_NE(outside.err.find(in), std::string::npos);
    EXPECT_EQ(outside.out, "");

    ProcessResult tooHigh = runCli({"encrypt", "-k", key, "-e", "cp1252"}, std::string("ok\xFF"));
    expectOneLineError(tooHigh, "code 255 at position 3");
    EXPECT_EQ(tooHigh.out, "");

    ProcessResult badUtf8 = runCli({"decrypt", "-k", key}, std::string("\xF0\x28"));
    expectOneLineError(badUtf8, "UTF-8 at byte 1");

    ProcessResult belowZero = runCli({"decrypt", "-k", key, "-e", "cp1252"}, std::string("\xF0" "a\x00" "b", 4));
    expectOneLineError(belowZero, "position 3");
    EXPECT_EQ(belowZero.out, "");

    expectOneLineError(runCli({"encrypt", "-k", key, dir.path()}), "Is a directory");
    expectOneLineError(runCli({"decrypt", "-k", key}, std::string("\r\n")), "standard input holds no cipher text");
}

TEST_F(CliFailure, FailedOutputFileIsNeverCreatedOrChanged) {
    std::string out = dir.file("out.txt");
    expectOneLineError(runCli({"encrypt", "-k", key, "-o", out, "-e", "cp1252"}, std::string("ab\xFF")), "position 3");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"k.tvk"});

    writeBytes(out, "keep me");
    expectOneLineError(runCli({"encrypt", "-k", key, "-o", out}, std::string("ab ā")), "position 4");
    EXPECT_EQ(readBytes(out), "keep me");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"k.tvk", "out.txt"}));

    std::string nowhere = dir.file("no/such/folder/out.txt");
    expectOneLineError(runCli({"encrypt", "-k", key, "-o", nowhere}, std::string("ab")), nowhere);
}

TEST_F(CliFailure, LargeInputStreamsAndStillReportsALateFault) {
    // A fault past the first MiB: the earlier chunks may already be out, the status says it failed.
    std::string text(3 * 1024 * 1024, 'a');
    text[text.size() - 10] = '\xFF';
    ProcessResult streamed = runCli({"encrypt", "-k", key, "-e", "cp1252"}, text);
    expectOneLineError(streamed, "position " + std::to_string(text.size() - 9));
    EXPECT_GT(streamed.out.size(), 0u);
    EXPECT_LT(streamed.out.size(), text.size());

    std::string out = dir.file("out.txt");
    expectOneLineError(runCli({"encrypt", "-k", key, "-e", "cp1252", "-o", out}, text), "position");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"k.tvk"});

    // A fault inside the first MiB writes nothing at all.
    std::string early(3 * 1024 * 1024, 'a');
    early[1000] = '\xFF';
    ProcessResult quiet = runCli({"encrypt", "-k", key, "-e", "cp1252"}, early);
    expectOneLineError(quiet, "position 1001");
    EXPECT_EQ(quiet.out, "");
}

TEST_F(CliFailure, ALineBreakSplitBetweenChunksKeepsTheLaterPositions) {
    // The first MiB ends in a CR whose LF begins the second; a fault after
    // them is named where it is, in the input's own characters.
    const std::size_t chunk = 1024 * 1024;
    std::string cipherText = "=" + std::string(chunk - 2, 'b') + "\r\nbb";
    cipherText += '\0'; // below every key number
    const std::string at = "position " + std::to_string(cipherText.size()) + " ";
    expectOneLineError(runCli({"decrypt", "-k", key, "-e", "cp1252"}, cipherText), at);
    expectOneLineError(runCli({"decrypt", "-k", key}, cipherText), at);

    std::string message = std::string(chunk - 1, 'a') + "\r\nb\nb\x01";
    expectOneLineError(runCli({"encrypt", "-k", key}, message), "position " + std::to_string(message.size()) + " ");
}

TEST_F(CliFailure, LargeInputRoundTripsAcrossChunks) {
    std::string text;
    while (text.size() < 2'500'000) text += "GRÜSSE aus der Ferne — “Hallo”\n";
    ProcessResult sealed = runCli({"encrypt", "-k", key}, text);
    ASSERT_EQ(sealed.exitCode, 0) << sealed.err;
    ProcessResult opened = runCli({"decrypt", "-k", key}, sealed.out);
    ASSERT_EQ(opened.exitCode, 0) << opened.err;
    EXPECT_TRUE(opened.out == text) << "round trip differs";
}

TEST_F(CliFailure, ClosedOrFullStandardOutputIsAFailure) {
    ProcessOptions closed;
    closed.input = "hello";
    closed.closeStdout = true;
    expectOneLineError(runCli({"encrypt", "-k", key}, closed), "standard output: Broken pipe");

    ProcessOptions full;
    full.input = "hello";
    full.stdoutPath = fullDevice(dir);
    expectOneLineError(runCli({"encrypt", "-k", key}, full), "No space left on device");
}

TEST_F(CliFailure, FullDiskAsOutputFileFailsAndStaysADevice) {
    const std::string full = fullDevice(dir);
    expectOneLineError(runCli({"encrypt", "-k", key, "-o", full}, std::string("hello")),
                       "'" + full + "': No space left on device");
    EXPECT_TRUE(isCharacterDevice(full)) << "the device was replaced by a file";
}

TEST_F(CliFailure, OutputThroughALinkReplacesTheFileAndKeepsTheLink) {
    std::string real = dir.file("real.txt");
    std::string link = dir.file("link.txt");
    writeBytes(real, "old");
    ASSERT_EQ(::symlink(real.c_str(), link.c_str()), 0);
    ProcessResult result = runCli({"encrypt", "-k", key, "-e", "cp1252", "-o", link}, std::string("a"));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    struct stat info {};
    ASSERT_EQ(::lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(readBytes(real), "\xF0" "b\r\n");
}

TEST_F(CliFailure, PermissionsAreRespected) {
    std::string locked = dir.file("locked.tvk");
    writeBytes(locked, "01\r\n");
    ::chmod(locked.c_str(), 0);
    expectOneLineError(runUnprivileged({"encrypt", "-k", locked}, "hi"), "'" + locked + "': Permission denied");

    std::string readOnly = dir.file("read-only.txt");
    writeBytes(readOnly, "keep");
    ::chmod(readOnly.c_str(), 0444);
    expectOneLineError(runUnprivileged({"encrypt", "-k", key, "-o", readOnly}, "hi"), "Permission denied");
    EXPECT_EQ(readBytes(readOnly), "keep");

    std::string closedFolder = dir.file("closed");
    ASSERT_EQ(::mkdir(closedFolder.c_str(), 0555), 0);
    expectOneLineError(runUnprivileged({"create-key", closedFolder + "/k.tvk"}), "Permission denied");
    expectOneLineError(runUnprivileged({"decrypt", "-k", key, "-o", closedFolder + "/out.txt"}, "\xF0x"),
                       "Permission denied");
    EXPECT_EQ(::rmdir(closedFolder.c_str()), 0) << "nothing was left in the folder";
}

TEST_F(CliFailure, DamagedCipherTextsNeverCrashAndFailOnlyWhereACodeHasNone) {
    std::string sealed = runCli({"encrypt", "-k", key}, std::string("Meet me at noon")).out;
    ASSERT_GT(sealed.size(), 4u);

    // Cut short: decrypts to the beginning of the message.
    ProcessResult cut = runCli({"decrypt", "-k", key}, sealed.substr(0, 7));
    EXPECT_EQ(cut.exitCode, 0) << cut.err;
    EXPECT_EQ(cut.out, "Meet ");

    // The other first character that marks a cipher text: dropped all the same.
    ProcessResult otherMarker = runCli({"decrypt", "-k", key}, "=" + sealed.substr(2));
    EXPECT_EQ(otherMarker.out, "Meet me at noon");

    // A space slipped in shifts what follows, but every code still has a result.
    std::string spaced = sealed;
    spaced.insert(6, " ");
    ProcessResult shifted = runCli({"decrypt", "-k", key}, spaced);
    EXPECT_EQ(shifted.exitCode, 0) << shifted.err;
    EXPECT_NE(shifted.out, "Meet me at noon");

    // A line break inserted by a mail program: CR (13) stepped down by 1 is 12, still a code;
    // with a larger key number it has none, and the position is named.
    std::string bigKey = dir.file("big.tvk");
    writeBytes(bigKey, "FF\r\n");
    std::string broken = runCli({"encrypt", "-k", bigKey, "-e", "cp1252"}, std::string("abcdef")).out;
    broken.insert(4, "\r\n");
    expectOneLineError(runCli({"decrypt", "-k", bigKey, "-e", "cp1252"}, broken), "position 5");

    // Made with another key: another text, or a named fault, never a crash.
    std::string other = dir.file("other.tvk");
    ASSERT_EQ(runCli({"create-key", other}).exitCode, 0);
    ProcessResult wrongKey = runCli({"decrypt", "-k", other}, sealed);
    EXPECT_TRUE(wrongKey.exitCode == 0 || wrongKey.exitCode == 1) << wrongKey.exitCode;
    EXPECT_NE(wrongKey.out, "Meet me at noon");
}

// A key that hides nothing, or a character that would come back as another:
// nothing is printed and no output file is made; decrypting keeps every rule.
TEST_F(CliFailure, EncryptRefusesWhatWouldNotComeBackAndKeysThatHideNothing) {
    std::string junk = dir.file("junk.bin");
    std::string bytes;
    for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 131 + 7) % 256));
    writeBytes(junk, bytes);
    const std::string out = dir.file("out.txt");
    ProcessResult weak = runCli({"encrypt", "-k", junk, "-o", out}, std::string("hello"));
    expectOneLineError(weak, junk + "' does not look like a key");
    EXPECT_NE(::access(out.c_str(), F_OK), 0) << "no output file";
    ProcessResult opened = runCli({"decrypt", "-k", junk}, std::string("\xC3\xB0hello"));
    EXPECT_EQ(opened.exitCode, 0) << opened.err;

    // Key numbers 2, 2, 21: the second "\xC3\xA9" would become 254, a line feed.
    std::string key21 = dir.file("k21.tvk");
    writeBytes(key21, "11116F\r\n");
    ProcessResult accent = runCli({"encrypt", "-k", key21}, std::string("\xC3\xA9t\xC3\xA9"));
    expectOneLineError(accent, "'\xC3\xA9' (U+00E9) of code 233 at position 3");
    EXPECT_NE(accent.err.find("use another key"), std::string::npos) << accent.err;
    EXPECT_EQ(accent.out, "");

    ProcessResult control = runCli({"encrypt", "-k", key, "-o", out}, std::string("A\x01"));
    expectOneLineError(control, "U+0001 of code 1 at position 2");
    EXPECT_EQ(control.out, "");
    EXPECT_NE(::access(out.c_str(), F_OK), 0) << "no output file";
}

// Decrypt takes a classic cipher text or a sealed message, after white space,
// format characters and quote markers. Anything else, which would come out as
// noise, fails with one line and prints nothing; a text that a channel made of
// a sealed message is told apart.
TEST_F(CliFailure, DecryptTakesOnlyCipherTexts) {
    const std::string sealingKey = dir.file("sealing.tvk");
    ASSERT_EQ(runCli({"create-key", sealingKey}).exitCode, 0);
    const std::string token = runCli({"encrypt", "--sealed", "-k", sealingKey}, std::string("Meet me at noon")).out;
    ASSERT_EQ(token.rfind("tarvex1", 0), 0u) << token;
    const std::string body = token.substr(7, token.size() - 8); // no prefix, no line feed
    std::string shouted = token;
    for (char& c : shouted) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));

    const std::string noCipherText = "standard input holds no cipher text: it begins with ";
    const std::string damaged = "standard input looks like a damaged sealed message: it does not begin with tarvex1; "
                                "it was changed or cut on its way, so ask the sender to send it again";
    struct Case {
        std::string input, says, encoding = "utf-8";
    };
    const std::vector<Case> cases = {
        {"just some plain text\n", noCipherText + "'j' (U+006A), not with \xC3\xB0 or tarvex1"},
        {" \r\n> Hello \xC3\xB0", noCipherText + "'H' (U+0048)"},
        {"Tarvex is a program", noCipherText + "'T' (U+0054)"},
        {"See you tomorrow at nine and bring the papers and the keys with you", noCipherText + "'S' (U+0053)"},
        {"\xF0\x9F\x99\x82 hi", noCipherText + "'\xF0\x9F\x99\x82' (U+1F642)"},
        {"\xC3\xB0hello", noCipherText + "'\xC3\x83' (U+00C3)", "cp1252"}, // UTF-8 read as Windows-1252
        {" \t\r\n\xE2\x80\x8B> ", "standard input holds no cipher text: it has only white space"},
        {"tarvez1" + body, damaged},
        {"Tarvex1" + body, damaged},
        {"tarex1" + body, damaged},
        {"tarvvex1" + body, damaged},
        {"tavrex1" + body, damaged},
        {"tarvex" + body.substr(body.find_first_not_of("123456789")), damaged},
        {shouted, damaged},
        {"\xE2\x80\x9C" + token + "\xE2\x80\x9D", damaged}, // smart quotes
        {"Tarvex1" + body, damaged, "cp1252"},
        {body, damaged},
        {"> " + body.substr(0, 30) + "\n> " + body.substr(30), damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input + " (" + c.encoding + ")");
        ProcessResult result = runCli({"decrypt", "-k", sealingKey, "-e", c.encoding}, c.input);
        expectOneLineError(result, c.says);
        EXPECT_EQ(result.out, "");
    }

    // A classic cipher text after such characters decrypts as it does alone,
    // and positions count what came before it.
    const std::string utf8 = runCli({"encrypt", "-k", key}, std::string("Meet me at noon")).out;
    EXPECT_EQ(runCli({"decrypt", "-k", key}, " \r\n> \xE2\x80\x8B" + utf8).out, "Meet me at noon");
    const std::string cp1252 = runCli({"encrypt", "-k", key, "-e", "cp1252"}, std::string("Meet me at noon")).out;
    EXPECT_EQ(runCli({"decrypt", "-k", key, "-e", "cp1252"}, "\xA0\t" + cp1252).out, "Meet me at noon");
    expectOneLineError(runCli({"decrypt", "-k", key}, std::string("\xE2\x80\x8B\xC3\xB0" "a\x00" "b", 7)),
                       "position 4");
    expectOneLineError(runCli({"decrypt", "-k", key, "-e", "cp1252"}, std::string(" >\xF0" "a\x00" "b", 6)),
                       "position 5");
}

TEST_F(CliFailure, UsageErrorsExitWithTwo) {
    for (const auto& args : std::vector<std::vector<std::string>>{{}, {"encrypt"}, {"decrypt", "-k", key, "-e", "ascii"}}) {
        ProcessResult result = runCli(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err.rfind("tarvex-cli: ", 0), 0u) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

} // namespace
} // namespace tarvex::cli::test
