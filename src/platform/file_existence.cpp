// SPDX-License-Identifier: GPL-3.0-or-later

#include "file_existence.h"

#include <QFileInfo>

namespace tarvex::platform {

bool LocalFileExistence::exists(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo file(path);
    // isFile() follows a link to its target; a dangling link is no file.
    return file.isFile() && !file.fileName().startsWith(QLatin1Char('.'));
}

} // namespace tarvex::platform
