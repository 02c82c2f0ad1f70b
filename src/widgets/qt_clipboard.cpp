#include "widgets/qt_clipboard.h"

#include "widgets/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace kv {

std::string QtClipboard::text() const
{
    return QGuiApplication::clipboard()->text().toStdString();
}

void QtClipboard::setText(std::string_view text)
{
    QGuiApplication::clipboard()->setText(ToQString(text));
}

void QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear();
}

} // namespace kv
