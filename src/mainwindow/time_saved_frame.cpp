#include "mainwindow/time_saved_frame.h"

#include "tools/time_saved.h"
#include "tools/tools_texts.h"
#include "widgets/qt_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace kv {

TimeSavedFrame::TimeSavedFrame(std::filesystem::path sitesDirectory, QWidget* parent)
    : QGroupBox(ToQString("Time Saved"), parent), sitesDirectory_(std::move(sitesDirectory)),
      seconds_(new QComboBox(this)), summary_(new QLabel(this)), manualTime_(new QLabel(this))
{
    setObjectName("fraTimeSaved");
    seconds_->setObjectName("cmbTimePerLogin");
    for (std::string_view choice : kSecondsPerLoginChoices)
        seconds_->addItem(ToQString(choice));
    summary_->setObjectName("Label14");
    manualTime_->setObjectName("Label44");

    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(ToQString(kTimeSavedHint), this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    layout->addWidget(seconds_);
    layout->addWidget(summary_);
    layout->addWidget(manualTime_);
    layout->addWidget(new QLabel(ToQString(kTotalSavingsCaption), this));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 4; ++i) {
        figures_[i] = new QLabel("0", this);
        figures_[i]->setObjectName(QString("Label%1").arg(8 + i));
        grid->addWidget(figures_[i], 0, i);
        grid->addWidget(new QLabel(ToQString(kTimeUnitCaptions[static_cast<std::size_t>(i)]), this), 1, i);
    }
    layout->addLayout(grid);
    layout->addWidget(new QLabel(ToQString(kSavingsFooter), this));
    layout->addStretch();

    connect(seconds_, &QComboBox::currentIndexChanged, this, &TimeSavedFrame::cmbTimePerLogin_Click);
}

void TimeSavedFrame::refresh()
{
    recount(kDefaultSecondsPerLogin);
    // Selecting the entry that is already selected raises nothing; run the handler anyway.
    const QSignalBlocker quiet(seconds_);
    seconds_->setCurrentIndex(0);
    cmbTimePerLogin_Click();
}

void TimeSavedFrame::cmbTimePerLogin_Click()
{
    if (!isVisible())
        return;
    recount(seconds_->currentText().toInt());
    manualTime_->setText(ToQString(ManualTimeText(seconds_->currentText().toStdString())));
}

void TimeSavedFrame::recount(int secondsPerLogin)
{
    const TimeSaved saved = ComputeTimeSaved(CountAutomaticLogins(sitesDirectory_), secondsPerLogin);
    summary_->setText(ToQString(LoggedIntoText(saved.logins)));
    const std::int64_t values[] = {saved.days, saved.hours, saved.minutes, saved.seconds};
    for (int i = 0; i < 4; ++i)
        figures_[i]->setText(QString::number(values[i]));
}

} // namespace kv
