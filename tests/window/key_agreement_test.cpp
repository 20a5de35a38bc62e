// SPDX-License-Identifier: GPL-3.0-or-later

// Agree On A Key, driven through the dialog's controls: two windows, each with
// a real agreement, send each other their lines through the clipboard with
// words around them, as chat and mail bring them.

#include "window_test_support.h"

#include "agree/agreement_line.h"
#include "platform/clipboard.h"
#include "window/key_agreement_dialog.h"

#include "../cli/process_runner.h"
#include "../support/test_support.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

namespace tarvex::window::test {
namespace {

using Answer = platform::MessageBox::Answer;
using tarvex::test::TempDir;

// One window's open Agree On A Key dialog, seen through its controls.
class AgreementSide {
public:
    explicit AgreementSide(Tarvex& window) : window_(window) {
        menuItem(window, "mnuKeyAgree").trigger();
        dialog_ = window.findChild<KeyAgreementDialog*>();
        if (dialog_ == nullptr || !dialog_->isVisible()) throw std::runtime_error("no Agree On A Key dialog opened");
    }

    Tarvex& window() { return window_; }
    QPointer<KeyAgreementDialog> dialog() const { return dialog_; }

    template <typename T>
    T& part(const char* name) const {
        T* found = dialog_->findChild<T*>(QLatin1String(name));
        if (found == nullptr) throw std::runtime_error(std::string("no dialog part named ") + name);
        return *found;
    }
    bool shows(const char* name) const { return part<QWidget>(name).isVisibleTo(dialog_); }
    void click(const char* name) { part<QAbstractButton>(name).click(); }

    QString invitation() const { return part<QLineEdit>("invitationLine").text(); }
    QString answer() const { return part<QLineEdit>("answerLine").text(); }
    QString fingerprint() const { return part<QLabel>("fingerprint").text(); }
    QString message() const { return shows("agreementMessage") ? part<QLabel>("agreementMessage").text() : QString(); }
    // The eight digits shown to be read aloud: the end of the sentence, in bold.
    QString digitsToRead() const {
        return part<QLabel>("readAloud").text().remove(QRegularExpression(QStringLiteral("<[^>]*>"))).right(9);
    }

