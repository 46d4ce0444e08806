#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_WORK_MODE;
}

// Parameter dialog of the macro FD_MACRO_SET_WORK_MODE: the work mode of the device.
class FD_MACRO_SET_WORK_MODE : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_WORK_MODE(QWidget *parent = nullptr);
    ~FD_MACRO_SET_WORK_MODE() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_WORK_MODE *ui;
};
