#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_LOGOUT;
}

// Parameter dialog of the macro FD_MACRO_LOGOUT: logs the current user out; no parameters.
class FD_MACRO_LOGOUT : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_LOGOUT(QWidget *parent = nullptr);
    ~FD_MACRO_LOGOUT() override;

    QString macroName() const override;

private:
    Ui::FD_MACRO_LOGOUT *ui;
};