    // What the other side sent, pasted from the clipboard with Ctrl+V in the field.
    void pasteIntoField(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        QPlainTextEdit& field = part<QPlainTextEdit>("receivedField");
        field.setFocus();
        QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    }
    // The same through the Paste button.
    void pasteByButton(const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        click("pasteReceived");
    }
    void saveWithDigits(const QString& typed) {
        QLineEdit& heard = part<QLineEdit>("heardDigits");
        heard.clear();
        QTest::keyClicks(&heard, typed);
        click("saveKey");
    }

private:
    Tarvex& window_;
    QPointer<KeyAgreementDialog> dialog_;
};

QString clipboardText() {
    return QGuiApplication::clipboard()->text();
}

bool clipboardMarkedSecret() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasFormat(QLatin1String(platform::kPasswordManagerHintFormat));
}

QString keyBox(const Tarvex& window) {
    return control<QLineEdit>(window, "Text1").text();
}

TEST(KeyAgreement, TwoWindowsAgreeThroughTheClipboardAndSaveOnlyOnceTheDigitsMatch) {
    TempDir dir;
    const auto inviterWindow = loadWindow();
    const auto answererWindow = loadWindow();
    AgreementSide inviter(*inviterWindow);
    AgreementSide answerer(*answererWindow);
    EXPECT_TRUE(inviter.dialog()->isModal()) << "the window waits while the agreement is open";

    const QString invitation = inviter.invitation();
    ASSERT_TRUE(invitation.startsWith(QStringLiteral("tarvexinvite1"))) << invitation.toStdString();
    EXPECT_EQ(invitation.size(), 63);
    const QString answererOwnInvitation = answerer.invitation();
    EXPECT_NE(answererOwnInvitation, invitation);
    EXPECT_FALSE(inviter.shows("fingerprint"));
    EXPECT_FALSE(inviter.shows("saveUncompared"));

    // Copied plainly: a line is public.
    inviter.click("copyInvitation");
    EXPECT_EQ(clipboardText(), invitation);
    EXPECT_FALSE(clipboardMarkedSecret());

    // A damaged invitation is refused with the window's wording and changes
    // nothing; so is the inviter's own, and a text without a line.
    QString damaged = invitation;
    damaged[30] = damaged[30] == QLatin1Char('x') ? QLatin1Char('y') : QLatin1Char('x');
    answerer.pasteByButton(QStringLiteral("Here it is: ") + damaged);
    EXPECT_TRUE(answerer.message().startsWith(QStringLiteral("The invitation is damaged"))) << answerer.message().toStdString();
    EXPECT_EQ(answerer.invitation(), answererOwnInvitation);
    EXPECT_FALSE(answerer.shows("answerLine"));
    EXPECT_FALSE(answerer.shows("fingerprint"));
    inviter.pasteIntoField(QStringLiteral("> ") + invitation);
    EXPECT_TRUE(inviter.message().startsWith(QStringLiteral("This is your own invitation"))) << inviter.message().toStdString();
    inviter.pasteIntoField(QStringLiteral("see you at noon"));
    EXPECT_TRUE(inviter.message().startsWith(QStringLiteral("The text holds no invitation or answer")))
        << inviter.message().toStdString();
    EXPECT_EQ(inviter.invitation(), invitation);

    // Pasted again, whole and among words: answered instead of inviting.
    answerer.pasteIntoField(QStringLiteral("Here is my invitation:\n") + invitation + QStringLiteral("\n-- \nAnna"));
    EXPECT_EQ(answerer.message(), QString());
    EXPECT_FALSE(answerer.shows("invitationLine")) << "its own invitation is dropped";
    ASSERT_TRUE(answerer.shows("answerLine"));
    const QString answer = answerer.answer();
    EXPECT_TRUE(answer.startsWith(QStringLiteral("tarvexanswer1"))) << answer.toStdString();
    EXPECT_EQ(answer.size(), 68);
    EXPECT_TRUE(answerer.shows("fingerprint"));
    answerer.click("copyAnswer");
    EXPECT_EQ(clipboardText(), answer);
    EXPECT_FALSE(clipboardMarkedSecret());

    // The reply quotes the invitation above the answer.
    inviter.pasteByButton(QStringLiteral("> Here is my invitation:\n> ") + invitation +
                          QStringLiteral("\n\nMy answer: ") + answer);
    EXPECT_EQ(inviter.message(), QString());
    ASSERT_TRUE(inviter.shows("fingerprint"));
    EXPECT_FALSE(inviter.shows("answerLine"));
    const QString fingerprint = inviter.fingerprint();
    EXPECT_EQ(answerer.fingerprint(), fingerprint);
    ASSERT_EQ(fingerprint.size(), 19) << fingerprint.toStdString();
    // The answerer reads the first eight aloud, the inviter the last eight;
    // a screen reader spells them a digit at a time.
    EXPECT_EQ(answerer.digitsToRead(), fingerprint.left(9));
    EXPECT_EQ(inviter.digitsToRead(), fingerprint.right(9));
    const auto spoken = [](QWidget& part) {
        return QAccessible::queryAccessibleInterface(&part)->text(QAccessible::Name);
    };
    const auto digitsOf = [](QString read) { return read.remove(QRegularExpression(QStringLiteral("^[^:]*:|[ ,]"))); };
    const QString readAloud = spoken(inviter.part<QLabel>("readAloud"));
    EXPECT_TRUE(readAloud.contains(QRegularExpression(QStringLiteral(": ([0-9A-F] ){3}[0-9A-F], ([0-9A-F] ){3}[0-9A-F]$"))))
        << readAloud.toStdString();
    EXPECT_EQ(digitsOf(readAloud), fingerprint.right(9).remove(QLatin1Char(' ')));
    const QString fingerprintRead = spoken(inviter.part<QLabel>("fingerprint"));
    EXPECT_TRUE(fingerprintRead.contains(QRegularExpression(QStringLiteral("^Fingerprint: (([0-9A-F] ){3}[0-9A-F](, |$)){4}"))))
        << fingerprintRead.toStdString();
    EXPECT_EQ(digitsOf(fingerprintRead), QString(fingerprint).remove(QLatin1Char(' ')));

    // Nothing typed, then the inviter's own digits: refused, no save dialog.
    // (One shown all the same would be cancelled here, and recorded.)
    inviterWindow->fileDialog().setNextFileNames({QString(), QString()});
    inviter.saveWithDigits({});
    EXPECT_TRUE(inviter.message().startsWith(QStringLiteral("Type the eight digits"))) << inviter.message().toStdString();
    inviter.saveWithDigits(inviter.digitsToRead());
    EXPECT_TRUE(inviter.message().startsWith(QStringLiteral("These are not the digits"))) << inviter.message().toStdString();
    EXPECT_TRUE(shownDialogs(*inviterWindow).empty());
    EXPECT_TRUE(inviter.dialog()->isVisible());

    // The digits heard, as typed by hand: the save dialog, and the key is the current one.
    inviterWindow->fileDialog().setNextFileName(QString::fromStdString(dir.file("ours.tvk")));
    inviter.saveWithDigits(answerer.digitsToRead().toLower().replace(QLatin1Char(' '), QLatin1Char('-')));
    ASSERT_EQ(shownDialogs(*inviterWindow).size(), 1u);
    EXPECT_EQ(shownDialogs(*inviterWindow)[0].settings.defaultExt, "tvk");
    EXPECT_EQ(keyBox(*inviterWindow), QString::fromStdString(dir.file("ours.tvk")));
    EXPECT_EQ(tarvex::test::permissionBits(dir.file("ours.tvk")), 0600u);
    EXPECT_TRUE(isEnabled(*inviterWindow, "Command7")) << "as after Create Key";
    EXPECT_TRUE(inviter.dialog().isNull() || !inviter.dialog()->isVisible());

    // The way round the comparison asks first; No changes nothing.
    answererWindow->messageBox().setNextAnswer(Answer::No);
    answerer.click("saveUncompared");
    ASSERT_EQ(shownBoxes(*answererWindow).size(), 1u);
    const auto& question = shownBoxes(*answererWindow)[0];
    EXPECT_TRUE(question.text.contains(QStringLiteral("without comparing"))) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains(QStringLiteral("read every message"))) << question.text.toStdString();
    EXPECT_EQ(question.defaultAnswer, Answer::No);
    EXPECT_TRUE(shownDialogs(*answererWindow).empty());
    answererWindow->messageBox().setNextAnswer(Answer::Yes);
    answererWindow->fileDialog().setNextFileName(QString::fromStdString(dir.file("theirs.tvk")));
    answerer.click("saveUncompared");
    EXPECT_EQ(keyBox(*answererWindow), QString::fromStdString(dir.file("theirs.tvk")));

