#pragma once

#include "fd_macro.h"

namespace Ui {
class FD_MACRO_SET;
}

// Parameter dialog of the macro FD_MACRO_SET: sends any macro by number with up to ten parameter
// words.
class FD_MACRO_SET : public FD_MACRO
{
    Q_OBJECT

public:
    explicit FD_MACRO_SET(QWidget *parent = nullptr);
    ~FD_MACRO_SET() override;

    QString macroName() const override;
    QString macroParams() const override;
    void setMacroParams(const QString &params) override;

public slots:
    // Shows param_1 up to the n-th parameter box and hides the others.
    void updateParamsVisible(int n);

private:
    Ui::FD_MACRO_SET *ui;
};
