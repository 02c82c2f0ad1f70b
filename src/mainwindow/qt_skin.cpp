#include "mainwindow/qt_skin.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QRegularExpression>
#include <QWidget>

namespace kv {

namespace {

bool parseFailed = false;

// Qt only says it could not parse a sheet, as a warning, when a widget using it is polished.
void NoteParseFailure(QtMsgType, const QMessageLogContext&, const QString& message)
{
    if (message.contains("Could not parse"))
        parseFailed = true;
}

// The links of the platform's own look, before any skin changed them.
const QPalette& PlatformPalette()
{
    static const QPalette palette = QApplication::palette();
    return palette;
}

void SetLinkColour(const std::optional<QColor>& colour)
{
    QPalette palette = QApplication::palette();
    for (const QPalette::ColorRole role : {QPalette::Link, QPalette::LinkVisited})
        palette.setColor(role, colour ? *colour : PlatformPalette().color(role));
    QApplication::setPalette(palette);
}

} // namespace

std::optional<QColor> SkinLinkColour(const QString& styleSheet)
{
    static const QRegularExpression rule(R"(KestrelynLink\s*\{[^}]*\bcolor\s*:\s*([^;}\s]+))");
    const QRegularExpressionMatch match = rule.match(styleSheet);
    if (!match.hasMatch())
        return std::nullopt;
    const QColor colour(match.captured(1));
    return colour.isValid() ? std::optional<QColor>(colour) : std::nullopt;
}

bool StyleSheetParses(const QString& styleSheet)
{
    parseFailed = false;
    const QtMessageHandler previous = qInstallMessageHandler(NoteParseFailure);
    {
        QWidget probe;
        probe.setStyleSheet(styleSheet);
        probe.ensurePolished();
    }
    qInstallMessageHandler(previous);
    return !parseFailed;
}

bool ApplySkin(const Skin& skin)
{
    PlatformPalette();
    if (skin.styleSheet.empty()) {
        qApp->setStyleSheet(QString());
        SetLinkColour(std::nullopt);
        return true;
    }
    QFile file(QString::fromStdString(skin.styleSheet.string()));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QString sheet = QString::fromUtf8(file.readAll());
    if (!StyleSheetParses(sheet))
        return false;
    qApp->setStyleSheet(sheet);
    SetLinkColour(SkinLinkColour(sheet));
    return true;
}

} // namespace kv
