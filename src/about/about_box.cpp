// SPDX-License-Identifier: GPL-3.0-or-later

#include "about_box.h"

#include "about_layout.h"
#include "texts.h"

#include "platform/file_existence.h"
#include "platform/message_box.h"
#include "platform/program_launcher.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <span>

namespace tarvex::about {
namespace {

using platform::Registry;

constexpr std::string_view gREGKEYSYSINFOLOC = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::string_view gREGVALSYSINFOLOC = "MSINFO";
constexpr std::string_view gREGKEYSYSINFO = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view gREGVALSYSINFO = "PATH";
constexpr std::string_view kSysInfoProgram = "\\MSINFO32.EXE";

constexpr std::size_t kValueBufferSize = 1024;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Paths from the registry are 8-bit text in the system's own encoding.
QString local8(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
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

// Hexadecimal digits of one byte, capitals, no leading zero.
std::string hexOf(std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string digits;
    if (byte >= 16) digits.push_back(kDigits[byte / 16]);
    digits.push_back(kDigits[byte % 16]);
    return digits;
}

} // namespace

frmAbout::frmAbout(const SysInfoServices& services) : services_(services) {
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
        case layout::Kind::Label:
            widget = new QLabel(qt(element.designText), this);
            break;
        case layout::Kind::Button:
            widget = new QPushButton(qt(element.designText), this);
            break;
        }
        QFont font = QApplication::font();
        font.setPointSizeF(element.pointSize);
        font.setBold(element.bold);
        widget->setFont(font);
        widget->setObjectName(qt(element.name));
        widget->setGeometry(platform::toPixels(element.rect));
    }

    picIcon = findChild<QLabel*>(QStringLiteral("picIcon"));
    lblTitle = findChild<QLabel*>(QStringLiteral("lblTitle"));
    lblVersion = findChild<QLabel*>(QStringLiteral("lblVersion"));
    lblDescription = findChild<QLabel*>(QStringLiteral("lblDescription"));
    cmdOK = findChild<QPushButton*>(QStringLiteral("cmdOK"));
    cmdSysInfo = findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    for (QLabel* label : {lblTitle, lblVersion, lblDescription}) fitToText(*label);

    // Enter presses OK; Esc is handled in keyPressEvent.
    cmdOK->setDefault(true);
    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::fitToText(QLabel& label) {
    const int designed = platform::toPixels(elementNamed(label.objectName()).rect).width();
    label.resize(std::max(designed, label.sizeHint().width()), label.height());
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + qt(kAppTitle));
    lblVersion->setText(QStringLiteral("Version ") + qt(kAppVersion));
    lblTitle->setText(qt(kAppTitle));
    fitToText(*lblVersion);
    fitToText(*lblTitle);
}

void frmAbout::cmdOK_Click() {
    close();
}

void frmAbout::cmdSysInfo_Click() {
    StartSysInfo();
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
    // OK is the cancel button too: Esc presses it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

void frmAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    for (const layout::RuleLine& line : layout::kLine1) {
        painter.setPen(QPen(QColor::fromRgb(static_cast<QRgb>(line.rgb)), 0));
        painter.drawLine(platform::toPixels(line.from), platform::toPixels(line.to));
    }
}

void frmAbout::StartSysInfo() {
    try {
        std::string SysInfoPath;
        if (GetKeyValue(HKEY_LOCAL_MACHINE, std::string(gREGKEYSYSINFO), std::string(gREGVALSYSINFO), SysInfoPath)) {
            // Taken as it is: a wrong path shows when it fails to start.
        } else if (GetKeyValue(HKEY_LOCAL_MACHINE, std::string(gREGKEYSYSINFOLOC), std::string(gREGVALSYSINFOLOC),
                               SysInfoPath)) {
            const std::string program = SysInfoPath + std::string(kSysInfoProgram);
            if (!services_.files.exists(local8(program))) return showUnavailable();
            SysInfoPath = program;
        } else {
            return showUnavailable();
        }
        if (SysInfoPath.empty() || !services_.launcher.start(local8(SysInfoPath))) return showUnavailable();
    } catch (const std::exception&) {
        showUnavailable();
    }
}

void frmAbout::showUnavailable() {
    platform::MessageBox::Request request;
    request.text = QStringLiteral("System Information Is Unavailable At This Time");
    request.title = qt(kProgramTitle);
    request.buttons = platform::MessageBox::Buttons::Ok;
    request.icon = platform::MessageBox::Icon::None;
    services_.messageBox.ask(request, this);
}

bool frmAbout::GetKeyValue(Registry::Handle KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
    Registry& registry = services_.registry;
    Registry::Handle hKey = 0;
    if (registry.openKey(KeyRoot, KeyName, 0, KEY_ALL_ACCESS, hKey) != Registry::kSuccess) {
        KeyVal.clear();
        return false;
    }
    // The key is closed on every way out, a thrown error included.
    struct Closer {
        Registry& registry;
        Registry::Handle key;
        ~Closer() { registry.closeKey(key); }
    } closer{registry, hKey};

    std::array<std::uint8_t, kValueBufferSize> tmpVal{};
    std::uint32_t KeyValType = 0;
    std::uint32_t KeyValSize = kValueBufferSize;
    if (registry.queryValue(hKey, SubKeyRef, KeyValType, tmpVal, KeyValSize) != Registry::kSuccess ||
        KeyValSize > tmpVal.size()) {
        KeyVal.clear();
        return false;
    }

    // A value stored with its terminating zero loses it; one stored without keeps every byte.
    std::size_t kept = KeyValSize;
    if (kept > 0 && tmpVal[kept - 1] == 0) --kept;
    const auto value = std::span(tmpVal).first(kept);

    switch (KeyValType) {
    case Registry::kString:
        KeyVal.assign(value.begin(), value.end());
        break;
    case Registry::kNumber: {
        // The bytes from the last to the first, after what KeyVal held, as "&h" hex.
        std::string digits = KeyVal;
        for (auto byte = value.rbegin(); byte != value.rend(); ++byte) digits += hexOf(*byte);
        KeyVal = "&h" + digits;
        break;
    }
    default:
        break; // KeyVal keeps what it held
    }
    return true;
}

AboutBox::AboutBox(const SysInfoServices& services) : services_(services) {}

AboutBox::~AboutBox() {
    delete box_.data();
}

void AboutBox::show() {
    if (!box_ || !box_->isVisible()) {
        // A box that was closed is on its way out; a new one loads in its place.
        if (box_) box_->deleteLater();
        box_ = new frmAbout(services_);
        box_->Form_Load();
    }
    box_->show();
    box_->raise();
    box_->activateWindow();
}

frmAbout* AboutBox::current() const {
    return box_ && box_->isVisible() ? box_.data() : nullptr;
}

} // namespace tarvex::about
