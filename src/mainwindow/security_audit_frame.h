#pragma once
// fraSecurityAudit: every site with a verdict for its login and password and a mark for a
// password that other sites share; the details of one site open in frmChecksecure.
#include <QGroupBox>
#include <filesystem>

class QTreeWidget;

namespace kv {

class SecurityAuditFrame : public QGroupBox {
    Q_OBJECT
public:
    SecurityAuditFrame(std::filesystem::path sitesDirectory, QWidget* parent = nullptr);

    void fill();
    QTreeWidget* ListView1() const { return list_; }

signals:
    // Emitted before the modal details window is shown (tests close it from here).
    void detailsOpening(QWidget* details);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ListView1_ColumnClick(int column);
    void openDetails();

    std::filesystem::path sitesDirectory_;
    QTreeWidget* list_;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

} // namespace kv
