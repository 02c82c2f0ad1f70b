#include "cleanup/browser_cleanup_widget.h"

#include "cleanup/cleanup_texts.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {
namespace {

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QLineEdit* MakeCount(QWidget* parent, const char* name, std::string_view tip)
{
    auto* box = new QLineEdit(QStringLiteral("0"), parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    if (!tip.empty()) {
        box->setToolTip(ToQString(tip));
        box->setCursor(Qt::PointingHandCursor);
    }
    return box;
}

QCheckBox* MakeCheck(QWidget* parent, const char* name, std::string_view caption)
{
    auto* box = new QCheckBox(ToQString(caption), parent);
    box->setObjectName(name);
    return box;
}

} // namespace

BrowserCleanupWidget::BrowserCleanupWidget(BrowserCleanupPanel& panel, QWidget* parent)
    : QWidget(parent), panel_(panel)
{
    auto* information = new QGroupBox(ToQString(kBrowserInformationCaption), this);
    cookies_ = MakeCount(information, "txtCookies", kCookiesFolderTip);
    history_ = MakeCount(information, "txtHistory", kHistoryFolderTip);
    temp_ = MakeCount(information, "txtTemp", kTempFolderTip);
    total_ = MakeCount(information, "txtTotal", {});
    clearAll_ = new QPushButton(ToQString(kClearAllCaption), information);
    clearAll_->setObjectName("cmdClearAll");

    auto* counts = new QGridLayout(information);
    const std::pair<std::string_view, QLineEdit*> rows[] = {{kCookiesCaption, cookies_},
                                                            {kHistoryCaption, history_},
                                                            {kTemporaryFilesCaption, temp_},
                                                            {kTotalCaption, total_}};
    int row = 0;
    for (const auto& [caption, box] : rows) {
        counts->addWidget(new QLabel(ToQString(caption), information), row, 0);
        counts->addWidget(box, row++, 1);
    }
    counts->addWidget(clearAll_, row, 1);

    chkCookies_ = MakeCheck(this, "chkCookies", kDeleteCookiesCaption);
    chkHistory_ = MakeCheck(this, "chkHistory", kDeleteHistoryCaption);
    chkTemp_ = MakeCheck(this, "chkTemp", kDeleteTempCaption);
    chkDelAll_ = MakeCheck(this, "chkDelAll", kDeleteAllCaption);
    chkDeletePrompt_ = MakeCheck(this, "chkDeletePrompt", kDeletePromptCaption);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(information);
    for (QCheckBox* box : {chkCookies_, chkHistory_, chkTemp_, chkDelAll_, chkDeletePrompt_})
        layout->addWidget(box);
    layout->addStretch(1);

    for (QLineEdit* box : {cookies_, history_, temp_})
        box->installEventFilter(this);
    connect(clearAll_, &QPushButton::clicked, this, &BrowserCleanupWidget::cmdClearAll_Click);
    connect(chkDelAll_, &QCheckBox::toggled, this, &BrowserCleanupWidget::chkDelAll_Click);
}

void BrowserCleanupWidget::loadOptions()
{
    const LoadedCleanupChoices loaded = panel_.load(showCounts());
    if (loaded.categories) {
        chkCookies_->setChecked(loaded.categories->chkCookies);
        chkHistory_->setChecked(loaded.categories->chkHistory);
        chkTemp_->setChecked(loaded.categories->chkTemp);
    }
    if (loaded.chkDelAll) {
        chkDelAll_->setChecked(*loaded.chkDelAll);
        chkDelAll_Click(*loaded.chkDelAll);
    }
    chkDeletePrompt_->setChecked(loaded.chkDeletePrompt);
}

void BrowserCleanupWidget::saveOptions()
{
    panel_.save({chkDelAll_->isChecked(), categoryChoices(), chkDeletePrompt_->isChecked()});
}

QList<QWidget*> BrowserCleanupWidget::tabOrder() const
{
    return {cookies_,    history_,    temp_,    total_,     clearAll_,
            chkCookies_, chkHistory_, chkTemp_, chkDelAll_, chkDeletePrompt_};
}

bool BrowserCleanupWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == cookies_)
            panel_.openFolder(EntryCategory::Cookie);
        else if (watched == history_)
            panel_.openFolder(EntryCategory::History);
        else if (watched == temp_)
            panel_.openFolder(EntryCategory::TemporaryFile);
    }
    return QWidget::eventFilter(watched, event);
}

void BrowserCleanupWidget::cmdClearAll_Click()
{
    panel_.cmdClearAll_Click(showCounts());
}

void BrowserCleanupWidget::chkDelAll_Click(bool checked)
{
    const CategoryBoxes boxes = DelAllInterlock(checked, categoryChoices());
    chkCookies_->setChecked(boxes.checked.chkCookies);
    chkHistory_->setChecked(boxes.checked.chkHistory);
    chkTemp_->setChecked(boxes.checked.chkTemp);
    for (QCheckBox* box : {chkCookies_, chkHistory_, chkTemp_})
        box->setEnabled(boxes.enabled);
}

BrowserCleanupPanel::CountsShown BrowserCleanupWidget::showCounts()
{
    // The counts come after the browser answered; the widget may be gone by then.
    return [self = QPointer<BrowserCleanupWidget>(this)](const CacheCounts& counts) {
        if (!self)
            return;
        self->history_->setText(QString::number(counts.history));
        self->cookies_->setText(QString::number(counts.cookie));
        self->temp_->setText(QString::number(counts.temp));
        self->total_->setText(QString::number(counts.total));
        emit self->countsShown();
    };
}

CategoryChoices BrowserCleanupWidget::categoryChoices() const
{
    return {chkCookies_->isChecked(), chkHistory_->isChecked(), chkTemp_->isChecked()};
}

} // namespace kv
