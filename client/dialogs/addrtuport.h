#pragma once

#include "portvalues.h"

#include <QDialog>
#include <QStringList>

namespace Ui {
class addRTUPort;
}

// The serial line of a project: port name, baud rate, device address,
// framing (RTU or ASCII) with the data bits and parity, and description.
// 7 data bits are offered with ASCII only.
class addRTUPort : public QDialog
{
    Q_OBJECT

public:
    // Offers the machine's serial ports that are free now.
    explicit addRTUPort(QWidget *parent = nullptr);
    // Offers the given port names, sorted in plain string order.
    explicit addRTUPort(const QStringList &portNames, QWidget *parent = nullptr);
    ~addRTUPort() override;

    QString com() const;
    QString baudrate() const;
    QString slave() const;
    QString desc() const;
    // "ASCII", or empty for RTU, the line's own framing.
    QString framing() const;
    QString dataBits() const;
    QString parity() const;
    // Whether one driver keeps the line open for every request.
    bool keepOpen() const;
    // Fingerprint of desc(), baudrate(), slave(), com() and of the framing,
    // data bits and parity that are not the defaults.
    QString hash() const;
    // The serial line the dialog holds.
    portValues values() const;

    // Presets from a stored port. A port name or baud rate that is not in its
    // list (a port busy or unplugged now, the rate of an older project) is
    // added and selected, so that an edit keeps it unless the user changes it.
    void setCom(const QString &com);
    void setBaudrate(const QString &baudrate);
    void setSlave(int slave);
    void setDesc(const QString &desc);
    // Texts not in their lists (from a hand-edited project) are added and
    // selected, as for the baud rate.
    void setFraming(const QString &framing);
    void setDataBits(const QString &dataBits);
    void setParity(const QString &parity);
    void setKeepOpen(bool on);
    // Presets every control from a stored serial line.
    void setValues(const portValues &values);

private:
    // 7 data bits are for ASCII: with RTU the choice goes back to 8.
    void framingChanged();

    Ui::addRTUPort *ui;
    QMetaObject::Connection acceptConnection;
    QMetaObject::Connection rejectConnection;
};
