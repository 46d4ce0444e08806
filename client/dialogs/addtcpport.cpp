#include "addtcpport.h"
#include "ui_addtcpport.h"

#include "userprompts.h"

#include <QPushButton>

namespace {

constexpr int MbapPort = 502;
constexpr int SecurePort = 802;
constexpr int AnyUnit = 255; // MBAP's "any unit", no RTU address
constexpr int FirstRtuAddress = 1;

} // namespace

addTCPPort::addTCPPort(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::addTCPPort)
    , ownPrompts(std::make_unique<userPrompts>())
    , prompts(ownPrompts.get())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    acceptConnection = connect(ui->buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    rejectConnection = connect(ui->buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ui->tls, &QCheckBox::toggled, this, &addTCPPort::tlsToggled);
    connect(ui->framing, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
        &addTCPPort::framingChanged);
    for (QLineEdit *field : {ui->cert, ui->key, ui->ca})
        connect(field, &QLineEdit::textChanged, this, &addTCPPort::updateAcceptance);
    connect(ui->certBrowse, &QToolButton::clicked, this,
        [this] { chooseFile(ui->cert, tr("Client certificate")); });
    connect(ui->keyBrowse, &QToolButton::clicked, this,
        [this] { chooseFile(ui->key, tr("Client private key")); });
    connect(ui->caBrowse, &QToolButton::clicked, this,
        [this] { chooseFile(ui->ca, tr("Certificates of the authorities")); });
    tlsToggled(false);
}

addTCPPort::~addTCPPort()
{
    disconnect(acceptConnection);
    disconnect(rejectConnection);
    delete ui;
}

QString addTCPPort::ip() const
{
    return ui->ip->text();
}

QString addTCPPort::port() const
{
    return QString::number(ui->port->value());
}

QString addTCPPort::slave() const
{
    return QString::number(ui->slave->value());
}

QString addTCPPort::desc() const
{
    return ui->desc->toPlainText();
}

QString addTCPPort::framing() const
{
    return tls() || ui->framing->currentIndex() <= 0 ? QString() : ui->framing->currentText();
}

bool addTCPPort::tls() const
{
    return ui->tls->isChecked();
}

QString addTCPPort::certificate() const
{
    return tls() ? ui->cert->text() : QString();
}

QString addTCPPort::privateKey() const
{
    return tls() ? ui->key->text() : QString();
}

QString addTCPPort::authorities() const
{
    return tls() ? ui->ca->text() : QString();
}

bool addTCPPort::keepOpen() const
{
    return ui->keepOpen->isChecked();
}

void addTCPPort::setKeepOpen(bool on)
{
    ui->keepOpen->setChecked(on);
}

QString addTCPPort::hash() const
{
    return values().fingerprint();
}

portValues addTCPPort::values() const
{
    portValues values;
    values.kind = portValues::Tcp;
    values.ip = ip();
    values.port = port();
    values.addr = slave();
    values.desc = desc();
    values.framing = framing();
    values.tls = tls();
    values.certificate = certificate();
    values.privateKey = privateKey();
    values.authorities = authorities();
    values.keepOpen = keepOpen();
    return values;
}

void addTCPPort::setValues(const portValues &values)
{
    setKeepOpen(values.keepOpen);
    setFraming(values.framing);
    setTls(values.tls);
    // After the framing, which moves an address of 255 to 1: the stored
    // address stands.
    setSlave(values.addr.toInt());
    setIp(values.ip);
    setDesc(values.desc);
    setFiles(values.certificate, values.privateKey, values.authorities);
    // After TLS, which moves a port of 502 to 802: the stored port stands.
    setPort(values.port.toInt());
}

void addTCPPort::setFraming(const QString &framing)
{
    const int index = ui->framing->findText(framing);
    ui->framing->setCurrentIndex(index < 0 ? 0 : index);
}

void addTCPPort::framingChanged(int index)
{
    // A gateway passes the address to an RTU device, which answers 1 to 247
    // only; 255 addresses any unit in MBAP alone.
    if (index > 0 && ui->slave->value() == AnyUnit)
        ui->slave->setValue(FirstRtuAddress);
}

void addTCPPort::setTls(bool on)
{
    ui->tls->setChecked(on);
}

void addTCPPort::setFiles(
    const QString &certificate, const QString &privateKey, const QString &authorities)
{
    ui->cert->setText(certificate);
    ui->key->setText(privateKey);
    ui->ca->setText(authorities);
}

void addTCPPort::setPrompts(userPrompts *prompts)
{
    this->prompts = prompts;
}

void addTCPPort::tlsToggled(bool on)
{
    if (on)
        ui->framing->setCurrentIndex(0);
    ui->framing->setEnabled(!on);
    for (QWidget *widget : {static_cast<QWidget *>(ui->cert), static_cast<QWidget *>(ui->key),
             static_cast<QWidget *>(ui->ca), static_cast<QWidget *>(ui->certBrowse),
             static_cast<QWidget *>(ui->keyBrowse), static_cast<QWidget *>(ui->caBrowse)})
        widget->setEnabled(on);
    if (on && ui->port->value() == MbapPort)
        ui->port->setValue(SecurePort);
    else if (!on && ui->port->value() == SecurePort)
        ui->port->setValue(MbapPort);
    updateAcceptance();
}

void addTCPPort::updateAcceptance()
{
    const bool named
        = !ui->cert->text().isEmpty() && !ui->key->text().isEmpty() && !ui->ca->text().isEmpty();
    ui->buttonBox->button(QDialogButtonBox::Ok)->setEnabled(!tls() || named);
}

void addTCPPort::chooseFile(QLineEdit *field, const QString &caption)
{
    const QString chosen
        = prompts->openFileName(this, caption, tr("PEM files (*.pem *.crt *.key);;All files (*)"));
    if (!chosen.isEmpty())
        field->setText(chosen);
}

void addTCPPort::setIp(const QString &ip)
{
    ui->ip->setText(ip);
}

void addTCPPort::setPort(int port)
{
    ui->port->setValue(port);
}

void addTCPPort::setSlave(int slave)
{
    ui->slave->setValue(slave);
}

void addTCPPort::setDesc(const QString &desc)
{
    ui->desc->setPlainText(desc);
}
