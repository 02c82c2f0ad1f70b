#include "mainwindow/security_audit_frame.h"

#include "mainwindow/checksecure_form.h"
#include "tools/security_audit.h"
#include "tools/tools_texts.h"
#include "widgets/qt_text.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kv {

namespace {
constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kColumnTwips[] = {3780, 1200, 1200, 1200};
} // namespace

SecurityAuditFrame::SecurityAuditFrame(std::filesystem::path sitesDirectory, QWidget* parent)
    : QGroupBox(ToQString("Security Audit"), parent), sitesDirectory_(std::move(sitesDirectory)),
      list_(new QTreeWidget(this))
{
    setObjectName("fraSecurityAudit");
    list_->setObjectName("ListView1");
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({ToQString(kAuditSiteColumn), ToQString(kAuditLoginColumn),
                            ToQString(kAuditPasswordColumn), ToQString(kAuditReusedColumn)});
    for (int i = 0; i < 4; ++i)
        list_->setColumnWidth(i, kColumnTwips[i] * logicalDpiX() / 1440);
    list_->header()->setSectionsClickable(true);
    list_->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ToQString(kAuditHint), this));
    layout->addWidget(list_);

    connect(list_->header(), &QHeaderView::sectionClicked, this, &SecurityAuditFrame::ListView1_ColumnClick);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &SecurityAuditFrame::openDetails);
}

void SecurityAuditFrame::fill()
{
    list_->clear();
    for (const AuditRow& row : AuditSites(sitesDirectory_)) {
        auto* item = new QTreeWidgetItem(
            list_, {QString::fromStdString(row.site), QString::fromStdString(row.login),
                    QString::fromStdString(row.password), row.reused ? ToQString(kReusedMark) : QString()});
        item->setData(0, kFileRole, QString::fromStdString(row.file.string()));
    }
    list_->sortItems(
        list_->header()->sortIndicatorSection() < 0 ? 0 : list_->header()->sortIndicatorSection(), order_);
    if (list_->topLevelItemCount() > 0)
        list_->setCurrentItem(list_->topLevelItem(0));
}

void SecurityAuditFrame::ListView1_ColumnClick(int column)
{
    // Every click reverses the order, whichever column it sorts by.
    order_ = order_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    list_->sortItems(column, order_);
    list_->header()->setSortIndicator(column, order_);
}

bool SecurityAuditFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const auto held = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
        if (enter && !held) {
            openDetails();
            return true;
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

void SecurityAuditFrame::openDetails()
{
    QTreeWidgetItem* item = list_->currentItem();
    if (list_->topLevelItemCount() == 0 || !item)
        return;
    const std::filesystem::path file = item->data(0, kFileRole).toString().toStdString();
    frmChecksecure details(CheckPassword(file, sitesDirectory_), this);
    emit detailsOpening(&details);
    details.exec();
}

} // namespace kv
