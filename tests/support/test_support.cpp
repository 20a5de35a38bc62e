// SPDX-License-Identifier: GPL-3.0-or-later

#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <cstring>
#include <cerrno>
#include <unistd.h>
#include <sys/resource.h>
#include <sys/sysmacros.h>

namespace tarvex::test {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/tarvex-test-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "mkdtemp failed for " << pattern;
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> TempDir::entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string fullDevice(const TempDir& dir) {
    if (::geteuid() != 0) return "/dev/full";
    std::string node = dir.file("full");
    if (::mknod(node.c_str(), S_IFCHR | 0666, ::makedev(1, 7)) != 0) {
        ADD_FAILURE() << "cannot make a private full device: " << std::strerror(errno);
    }
    return node;
}

bool isCharacterDevice(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISCHR(info.st_mode);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot open " << path;
        return {};
    }
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) ADD_FAILURE() << "cannot write " << path;
}

unsigned permissionBits(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        ADD_FAILURE() << "cannot stat " << path;
        return 0;
    }
    return static_cast<unsigned>(info.st_mode & 07777);
}

std::string codes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(static_cast<unsigned char>(v)));
    return out;
}

std::vector<int> codesOf(std::string_view bytes) {
    std::vector<int> out;
    for (char c : bytes) out.push_back(static_cast<unsigned char>(c));
    return out;
}

std::vector<int> codesOf(std::span<const std::uint8_t> bytes) {
    return std::vector<int>(bytes.begin(), bytes.end());
}

long lockedKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmLck:", 0) == 0) return std::stol(line.substr(6));
    }
    return -1;
}

std::string whyLockedMemoryUncounted(std::size_t bytes) {
#if defined(__SANITIZE_ADDRESS__)
    (void)bytes;
    return "the address sanitizer's allocator keeps its own account of locked memory";
#else
    rlimit limit{};
    if (getrlimit(RLIMIT_MEMLOCK, &limit) != 0 || lockedKiB() < 0) return "no account of locked memory here";
    if (limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < 4 * bytes) return "RLIMIT_MEMLOCK is too low here";
    return {};
#endif
}

} // namespace tarvex::test
