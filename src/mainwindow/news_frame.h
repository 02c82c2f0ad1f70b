#pragma once
// fraNews: the news open in the browser; a link opens them again.
#include <QGroupBox>

namespace kv {

class NewsFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit NewsFrame(QWidget* parent = nullptr);

signals:
    void newsPageRequested();
};

} // namespace kv
