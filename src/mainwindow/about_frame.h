#pragma once
// The about elements: the thanks, the maker's address, the version, the build date and
// the credits.
#include <QWidget>

class QLabel;

namespace kv {

class CreditsWidget;

class AboutFrame : public QWidget {
    Q_OBJECT
public:
    explicit AboutFrame(QWidget* parent = nullptr);

    // Shows the version and starts the credits from the bottom.
    void start();
    void stop();

    CreditsWidget* picBuffer() const { return credits_; }
    QLabel* Label16() const { return version_; }

signals:
    void homePageRequested();

private:
    CreditsWidget* credits_;
    QLabel* version_;
};

} // namespace kv
