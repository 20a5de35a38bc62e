// SPDX-License-Identifier: GPL-3.0-or-later

#include "command_host.h"

#include "message_area.h"
#include "incoming_line_breaks.h"

#include "cipher/key_fingerprint.h"
#include "i18n/fill.h"
#include "i18n/marks.h"
#include "messages/messages.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/program_title.h"
#include "platform/qt_text.h"

#include <QLineEdit>
#include <QPushButton>

namespace tarvex::window {

using platform::qt;

WindowCommandHost::WindowCommandHost(Parts parts) : parts_(parts), keyBoxToolTip_(parts.keyBox->toolTip()) {}

secret::String WindowCommandHost::messageText() const {
    return parts_.message->text();
}

void WindowCommandHost::setMessageText(std::string_view text) {
    parts_.message->setText(text);
}

exchange::MessageLimit WindowCommandHost::messageLimit() const {
    return {.length = parts_.message->capacity(), .ofMode = parts_.message->limit() > 0};
}

std::string WindowCommandHost::keyPath() const {
    return parts_.keyBox->text().toStdString();
}

void WindowCommandHost::setKeyPath(const std::string& path) {
    parts_.keyBox->setText(QString::fromStdString(path));
    describeKey(path);
}

void WindowCommandHost::describeKey(const std::string& path) {
    QString line;
    if (!path.empty()) {
        Result<std::string> fingerprint = cipher::keyFingerprint(path);
        /* TRANSLATORS: the second line of the key box's tooltip; {fingerprint}
           is 16 hexadecimal digits (3F2A 9C01 77DE 0B45). */
        line = fingerprint ? qt(i18n::fill(_("Fingerprint: {fingerprint}"), {{"fingerprint", *fingerprint}}))
                           /* TRANSLATORS: the second line of the key box's tooltip; {reason}
                              says why the key file cannot be used. */
                           : qt(i18n::fill(_("Fingerprint unavailable: {reason}"),
                                           {{"reason", messages::describe(fingerprint.error())}}));
    }
    parts_.keyBox->setToolTip(line.isEmpty() ? keyBoxToolTip_ : keyBoxToolTip_ + QLatin1Char('\n') + line);
    parts_.keyBox->setAccessibleDescription(line);
}

void WindowCommandHost::enableTextFileLoad() {
    parts_.loadTextFile->setEnabled(true);
}

platform::FileDialogSettings& WindowCommandHost::dialogSettings() {
    return parts_.dialog->settings();
}

std::string WindowCommandHost::showSaveDialog() {
    return parts_.dialog->show(platform::FileDialog::Kind::Save, parts_.window).toStdString();
}

std::string WindowCommandHost::showOpenDialog() {
    return parts_.dialog->show(platform::FileDialog::Kind::Open, parts_.window).toStdString();
}

void WindowCommandHost::reportFailure(const std::string& message) {
    platform::showWarning(*parts_.box, parts_.window, QString::fromStdString(message));
}

bool WindowCommandHost::confirm(const std::string& question) {
    platform::MessageBox::Request request;
    request.text = QString::fromStdString(question);
    request.title = QString::fromUtf8(platform::kProgramTitle);
    request.buttons = platform::MessageBox::Buttons::YesNo;
    request.icon = platform::MessageBox::Icon::Warning;
    request.defaultAnswer = platform::MessageBox::Answer::Yes;
    return parts_.box->ask(request, parts_.window) == platform::MessageBox::Answer::Yes;
}

QString WindowCommandHost::messageAsPlainText() const {
    return parts_.message->plainText();
}

secret::String WindowCommandHost::textFromPlainText(const QString& text) const {
    return textFromForeignText(text);
}

void WindowCommandHost::setTextFileName(const QString& path) {
    parts_.textFileNameBox->setText(path);
}

platform::FileDialog& WindowCommandHost::fileDialog() {
    return *parts_.dialog;
}

platform::MessageBox& WindowCommandHost::messageBox() {
    return *parts_.box;
}

platform::Clipboard& WindowCommandHost::clipboard() {
    return *parts_.clipboard;
}

QWidget* WindowCommandHost::dialogParent() {
    return parts_.window;
}

} // namespace tarvex::window
