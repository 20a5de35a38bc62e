// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "key_agreement_flow.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tarvex::exchange {
class CipherCommandHost;
}

namespace tarvex::platform {
class Clipboard;
class MessageBox;
} // namespace tarvex::platform

namespace tarvex::window {

// Agree On A Key: this side's invitation with its Copy button, one field for
// what the other side sent (their answer finishes the invitation; their
// invitation is answered instead, and the answer shows with its own Copy
// button), then the fingerprint, the eight digits this side reads aloud and a
// field for the eight it hears. Save Key opens the key's save dialog only
// once those match; Save Without Comparing asks first. Every verdict shows in
// the dialog and changes nothing. Closing it gives the agreement up and wipes
// its secrets. Only the public lines reach the clipboard, and only the lines
// and the fingerprint the accessibility tree.
class KeyAgreementDialog final : public QDialog {
    Q_OBJECT
public:
    struct Services {
        exchange::CipherCommandHost* keys;        // the save dialog's rules, the current key
        platform::Clipboard* clipboard;
        platform::MessageBox* box;      // the question before saving without comparing
    };

    KeyAgreementDialog(Services services, QWidget* parent);
    ~KeyAgreementDialog() override;

    // However the dialog closes, the agreement is given up first.
    void done(int result) override;

signals:
    // The key was saved and is the current key; the dialog has closed.
    void keySaved();

private:
    void build();
    // Brings every part up to the flow's step and message.
    void refresh();
    void onReceivedChanged();
    void onPaste();
    void onSaveKey();
    void onSaveUncompared();
    void onStartAgain();
    void save();

    Services services_;
    KeyAgreementFlow flow_;

    QGroupBox* invitationBox_ = nullptr;
    QLineEdit* invitationLine_ = nullptr;
    QWidget* receivedBox_ = nullptr;
    QPlainTextEdit* receivedField_ = nullptr;
    QGroupBox* answerBox_ = nullptr;
    QLineEdit* answerLine_ = nullptr;
    QGroupBox* compareBox_ = nullptr;
    QLabel* fingerprint_ = nullptr;
    QLabel* readAloud_ = nullptr;
    QLineEdit* heard_ = nullptr;
    QPushButton* saveKey_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* saveUncompared_ = nullptr;
    QPushButton* startAgain_ = nullptr;
};

} // namespace tarvex::window
