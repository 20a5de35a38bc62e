// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "registry.h"

#include <QStringList>

#include <map>

namespace tarvex::platform {

// Linux has no registry. This one answers the single place where the About box
// looks for the system information program first: the key
// "SOFTWARE\Microsoft\Shared Tools\MSINFO" of the local machine, value "PATH",
// holds the full path of the first program of systemInformationPrograms() that
// is installed on PATH. Every other key is missing.
class LinuxRegistry final : public Registry {
public:
    // Looked for in this order.
    static const QStringList& systemInformationPrograms();

    Status openKey(Handle root, const std::string& subKey, std::uint32_t options, std::uint32_t access,
                   Handle& opened) override;
    Status queryValue(Handle key, const std::string& valueName, std::uint32_t& type, std::span<std::uint8_t> data,
                      std::uint32_t& count) override;
    Status closeKey(Handle key) override;

private:
    // Open keys and the program path each one found when it was opened.
    std::map<Handle, std::string> open_;
    Handle next_ = 0x100;
};

} // namespace tarvex::platform
