#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_PASSWORD_TIME;
}

// Parameter dialog of the macro FD_MACRO_SET_PASSWORD_TIME: the time after which a port logs its
// user out.
class FD_MACRO_SET_PASSWORD_TIME : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_PASSWORD_TIME(QWidget *parent = nullptr);
    ~FD_MACRO_SET_PASSWORD_TIME() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_PASSWORD_TIME *ui;
};
