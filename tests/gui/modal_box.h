#pragma once
// Acting on a modal box (message box, question, input box) while its own event loop runs,
// as the user would.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

namespace kv::test {

// Calls act with the next modal box once it shows; a box that does not show within five
// seconds fails the test.
inline void OnNextModalBox(std::function<void(QWidget* box)> act)
{
    auto* poll = new QTimer;
    auto* waited = new QElapsedTimer;
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [poll, waited, act = std::move(act)] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box && waited->elapsed() < 5000)
            return;
        poll->stop();
        poll->deleteLater();
        delete waited;
        if (box)
            act(box);
        else
            ADD_FAILURE() << "no modal box showed";
    });
    poll->start(10);
}

} // namespace kv::test