    // One key at both ends, whose fingerprint is the one the dialogs showed.
    const std::string ours = tarvex::test::readBytes(dir.file("ours.tvk"));
    EXPECT_EQ(ours.size(), 12382u);
    EXPECT_EQ(tarvex::test::readBytes(dir.file("theirs.tvk")), ours);
    const auto cli = tarvex::test::runProcess(TARVEX_CLI_PATH, {"fingerprint", "-k", dir.file("theirs.tvk")}, {});
    EXPECT_NE(cli.out.find(fingerprint.toStdString()), std::string::npos) << cli.out << cli.err;
}

TEST(KeyAgreement, ALineMadeOnPurposeEndsTheAgreementAndClosingTheDialogGivesItUp) {
    const auto window = loadWindow();
    auto side = std::make_unique<AgreementSide>(*window);
    const QString first = side->invitation();

    // A public half of small order gives no key, whatever the secret.
    const std::string zero = agree::formatInvitation(agree::PublicHalf{});
    side->pasteIntoField(QString::fromStdString(zero));
    EXPECT_TRUE(side->message().contains(QStringLiteral("someone made it on purpose"))) << side->message().toStdString();
    EXPECT_FALSE(side->shows("invitationLine"));
    EXPECT_FALSE(side->shows("receivedField"));
    EXPECT_FALSE(side->shows("fingerprint"));
    ASSERT_TRUE(side->shows("startAgain"));
    side->click("startAgain");
    EXPECT_TRUE(side->shows("invitationLine"));
    EXPECT_NE(side->invitation(), first);
    EXPECT_EQ(side->message(), QString());
    EXPECT_TRUE(side->part<QPlainTextEdit>("receivedField").toPlainText().isEmpty());

    // Closed, the dialog goes with its agreement; the next one invites afresh.
    const QPointer<KeyAgreementDialog> closed = side->dialog();
    const QString second = side->invitation();
    side->click("closeAgreement");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closed.isNull());
    side = std::make_unique<AgreementSide>(*window);
    EXPECT_NE(side->invitation(), second);
    EXPECT_TRUE(shownBoxes(*window).empty());
    EXPECT_TRUE(shownDialogs(*window).empty());
}

} // namespace
} // namespace tarvex::window::test
