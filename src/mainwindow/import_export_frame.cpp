#include "mainwindow/import_export_frame.h"

#include "tools/csv_import.h"
#include "tools/exchange_texts.h"
#include "tools/site_export.h"
#include "tools/site_import.h"
#include "widgets/qt_text.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

namespace {

constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kExportColumnTwips = 6000;

QPushButton* Button(QWidget* parent, const char* name, std::string_view text)
{
    auto* button = new QPushButton(ToQString(text), parent);
    button->setObjectName(name);
    return button;
}

QLineEdit* TextBox(QWidget* parent, const char* name)
{
    auto* text = new QLineEdit(parent);
    text->setObjectName(name);
    return text;
}

QTreeWidget* CheckList(QWidget* parent, const char* name)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setHeaderLabels({ToQString(kSiteColumn)});
    list->setSortingEnabled(true);
    list->sortByColumn(0, Qt::AscendingOrder);
    return list;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretchFirst = false)
{
    auto* row = new QHBoxLayout;
    if (!stretchFirst)
        row->addStretch();
    for (QWidget* widget : widgets)
        row->addWidget(widget, stretchFirst && widget == *widgets.begin() ? 1 : 0);
    return row;
}

} // namespace

ImportExportFrame::ImportExportFrame(ImportExportContext context, QWidget* parent)
    : QGroupBox(ToQString("Import/Export"), parent), context_(std::move(context)),
      options_(new QButtonGroup(this))
{
    setObjectName("fraImportExport");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ToQString(kExchangeWelcome), this));
    const std::string_view captions[] = {kExportOption, kImportOption, kPrintOption, kCsvImportOption};
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(ToQString(captions[i]), this);
        option->setObjectName(QString("OptionImportExport_%1").arg(i));
        options_->addButton(option, i);
        layout->addWidget(option);
    }
    optionButtons_ = {Button(this, "cmdExport", kExportButton), Button(this, "cmdImport", kImportButton),
                      Button(this, "CmdPrint", kPrintButton), Button(this, "cmdImportCsv", kImportButton)};
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : optionButtons_)
        buttons->addWidget(button);
    layout->addLayout(buttons);
    layout->addStretch();

    connect(options_, &QButtonGroup::idClicked, this, &ImportExportFrame::OptionImportExport_Click);
    connect(optionButtons_[0], &QPushButton::clicked, this, &ImportExportFrame::cmdExport_Click);
    connect(optionButtons_[1], &QPushButton::clicked, this, &ImportExportFrame::cmdImport_Click);
    connect(optionButtons_[2], &QPushButton::clicked, this, &ImportExportFrame::CmdPrint_Click);
    connect(optionButtons_[3], &QPushButton::clicked, this, &ImportExportFrame::cmdImportCsv_Click);

    buildExportPages();
    buildImportPages();
    buildCsvPage();
    for (QWidget* page : pages_)
        page->hide();
    OptionImportExport_Click(0);
}

QGroupBox* ImportExportFrame::makePage(const char* name, std::string_view caption)
{
    auto* page = new QGroupBox(ToQString(caption), parentWidget());
    page->setObjectName(name);
    pages_.append(page);
    return page;
}

