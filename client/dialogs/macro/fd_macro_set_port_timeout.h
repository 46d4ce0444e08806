#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_PORT_TIMEOUT;
}

// Parameter dialog of the macro FD_MACRO_SET_PORT_TIMEOUT: the time-out of a port.
class FD_MACRO_SET_PORT_TIMEOUT : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_PORT_TIMEOUT(QWidget *parent = nullptr);
    ~FD_MACRO_SET_PORT_TIMEOUT() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_PORT_TIMEOUT *ui;
};
