#pragma once

#include <QAbstractButton>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>

// Runs dialog.exec() and answers it with the given button of its button box
// as soon as the dialog's own event loop runs.
inline int execAnswering(QDialog &dialog, QDialogButtonBox::StandardButton button)
{
    QTimer::singleShot(0, &dialog, [&dialog, button]() {
        dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))->button(button)->click();
    });
    return dialog.exec();
}