void ImportExportFrame::buildExportPages()
{
    export1_ = makePage("fraExport1", kExport1Caption);
    exportList_ = CheckList(export1_, "ListView3");
    exportList_->setColumnWidth(0, kExportColumnTwips * logicalDpiX() / 1440);
    exportSelectAll_ = Button(export1_, "cmdExportSelectAll", kCheckAll);
    auto* back1 = Button(export1_, "cmdExportBack1", kGoBackButton);
    auto* next1 = Button(export1_, "cmdExportNext1", kNextButton);
    auto* layout1 = new QVBoxLayout(export1_);
    layout1->addWidget(exportList_);
    layout1->addLayout(Row({exportSelectAll_, back1, next1}));

    export2_ = makePage("fraExport2", kExport2Caption);
    exportDir_ = TextBox(export2_, "txtExportDir");
    auto* browse = Button(export2_, "cmdExportBrowse", kBrowseButton);
    auto* back2 = Button(export2_, "cmdExportBack2", kGoBackButton);
    auto* finish = Button(export2_, "cmdFinishExport", kFinishButton);
    auto* note = new QLabel(ToQString(kExportNote), export2_);
    note->setWordWrap(true);
    auto* layout2 = new QVBoxLayout(export2_);
    layout2->addLayout(Row({exportDir_, browse}, true));
    layout2->addWidget(note);
    layout2->addStretch();
    layout2->addLayout(Row({back2, finish}));

    connect(exportSelectAll_, &QPushButton::clicked, this,
            [this] { toggleAll(exportList_, exportSelectAll_); });
    connect(next1, &QPushButton::clicked, this, &ImportExportFrame::cmdExportNext1_Click);
    connect(back1, &QPushButton::clicked, this, [this] { showPage(this); });
    connect(browse, &QPushButton::clicked, this, [this] { browseFolder(exportDir_); });
    connect(back2, &QPushButton::clicked, this, [this] { showPage(export1_); });
    connect(finish, &QPushButton::clicked, this, &ImportExportFrame::cmdFinishExport_Click);
}

void ImportExportFrame::buildImportPages()
{
    import1_ = makePage("fraImport1", kImport1Caption);
    importDir_ = TextBox(import1_, "txtImportDir");
    auto* browse = Button(import1_, "cmdImportBrowse", kBrowseButton);
    auto* back1 = Button(import1_, "cmdImportBack1", kGoBackButton);
    auto* next1 = Button(import1_, "cmdImportNext1", kNextButton);
    auto* layout1 = new QVBoxLayout(import1_);
    layout1->addLayout(Row({importDir_, browse}, true));
    layout1->addStretch();
    layout1->addLayout(Row({back1, next1}));

    import2_ = makePage("fraImport2", kImport2Caption);
    importList_ = CheckList(import2_, "ListView4");
    importSelectAll_ = Button(import2_, "cmdImportSelectAll", kCheckAll);
    auto* back2 = Button(import2_, "cmdImportBack2", kGoBackButton);
    auto* finish = Button(import2_, "cmdFinishImport", kFinishButton);
    auto* layout2 = new QVBoxLayout(import2_);
    layout2->addWidget(importList_);
    layout2->addLayout(Row({importSelectAll_, back2, finish}));

    connect(browse, &QPushButton::clicked, this, [this] { browseFolder(importDir_); });
    connect(back1, &QPushButton::clicked, this, [this] { showPage(this); });
    connect(next1, &QPushButton::clicked, this, &ImportExportFrame::cmdImportNext1_Click);
    connect(importSelectAll_, &QPushButton::clicked, this,
            [this] { toggleAll(importList_, importSelectAll_); });
    connect(back2, &QPushButton::clicked, this, [this] { showPage(import1_); });
    connect(finish, &QPushButton::clicked, this, &ImportExportFrame::cmdFinishImport_Click);
}

void ImportExportFrame::buildCsvPage()
{
    csv_ = makePage("fraImportCsv", kCsvCaption);
    csvFile_ = TextBox(csv_, "txtCsvFile");
    auto* browse = Button(csv_, "cmdCsvBrowse", kBrowseButton);
    auto* back = Button(csv_, "cmdCsvBack", kGoBackButton);
    auto* finish = Button(csv_, "cmdFinishCsvImport", kFinishButton);
    auto* layout = new QVBoxLayout(csv_);
    layout->addLayout(Row({csvFile_, browse}, true));
    layout->addStretch();
    layout->addLayout(Row({back, finish}));

    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file =
            QFileDialog::getOpenFileName(window(), ToQString(kChooseCsvTitle),
                                         QString::fromStdString(context_.home.string()), "CSV (*.csv);;*");
        if (!file.isEmpty())
            csvFile_->setText(file);
    });
    connect(back, &QPushButton::clicked, this, [this] { showPage(this); });
    connect(finish, &QPushButton::clicked, this, &ImportExportFrame::cmdFinishCsvImport_Click);
}

