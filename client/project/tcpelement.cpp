#include "tcpelement.h"
#include "ui_tcpelement.h"

#include "addtcpport.h"
#include "userprompts.h"

namespace {

portValues newConnection()
{
    portValues values;
    values.kind = portValues::Tcp;
    return values;
}

} // namespace

tcpElement::tcpElement(QWidget *parent)
    : tcpElement(newConnection(), parent)
{ }

tcpElement::tcpElement(const portValues &values, QWidget *parent)
    : portElement(values, parent)
    , ui(new Ui::tcpElement)
{
    Q_ASSERT(values.kind == portValues::Tcp);
    ui->setupUi(this);
    setUpRow(ui->exe, ui->edit, ui->del);
    setActive(false);
}

tcpElement::~tcpElement()
{
    delete ui;
}

void tcpElement::showValues()
{
    ui->ip->setText(line().ip);
    ui->port->setText(line().port);
    ui->addr->setText(line().addr);
    ui->line->setText(line().lineText());
    ui->desc->setText(line().desc);
}

std::optional<rowValues> tcpElement::askValues(userPrompts &prompts) const
{
    addTCPPort dialog;
    dialog.setPrompts(&prompts);
    dialog.setValues(line());
    return prompts.accepted(dialog);
}
