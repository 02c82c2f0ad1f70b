#pragma once
// fraHotkey: the lists of the ten site hotkeys. The rules live in HotkeyLists; this frame
// shows and forwards.
#include "hotkeys/hotkey_lists.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace kv {

class HotkeysFrame : public QGroupBox {
    Q_OBJECT
public:
    // registerAfresh: releases and registers every hotkey again after a save.
    HotkeysFrame(std::filesystem::path profileDirectory, std::filesystem::path profileFile, Dialogs& dialogs,
                 std::function<void()> registerAfresh, QWidget* parent = nullptr);

    // Opening the area: the first hotkey is selected, then its lists load once the frame shows.
    void selectFirstHotkey();
    void LoadHotkeyLists();

    QComboBox* cmbHotkey() const { return hotkeys_; }
    QListWidget* List2() const { return available_; }
    QListWidget* List3() const { return current_; }
    QPushButton* cmdAddHotkey() const { return add_; }
    QPushButton* cmdRemoveHotkey() const { return remove_; }
    QCheckBox* chkLockonhotkey() const { return lock_; }
    QPushButton* cmdHotkeyOK() const { return save_; }
    QLabel* Label15() const { return saved_; }

private:
    void cmbHotkey_Click();
    void cmdAddHotkey_Click();
    void cmdRemoveHotkey_Click();
    void cmdHotkeyOK_Click();
    void showLists();

    HotkeyLists lists_;
    QComboBox* hotkeys_;
    QListWidget* available_;
    QListWidget* current_;
    QPushButton* add_;
    QPushButton* remove_;
    QCheckBox* lock_;
    QPushButton* save_;
    QLabel* saved_;
};

} // namespace kv