void ImportExportFrame::OptionImportExport_Click(int index)
{
    if (auto* option = options_->button(index))
        option->setChecked(true);
    for (int i = 0; i < optionButtons_.size(); ++i)
        optionButtons_[i]->setVisible(i == index);
}

void ImportExportFrame::showPage(QWidget* page)
{
    hide();
    for (QWidget* other : pages_)
        other->hide();
    page->setGeometry(geometry());
    page->raise();
    page->show();
}

void ImportExportFrame::fillList(QTreeWidget* list, const std::vector<ExchangeItem>& items,
                                 QPushButton* selectAll)
{
    list->clear();
    for (const ExchangeItem& entry : items) {
        auto* item = new QTreeWidgetItem(list, {QString::fromStdString(entry.text)});
        item->setData(0, kFileRole, QString::fromStdString(entry.file.string()));
        item->setCheckState(0, Qt::Unchecked);
    }
    selectAll->setText(ToQString(kCheckAll));
}

std::vector<ExchangeItem> ImportExportFrame::listedItems(QTreeWidget* list) const
{
    std::vector<ExchangeItem> items;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        items.push_back({item->data(0, kFileRole).toString().toStdString(), item->text(0).toStdString(),
                         item->checkState(0) == Qt::Checked});
    }
    return items;
}

void ImportExportFrame::toggleAll(QTreeWidget* list, QPushButton* button)
{
    std::vector<ExchangeItem> items = listedItems(list);
    button->setText(ToQString(ToggleAllChecked(items, button->text().toStdString())));
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        list->topLevelItem(i)->setCheckState(0, items[static_cast<std::size_t>(i)].checked ? Qt::Checked
                                                                                           : Qt::Unchecked);
}

void ImportExportFrame::browseFolder(QLineEdit* text)
{
    if (auto folder = context_.dialogs.chooseFolder(kChooseFolderTitle, text->text().toStdString()))
        text->setText(QString::fromStdString(folder->string()));
}

void ImportExportFrame::cmdExport_Click()
{
    const std::vector<ExchangeItem> items = ExportList(context_.sitesDirectory);
    if (items.empty())
        return;
    fillList(exportList_, items, exportSelectAll_);
    showPage(export1_);
}

void ImportExportFrame::cmdExportNext1_Click()
{
    if (!kv::cmdExportNext1_Click(listedItems(exportList_), context_.dialogs))
        return;
    exportDir_->setText(QString::fromStdString(DefaultExchangeFolder(context_.home).string()));
    showPage(export2_);
}

void ImportExportFrame::cmdFinishExport_Click()
{
    if (kv::cmdFinishExport_Click(listedItems(exportList_), exportDir_->text().toStdString(),
                                  context_.sitesDirectory, context_.dialogs, context_.shell))
        showPage(this);
}

void ImportExportFrame::cmdImport_Click()
{
    importDir_->setText(QString::fromStdString(DefaultExchangeFolder(context_.home).string()));
    showPage(import1_);
}

void ImportExportFrame::cmdImportNext1_Click()
{
    const auto items =
        kv::cmdImportNext1_Click(importDir_->text().toStdString(), context_.sitesDirectory, context_.dialogs);
    if (!items)
        return;
    fillList(importList_, *items, importSelectAll_);
    showPage(import2_);
}

void ImportExportFrame::cmdFinishImport_Click()
{
    kv::cmdFinishImport_Click(listedItems(importList_), context_.sitesDirectory, context_.dialogs);
    showPage(this);
}

void ImportExportFrame::cmdImportCsv_Click()
{
    csvFile_->clear();
    showPage(csv_);
}

void ImportExportFrame::cmdFinishCsvImport_Click()
{
    if (kv::cmdFinishCsvImport_Click(csvFile_->text().toStdString(), context_.sitesDirectory,
                                     context_.dialogs))
        showPage(this);
}

void ImportExportFrame::CmdPrint_Click()
{
    if (context_.printSites)
        context_.printSites();
}

} // namespace kv
