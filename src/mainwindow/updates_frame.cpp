#include "mainwindow/updates_frame.h"

#include "mainwindow/main_window_texts.h"
#include "update/update_settings.h"
#include "update/update_texts.h"
#include "widgets/qt_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kv {
namespace {

template <typename Widget> Widget* Named(Widget* widget, const char* name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace

UpdatesFrame::UpdatesFrame(Updates& updates, QWidget* parent)
    : QGroupBox("Updates", parent), updates_(updates),
      automatic_(Named(new QRadioButton(ToQString(kAutomaticUpdatesCaption), this), "optUpdates_0")),
      manual_(Named(new QRadioButton(ToQString(kManualUpdatesCaption), this), "optUpdates_1")),
      frequencyLabel_(Named(new QLabel(ToQString(kFrequencyLabel), this), "Label32")),
      frequency_(Named(new QComboBox(this), "cmdUpdateFrequency")),
      check_(Named(new QPushButton(ToQString(kManualUpdateButton), this), "cmdManualUpdate")),
      sitesLabel_(Named(new QLabel(ToQString(kDownloadSiteLabel), this), "Label29")),
      sites_(Named(new QComboBox(this), "cmbDownloadSite")),
      status_(Named(new QLabel(this), "lblUpdateStatus")),
      progress_(Named(new QProgressBar(this), "prgDownload")),
      download_(Named(new QLabel(this), "lblDownload"))
{
    setObjectName("fraUpdates");
    for (const std::string_view frequency : {kFrequencyDaily, kFrequencyWeekly, kFrequencyMonthly})
        frequency_->addItem(ToQString(frequency));
    for (const std::string& site : updates_.downloadSites)
        sites_->addItem(QString::fromStdString(site));
    progress_->setRange(0, 100);
    progress_->hide();
    auto* proxy = Named(new QPushButton(ToQString(kProxySetupButton), this), "cmd_ProxySetup");

    auto* choices = new QGridLayout;
    choices->addWidget(frequencyLabel_, 0, 0);
    choices->addWidget(frequency_, 0, 1);
    choices->addWidget(sitesLabel_, 1, 0);
    choices->addWidget(sites_, 1, 1);
    choices->addWidget(check_, 2, 1);
    choices->setColumnStretch(2, 1);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(download_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(automatic_);
    layout->addWidget(manual_);
    layout->addLayout(choices);
    layout->addWidget(status_);
    layout->addLayout(progressRow);
    layout->addStretch();
    layout->addWidget(proxy, 0, Qt::AlignLeft);

    connect(automatic_, &QRadioButton::clicked, this, [this] { updates_.area.optUpdates_Click(*this, 0); });
    connect(manual_, &QRadioButton::clicked, this, [this] { updates_.area.optUpdates_Click(*this, 1); });
    connect(frequency_, &QComboBox::activated, this,
            [this] { updates_.area.cmdUpdateFrequency_Click(frequency_->currentText().toStdString()); });
    connect(check_, &QPushButton::clicked, this,
            [this] { updates_.check.cmdManualUpdate_Click(sites_->currentText().toStdString()); });
    connect(proxy, &QPushButton::clicked, this, &UpdatesFrame::proxySetupRequested);
    updates_.check.attach(*this);
}

UpdatesFrame::~UpdatesFrame()
{
    updates_.check.detach();
}

void UpdatesFrame::showStoredSettings()
{
    download_->clear();
    updates_.area.ShowSettings(*this);
}

void UpdatesFrame::selectUpdateMode(int index)
{
    optUpdates(index)->setChecked(true);
}

void UpdatesFrame::showFrequencyControls(bool shown)
{
    frequency_->setVisible(shown);
    frequencyLabel_->setVisible(shown);
}

void UpdatesFrame::showManualControls(bool shown)
{
    check_->setVisible(shown);
    sites_->setVisible(shown);
    sitesLabel_->setVisible(shown);
}

void UpdatesFrame::selectFrequency(std::string_view frequency)
{
    frequency_->setCurrentText(ToQString(frequency));
}

void UpdatesFrame::selectFirstDownloadSite()
{
    sites_->setCurrentIndex(sites_->count() > 0 ? 0 : -1);
}

void UpdatesFrame::setCaption(std::string_view caption)
{
    window()->setWindowTitle(ToQString(caption));
}

void UpdatesFrame::restoreCaption()
{
    window()->setWindowTitle(ToQString(kMainWindowCaption));
}

void UpdatesFrame::setStatus(std::string_view text)
{
    status_->setText(ToQString(text));
}

void UpdatesFrame::setDownloadText(std::string_view text)
{
    download_->setText(ToQString(text));
}

void UpdatesFrame::showProgress(bool shown)
{
    progress_->setVisible(shown);
}

void UpdatesFrame::setProgress(int percent)
{
    progress_->setValue(percent);
}

bool UpdatesFrame::windowVisible() const
{
    return window()->isVisible();
}

} // namespace kv
