#pragma once
// fraBlock: the blocked addresses, with removal of one or all of them.
#include "browser/blocked_sites.h"
#include "support/dialogs.h"

#include <QGroupBox>

class QPushButton;
class QTreeWidget;

namespace kv {

class BlockedSitesFrame : public QGroupBox {
    Q_OBJECT
public:
    BlockedSitesFrame(const std::filesystem::path& profileFile, Dialogs& dialogs, QWidget* parent = nullptr);

    void RefreshBlockedList();
    QTreeWidget* ListView2() const { return list_; }

signals:
    void goBackToSites();

private:
    void cmdRemoveAllURL_Click();
    void cmdRemoveSingleURL_Click();

    BlockedSites blocked_;
    Dialogs& dialogs_;
    QTreeWidget* list_;
};

} // namespace kv
