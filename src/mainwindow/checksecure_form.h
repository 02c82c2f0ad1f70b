#pragma once
// frmChecksecure: why one site's password got its verdict, and which other sites use it.
#include "tools/security_audit.h"

#include <QDialog>

class QLabel;
class QListWidget;

namespace kv {

class frmChecksecure : public QDialog {
    Q_OBJECT
public:
    frmChecksecure(const PasswordDetails& details, QWidget* parent = nullptr);

    QLabel* Label2() const { return score_; }
    QLabel* Label4() const { return verdict_; }
    // Label10 to Label14: the marks of the five criteria.
    QLabel* mark(int index) const { return marks_[index]; }
    QListWidget* sharedWith() const { return shared_; }

private:
    QLabel* score_;
    QLabel* verdict_;
    QLabel* marks_[5] = {};
    QListWidget* shared_;
};

} // namespace kv
