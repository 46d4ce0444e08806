#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_USER_COMMANDS;
}

// Parameter dialog of the macro FD_MACRO_SET_USER_COMMANDS: the number of a user command the device
// carries out.
class FD_MACRO_SET_USER_COMMANDS : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_USER_COMMANDS(QWidget *parent = nullptr);
    ~FD_MACRO_SET_USER_COMMANDS() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_USER_COMMANDS *ui;
};
