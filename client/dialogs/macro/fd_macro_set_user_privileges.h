#pragma once

#include "fd_macro.h"

#include <QList>

class QCheckBox;

namespace Ui {
class FD_MACRO_SET_USER_PRIVILEGES;
}

// Parameter dialog of the macro FD_MACRO_SET_USER_PRIVILEGES: the twelve privileges of a user, as a
// bit mask.
class FD_MACRO_SET_USER_PRIVILEGES : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_USER_PRIVILEGES(QWidget *parent = nullptr);
    ~FD_MACRO_SET_USER_PRIVILEGES() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    // The privilege boxes in the order of their bits: checkBox_1 is bit 0.
    QList<QCheckBox *> privilegeBoxes() const;

    Ui::FD_MACRO_SET_USER_PRIVILEGES *ui;
};
