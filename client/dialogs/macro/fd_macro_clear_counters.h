#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_CLEAR_COUNTERS;
}

// Parameter dialog of the macro FD_MACRO_CLEAR_COUNTERS: which counters the device resets.
class FD_MACRO_CLEAR_COUNTERS : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_CLEAR_COUNTERS(QWidget *parent = nullptr);
    ~FD_MACRO_CLEAR_COUNTERS() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_CLEAR_COUNTERS *ui;
};
