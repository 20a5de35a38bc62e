// SPDX-License-Identifier: GPL-3.0-or-later

#include "window_language.h"

#include "i18n/catalogue.h"
#include "platform/qt_text.h"

#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <string>

namespace tarvex::window {

void useSessionLanguage(QCoreApplication& application) {
    i18n::speakSessionLanguage();
    const std::string language = i18n::catalogueLanguage();
    if (language.empty()) return;
    const QLocale locale(platform::qt(language));

    auto* qtWords = new QTranslator(&application);
    if (qtWords->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qtWords);
    } else {
        delete qtWords;
    }
    if (auto* gui = qobject_cast<QGuiApplication*>(&application)) gui->setLayoutDirection(locale.textDirection());
}

} // namespace tarvex::window
