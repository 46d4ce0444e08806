#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_CONTROL_LR;
}

// Parameter dialog of the macro FD_MACRO_SET_CONTROL_LR: the control modes the device allows
// (local, remote).
class FD_MACRO_SET_CONTROL_LR : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_CONTROL_LR(QWidget *parent = nullptr);
    ~FD_MACRO_SET_CONTROL_LR() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_CONTROL_LR *ui;
};
