#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_PORT_SETTINGS;
}

// Parameter dialog of the macro FD_MACRO_SET_PORT_SETTINGS: the speed, parity and stop bits of a
// port, as codes.
class FD_MACRO_SET_PORT_SETTINGS : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_PORT_SETTINGS(QWidget *parent = nullptr);
    ~FD_MACRO_SET_PORT_SETTINGS() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_PORT_SETTINGS *ui;
};
