// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/key_file_reader.h"
#include "cipher/key_file_writer.h"
#include "messages/messages.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace tarvex::cipher::test {
namespace {

std::vector<int> numbers(std::string_view keyFile) {
    const secret::Bytes n = keyNumbersFromText(keyFile);
    return std::vector<int>(n.begin(), n.end());
}

TEST(KeyNumbers, PairIsTheSumOfItsDigitValuesNotTheByteItSpells) {
    EXPECT_EQ(numbers("FF"), (std::vector<int>{30}));
    EXPECT_EQ(numbers("F0"), (std::vector<int>{15}));
    EXPECT_EQ(numbers("0F"), (std::vector<int>{15}));
    EXPECT_EQ(numbers("70"), (std::vector<int>{7}));
    EXPECT_EQ(numbers("07"), (std::vector<int>{7}));
    EXPECT_EQ(numbers("A1B2C3D4E5F6"), (std::vector<int>{11, 13, 15, 17, 19, 21}));
    EXPECT_EQ(numbers("00999"), (std::vector<int>{0, 18, 18}));
}

TEST(KeyNumbers, OnlyDigitsAndCapitalAToFCount) {
    EXPECT_EQ(numbers("af"), (std::vector<int>{0}));
    EXPECT_EQ(numbers("aF"), (std::vector<int>{15}));
    EXPECT_EQ(numbers("Gz"), (std::vector<int>{0}));
    EXPECT_EQ(numbers(" 9"), (std::vector<int>{9}));
    EXPECT_EQ(numbers("b3"), (std::vector<int>{3}));
    EXPECT_EQ(numbers(std::string("\0E", 2)), (std::vector<int>{14}));
    EXPECT_EQ(numbers("\xC3" "C"), (std::vector<int>{12}));
}

TEST(KeyNumbers, LoneLastCharacterOfAnOddLineCountsTwice) {
    EXPECT_EQ(numbers("F"), (std::vector<int>{30}));
    EXPECT_EQ(numbers("7\r\n"), (std::vector<int>{14}));
    EXPECT_EQ(numbers("12F\r\n"), (std::vector<int>{3, 30}));
    EXPECT_EQ(numbers("1F\r\n5\r\n"), (std::vector<int>{16, 10}));
    EXPECT_EQ(numbers("a"), (std::vector<int>{0}));
}

TEST(KeyNumbers, LinesEndAtCrLfLoneCrOrLoneLf) {
    // Each line is cut into pairs from its own start, so "1" and "23" never pair up as "12".
    EXPECT_EQ(numbers("1\r\n23\r\n"), (std::vector<int>{2, 5}));
    EXPECT_EQ(numbers("1\r23\r"), (std::vector<int>{2, 5}));
    EXPECT_EQ(numbers("1\n23\n"), (std::vector<int>{2, 5}));
    EXPECT_EQ(numbers("1\n2\r3\r\n4"), (std::vector<int>{2, 4, 6, 8}));
    EXPECT_EQ(numbers("\n\r1"), (std::vector<int>{2}));
}

TEST(KeyNumbers, LastLineWithoutLineEndStillCounts) {
    EXPECT_EQ(numbers("12\r\n34"), (std::vector<int>{3, 7}));
    EXPECT_EQ(numbers("12\r\n345"), (std::vector<int>{3, 7, 10}));
}

TEST(KeyNumbers, EmptyLinesHoldNoPairs) {
    EXPECT_TRUE(numbers("").empty());
    EXPECT_TRUE(numbers("\r\n").empty());
    EXPECT_TRUE(numbers("\r\n\r\n\n\r\r").empty());
    EXPECT_EQ(numbers("\r\n\r\n12\r\n\r\n"), (std::vector<int>{3}));
}

class KeyFileReader : public ::testing::Test {
protected:
    tarvex::test::TempDir dir;
};

TEST_F(KeyFileReader, ReadsTheKeyNumbersOfAWrittenKeyFile) {
    std::vector<std::uint8_t> key;
    for (int i = 0; i < 1000; ++i) key.push_back(static_cast<std::uint8_t>((i * 97 + 11) % 256));
    const std::string path = dir.file("key.tvk");
    ASSERT_TRUE(saveKeyFile(path, key, files::AtomicFileWriter::Replace::Refused).ok());

    Result<secret::Bytes> read = readKeyNumbers(path);
    ASSERT_TRUE(read.ok()) << messages::describe(read.error());
    ASSERT_EQ(read->size(), key.size());
    for (std::size_t i = 0; i < key.size(); ++i) {
        // The two hex digits of the byte, added.
        EXPECT_EQ((*read)[i], (key[i] >> 4) + (key[i] & 0x0F)) << i;
    }
}

TEST_F(KeyFileReader, MissingFileIsUnreadableWithPathAndReason) {
    const std::string path = dir.file("absent.tvk");
    Result<secret::Bytes> read = readKeyNumbers(path);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().kind, Error::Kind::FileUnreadable);
    EXPECT_EQ(read.error().path, path);
    EXPECT_EQ(read.error().osError, ENOENT);
    std::string message = messages::describe(read.error());
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_NE(message.find("No such file"), std::string::npos) << message;
}

