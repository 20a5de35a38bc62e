// SPDX-License-Identifier: GPL-3.0-or-later

#include "file_dialog.h"

#include "message_box.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace tarvex::platform {

QString FileDialog::show(Kind kind, QWidget* parent) {
    for (;;) {
        const QString chosen = showOnce(kind, parent);
        if (kind != Kind::Save || chosen.isEmpty() || mayReplace(chosen, parent)) return chosen;
    }
}

QString FileDialog::showOnce(Kind kind, QWidget* parent) {
    if (observer_) observer_(kind, settings_);
    QString chosen;
    if (!next_.empty()) {
        chosen = next_.front();
        next_.pop_front();
    } else {
        chosen = runDialog(kind, parent);
    }
    // Shown again after a No, the dialog offers the same name to change.
    settings_.fileName = chosen.toStdString();
    return chosen;
}

bool FileDialog::mayReplace(const QString& path, QWidget* parent) {
    // Devices and pipes are written to, not replaced; a folder is refused by the command.
    if (box_ == nullptr || settings_.replaceQuestion.empty() || !QFileInfo(path).isFile()) return true;
    MessageBox::Request request;
    request.text = QString::fromStdString(settings_.replaceQuestion).replace(QLatin1String("{path}"), path);
    request.title = QString::fromStdString(settings_.title);
    request.buttons = MessageBox::Buttons::YesNo;
    request.icon = MessageBox::Icon::Warning;
    request.defaultAnswer = MessageBox::Answer::No;
    return box_->ask(request, parent) == MessageBox::Answer::Yes;
}

QStringList FileDialog::nameFilters(const std::string& filter) {
    QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        // The description already names the pattern the user knows; the real
        // pattern (which may lack a dot) goes in parentheses for Qt to apply.
        filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    }
    return filters;
}

QString FileDialog::runDialog(Kind kind, QWidget* parent) {
    QFileDialog dialog(parent, QString::fromStdString(settings_.title));
    // Qt's own dialog behaves the same on every desktop, which the settings rely on.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The replace question comes after the dialog, through the message box, so
    // that it names what is at stake and tests can answer it.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(kind == Kind::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // An Open dialog accepts a typed name of a file that does not exist.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(settings_.defaultExt));

    QString folder = QString::fromStdString(settings_.initDir);
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        dialog.setDirectory(folder);
    } // a folder that does not exist leaves the dialog's own default

    QStringList filters = nameFilters(settings_.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        qsizetype index = settings_.filterIndex - 1;
        if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
    }
    dialog.selectFile(QString::fromStdString(settings_.fileName));

    if (dialog.exec() != QDialog::Accepted) return {};
    QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(files.first()).absoluteFilePath());
}

} // namespace tarvex::platform
