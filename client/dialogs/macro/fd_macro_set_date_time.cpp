#include "fd_macro_set_date_time.h"
#include "ui_fd_macro_set_date_time.h"

FD_MACRO_SET_DATE_TIME::FD_MACRO_SET_DATE_TIME(QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_DATE_TIME)
{
    ui->setupUi(this);
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_DATE_TIME::~FD_MACRO_SET_DATE_TIME()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_DATE_TIME::macroName() const
{
    return QStringLiteral("FD_MACRO_SET_DATE_TIME");
}
