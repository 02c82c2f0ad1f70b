#include "mainwindow/hotkeys_frame.h"

#include "hotkeys/hotkey_texts.h"
#include "startup/profile_settings.h"
#include "widgets/qt_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv {
namespace {

template <typename Widget> Widget* Named(Widget* widget, const char* name, std::string_view tip = {})
{
    widget->setObjectName(name);
    if (!tip.empty())
        widget->setToolTip(ToQString(tip));
    return widget;
}

std::optional<int> SelectedRow(const QListWidget* list)
{
    const int row = list->currentRow();
    return row >= 0 && list->currentItem() && list->currentItem()->isSelected() ? std::optional<int>(row)
                                                                                : std::nullopt;
}

void Fill(QListWidget* list, const std::vector<std::string>& names)
{
    list->clear();
    for (const std::string& name : names)
        list->addItem(QString::fromStdString(name));
}

void Select(QListWidget* list, std::optional<int> row)
{
    if (row)
        list->setCurrentRow(*row);
}

} // namespace

HotkeysFrame::HotkeysFrame(std::filesystem::path profileDirectory, std::filesystem::path profileFile,
                           Dialogs& dialogs, std::function<void()> registerAfresh, QWidget* parent)
    : QGroupBox("Hotkeys", parent),
      lists_(std::move(profileDirectory), std::move(profileFile), dialogs, std::move(registerAfresh)),
      hotkeys_(Named(new QComboBox(this), "cmbHotkey", kSelectHotkeyTip)),
      available_(Named(new QListWidget(this), "List2", kAvailableSitesTip)),
      current_(Named(new QListWidget(this), "List3", kCurrentHotkeyListTip)),
      add_(Named(new QPushButton(ToQString(kAddHotkeyCaption), this), "cmdAddHotkey", kAddHotkeyTip)),
      remove_(
          Named(new QPushButton(ToQString(kRemoveHotkeyCaption), this), "cmdRemoveHotkey", kRemoveHotkeyTip)),
      lock_(Named(new QCheckBox(ToQString(kLockOnHotkeyCaption), this), "chkLockonhotkey", kLockOnHotkeyTip)),
      save_(Named(new QPushButton(ToQString(kSaveHotkeyCaption), this), "cmdHotkeyOK")),
      saved_(Named(new QLabel(ToQString(kHotkeySavedCaption), this), "Label15"))
{
    setObjectName("fraHotkey");
    for (int n = 1; n <= kSiteHotkeyCount; ++n)
        hotkeys_->addItem(ToQString(kHotkeyEntryPrefix) + QString::number(n));
    saved_->hide();

    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(add_);
    buttons->addWidget(remove_);
    buttons->addStretch();
    auto* lists = new QHBoxLayout;
    lists->addWidget(available_);
    lists->addLayout(buttons);
    lists->addWidget(current_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lock_);
    bottom->addStretch();
    bottom->addWidget(saved_);
    bottom->addWidget(save_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hotkeys_);
    layout->addLayout(lists);
    layout->addLayout(bottom);

    connect(hotkeys_, &QComboBox::currentIndexChanged, this, &HotkeysFrame::cmbHotkey_Click);
    connect(add_, &QPushButton::clicked, this, &HotkeysFrame::cmdAddHotkey_Click);
    connect(remove_, &QPushButton::clicked, this, &HotkeysFrame::cmdRemoveHotkey_Click);
    connect(save_, &QPushButton::clicked, this, &HotkeysFrame::cmdHotkeyOK_Click);
}

void HotkeysFrame::selectFirstHotkey()
{
    hotkeys_->setCurrentIndex(0);
}

void HotkeysFrame::LoadHotkeyLists()
{
    lists_.LoadHotkeyLists(hotkeys_->currentIndex() + 1);
    lock_->setChecked(lists_.lockOnHotkey());
    showLists();
}

void HotkeysFrame::cmbHotkey_Click()
{
    if (isVisible())
        LoadHotkeyLists();
}

void HotkeysFrame::cmdAddHotkey_Click()
{
    const auto next = lists_.AddToHotkey(SelectedRow(available_));
    showLists();
    Select(available_, next);
}

void HotkeysFrame::cmdRemoveHotkey_Click()
{
    const auto next = lists_.RemoveFromHotkey(SelectedRow(current_));
    showLists();
    Select(current_, next);
}

void HotkeysFrame::cmdHotkeyOK_Click()
{
    lists_.SaveHotkeyList(lock_->isChecked());
    showLists();
}

void HotkeysFrame::showLists()
{
    Fill(available_, lists_.availableSites());
    Fill(current_, lists_.hotkeySites());
    saved_->setVisible(lists_.savedShown());
}

} // namespace kv
