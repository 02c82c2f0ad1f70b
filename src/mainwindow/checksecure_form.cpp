#include "mainwindow/checksecure_form.h"

#include "tools/tools_texts.h"
#include "widgets/qt_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace kv {

namespace {
// The verdict colours as the original wrote them (0x00BBGGRR).
constexpr const char* kSecureColour = "#00C000";
constexpr const char* kNotSecureColour = "#FF0000";
} // namespace

frmChecksecure::frmChecksecure(const PasswordDetails& details, QWidget* parent)
    : QDialog(parent), score_(new QLabel(this)), verdict_(new QLabel(this)), shared_(new QListWidget(this))
{
    setObjectName("frmChecksecure");
    setWindowTitle(ToQString(kCheckSecureCaption));
    auto* frame = new QGroupBox(ToQString(kCheckSecureFrame), this);
    auto* layout = new QVBoxLayout(frame);

    score_->setObjectName("Label2");
    verdict_->setObjectName("Label4");
    auto* scoreLine = new QHBoxLayout;
    scoreLine->addWidget(new QLabel(ToQString(kScoreBefore), frame));
    scoreLine->addWidget(score_);
    scoreLine->addWidget(new QLabel(ToQString(kScoreAfter), frame));
    scoreLine->addStretch();
    layout->addLayout(scoreLine);
    auto* verdictLine = new QHBoxLayout;
    verdictLine->addWidget(new QLabel(ToQString(kThisPasswordIs), frame));
    verdictLine->addWidget(verdict_);
    verdictLine->addStretch();
    layout->addLayout(verdictLine);

    layout->addWidget(new QLabel(ToQString(kAttributesCaption), frame));
    auto* criteria = new QGridLayout;
    for (int i = 0; i < 5; ++i) {
        marks_[i] = new QLabel(frame);
        marks_[i]->setObjectName(QString("Label%1").arg(10 + i));
        marks_[i]->setFixedWidth(fontMetrics().horizontalAdvance("XX"));
        criteria->addWidget(marks_[i], i, 0);
        criteria->addWidget(new QLabel(ToQString(kCriterionLabels[static_cast<std::size_t>(i)]), frame), i,
                            1);
    }
    layout->addLayout(criteria);
    layout->addWidget(new QLabel(ToQString(kRecommendation), frame));
    layout->addWidget(new QLabel(ToQString(kSharedWithCaption), frame));
    shared_->setObjectName("lstSharedWith");
    layout->addWidget(shared_);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(frame);

    if (details.damaged) {
        verdict_->setText(ToQString(kDamagedMark));
        return;
    }
    score_->setText(QString::number(details.strength.score()));
    verdict_->setText(ToQString(Verdict(details.strength)));
    verdict_->setStyleSheet(
        QString("color: %1").arg(details.strength.secure() ? kSecureColour : kNotSecureColour));
    for (int i = 0; i < 5; ++i)
        marks_[i]->setText(details.strength.criteria[static_cast<std::size_t>(i)] ? ToQString(kCriterionMet)
                                                                                  : QString());
    for (const std::string& name : details.sharedWith)
        shared_->addItem(QString::fromStdString(name));
}

} // namespace kv
