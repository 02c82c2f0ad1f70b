#pragma once
// The cleanup part of the Options area's Browser tab: the "Browser information" box with the
// counts and "Clear all", and the exit cleanup check boxes. BrowserCleanupPanel decides; this
// widget shows and forwards. The Options frame hosts it and calls loadOptions and saveOptions
// in its own load and save.
#include "cleanup/browser_cleanup_panel.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kv {

class BrowserCleanupWidget : public QWidget {
    Q_OBJECT
public:
    explicit BrowserCleanupWidget(BrowserCleanupPanel& panel, QWidget* parent = nullptr);

    void loadOptions();
    void saveOptions();
    // The controls in the Browser tab's tab order, after the tab's own ones.
    QList<QWidget*> tabOrder() const;

    QLineEdit* txtCookies() const { return cookies_; }
    QLineEdit* txtHistory() const { return history_; }
    QLineEdit* txtTemp() const { return temp_; }
    QLineEdit* txtTotal() const { return total_; }
    QPushButton* cmdClearAll() const { return clearAll_; }
    QCheckBox* chkCookies() const { return chkCookies_; }
    QCheckBox* chkHistory() const { return chkHistory_; }
    QCheckBox* chkTemp() const { return chkTemp_; }
    QCheckBox* chkDelAll() const { return chkDelAll_; }
    QCheckBox* chkDeletePrompt() const { return chkDeletePrompt_; }

signals:
    // The count boxes show fresh counts.
    void countsShown();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdClearAll_Click();
    void chkDelAll_Click(bool checked);
    BrowserCleanupPanel::CountsShown showCounts();
    CategoryChoices categoryChoices() const;

    BrowserCleanupPanel& panel_;
    QLineEdit* cookies_ = nullptr;
    QLineEdit* history_ = nullptr;
    QLineEdit* temp_ = nullptr;
    QLineEdit* total_ = nullptr;
    QPushButton* clearAll_ = nullptr;
    QCheckBox* chkCookies_ = nullptr;
    QCheckBox* chkHistory_ = nullptr;
    QCheckBox* chkTemp_ = nullptr;
    QCheckBox* chkDelAll_ = nullptr;
    QCheckBox* chkDeletePrompt_ = nullptr;
};

} // namespace kv
