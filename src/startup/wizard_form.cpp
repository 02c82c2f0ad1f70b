#include "startup/wizard_form.h"

#include "startup/key_filter.h"
#include "startup/startup_texts.h"
#include "widgets/qt_icons.h"
#include "widgets/shortcut_bar_widget.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCursor>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace kv {
namespace {

constexpr int kMouseSampleMs = 10;

QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A step's frame: a bold title, its text, then whatever the step adds.
QWidget* MakeStep(const char* name, const QString& title, const QString& text, QVBoxLayout*& layout)
{
    auto* frame = new QWidget;
    frame->setObjectName(name);
    layout = new QVBoxLayout(frame);
    auto* heading = new QLabel(title, frame);
    QFont font = heading->font();
    font.setBold(true);
    font.setPointSize(font.pointSize() + 3);
    heading->setFont(font);
    auto* body = new QLabel(text, frame);
    body->setWordWrap(true);
    layout->addWidget(heading);
    layout->addWidget(body);
    return frame;
}

QPushButton* AddNext(QWidget* frame, QVBoxLayout* layout, const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption, frame);
    button->setObjectName(name);
    layout->addStretch();
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(button);
    layout->addLayout(row);
    return button;
}

} // namespace

frmWizard::frmWizard(FirstRunWizard& logic, QWidget* parent)
    : QDialog(parent), logic_(logic), bar_(new ShortcutBar(this)), frames_(new QStackedWidget(this))
{
    setObjectName("frmWizard");
    setWindowTitle(ToQString(kWizardCaption));
    const QStringList steps{"Welcome", "Step 1", "Step 2", "Step 3", "Finish"};
    const QIcon icon = ProgramIcon({});
    for (int id = 1; id <= steps.size(); ++id) {
        bar_->addItem(id, steps[id - 1]);
        bar_->setItemIcon(id, icon);
    }
    frames_->addWidget(buildWelcome());
    frames_->addWidget(buildStep1());
    frames_->addWidget(buildStep2());
    frames_->addWidget(buildStep3());
    frames_->addWidget(buildFinish());
    connect(bar_, &ShortcutBar::selectionChanged, this, [this](int id) { frames_->setCurrentIndex(id - 1); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(bar_);
    layout->addWidget(frames_, 1);
    resize(640, 400);

    timer_.setInterval(kMouseSampleMs);
    connect(&timer_, &QTimer::timeout, this, &frmWizard::tmrGData_Timer);
    bar_->selectPosition(0);
}

int frmWizard::shownStep() const
{
    return frames_->currentIndex() + 1;
}

QWidget* frmWizard::buildWelcome()
{
    QVBoxLayout* layout = nullptr;
    QWidget* frame = MakeStep("fraWelcome", ToQString(kWizardCaption),
                              "Before you can use Vormaplex, a profile must be created. A profile must be "
                              "created for each user that "
                              "runs Vormaplex. Your profile will not be visible or usable from any user "
                              "account but the current user "
                              "account.",
                              layout);
    connect(AddNext(frame, layout, "cmdNext1", "&Next"), &QPushButton::clicked, this,
            [this] { bar_->selectPosition(1); });
    return frame;
}

QWidget* frmWizard::buildStep1()
{
    QVBoxLayout* layout = nullptr;
    QWidget* frame = MakeStep(
        "fraStep1", "Profile default directory",
        "Your profile and your saved sites are kept in one directory, by default the folder Kestrelyn in "
        "your "
        "documents folder. The categories inside it are configurable folders. Saved sites carry the .QVR "
        "extension and can be launched from the program or from the file system.",
        layout);
    defaultDir_ = new QLineEdit(QString::fromStdString(logic_.defaultDirectory()), frame);
    defaultDir_->setObjectName("txtDefaultDir");
    defaultDir_->installEventFilter(this);
    auto* browse = new QPushButton("Browse", frame);
    browse->setObjectName("cmdBrowse");
    auto* row = new QHBoxLayout;
    row->addWidget(defaultDir_, 1);
    row->addWidget(browse);
    layout->addLayout(row);
    connect(browse, &QPushButton::clicked, this, [this] {
        defaultDir_->setText(
            QString::fromStdString(logic_.cmdBrowse_Click(defaultDir_->text().toStdString())));
    });
    connect(AddNext(frame, layout, "cmdNext2", "&Next"), &QPushButton::clicked, this,
            [this] { bar_->selectPosition(2); });
    return frame;
}

QWidget* frmWizard::buildStep2()
{
    QVBoxLayout* layout = nullptr;
    QWidget* frame =
        MakeStep("fraStep2", "Generate secure encryption key",
                 "Your mouse movements will now be used to generate a random encryption key. This "
                 "key will be used to encrypt information stored on your local computer.",
                 layout);
    generate_ = new QPushButton("&Generate Key", frame);
    generate_->setObjectName("cmdGenerateKey");
    generateLabel_ = new QLabel("~Please move mouse until key is created~", frame);
    generateLabel_->setObjectName("lblGenerate");
    generateLabel_->hide();
    progress_ = new QProgressBar(frame);
    progress_->setObjectName("ProgressBar1");
    progress_->setRange(0, 100);
    progress_->hide();
    layout->addWidget(generate_, 0, Qt::AlignLeft);
    layout->addWidget(generateLabel_);
    layout->addWidget(progress_);
    next3_ = AddNext(frame, layout, "cmdNext3", "&Next");
    next3_->setEnabled(false);
    connect(generate_, &QPushButton::clicked, this, &frmWizard::cmdGenerateKey_Click);
    connect(next3_, &QPushButton::clicked, this, [this] { bar_->selectPosition(3); });
    return frame;
}

QWidget* frmWizard::buildStep3()
{
    QVBoxLayout* layout = nullptr;
    QWidget* frame = MakeStep("fraStep3", "Pick login type",
                              "Multiple types of security can be used for accessing the program.", layout);
    options_ = new QButtonGroup(frame);
    for (int index = 1; index <= static_cast<int>(kLoginTypeCaptions.size()); ++index) {
        auto* option = new QRadioButton(ToQString(kLoginTypeCaptions[index - 1]), frame);
        option->setObjectName(QString("Option1_%1").arg(index));
        options_->addButton(option, index);
        layout->addWidget(option);
    }
    options_->button(1)->setChecked(true);
    connect(AddNext(frame, layout, "cmdNext4", "&Next"), &QPushButton::clicked, this,
            [this] { bar_->selectPosition(4); });
    return frame;
}

QWidget* frmWizard::buildFinish()
{
    QVBoxLayout* layout = nullptr;
    QWidget* frame =
        MakeStep("fraFinish", "Begin saving time immediately!", ToQString(kFinishAdvice), layout);
    makeCategories_ = new QCheckBox("Make sample folders under site directory (recommended)", frame);
    makeCategories_->setObjectName("chkMakeCategories");
    makeCategories_->setChecked(true);
    layout->addWidget(makeCategories_);
    finish_ = AddNext(frame, layout, "cmdFinish", "&Finish");
    connect(finish_, &QPushButton::clicked, this, &frmWizard::cmdFinish_Click);
    return frame;
}

bool frmWizard::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == defaultDir_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && (text[0].isPrint() || text[0] == QChar(kBackspaceKey))) {
            const int ascii = text[0].unicode() < 128 ? text[0].unicode() : -1;
            if (ascii < 0 || FilterKeyPress(ascii, kDefaultDirKeys, true) == 0) {
                QApplication::beep();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmWizard::cmdGenerateKey_Click()
{
    progress_->show();
    generate_->setEnabled(false);
    generateLabel_->show();
    timer_.start();
}

void frmWizard::tmrGData_Timer()
{
    const QPoint cursor = QCursor::pos();
    const bool done = logic_.tmrGData_Timer(cursor.x(), cursor.y());
    progress_->setValue(logic_.progress());
    if (!done)
        return;
    timer_.stop();
    generateLabel_->setText(ToQString(kKeyGenerated));
    next3_->setEnabled(true);
}

void frmWizard::cmdFinish_Click()
{
    if (logic_.cmdFinish_Click(defaultDir_->text().toStdString(), options_->checkedId(),
                               makeCategories_->isChecked()))
        accept();
}

} // namespace kv
