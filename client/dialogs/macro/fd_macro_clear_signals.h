#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_CLEAR_SIGNALS;
}

// Parameter dialog of the macro FD_MACRO_CLEAR_SIGNALS: which alarm signals of field 1 the device
// clears; the description is shown, not edited.
class FD_MACRO_CLEAR_SIGNALS : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_CLEAR_SIGNALS(QWidget *parent = nullptr);
    ~FD_MACRO_CLEAR_SIGNALS() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_CLEAR_SIGNALS *ui;
};
