// SPDX-License-Identifier: GPL-3.0-or-later

#include "exchange/cipher_commands.h"
#include "cipher/key_file_reader.h"
#include "seal/opener.h"
#include "seal/sealer.h"
#include "seal/sealing_key.h"
#include "text/charset.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvex::exchange::test {
namespace {

using tarvex::test::TempDir;

// Stands in for the main window: records what the commands do to it.
class FakeHost final : public exchange::CipherCommandHost {
public:
    std::string key;
    std::string message;
    exchange::MessageLimit limit;
    int keySets = 0;
    int messageSets = 0;
    int loadEnabled = 0;
    platform::FileDialogSettings dialog;
    std::string nextFileName; // what the dialog answers; empty is a cancel
    std::vector<platform::FileDialogSettings> shown;
    std::vector<std::string> shownAs;
    std::vector<std::string> failures;
    std::vector<std::string> questions;
    bool answer = false; // to every question: Yes when true

    std::string keyPath() const override { return key; }
    void setKeyPath(const std::string& path) override {
        ++keySets;
        key = path;
    }
    secret::String messageText() const override { return secret::String(message); }
    void setMessageText(std::string_view text) override {
        ++messageSets;
        message = text;
    }
    exchange::MessageLimit messageLimit() const override { return limit; }
    void enableTextFileLoad() override { ++loadEnabled; }
    platform::FileDialogSettings& dialogSettings() override { return dialog; }
    std::string showSaveDialog() override { return show("save"); }
    std::string showOpenDialog() override { return show("open"); }
    void reportFailure(const std::string& text) override { failures.push_back(text); }
    bool confirm(const std::string& question) override {
        questions.push_back(question);
        return answer;
    }

private:
    std::string show(const std::string& kind) {
        shown.push_back(dialog);
        shownAs.push_back(kind);
        return nextFileName;
    }
};

// Varied values, the same in every run.
class CyclingSource final : public cipher::UniformSource {
public:
    void reseed(float) override {}
    Result<double> next() override {
        value_ = std::fmod(value_ + 0.37, 1.0);
        return value_;
    }

private:
    double value_ = 0.1;
};

class StillClock final : public cipher::TimeOfDayClock {
public:
    float secondsSinceMidnight() override { return 3600.0f; }
};

class CipherCommands : public ::testing::Test {
public:
    TempDir dir;
    FakeHost host;
    CyclingSource source;
    StillClock clock;

    void useKey(const std::string& content) {
        host.key = dir.file("k.tvk");
        tarvex::test::writeBytes(host.key, content);
    }

