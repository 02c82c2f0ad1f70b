#include "mainwindow/qt_skin.h"

#include <QApplication>
#include <QFile>

namespace kv {

bool ApplySkin(const Skin& skin)
{
    if (skin.styleSheet.empty()) {
        qApp->setStyleSheet(QString());
        return true;
    }
    QFile file(QString::fromStdString(skin.styleSheet.string()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    qApp->setStyleSheet(QString::fromUtf8(file.readAll()));
    return true;
}

} // namespace kv
