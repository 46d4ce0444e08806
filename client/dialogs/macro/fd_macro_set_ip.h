#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET_IP;
}

// Parameter dialog of the macros that set an IP setting of a port (its
// address, mask or gateway): the port, then the four bytes, written last
// byte first.
class FD_MACRO_SET_IP : public FD_MACRO
{
    Q_OBJECT

public:
    enum Setting { Address, Mask, Gateway };

    FD_MACRO_SET_IP(Setting setting, QWidget *parent);
    ~FD_MACRO_SET_IP() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

private:
    Ui::FD_MACRO_SET_IP *ui;
    Setting setting;
};

// The dialog of FD_MACRO_SET_IP_ADDRESS; the bytes start at 127.0.0.1.
class FD_MACRO_SET_IP_ADDRESS : public FD_MACRO_SET_IP
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_IP_ADDRESS(QWidget *parent = nullptr)
        : FD_MACRO_SET_IP(Address, parent)
    { }
};

// The dialog of FD_MACRO_SET_IP_MASK; the bytes start at 255.255.255.0.
class FD_MACRO_SET_IP_MASK : public FD_MACRO_SET_IP
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_IP_MASK(QWidget *parent = nullptr)
        : FD_MACRO_SET_IP(Mask, parent)
    { }
};

// The dialog of FD_MACRO_SET_IP_GATEWAY; the bytes start at 0.0.0.0.
class FD_MACRO_SET_IP_GATEWAY : public FD_MACRO_SET_IP
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET_IP_GATEWAY(QWidget *parent = nullptr)
        : FD_MACRO_SET_IP(Gateway, parent)
    { }
};