    // A created key, long and random enough to seal with.
    void useCreatedKey(const std::string& name = "made.tvk") {
        host.nextFileName = dir.file(name);
        exchange::createKey(host, source, clock);
        ASSERT_EQ(host.key, dir.file(name));
    }
    seal::SealingKey sealingKey() const {
        Result<secret::Bytes> numbers = cipher::readKeyNumbers(host.key);
        return seal::SealingKey::forOpening(*numbers);
    }
};

// Cyrillic, an emoji beyond the BMP, CJK, Hebrew, a combining mark, and a line break.
const std::string kWorldText = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80! "
                               "\xF0\x9F\x98\x80 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n\xD7\xA9\xD7\x9C "
                               "e\xCC\x81";

TEST_F(CipherCommands, SealAndDecryptCarryAnyTextAsUtf8WithLineFeeds) {
    useCreatedKey();
    host.message = kWorldText;
    exchange::sealMessage(host);
    ASSERT_TRUE(host.failures.empty()) << host.failures[0];
    const std::string token = host.message;
    EXPECT_TRUE(token.starts_with("tarvex1")) << token;
    EXPECT_EQ(token.find_first_of("\r\n "), std::string::npos) << "one line";
    Result<secret::String> payload = seal::openWhole(token, sealingKey());
    ASSERT_TRUE(payload.ok());
    EXPECT_EQ(*payload, "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82, \xD0\xBC\xD0\xB8\xD1\x80! "
                        "\xF0\x9F\x98\x80 \xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n\xD7\xA9\xD7\x9C e\xCC\x81");

    exchange::decryptMessage(host);
    EXPECT_EQ(host.message, kWorldText);

    // What tarvex-cli seals may break lines with CR LF, LF or CR: each opens to the area's CR LF.
    Result<seal::SealingKey> key = seal::SealingKey::forSealing(*cipher::readKeyNumbers(host.key), host.key);
    ASSERT_TRUE(key.ok());
    host.message = "> " + seal::sealWhole("a\r\nb\nc\rd\n", *key);
    exchange::decryptMessage(host);
    EXPECT_EQ(host.message, "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_TRUE(host.failures.empty());
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(CipherCommands, EncryptOfWhatTheClassicFormatCannotCarryOffersToSeal) {
    useCreatedKey();
    host.message = "ab\r\n" + kWorldText;
    exchange::encryptMessage(host);
    ASSERT_EQ(host.questions.size(), 1u);
    const std::string& question = host.questions[0];
    for (const char* word : {"'\xD0\x9F' (U+041F)", "position 5", "seal the message instead",
                             "only Text Tarvex and tarvex-cli"}) {
        EXPECT_NE(question.find(word), std::string::npos) << word << " in: " << question;
    }
    EXPECT_EQ(host.messageSets, 0) << "No leaves the text";
    EXPECT_TRUE(host.failures.empty());

    host.answer = true;
    exchange::encryptMessage(host);
    ASSERT_TRUE(host.message.starts_with("tarvex1")) << host.message;
    exchange::decryptMessage(host);
    EXPECT_EQ(host.message, "ab\r\n" + kWorldText);

    // A Windows-1252 text that this key cannot step: the same question; a key
    // too short to seal with then says so.
    useKey("01");
    host.questions.clear();
    host.message = text::charset::toUtf8("ab\xFF");
    exchange::encryptMessage(host);
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_NE(host.questions[0].find("position 3"), std::string::npos) << host.questions[0];
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find("too short to seal with"), std::string::npos) << host.failures[0];
    EXPECT_EQ(host.message, text::charset::toUtf8("ab\xFF"));
}

TEST_F(CipherCommands, SealedMessagesThatCannotBeOpenedShowTheReasonAndChangeNothing) {
    useCreatedKey("other.tvk");
    const std::string otherKeyPath = host.key;
    host.message = "for someone else";
    exchange::sealMessage(host);
    const std::string ofOtherKey = host.message;
    useCreatedKey();
    Result<seal::SealingKey> key = seal::SealingKey::forSealing(*cipher::readKeyNumbers(host.key), host.key);
    ASSERT_TRUE(key.ok());
    std::string damaged = seal::sealWhole("hello", *key);
    damaged[20] = damaged[20] == 'x' ? 'y' : 'x';

    const struct {
        std::string token;
        std::string mention;
    } cases[] = {
        {damaged, "damaged"},
        {ofOtherKey, "another key"},
        {"tarvex2AbCdEf", "newer version"},
        {seal::sealWhole("\xFF\xFE" "binary", *key), "tarvex-cli"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mention);
        host.failures.clear();
        host.messageSets = 0;
        host.message = c.token;
        exchange::decryptMessage(host);
        ASSERT_EQ(host.failures.size(), 1u);
        EXPECT_NE(host.failures[0].find(c.mention), std::string::npos) << host.failures[0];
        EXPECT_EQ(host.message, c.token);
        EXPECT_EQ(host.messageSets, 0);
    }
}

TEST_F(CipherCommands, SealInIcqModeKeepsWithinTheLimitOrSaysHowLongItWouldBe) {
    useCreatedKey();
    host.limit = exchange::MessageLimit{.length = 450, .ofMode = true};
    // 277 bytes of UTF-8: 138 two-byte letters and one more.
    std::string fits;
    for (int i = 0; i < 138; ++i) fits += "\xD0\xB4";
    fits += "x";
    host.message = fits;
    exchange::sealMessage(host);
    ASSERT_TRUE(host.failures.empty()) << host.failures[0];
    EXPECT_LE(host.message.size(), 450u);

    host.message = fits + "y";
    exchange::sealMessage(host);
    ASSERT_EQ(host.failures.size(), 1u);
    for (const char* word : {"would be 452 characters long, 2 more than the 450", "277 bytes", "E-Mail mode"}) {
        EXPECT_NE(host.failures[0].find(word), std::string::npos) << word << " in: " << host.failures[0];
    }
    EXPECT_EQ(host.message, fits + "y");
}

TEST_F(CipherCommands, CreateKeySetsUpTheSaveDialogAndWritesAnOwnerOnlyKey) {
    host.dialog.fileName = "left over";
    host.dialog.initDir = "/somewhere";
    host.nextFileName = dir.file("new.tvk");
    exchange::createKey(host, source, clock);

    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shownAs[0], "save");
    const platform::FileDialogSettings& seen = host.shown[0];
    EXPECT_EQ(seen.fileName, "");
    EXPECT_EQ(seen.title, "Text Tarvex - Create Key Dialog");
    EXPECT_EQ(seen.defaultExt, "tvk");
    EXPECT_EQ(seen.initDir, "C:\\Program Files\\DevStudio\\VB\\Tarvex\\Keys\\");
    EXPECT_EQ(seen.filter, "Tarvex Key Files(*.tvk)|*tvk");
    EXPECT_EQ(seen.filterIndex, 1);

    EXPECT_EQ(host.key, dir.file("new.tvk"));
    EXPECT_EQ(host.loadEnabled, 1);
    EXPECT_TRUE(host.failures.empty());
    EXPECT_EQ(tarvex::test::permissionBits(host.key), 0600u);
    Result<secret::Bytes> numbers = cipher::readKeyNumbers(host.key);
    ASSERT_TRUE(numbers.ok());
    EXPECT_GE(numbers->size(), 438u);
    EXPECT_LE(numbers->size(), 5969u);
}

TEST_F(CipherCommands, CreateKeyCancelledChangesNothing) {
    host.key = "/keys/old.tvk";
    exchange::createKey(host, source, clock);
    EXPECT_EQ(host.key, "/keys/old.tvk");
    EXPECT_EQ(host.loadEnabled, 0);
    EXPECT_TRUE(host.failures.empty());
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(CipherCommands, CreateKeyReplacesAnExistingFileWhole) {
    std::string path = dir.file("old.tvk");
    tarvex::test::writeBytes(path, std::string(20000, 'X'));
    host.nextFileName = path;
    exchange::createKey(host, source, clock);
    std::string content = tarvex::test::readBytes(path);
    EXPECT_LE(content.size(), 12382u);
    EXPECT_EQ(content.find('X'), std::string::npos);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"old.tvk"});
}

