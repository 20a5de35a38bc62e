#include "window/module1.h"
#include "window/tarvex.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Text Tarvex"));
    QApplication::setApplicationVersion(QStringLiteral("1.1"));
    const auto window = tarvex::window::Module1::Main();
    return QApplication::exec();
}
