#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_LOGIN;
}

// Parameter dialog of the macro FD_MACRO_LOGIN: logs a user in with a numeric password.
class FD_MACRO_LOGIN : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_LOGIN(QWidget *parent = nullptr);
    ~FD_MACRO_LOGIN() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_LOGIN *ui;
};
