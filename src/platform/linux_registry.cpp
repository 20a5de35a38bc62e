// SPDX-License-Identifier: GPL-3.0-or-later

#include "linux_registry.h"

#include <QStandardPaths>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace tarvex::platform {
namespace {

constexpr std::string_view kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kSysInfoValue = "PATH";

// Key and value names compare without regard to case, as the system's do.
bool sameName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string installedSystemInformationProgram() {
    for (const QString& name : LinuxRegistry::systemInformationPrograms()) {
        const QString path = QStandardPaths::findExecutable(name);
        if (!path.isEmpty()) return path.toLocal8Bit().toStdString();
    }
    return {};
}

} // namespace

const QStringList& LinuxRegistry::systemInformationPrograms() {
    static const QStringList programs = {
        QStringLiteral("hardinfo2"),
        QStringLiteral("hardinfo"),
        QStringLiteral("kinfocenter"),
        QStringLiteral("gnome-system-monitor"),
        QStringLiteral("mate-system-monitor"),
        QStringLiteral("plasma-systemmonitor"),
        QStringLiteral("xfce4-taskmanager"),
    };
    return programs;
}

Registry::Status LinuxRegistry::openKey(Handle root, const std::string& subKey, std::uint32_t /*options*/,
                                        std::uint32_t /*access*/, Handle& opened) {
    if (root != kLocalMachine || !sameName(subKey, kSysInfoKey)) return kFileNotFound;
    // Looked up at every open, so a program installed meanwhile is found.
    std::string program = installedSystemInformationProgram();
    if (program.empty()) return kFileNotFound;
    opened = next_++;
    open_.emplace(opened, std::move(program));
    return kSuccess;
}

Registry::Status LinuxRegistry::queryValue(Handle key, const std::string& valueName, std::uint32_t& type,
                                           std::span<std::uint8_t> data, std::uint32_t& count) {
    const auto found = open_.find(key);
    if (found == open_.end()) return kInvalidHandle;
    if (!sameName(valueName, kSysInfoValue)) return kFileNotFound;
    const std::string& path = found->second;
    // Stored as the system stores strings: with their terminating zero.
    const std::size_t needed = path.size() + 1;
    count = static_cast<std::uint32_t>(needed);
    if (needed > data.size()) return kMoreData;
    type = kString;
    std::memcpy(data.data(), path.data(), path.size());
    data[path.size()] = 0;
    return kSuccess;
}

Registry::Status LinuxRegistry::closeKey(Handle key) {
    return open_.erase(key) == 1 ? kSuccess : kInvalidHandle;
}

} // namespace tarvex::platform
