#include "mainwindow/about_frame.h"

#include "mainwindow/credits_widget.h"
#include "mainwindow/help_address.h"
#include "mainwindow/main_window_texts.h"
#include "version.h"

#include <QLabel>
#include <QVBoxLayout>

namespace kv {
namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, std::string_view text)
{
    auto* label = new QLabel(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

} // namespace

AboutFrame::AboutFrame(QWidget* parent)
    : QWidget(parent), credits_(new CreditsWidget(this)), version_(MakeLabel(this, "Label16", ""))
{
    setObjectName("fraAbout");
    auto* thanks = MakeLabel(this, "Label154", kAboutThanks);
    const std::string home = HomeAddress();
    auto* link = MakeLabel(this, "Label155", home);
    link->setTextFormat(Qt::RichText);
    link->setText(QString("<a href=\"%1\">%1</a>").arg(QString::fromStdString(home).toHtmlEscaped()));
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link->setCursor(Qt::PointingHandCursor);
    connect(link, &QLabel::linkActivated, this, &AboutFrame::homePageRequested);
    auto* compiled = MakeLabel(this, "Label17", kAboutCompiled);
    credits_->setMinimumHeight(160);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(credits_, 1);
    layout->addWidget(thanks);
    layout->addWidget(link);
    layout->addWidget(version_);
    layout->addWidget(compiled);
}

void AboutFrame::start()
{
    version_->setText(QString::fromStdString(VersionLabel(kVersionMajor, kVersionMinor, kVersionRevision)));
    credits_->StartCredits();
}

void AboutFrame::stop()
{
    credits_->stop();
}

} // namespace kv
