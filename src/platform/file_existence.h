// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

namespace tarvex::platform {

// Whether a path names an ordinary file. Folders and hidden files do not count.
class FileExistence {
public:
    virtual ~FileExistence() = default;
    virtual bool exists(const QString& path) = 0;
};

// The local file system; a name that begins with a dot is hidden.
class LocalFileExistence final : public FileExistence {
public:
    bool exists(const QString& path) override;
};

} // namespace tarvex::platform
