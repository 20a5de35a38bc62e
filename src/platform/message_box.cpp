// SPDX-License-Identifier: GPL-3.0-or-later

#include "message_box.h"

#include "program_title.h"

#include <QMessageBox>

namespace tarvex::platform {
namespace {

QMessageBox::Icon qtIcon(MessageBox::Icon icon) {
    switch (icon) {
    case MessageBox::Icon::Information: return QMessageBox::Information;
    case MessageBox::Icon::Warning: return QMessageBox::Warning;
    case MessageBox::Icon::Critical: return QMessageBox::Critical;
    case MessageBox::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(MessageBox::Answer answer) {
    switch (answer) {
    case MessageBox::Answer::Yes: return QMessageBox::Yes;
    case MessageBox::Answer::No: return QMessageBox::No;
    case MessageBox::Answer::Ok: break;
    }
    return QMessageBox::Ok;
}

} // namespace

MessageBox::Answer MessageBox::ask(const Request& request, QWidget* parent) {
    if (observer_) observer_(request);
    if (!next_.empty()) {
        Answer answer = next_.front();
        next_.pop_front();
        return answer;
    }
    return runBox(request, parent);
}

namespace {

void showTitled(MessageBox& box, QWidget* parent, const QString& text, MessageBox::Icon icon) {
    MessageBox::Request request;
    request.text = text;
    request.title = QString::fromUtf8(kProgramTitle);
    request.icon = icon;
    box.ask(request, parent);
}

} // namespace

void showWarning(MessageBox& box, QWidget* parent, const QString& text) {
    showTitled(box, parent, text, MessageBox::Icon::Warning);
}

void showNotice(MessageBox& box, QWidget* parent, const QString& text) {
    showTitled(box, parent, text, MessageBox::Icon::None);
}

MessageBox::Answer MessageBox::runBox(const Request& request, QWidget* parent) {
    QMessageBox box(qtIcon(request.icon), request.title, request.text, QMessageBox::NoButton, parent);
    if (request.buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        // Esc answers No, as closing the box by its title bar does.
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    box.setDefaultButton(qtButton(request.defaultAnswer));
    int pressed = box.exec();
    if (pressed == QMessageBox::Yes) return Answer::Yes;
    if (pressed == QMessageBox::No) return Answer::No;
    return request.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
}

} // namespace tarvex::platform