TEST_F(KeyFileReader, FolderIsUnreadable) {
    Result<secret::Bytes> read = readKeyNumbers(dir.path());
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().kind, Error::Kind::FileUnreadable);
    EXPECT_EQ(read.error().path, dir.path());
    EXPECT_EQ(read.error().osError, EISDIR);
}

TEST_F(KeyFileReader, EmptyFileHoldsNoKey) {
    const std::string path = dir.file("empty.tvk");
    tarvex::test::writeBytes(path, "");
    Result<secret::Bytes> read = readKeyNumbers(path);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().kind, Error::Kind::NoKeyNumber);
    EXPECT_EQ(read.error().path, path);
}

TEST_F(KeyFileReader, FileOfEmptyLinesHoldsNoKey) {
    const std::string path = dir.file("lines.tvk");
    tarvex::test::writeBytes(path, "\r\n\r\n\n\r\r\n");
    Result<secret::Bytes> read = readKeyNumbers(path);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().kind, Error::Kind::NoKeyNumber);
}

TEST_F(KeyFileReader, FileOfSmallLettersYieldsZeros) {
    const std::string path = dir.file("zeros.tvk");
    tarvex::test::writeBytes(path, "abcdef00\r\nxyz0\r\n");
    Result<secret::Bytes> read = readKeyNumbers(path);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(tarvex::test::codesOf(*read), (std::vector<int>{0, 0, 0, 0, 0, 0}));
}

void makeSparseFile(const std::string& path, std::uint64_t size) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ::close(fd);
}

TEST_F(KeyFileReader, FileLargerThan64MiBIsRefused) {
    const std::string path = dir.file("huge.tvk");
    makeSparseFile(path, 64ull * 1024 * 1024 + 1);
    Result<secret::Bytes> read = readKeyNumbers(path);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().kind, Error::Kind::FileTooLarge);
    EXPECT_EQ(read.error().path, path);
    EXPECT_EQ(read.error().limit, 64ull * 1024 * 1024);
    std::string message = messages::describe(read.error());
    EXPECT_NE(message.find("64 MiB"), std::string::npos) << message;
}

TEST_F(KeyFileReader, FileOfExactly64MiBIsRead) {
    const std::string path = dir.file("large.tvk");
    makeSparseFile(path, 64ull * 1024 * 1024);
    Result<secret::Bytes> read = readKeyNumbers(path);
    ASSERT_TRUE(read.ok()) << messages::describe(read.error());
    // NUL bytes count 0, two to a pair, all on one line.
    EXPECT_EQ(read->size(), 32u * 1024 * 1024);
}

} // namespace
} // namespace tarvex::cipher::test
