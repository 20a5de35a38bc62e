// SPDX-License-Identifier: GPL-3.0-or-later

#include "window/tarvex.h"
#include "window/window_language.h"

#include "core/process_hardening.h"
#include "i18n/fill.h"
#include "i18n/marks.h"
#include "platform/clipboard.h"
#include "platform/program_title.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

using tarvex::platform::qt;

constexpr int kExitUsage = 2;

void describeProgram() {
    QCoreApplication::setApplicationName(QString::fromUtf8(tarvex::platform::kProgramName));
    QCoreApplication::setApplicationVersion(QString::fromUtf8(tarvex::platform::kProgramVersion));
}

// Qt's own options such as -platform are single words after one dash.
void describeOptions(QCommandLineParser& parser) {
    parser.setApplicationDescription(qt(_("Encrypts and decrypts messages with a key file that two people share.")));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("KEYFILE"),
                                 qt(_("Start with this key file chosen, as if picked with Load Key.")),
                                 QStringLiteral("[KEYFILE]"));
}

// --help and --version answer without a display: they are read before the
// window system is opened, and the process ends here when one was given.
void answerHelpOrVersion(int argc, char* argv[]) {
    int ownArgc = argc;
    QCoreApplication console(ownArgc, argv);
    tarvex::window::useSessionLanguage(console);
    describeProgram();
    QCommandLineParser parser;
    describeOptions(parser);
    // Qt's own options are unknown here; QApplication takes them out later.
    const QStringList arguments = QCoreApplication::arguments();
    (void)parser.parse(arguments);
    for (const char* option : {"version", "help", "help-all"}) {
        if (parser.isSet(QLatin1String(option))) {
            // That option alone, so that the Qt options beside it are no error.
            parser.process(QStringList{arguments.first(), QStringLiteral("--") + QLatin1String(option)});
        }
    }
}

void complain(const QString& message) {
    std::fprintf(stderr, "tarvex: %s\n%s\n", qPrintable(message), _("(see 'tarvex --help')").c_str());
}

} // namespace

int main(int argc, char* argv[]) {
    tarvex::hardenProcess();
    answerHelpOrVersion(argc, argv);

    QApplication app(argc, argv);
    // Before the window: its words, Qt's own and its direction come from here.
    tarvex::window::useSessionLanguage(app);
    describeProgram();
    // Wayland compositors and desktop shells match the window to its desktop entry by this.
    QGuiApplication::setDesktopFileName(QStringLiteral(TARVEX_APP_ID));

    QCommandLineParser parser;
    describeOptions(parser);
    if (!parser.parse(QCoreApplication::arguments())) {
        complain(parser.errorText());
        return kExitUsage;
    }
    const QStringList keyFiles = parser.positionalArguments();
    if (keyFiles.size() > 1) {
        complain(qt(tarvex::i18n::fill(_("one key file at most, not also '{file}'"),
                                       {{"file", keyFiles.at(1).toStdString()}})));
        return kExitUsage;
    }

    // Not modal: the program lives in the event loop until the window is closed.
    tarvex::window::Tarvex window;
    if (!keyFiles.isEmpty()) {
        window.loadKeyFile(keyFiles.first());
    }
    window.show();
    const int status = QApplication::exec();
    // While the application still stands: Qt hands the clipboard it owns to a
    // clipboard manager when it goes.
    tarvex::platform::dropOwnSecrets();
    return status;
}
