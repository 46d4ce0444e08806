#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Hands the next modal window (a dialog or message box run with exec()) to
// answer once it is up. Looks every 10 ms for up to 10 s and then gives up,
// so a window that never comes shows as a failed expectation of the test.
inline void answerModal(std::function<void(QWidget *)> answer, int tries = 1000)
{
    QTimer::singleShot(10, qApp, [answer, tries]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal)
            answer(modal);
        else if (tries > 1)
            answerModal(answer, tries - 1);
    });
}
