// SPDX-License-Identifier: GPL-3.0-or-later

#include "help_viewer.h"

#include "help_window.h"
#include "message_box.h"
#include "qt_text.h"

#include "i18n/fill.h"
#include "i18n/marks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

namespace tarvex::platform {
namespace {

bool canShow(const QFileInfo& file) {
    static const QStringList kinds = {QStringLiteral("html"), QStringLiteral("htm"), QStringLiteral("md"),
                                      QStringLiteral("markdown"), QStringLiteral("txt")};
    return kinds.contains(file.suffix(), Qt::CaseInsensitive);
}

// "A:\tarvex.hlp" and "/media/a/tarvex.hlp" both give "tarvex".
QString baseNameOf(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) name.truncate(dot);
    return name;
}

} // namespace

HtmlHelpViewer::HtmlHelpViewer(MessageBox& messageBox, QStringList helpDirectories)
    : messageBox_(messageBox), directories_(std::move(helpDirectories)) {}

HtmlHelpViewer::~HtmlHelpViewer() = default;

QString HtmlHelpViewer::pageFor(const QString& helpFile) const {
    const QFileInfo given(helpFile);
    if (!helpFile.isEmpty() && given.isFile() && canShow(given)) return given.absoluteFilePath();
    const QString base = baseNameOf(helpFile);
    if (base.isEmpty()) return {};
    for (const QString& directory : directories_) {
        for (const QLatin1String suffix : {QLatin1String(".html"), QLatin1String(".htm")}) {
            const QFileInfo page(QDir(directory).filePath(base + suffix));
            if (page.isFile()) return page.absoluteFilePath();
        }
    }
    return {};
}

void HtmlHelpViewer::showHelp(QWidget* window, const std::string& helpFile, Command command) {
    if (command != Command::Contents) throw HelpError(qt(_("The help viewer does not know this command.")));

    const QString path = QString::fromLocal8Bit(helpFile.data(), static_cast<qsizetype>(helpFile.size()));
    const QString page = pageFor(path);
    if (page.isEmpty()) {
        MessageBox::Request request;
        request.title = qt(C_("help window", "Help"));
        request.icon = MessageBox::Icon::Warning;
        /* TRANSLATORS: {file} is the help file's name as the program was built to show it. */
        const char* format = QFileInfo(path).isFile() ? N_("The help file {file} is in a form this help viewer cannot "
                                                           "show, and no help of that name is installed with the "
                                                           "program.")
                                                      /* TRANSLATORS: {file} is the help file's name as the
                                                         program was built to show it. */
                                                      : N_("Cannot find the help file {file}, and no help of that "
                                                           "name is installed with the program.");
        request.text = qt(i18n::fill(i18n::text(format), {{"file", path.toStdString()}}));
        messageBox_.ask(request, window);
        return;
    }

    QFile readable(page);
    if (!readable.open(QIODevice::ReadOnly)) {
        /* TRANSLATORS: {file} is a help page's name, {reason} the system's words for the failure. */
        throw HelpError(qt(i18n::fill(_("Cannot open the help file {file}: {reason}"),
                                      {{"file", page.toStdString()}, {"reason", readable.errorString().toStdString()}})));
    }
    readable.close();

    if (!window_) window_ = std::make_unique<HelpWindow>();
    window_->showContents(QUrl::fromLocalFile(page));
}

} // namespace tarvex::platform
