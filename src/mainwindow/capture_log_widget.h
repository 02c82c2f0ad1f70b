#pragma once
// List4: the capture log, one line per capture decision, newest last and kept in view.
#include "browser/capture_log.h"

#include <QListWidget>

namespace kv {

class CaptureLogWidget : public QListWidget {
    Q_OBJECT
public:
    // Shows what the log holds already and every line added while this list lives.
    explicit CaptureLogWidget(CaptureLog& log, QWidget* parent = nullptr);
    ~CaptureLogWidget() override;

private:
    void addLine(const std::string& line);

    CaptureLog& log_;
};

} // namespace kv