TEST_F(CipherCommands, CreateKeyThatCannotBeWrittenSaysSoAndKeepsTheOldKey) {
    host.key = "/keys/old.tvk";
    host.nextFileName = dir.file("missing/new.tvk");
    exchange::createKey(host, source, clock);
    ASSERT_EQ(host.failures.size(), 1u);
    EXPECT_NE(host.failures[0].find(dir.file("missing/new.tvk")), std::string::npos) << host.failures[0];
    EXPECT_NE(host.failures[0].find("No such file or directory"), std::string::npos) << host.failures[0];
    EXPECT_EQ(host.key, "/keys/old.tvk");
    EXPECT_EQ(host.loadEnabled, 0);
}

TEST_F(CipherCommands, LoadKeyKeepsTheFolderOfThePreviousCommand) {
    host.nextFileName = dir.file("made.tvk");
    exchange::createKey(host, source, clock);

    host.nextFileName = dir.file("received.tvk");
    exchange::loadKey(host);
    ASSERT_EQ(host.shown.size(), 2u);
    EXPECT_EQ(host.shownAs[1], "open");
    const platform::FileDialogSettings& seen = host.shown[1];
    EXPECT_EQ(seen.title, "Text Tarvex - Load Key Dialog");
    EXPECT_EQ(seen.filter, "Tarvex Key File(*.tvk)|*tvk");
    EXPECT_EQ(seen.defaultExt, "tvk");
    EXPECT_EQ(seen.filterIndex, 1);
    EXPECT_EQ(seen.fileName, "");
    EXPECT_EQ(seen.initDir, exchange::kKeyFolder);
    EXPECT_EQ(host.key, dir.file("received.tvk"));
    EXPECT_EQ(host.loadEnabled, 1) << "loading a key enables nothing";

    host.dialog.initDir = "";
    host.nextFileName = "";
    exchange::loadKey(host);
    EXPECT_EQ(host.shown[2].initDir, "");
    EXPECT_EQ(host.key, dir.file("received.tvk")) << "a cancel keeps the key";
}

