#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_ACTIVE_SETOFSETTINGS;
}

// Parameter dialog of the macro FD_MACRO_SET_ACTIVE_SETofSETTINGS: the set of settings the device
// makes active.
class FD_MACRO_SET_ACTIVE_SETOFSETTINGS : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_ACTIVE_SETOFSETTINGS(QWidget *parent = nullptr);
    ~FD_MACRO_SET_ACTIVE_SETOFSETTINGS() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_ACTIVE_SETOFSETTINGS *ui;
};
