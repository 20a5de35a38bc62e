// SPDX-License-Identifier: GPL-3.0-or-later

#include "key_agreement_dialog.h"

#include "exchange/cipher_commands.h"
#include "i18n/translate.h"
#include "messages/agreement_dialog_words.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/program_title.h"
#include "platform/qt_text.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace tarvex::window {

namespace {

using platform::qt;

// The dialog's words in the session's language.
QString said(std::string_view english) {
    return qt(i18n::text(messages::agreement_words::kContext, english));
}

// `sentence` with the digits in their place.
QString withDigits(QString sentence, const QString& digits) {
    return sentence.replace(qt(messages::agreement_words::kDigitsPlaceholder), digits);
}

// Whatever is pasted or dropped replaces what the field held: it takes one
// line, and a refused one is pasted again, not after itself.
class LineField final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override {
        selectAll();
        QPlainTextEdit::insertFromMimeData(source);
    }
};

// The sentence that says which eight digits this side reads aloud, the
// digits put in as given (the words given HTML-escaped where `html`).
QString readAloudText(const agree::Agreement& agreement, const QString& digits, bool html) {
    // The answerer reads the first eight, the inviter the last eight.
    const std::string_view wording =
        agreement.role() == agree::Agreement::Role::Answerer ? messages::agreement_words::kReadFirstEight
                                                             : messages::agreement_words::kReadLastEight;
    const QString sentence = said(wording);
    return withDigits(html ? sentence.toHtmlEscaped() : sentence, digits);
}

QLineEdit* lineShown(const char* name, std::string_view accessibleName, QWidget* parent) {
    auto* line = new QLineEdit(parent);
    line->setObjectName(QLatin1String(name));
    line->setReadOnly(true);
    line->setAccessibleName(said(accessibleName));
    line->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Room for the longer line, the answer, whole.
    line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QString(agree::kAnswerLength + 2, QLatin1Char('m'))));
    return line;
}

QPushButton* button(const char* name, std::string_view caption, QWidget* parent) {
    auto* made = new QPushButton(said(caption), parent);
    made->setObjectName(QLatin1String(name));
    made->setAutoDefault(false);
    return made;
}

} // namespace

KeyAgreementDialog::KeyAgreementDialog(Services services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("agreementDialog"));
    setWindowTitle(said(messages::agreement_words::kTitle));
    setAccessibleDescription(said(messages::agreement_words::kIntro));
    build();
    // As wide as its widest step, every part shown: the wrapped texts then
    // keep their lines, and each step only changes the height.
    setFixedWidth(sizeHint().width());
    refresh();
    receivedField_->setFocus(Qt::OtherFocusReason);
}

// The agreement wipes itself with the flow.
KeyAgreementDialog::~KeyAgreementDialog() = default;

