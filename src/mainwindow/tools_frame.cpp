#include "mainwindow/tools_frame.h"

#include "mainwindow/main_window_texts.h"
#include "tools/password_generator.h"
#include "tools/tools_texts.h"
#include "widgets/qt_text.h"

#include <QButtonGroup>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kv {

ToolsFrame::ToolsFrame(Dialogs& dialogs, SecretClipboard& clipboard, QWidget* parent)
    : QGroupBox(ToQString("Tools"), parent), dialogs_(dialogs), clipboard_(clipboard),
      options_(new QButtonGroup(this)), length_(new QSpinBox(this)), count_(new QLineEdit(this)),
      passwords_(new QListWidget(this))
{
    setObjectName("fraTools");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(ToQString(kGeneratorOptionsCaption), this));
    for (int i = 0; i < static_cast<int>(kGeneratorOptionCaptions.size()); ++i) {
        auto* option =
            new QRadioButton(ToQString(kGeneratorOptionCaptions[static_cast<std::size_t>(i)]), this);
        option->setObjectName(QString("OptGen_%1").arg(i));
        options_->addButton(option, i);
        layout->addWidget(option);
    }
    options_->button(0)->setChecked(true);

    length_->setObjectName("SpinFx1");
    // Typed text beyond the range is still read by the generator's own rules.
    length_->setRange(0, kMaximumPasswordLength);
    length_->setValue(QString(ToQString(kDefaultPasswordLength)).toInt());
    count_->setObjectName("Text1");
    count_->setText(ToQString(kDefaultPasswordCount));
    auto* numbers = new QFormLayout;
    numbers->addRow(ToQString(kGeneratorLengthCaption), length_);
    numbers->addRow(ToQString(kGeneratorCountCaption), count_);
    layout->addLayout(numbers);

    auto* generate = new QPushButton(ToQString(kGenerateButton), this);
    generate->setObjectName("cmdGeneratePassword");
    layout->addWidget(generate);
    layout->addWidget(new QLabel(ToQString(kGeneratedCaption), this));
    passwords_->setObjectName("lstPasswords");
    layout->addWidget(passwords_, 1);
    layout->addWidget(new QLabel(ToQString(kGeneratorHint), this));

    connect(generate, &QPushButton::clicked, this, &ToolsFrame::cmdGeneratePassword_Click);
    connect(passwords_, &QListWidget::itemClicked, this, &ToolsFrame::lstPasswords_Click);
}

void ToolsFrame::selectOption(int index)
{
    if (auto* option = options_->button(index))
        option->setChecked(true);
}

void ToolsFrame::cmdGeneratePassword_Click()
{
    passwords_->clear();
    std::optional<PasswordCharacters> set;
    if (options_->checkedId() >= 0)
        set = static_cast<PasswordCharacters>(options_->checkedId());
    const std::string length = length_->text().toStdString();
    const std::string count = count_->text().toStdString();
    for (const std::string& password :
         kv::cmdGeneratePassword_Click({set, length, count}, dialogs_, kMainWindowCaption))
        passwords_->addItem(QString::fromStdString(password));
}

void ToolsFrame::lstPasswords_Click()
{
    if (QListWidgetItem* item = passwords_->currentItem())
        clipboard_.copy(item->text().toStdString());
}

} // namespace kv
