#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_PORT_ADDRESS;
}

// Parameter dialog of the macro FD_MACRO_SET_PORT_ADDRESS: the device address on a port.
class FD_MACRO_SET_PORT_ADDRESS : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_PORT_ADDRESS(QWidget *parent = nullptr);
    ~FD_MACRO_SET_PORT_ADDRESS() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_PORT_ADDRESS *ui;
};
