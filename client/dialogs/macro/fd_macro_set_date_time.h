#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_DATE_TIME;
}

// Parameter dialog of the macro FD_MACRO_SET_DATE_TIME: sets the device clock to the computer's; no
// parameters.
class FD_MACRO_SET_DATE_TIME : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_DATE_TIME(QWidget *parent = nullptr);
    ~FD_MACRO_SET_DATE_TIME() override;

    QString macroName() const override;

private:
    Ui::FD_MACRO_SET_DATE_TIME *ui;
};