void KeyAgreementDialog::build() {
    auto* layout = new QVBoxLayout(this);

    auto* intro = new QLabel(said(messages::agreement_words::kIntro), this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    invitationBox_ = new QGroupBox(said(messages::agreement_words::kInvitationCaption), this);
    invitationLine_ = lineShown("invitationLine", messages::agreement_words::kInvitationName, invitationBox_);
    auto* copyInvitation = button("copyInvitation", messages::agreement_words::kCopyInvitation, invitationBox_);
    auto* invitationRow = new QHBoxLayout(invitationBox_);
    invitationRow->addWidget(invitationLine_, 1);
    invitationRow->addWidget(copyInvitation);
    layout->addWidget(invitationBox_);

    receivedBox_ = new QWidget(this);
    auto* receivedCaption = new QLabel(said(messages::agreement_words::kReceivedCaption), receivedBox_);
    receivedCaption->setWordWrap(true);
    receivedField_ = new LineField(receivedBox_);
    receivedField_->setObjectName(QStringLiteral("receivedField"));
    receivedField_->setAccessibleName(said(messages::agreement_words::kReceivedName));
    receivedField_->setTabChangesFocus(true);
    receivedField_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    receivedField_->setFixedHeight(receivedField_->fontMetrics().lineSpacing() * 4);
    receivedCaption->setBuddy(receivedField_);
    auto* paste = button("pasteReceived", messages::agreement_words::kPaste, receivedBox_);
    auto* receivedGrid = new QGridLayout(receivedBox_);
    receivedGrid->setContentsMargins(0, 0, 0, 0);
    receivedGrid->addWidget(receivedCaption, 0, 0, 1, 2);
    receivedGrid->addWidget(receivedField_, 1, 0);
    receivedGrid->addWidget(paste, 1, 1, Qt::AlignTop);
    layout->addWidget(receivedBox_);

    answerBox_ = new QGroupBox(said(messages::agreement_words::kAnswerCaption), this);
    answerLine_ = lineShown("answerLine", messages::agreement_words::kAnswerName, answerBox_);
    auto* copyAnswer = button("copyAnswer", messages::agreement_words::kCopyAnswer, answerBox_);
    auto* answerRow = new QHBoxLayout(answerBox_);
    answerRow->addWidget(answerLine_, 1);
    answerRow->addWidget(copyAnswer);
    layout->addWidget(answerBox_);

    compareBox_ = new QGroupBox(said(messages::agreement_words::kFingerprintCaption), this);
    fingerprint_ = new QLabel(compareBox_);
    fingerprint_->setObjectName(QStringLiteral("fingerprint"));
    QFont large = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    large.setPointSizeF(font().pointSizeF() * 2.5);
    large.setBold(true);
    fingerprint_->setFont(large);
    fingerprint_->setAlignment(Qt::AlignCenter);
    readAloud_ = new QLabel(compareBox_);
    readAloud_->setObjectName(QStringLiteral("readAloud"));
    readAloud_->setWordWrap(true);
    readAloud_->setTextFormat(Qt::RichText);
    auto* heardCaption = new QLabel(said(messages::agreement_words::kHeardCaption), compareBox_);
    heard_ = new QLineEdit(compareBox_);
    heard_->setObjectName(QStringLiteral("heardDigits"));
    heard_->setAccessibleName(said(messages::agreement_words::kHeardName));
    heard_->setMaxLength(32);
    heardCaption->setBuddy(heard_);
    saveKey_ = button("saveKey", messages::agreement_words::kSaveKey, compareBox_);
    saveKey_->setDefault(true);
    auto* compareGrid = new QGridLayout(compareBox_);
    compareGrid->addWidget(fingerprint_, 0, 0, 1, 3);
    compareGrid->addWidget(readAloud_, 1, 0, 1, 3);
    compareGrid->addWidget(heardCaption, 2, 0);
    compareGrid->addWidget(heard_, 2, 1);
    compareGrid->addWidget(saveKey_, 2, 2);
    layout->addWidget(compareBox_);

    message_ = new QLabel(this);
    message_->setObjectName(QStringLiteral("agreementMessage"));
    message_->setWordWrap(true);
    message_->setTextFormat(Qt::PlainText);
    message_->setFrameShape(QFrame::StyledPanel);
    message_->setMargin(6);
    layout->addWidget(message_);

    // The way round the comparison stays apart from Save Key, small and flat.
    saveUncompared_ = button("saveUncompared", messages::agreement_words::kSaveUncompared, this);
    saveUncompared_->setFlat(true);
    startAgain_ = button("startAgain", messages::agreement_words::kStartAgain, this);
    auto* close = button("closeAgreement", messages::agreement_words::kClose, this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveUncompared_);
    buttons->addStretch(1);
    buttons->addWidget(startAgain_);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    const auto copyLine = [this] {
        services_.clipboard->setText(QString::fromStdString(flow_.lineToSend()), /*secret=*/false);
    };
    connect(copyInvitation, &QPushButton::clicked, this, copyLine);
    connect(copyAnswer, &QPushButton::clicked, this, copyLine);
    connect(paste, &QPushButton::clicked, this, &KeyAgreementDialog::onPaste);
    connect(receivedField_, &QPlainTextEdit::textChanged, this, &KeyAgreementDialog::onReceivedChanged);
    connect(saveKey_, &QPushButton::clicked, this, &KeyAgreementDialog::onSaveKey);
    connect(saveUncompared_, &QPushButton::clicked, this, &KeyAgreementDialog::onSaveUncompared);
    connect(startAgain_, &QPushButton::clicked, this, &KeyAgreementDialog::onStartAgain);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

void KeyAgreementDialog::refresh() {
    using Step = KeyAgreementFlow::Step;
    const Step step = flow_.step();
    const QString line = QString::fromStdString(flow_.lineToSend());
    const bool answered = flow_.answered();

    invitationBox_->setVisible(step == Step::Exchange);
    invitationLine_->setText(step == Step::Exchange ? line : QString());
    receivedBox_->setVisible(step == Step::Exchange);
    answerBox_->setVisible(step == Step::Compare && answered);
    answerLine_->setText(step == Step::Compare && answered ? line : QString());

    compareBox_->setVisible(step == Step::Compare);
    saveUncompared_->setVisible(step == Step::Compare);
    if (step == Step::Compare) {
        const agree::Agreement& agreement = flow_.agreement();
        const QString fingerprint = QString::fromStdString(agreement.fingerprint());
        fingerprint_->setText(fingerprint);
        fingerprint_->setAccessibleName(
            withDigits(said(messages::agreement_words::kFingerprintName),
                       QString::fromStdString(spelledDigits(agreement.fingerprint()))));
        const std::string digits = agreement.digitsToReadAloud();
        readAloud_->setText(
            readAloudText(agreement, QStringLiteral("<b>%1</b>").arg(QString::fromStdString(digits)), true));
        readAloud_->setAccessibleName(readAloudText(agreement, QString::fromStdString(spelledDigits(digits)), false));
    } else {
        fingerprint_->clear();
        readAloud_->clear();
    }
    startAgain_->setVisible(step == Step::Ended);

    const QString message = QString::fromStdString(flow_.message());
    message_->setText(message);
    message_->setVisible(!message.isEmpty());
    // Read with the field that it is about.
    receivedField_->setAccessibleDescription(message);
    heard_->setAccessibleDescription(step == Step::Compare ? message : QString());
    adjustSize();
}

void KeyAgreementDialog::onReceivedChanged() {
    const KeyAgreementFlow::Step before = flow_.step();
    flow_.takeText(receivedField_->toPlainText().toStdString());
    refresh();
    if (before != flow_.step()) {
        // The next step's field; after a line made on purpose, the way to start again.
        QWidget* next = flow_.step() == KeyAgreementFlow::Step::Compare ? static_cast<QWidget*>(heard_) : startAgain_;
        next->setFocus(Qt::OtherFocusReason);
    }
}

void KeyAgreementDialog::onPaste() {
    const std::optional<QString> text = services_.clipboard->text();
    if (!text) return;
    receivedField_->setPlainText(*text);
}

void KeyAgreementDialog::onSaveKey() {
    const bool match = flow_.compare(heard_->text().toStdString());
    refresh();
    if (!match) {
        heard_->selectAll();
        heard_->setFocus(Qt::OtherFocusReason);
        return;
    }
    heard_->setReadOnly(true);
    save();
}

void KeyAgreementDialog::onSaveUncompared() {
    platform::MessageBox::Request question;
    question.text = said(messages::agreement_words::kSaveUncomparedQuestion);
    question.title = QString::fromUtf8(platform::kProgramTitle);
    question.buttons = platform::MessageBox::Buttons::YesNo;
    question.icon = platform::MessageBox::Icon::Warning;
    question.defaultAnswer = platform::MessageBox::Answer::No;
    if (services_.box->ask(question, this) != platform::MessageBox::Answer::Yes) return;
    save();
}

void KeyAgreementDialog::save() {
    if (!exchange::saveAgreedKey(*services_.keys, flow_.agreement())) return;
    accept();
    emit keySaved();
}

void KeyAgreementDialog::onStartAgain() {
    flow_.startAgain();
    receivedField_->blockSignals(true);
    receivedField_->clear();
    receivedField_->blockSignals(false);
    heard_->clear();
    heard_->setReadOnly(false);
    refresh();
    receivedField_->setFocus(Qt::OtherFocusReason);
}

void KeyAgreementDialog::done(int result) {
    flow_.giveUp();
    QDialog::done(result);
}

} // namespace tarvex::window
