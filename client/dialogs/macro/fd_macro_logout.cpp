#include "fd_macro_logout.h"
#include "ui_fd_macro_logout.h"

FD_MACRO_LOGOUT::FD_MACRO_LOGOUT(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_LOGOUT)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_LOGOUT::~FD_MACRO_LOGOUT()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_LOGOUT::macroName() const
{
    return QStringLiteral("FD_MACRO_LOGOUT");
}
