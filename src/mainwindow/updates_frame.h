#pragma once
// fraUpdates: automatic or manual checks, the frequency, the manual check with its download
// site, the check's status and progress, and the way to the proxy dialog. It shows what the
// update logic says and forwards the user's actions.
#include "update/update_display.h"
#include "update/updates.h"
#include "update/updates_area.h"

#include <QGroupBox>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace kv {

class UpdatesFrame : public QGroupBox, public UpdatesAreaView, public UpdateDisplay {
    Q_OBJECT
public:
    explicit UpdatesFrame(Updates& updates, QWidget* parent = nullptr);
    ~UpdatesFrame() override;

    // When the area opens: an empty download label and the stored choices.
    void showStoredSettings();

    // UpdatesAreaView
    void selectUpdateMode(int index) override;
    void showFrequencyControls(bool shown) override;
    void showManualControls(bool shown) override;
    void selectFrequency(std::string_view frequency) override;
    void selectFirstDownloadSite() override;

    // UpdateDisplay
    void setCaption(std::string_view caption) override;
    void restoreCaption() override;
    void setStatus(std::string_view text) override;
    void setDownloadText(std::string_view text) override;
    void showProgress(bool shown) override;
    void setProgress(int percent) override;
    bool windowVisible() const override;

    QRadioButton* optUpdates(int index) const { return index == 0 ? automatic_ : manual_; }
    QComboBox* cmdUpdateFrequency() const { return frequency_; }
    QComboBox* cmbDownloadSite() const { return sites_; }
    QPushButton* cmdManualUpdate() const { return check_; }
    QLabel* lblUpdateStatus() const { return status_; }
    QLabel* lblDownload() const { return download_; }
    QProgressBar* prgDownload() const { return progress_; }

signals:
    void proxySetupRequested();

private:
    Updates& updates_;
    QRadioButton* automatic_;
    QRadioButton* manual_;
    QLabel* frequencyLabel_;
    QComboBox* frequency_;
    QPushButton* check_;
    QLabel* sitesLabel_;
    QComboBox* sites_;
    QLabel* status_;
    QProgressBar* progress_;
    QLabel* download_;
};

} // namespace kv
