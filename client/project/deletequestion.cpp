#include "deletequestion.h"

#include <QCoreApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>

bool askDeleteElement(QWidget *parent)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("deleteQuestion", "Asking"),
        QCoreApplication::translate("deleteQuestion", "Del current object ?")
            + QString(49, QLatin1Char(' ')),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.setWindowIcon(QIcon(QStringLiteral(":/_icons/system_info_128.png")));
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("deleteQuestion", "Yes"));
    box.button(QMessageBox::No)->setText(QCoreApplication::translate("deleteQuestion", "No"));
    return box.exec() == QMessageBox::Yes;
}
