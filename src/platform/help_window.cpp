// SPDX-License-Identifier: GPL-3.0-or-later

#include "help_window.h"

#include "qt_text.h"

#include "i18n/marks.h"

#include <QAction>
#include <QIcon>
#include <QTextBrowser>
#include <QToolBar>

namespace tarvex::platform {

HelpWindow::HelpWindow() {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(qt(C_("help window", "Help")));
    // The program ends with its own windows; help left open does not hold it.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(640, 520);

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    setCentralWidget(browser_);

    QToolBar* bar = addToolBar(qt(C_("help window", "Navigation")));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back_ = bar->addAction(QIcon::fromTheme(QStringLiteral("go-previous")), qt(C_("help window", "&Back")));
    forward_ = bar->addAction(QIcon::fromTheme(QStringLiteral("go-next")), qt(C_("help window", "&Forward")));
    contents_ = bar->addAction(QIcon::fromTheme(QStringLiteral("go-home")), qt(C_("help window", "&Contents")));
    back_->setShortcut(QKeySequence::Back);
    forward_->setShortcut(QKeySequence::Forward);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    // Not on the tool bar: Esc and Ctrl+W close help as they close other viewers.
    close_ = new QAction(qt(C_("help window", "Close")), this);
    close_->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)});
    addAction(close_);
    connect(close_, &QAction::triggered, this, &QWidget::close);

    connect(back_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(forward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(contents_, &QAction::triggered, this, [this] { browser_->setSource(contentsPage_); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = browser_->documentTitle();
        setWindowTitle(title.isEmpty() ? qt(C_("help window", "Help")) : title);
    });
}

void HelpWindow::showContents(const QUrl& page) {
    contentsPage_ = page;
    browser_->setSource(page);
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

} // namespace tarvex::platform
