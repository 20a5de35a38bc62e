// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_box.h"

#include "about_layout.h"

#include "i18n/fill.h"
#include "i18n/marks.h"
#include "platform/message_box.h"
#include "platform/program_launcher.h"
#include "platform/program_title.h"
#include "platform/system_monitor.h"
#include "platform/qt_text.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QSvgRenderer>

#include <algorithm>

namespace tarvex::about {
namespace {

using platform::qt;

QString translated(const layout::Element& element) {
    return qt(i18n::text("about box", element.designText));
}

const layout::Element& elementNamed(const QString& name) {
    const auto found = std::find_if(layout::kElements.begin(), layout::kElements.end(),
                                    [&](const layout::Element& element) { return qt(element.name) == name; });
    Q_ASSERT(found != layout::kElements.end());
    return *found;
}

QPixmap picture(qreal devicePixelRatio) {
    const QSize pixels = (QSizeF(layout::kPictureSide, layout::kPictureSide) * devicePixelRatio).toSize();
    QPixmap pixmap(pixels);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/tarvex/about/about-picture.svg"));
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

} // namespace

AboutDialog::AboutDialog(const SysInfoServices& services) : services_(services) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(qt(layout::kDesignCaption));
    // Fixed-size dialog: no minimize or maximize button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(layout::twipsToPixels(layout::kClientWidth), layout::twipsToPixels(layout::kClientHeight));

    for (const layout::Element& element : layout::kElements) {
        QWidget* widget = nullptr;
        switch (element.kind) {
        case layout::Kind::Picture: {
            auto* box = new QLabel(this);
            box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            box->setLineWidth(2);
            box->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            box->setPixmap(picture(devicePixelRatioF()));
            widget = box;
            break;
        }
        case layout::Kind::Label: {
            auto* label = new QLabel(translated(element), this);
            if (element.name == "lblTitle") titleLabel_ = label;
            if (element.name == "lblVersion") versionLabel_ = label;
            if (element.name == "lblDescription") descriptionLabel_ = label;
            widget = label;
            break;
        }
        case layout::Kind::Button: {
            auto* button = new QPushButton(translated(element), this);
            if (element.name == "cmdOK") okButton_ = button;
            if (element.name == "cmdSysInfo") systemInfoButton_ = button;
            widget = button;
            break;
        }
        }
        QFont font = QApplication::font();
        font.setPointSizeF(element.pointSize);
        font.setBold(element.bold);
        widget->setFont(font);
        widget->setObjectName(qt(element.name));
        widget->setGeometry(placed(platform::toPixels(element.rect)));
    }

    // The design's placeholders give way to the program's own name and version.
    setWindowTitle(qt(i18n::fill(_("About {program}"), {{"program", platform::kProgramName}})));
    titleLabel_->setText(qt(platform::kProgramName));
    versionLabel_->setText(qt(i18n::fill(_("Version {version}"), {{"version", platform::kProgramVersion}})));
    for (QLabel* label : {titleLabel_, versionLabel_, descriptionLabel_}) fitToText(*label);

    // Enter presses OK; Esc is handled in keyPressEvent.
    okButton_->setDefault(true);
    setTabOrder(okButton_, systemInfoButton_);
    okButton_->setFocus();

    connect(okButton_, &QPushButton::clicked, this, &QWidget::close);
    connect(systemInfoButton_, &QPushButton::clicked, this, &AboutDialog::startSystemInformation);
}

QRect AboutDialog::placed(const QRect& designed) const {
    // Right to left (Arabic), mirrored within the box.
    return QStyle::visualRect(layoutDirection(), rect(), designed);
}

void AboutDialog::fitToText(QLabel& label) {
    QRect designed = platform::toPixels(elementNamed(label.objectName()).rect);
    designed.setWidth(std::max(designed.width(), label.sizeHint().width()));
    label.setGeometry(placed(designed));
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    // OK is the cancel button too: Esc presses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        okButton_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutDialog::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    for (const layout::RuleLine& line : layout::kLine1) {
        painter.setPen(QPen(QColor::fromRgb(static_cast<QRgb>(line.rgb)), 0));
        painter.drawLine(QStyle::visualPos(layoutDirection(), rect(), platform::toPixels(line.from)),
                         QStyle::visualPos(layoutDirection(), rect(), platform::toPixels(line.to)));
    }
}

void AboutDialog::startSystemInformation() {
    const QString program = platform::findSystemMonitor(services_.monitorSearchPaths);
    if (program.isEmpty() || !services_.launcher.start(program)) showUnavailable();
}

void AboutDialog::showUnavailable() {
    platform::showNotice(services_.messageBox, this, qt(_("System Information Is Unavailable At This Time")));
}

AboutBox::AboutBox(const SysInfoServices& services) : services_(services) {}

AboutBox::~AboutBox() {
    delete box_.data();
}

void AboutBox::show() {
    if (!box_ || !box_->isVisible()) {
        // A box that was closed is on its way out; a new one loads in its place.
        if (box_) box_->deleteLater();
        box_ = new AboutDialog(services_);
    }
    box_->show();
    box_->raise();
    box_->activateWindow();
}

AboutDialog* AboutBox::current() const {
    return box_ && box_->isVisible() ? box_.data() : nullptr;
}

} // namespace tarvex::about
