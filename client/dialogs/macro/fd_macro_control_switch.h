#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_CONTROL_SWITCH;
}

// Parameter dialog of the macro FD_MACRO_CONTROL_SWITCH: opens or closes one switch of a given type
// and number.
class FD_MACRO_CONTROL_SWITCH : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_CONTROL_SWITCH(QWidget *parent = nullptr);
    ~FD_MACRO_CONTROL_SWITCH() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_CONTROL_SWITCH *ui;
};
