#include "platform/qt/qt_shell.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

#include "platform/text.h"

namespace vorsa {

void QtShell::Open(const std::string& path) {
    const std::string utf8 = Cp1252ToUtf8(path);
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()))));
}

}  // namespace vorsa
