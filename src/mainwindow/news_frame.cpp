#include "mainwindow/news_frame.h"

#include "mainwindow/help_address.h"
#include "mainwindow/main_window_texts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kv {

NewsFrame::NewsFrame(QWidget* parent) : QGroupBox("News", parent)
{
    setObjectName("fraNews");
    auto* intro = new QLabel(QString::fromUtf8(kNewsLinkIntro.data(), kNewsLinkIntro.size()), this);
    intro->setWordWrap(true);
    const QString address = QString::fromStdString(NewsAddress());
    auto* link = new QLabel(QString("<a href=\"%1\">%1</a>").arg(address.toHtmlEscaped()), this);
    link->setObjectName("Label25");
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &QLabel::linkActivated, this, &NewsFrame::newsPageRequested);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(link);
    layout->addStretch();
}

} // namespace kv
