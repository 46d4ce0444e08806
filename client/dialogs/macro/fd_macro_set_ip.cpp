#include "fd_macro_set_ip.h"
#include "ui_fd_macro_set_ip.h"

#include "macrofields.h"

namespace {

// What differs between the three settings: the macro, the title, the labels
// of the four bytes and the bytes the dialog starts with.
struct SettingTexts
{
    const char *macro;
    const char *title;
    const char *labels[4];
    int start[4];
};

const SettingTexts settings[] = {
    {"FD_MACRO_SET_IP_ADDRESS", QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "IP address"),
        {QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "First byte of IP address"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Second byte of IP address"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Third byte of IP address"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Fourth byte of IP address")},
        {127, 0, 0, 1}},
    {"FD_MACRO_SET_IP_MASK", QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "IP mask"),
        {QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "First byte of IP mask"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Second byte of IP mask"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Third byte of IP mask"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Fourth byte of IP mask")},
        {255, 255, 255, 0}},
    {"FD_MACRO_SET_IP_GATEWAY", QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "IP gateway"),
        {QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "First byte of IP gateway"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Second byte of IP gateway"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Third byte of IP gateway"),
            QT_TRANSLATE_NOOP("FD_MACRO_SET_IP", "Fourth byte of IP gateway")},
        {0, 0, 0, 0}},
};

} // namespace

FD_MACRO_SET_IP::FD_MACRO_SET_IP(Setting setting, QWidget *parent)
    : FD_MACRO(parent)
    , ui(new Ui::FD_MACRO_SET_IP)
    , setting(setting)
{
    ui->setupUi(this);
    const SettingTexts &texts = settings[setting];
    setObjectName(QLatin1String(texts.macro));
    setWindowTitle(tr(texts.title));
    QLabel *const labels[] = {ui->label_2, ui->label_3, ui->label_4, ui->label_5};
    QSpinBox *const bytes[] = {ui->firstbyte, ui->secondbyte, ui->thirdbyte, ui->fourthbyte};
    for (int i = 0; i < 4; ++i) {
        labels[i]->setText(tr(texts.labels[i]));
        bytes[i]->setValue(texts.start[i]);
    }
    connectButtons(ui->buttonBox, ui->desc);
}

FD_MACRO_SET_IP::~FD_MACRO_SET_IP()
{
    disconnectButtons(ui->buttonBox);
    delete ui;
}

QString FD_MACRO_SET_IP::macroName() const
{
    return QLatin1String(settings[setting].macro);
}

QString FD_MACRO_SET_IP::macroParams() const
{
    // The port, then the address from its last byte to its first.
    return MacroFields::join({MacroFields::listCode(ui->comboBox), ui->fourthbyte->value(),
        ui->thirdbyte->value(), ui->secondbyte->value(), ui->firstbyte->value()});
}

void FD_MACRO_SET_IP::setMacroParams(const QString &params)
{
    const QStringList fields = MacroFields::split(params);
    if (fields.size() != 5)
        return;
    MacroFields::selectListCode(ui->comboBox, MacroFields::number(fields.at(0)));
    ui->fourthbyte->setValue(MacroFields::number(fields.at(1)));
    ui->thirdbyte->setValue(MacroFields::number(fields.at(2)));
    ui->secondbyte->setValue(MacroFields::number(fields.at(3)));
    ui->firstbyte->setValue(MacroFields::number(fields.at(4)));
}
