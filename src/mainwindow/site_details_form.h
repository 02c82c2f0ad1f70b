#pragma once
// frmSiteDetails: a site's values in a property grid; three of them can be changed and saved.
#include "support/dialogs.h"

#include <QDialog>
#include <filesystem>

class QLabel;
class QPushButton;

namespace kv {

class PropertyGrid;

class frmSiteDetails : public QDialog {
    Q_OBJECT
public:
    frmSiteDetails(std::filesystem::path sitePath, Dialogs& dialogs, QWidget* parent = nullptr);

    PropertyGrid* wndPropertyGrid() const { return grid_; }
    QPushButton* cmdSaveOptions() const { return save_; }
    QLabel* lblOptionsSaved() const { return saved_; }

private:
    void cmdSaveOptions_Click();

    std::filesystem::path sitePath_;
    Dialogs& dialogs_;
    PropertyGrid* grid_;
    QPushButton* save_;
    QLabel* saved_;
};

} // namespace kv