TEST_F(CipherCommands, EncryptAndDecryptRoundTripAMultiLineMessage) {
    useKey("0102\r\n");
    host.message = "ab\r\nz";
    exchange::encryptMessage(host);
    // a+1, b+2, CR and LF replaced (using up 1 and 2), z+1 wraps to a space.
    EXPECT_EQ(host.message, text::charset::toUtf8("\xF0" "bd\xFD\xFE "));
    exchange::decryptMessage(host);
    EXPECT_EQ(host.message, "ab\r\nz");
    EXPECT_EQ(host.messageSets, 2);
    EXPECT_TRUE(host.failures.empty());
}

TEST_F(CipherCommands, NothingHappensWithoutTextOrKey) {
    exchange::encryptMessage(host);
    exchange::decryptMessage(host);
    host.message = "hello";
    exchange::encryptMessage(host);
    exchange::decryptMessage(host);
    EXPECT_EQ(host.messageSets, 0);
    EXPECT_TRUE(host.failures.empty());
    EXPECT_EQ(host.message, "hello");
}

TEST_F(CipherCommands, EachFailureShowsOneMessageAndLeavesTheText) {
    struct Case {
        const char* name;
        std::function<void(CipherCommands&)> arrange;
        void (*command)(exchange::CipherCommandHost&);
        std::vector<std::string> mentions;
    };
    const std::vector<Case> cases = {
        {"missing key", [](CipherCommands& t) { t.host.key = t.dir.file("gone.tvk"); }, exchange::encryptMessage,
         {"gone.tvk", "No such file or directory"}},
        {"key is a folder", [](CipherCommands& t) { t.host.key = t.dir.path(); }, exchange::decryptMessage,
         {"Is a directory"}},
        {"empty key", [](CipherCommands& t) { t.useKey("\r\n\r\n"); }, exchange::encryptMessage, {"k.tvk", "holds no key"}},
        {"code above 255", [](CipherCommands& t) { t.useKey("01"); t.host.message = text::charset::toUtf8("ab\xFF"); }, exchange::encryptMessage,
         {"position 3", "255"}},
        {"code below 0", [](CipherCommands& t) { t.useKey("FF"); t.host.message = text::charset::toUtf8("\xF0" "a\r\nb"); },
         exchange::decryptMessage, {"position 3", "line break"}},
        // Key numbers 2, 2, 21: the second "\xE9" would become 254, a line feed.
        {"code read back as a line feed", [](CipherCommands& t) { t.useKey("11116F"); t.host.message = text::charset::toUtf8("\xE9t\xE9"); },
         exchange::encryptMessage, {"position 3", "use another key"}},
        {"control character", [](CipherCommands& t) { t.useKey("01"); t.host.message = "A\x01"; }, exchange::encryptMessage,
         {"position 2", "U+0001", "Remove it"}},
        {"no classic cipher text", [](CipherCommands& t) { t.useKey("01"); t.host.message = "=\xD0\x96"; },
         exchange::decryptMessage, {"position 2", "U+0416", "cannot be part of a cipher text"}},
        {"key of zeros", [](CipherCommands& t) { t.useKey("000000\r\n"); }, exchange::encryptMessage,
         {"k.tvk", "does not look like a key"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host = FakeHost{};
        host.message = "ab";
        c.arrange(*this);
        const std::string before = host.message;
        c.command(host);
        // A character the key cannot encrypt is a question (whether to seal instead), answered No.
        std::vector<std::string> shown = host.failures;
        shown.insert(shown.end(), host.questions.begin(), host.questions.end());
        ASSERT_EQ(shown.size(), 1u);
        for (const std::string& word : c.mentions) {
            EXPECT_NE(shown[0].find(word), std::string::npos) << word << " in: " << shown[0];
        }
        EXPECT_EQ(host.messageSets, 0);
        EXPECT_EQ(host.message, before);
    }
}

TEST_F(CipherCommands, AFileNamedTempTxtInTheWorkingFolderIsLeftAlone) {
    useKey("0102\r\n");
    std::string work = dir.file("work");
    ASSERT_EQ(::mkdir(work.c_str(), 0700), 0);
    tarvex::test::writeBytes(work + "/temp.txt", "the user's own notes");
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(work.c_str()), 0);
    host.message = "secret";
    exchange::encryptMessage(host);
    exchange::decryptMessage(host);
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(host.message, "secret");
    EXPECT_EQ(tarvex::test::readBytes(work + "/temp.txt"), "the user's own notes");
}

} // namespace
} // namespace tarvex::exchange::test
