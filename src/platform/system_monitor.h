// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QStringList>

namespace tarvex::platform {

// The programs that show the system's information and load, looked for in this
// order: the information tools first, then the desktops' system monitors.
const QStringList& systemMonitorPrograms();

// The full path of the first program of systemMonitorPrograms() that is
// installed and may run, looked for in `searchPaths` (empty: the folders of
// PATH) at every call, so a program installed meanwhile is found; empty when
// there is none.
QString findSystemMonitor(const QStringList& searchPaths = {});

} // namespace tarvex::platform
