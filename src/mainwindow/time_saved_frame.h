#pragma once
// fraTimeSaved: the automatic logins of all sites and the time they saved.
#include <QGroupBox>
#include <filesystem>

class QComboBox;
class QLabel;

namespace kv {

class TimeSavedFrame : public QGroupBox {
    Q_OBJECT
public:
    TimeSavedFrame(std::filesystem::path sitesDirectory, QWidget* parent = nullptr);

    // Showing the area: recount with five seconds, then select the first entry.
    void refresh();

    QComboBox* cmbTimePerLogin() const { return seconds_; }
    QLabel* Label14() const { return summary_; }
    QLabel* Label44() const { return manualTime_; }
    // Label8 to Label11: days, hours, minutes, seconds.
    QLabel* figure(int index) const { return figures_[index]; }

private:
    void cmbTimePerLogin_Click();
    void recount(int secondsPerLogin);

    std::filesystem::path sitesDirectory_;
    QComboBox* seconds_;
    QLabel* summary_;
    QLabel* manualTime_;
    QLabel* figures_[4] = {};
};

} // namespace kv
