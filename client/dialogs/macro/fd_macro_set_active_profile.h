#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_ACTIVE_PROFILE;
}

// Parameter dialog of the macro FD_MACRO_SET_ACTIVE_PROFILE: the number of the profile the device
// makes active.
class FD_MACRO_SET_ACTIVE_PROFILE : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_ACTIVE_PROFILE(QWidget *parent = nullptr);
    ~FD_MACRO_SET_ACTIVE_PROFILE() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_ACTIVE_PROFILE *ui;
};
