// SPDX-License-Identifier: GPL-3.0-or-later

#include "system_monitor.h"

#include <QStandardPaths>

namespace tarvex::platform {

const QStringList& systemMonitorPrograms() {
    static const QStringList programs = {
        QStringLiteral("hardinfo2"),
        QStringLiteral("hardinfo"),
        QStringLiteral("kinfocenter"),
        QStringLiteral("gnome-system-monitor"),
        QStringLiteral("mate-system-monitor"),
        QStringLiteral("plasma-systemmonitor"),
        QStringLiteral("xfce4-taskmanager"),
        QStringLiteral("ksysguard"),
        QStringLiteral("lxqt-taskmanager"),
        QStringLiteral("lxtask"),
    };
    return programs;
}

QString findSystemMonitor(const QStringList& searchPaths) {
    for (const QString& name : systemMonitorPrograms()) {
        const QString path = QStandardPaths::findExecutable(name, searchPaths);
        if (!path.isEmpty()) return path;
    }
    return {};
}

} // namespace tarvex::platform
