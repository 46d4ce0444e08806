#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_IP_MASK;
}

// Parameter dialog of the macro FD_MACRO_SET_IP_MASK: the IP mask of a port, written last byte
// first.
class FD_MACRO_SET_IP_MASK : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_IP_MASK(QWidget *parent = nullptr);
    ~FD_MACRO_SET_IP_MASK() override;

    QString macroName() const override;
    QString macroParams() const override;
    QString macroDesc() const override;
    QString macroHash() const override;
    void setMacroParams(const QString &params) override;
    void setMacroDesc(const QString &desc) override;

private:
    Ui::FD_MACRO_SET_IP_MASK *ui;
};
