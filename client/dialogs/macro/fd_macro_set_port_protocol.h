#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_PORT_PROTOCOL;
}

// Parameter dialog of the macro FD_MACRO_SET_PORT_PROTOCOL: the protocol a port speaks.
class FD_MACRO_SET_PORT_PROTOCOL : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_PORT_PROTOCOL(QWidget *parent = nullptr);
    ~FD_MACRO_SET_PORT_PROTOCOL() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_PORT_PROTOCOL *ui;
};
