// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/file_io.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace tarvex::files::test {
namespace {

constexpr std::uint64_t kMiB = 1024 * 1024;

// A file of `size` zero bytes that takes no room on disk.
void makeSparse(const std::string& path, std::uint64_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
    ::close(fd);
}

TEST(ReadWholeFile, AFileOfExactlyTheLimitIsReadAndOneByteMoreIsRefused) {
    tarvex::test::TempDir dir;
    const std::string path = dir.file("text.txt");
    makeSparse(path, 3 * kMiB);
    Result<secret::String> whole = readWholeFile(path, 3 * kMiB);
    ASSERT_TRUE(whole.ok());
    EXPECT_EQ(whole->size(), 3 * kMiB);

    makeSparse(path, 3 * kMiB + 1);
    Result<secret::String> over = readWholeFile(path, 3 * kMiB);
    ASSERT_FALSE(over.ok());
    EXPECT_EQ(over.error().kind, Error::Kind::FileTooLarge);
    EXPECT_EQ(over.error().limit, 3 * kMiB);
    EXPECT_EQ(over.error().path, path);
}

// Another program appends to the file while it is read: what comes back is
// the file as it was at some moment, its start and then appended bytes in
// their order, never past the limit; once it has grown past it, it is refused.
TEST(ReadWholeFile, AFileThatGrowsWhileReadGivesWhatWasThereOrIsRefused) {
    tarvex::test::TempDir dir;
    const std::string path = dir.file("growing.txt");
    makeSparse(path, 8 * kMiB);
    const std::uint64_t limit = 12 * kMiB;
    std::thread writer([&] {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        const std::string block(64 * 1024, 'b');
        for (std::uint64_t written = 0; fd >= 0 && written < 8 * kMiB; written += block.size()) {
            if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) break;
        }
        if (fd >= 0) ::close(fd);
    });
    Result<secret::String> during = readWholeFile(path, limit);
    writer.join();
    if (during.ok()) {
        const secret::String& bytes = *during;
        EXPECT_GE(bytes.size(), 8 * kMiB);
        EXPECT_LE(bytes.size(), limit);
        EXPECT_TRUE(std::all_of(bytes.begin(), bytes.begin() + 8 * kMiB, [](char c) { return c == '\0'; }));
        EXPECT_TRUE(std::all_of(bytes.begin() + 8 * kMiB, bytes.end(), [](char c) { return c == 'b'; }));
    } else {
        EXPECT_EQ(during.error().kind, Error::Kind::FileTooLarge);
    }
    Result<secret::String> after = readWholeFile(path, limit);
    ASSERT_FALSE(after.ok());
    EXPECT_EQ(after.error().kind, Error::Kind::FileTooLarge);
}

} // namespace
} // namespace tarvex::files::test
