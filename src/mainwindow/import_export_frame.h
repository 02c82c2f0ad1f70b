#pragma once
// fraImportExport and its pages fraExport1, fraExport2, fraImport1, fraImport2 and the CSV
// page: export, import and print of sites, and moving in from other programs. The pages
// lie where the area lies; the rules live in tools/.
#include "platform/desktop_shell.h"
#include "support/dialogs.h"
#include "tools/exchange_items.h"

#include <QGroupBox>
#include <filesystem>
#include <functional>
#include <vector>

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kv {

struct ImportExportContext {
    std::filesystem::path sitesDirectory;
    std::filesystem::path home; // where the exchange folder is proposed
    Dialogs& dialogs;
    DesktopShell* shell = nullptr;    // opens the export folder
    std::function<void()> printSites; // the print page in the program's browser
};

class ImportExportFrame : public QGroupBox {
    Q_OBJECT
public:
    // The pages are made beside this frame, as children of parent.
    ImportExportFrame(ImportExportContext context, QWidget* parent);

    // Showing the area: option index checked, its button alone shown.
    void OptionImportExport_Click(int index);
    QList<QWidget*> pages() const { return pages_; }

    QButtonGroup* OptionImportExport() const { return options_; }
    QTreeWidget* ListView3() const { return exportList_; }
    QTreeWidget* ListView4() const { return importList_; }
    QLineEdit* txtExportDir() const { return exportDir_; }
    QLineEdit* txtImportDir() const { return importDir_; }
    QLineEdit* txtCsvFile() const { return csvFile_; }

    void cmdExport_Click();
    void cmdExportNext1_Click();
    void cmdFinishExport_Click();
    void cmdImport_Click();
    void cmdImportNext1_Click();
    void cmdFinishImport_Click();
    void cmdImportCsv_Click();
    void cmdFinishCsvImport_Click();
    void CmdPrint_Click();

private:
    QGroupBox* makePage(const char* name, std::string_view caption);
    void showPage(QWidget* page);
    void fillList(QTreeWidget* list, const std::vector<ExchangeItem>& items, QPushButton* selectAll);
    std::vector<ExchangeItem> listedItems(QTreeWidget* list) const;
    void toggleAll(QTreeWidget* list, QPushButton* button);
    void browseFolder(QLineEdit* text);
    void buildExportPages();
    void buildImportPages();
    void buildCsvPage();

    ImportExportContext context_;
    QButtonGroup* options_;
    QList<QPushButton*> optionButtons_;
    QList<QWidget*> pages_;
    QGroupBox* export1_ = nullptr;
    QGroupBox* export2_ = nullptr;
    QGroupBox* import1_ = nullptr;
    QGroupBox* import2_ = nullptr;
    QGroupBox* csv_ = nullptr;
    QTreeWidget* exportList_ = nullptr;
    QTreeWidget* importList_ = nullptr;
    QPushButton* exportSelectAll_ = nullptr;
    QPushButton* importSelectAll_ = nullptr;
    QLineEdit* exportDir_ = nullptr;
    QLineEdit* importDir_ = nullptr;
    QLineEdit* csvFile_ = nullptr;
};

} // namespace kv
