#pragma once
// frmWizard: the five steps of a new profile, shown beside a bar of steps. The rules
// (key filter, key building, the checks at Finish) are FirstRunWizard's.
#include "startup/first_run_wizard.h"

#include <QDialog>
#include <QTimer>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace kv {

class ShortcutBar;

class frmWizard : public QDialog {
    Q_OBJECT
public:
    explicit frmWizard(FirstRunWizard& logic, QWidget* parent = nullptr);

    ShortcutBar* wndShortcutBar() const { return bar_; }
    QLineEdit* txtDefaultDir() const { return defaultDir_; }
    QPushButton* cmdGenerateKey() const { return generate_; }
    QPushButton* cmdNext3() const { return next3_; }
    QProgressBar* ProgressBar1() const { return progress_; }
    QLabel* lblGenerate() const { return generateLabel_; }
    QButtonGroup* Option1() const { return options_; }
    QCheckBox* chkMakeCategories() const { return makeCategories_; }
    QPushButton* cmdFinish() const { return finish_; }
    QTimer& tmrGData() { return timer_; }
    int shownStep() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildWelcome();
    QWidget* buildStep1();
    QWidget* buildStep2();
    QWidget* buildStep3();
    QWidget* buildFinish();
    void cmdGenerateKey_Click();
    void tmrGData_Timer();
    void cmdFinish_Click();

    FirstRunWizard& logic_;
    ShortcutBar* bar_;
    QStackedWidget* frames_;
    QLineEdit* defaultDir_ = nullptr;
    QPushButton* generate_ = nullptr;
    QPushButton* next3_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* generateLabel_ = nullptr;
    QButtonGroup* options_ = nullptr;
    QCheckBox* makeCategories_ = nullptr;
    QPushButton* finish_ = nullptr;
    QTimer timer_;
};

} // namespace kv
