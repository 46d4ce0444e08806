#pragma once

#include "portvalues.h"

#include <QDialog>

namespace Ui {
class addTCPPort;
}

// The TCP connection of a project: IP address, TCP port, device address and
// description.
class addTCPPort : public QDialog
{
    Q_OBJECT

public:
    explicit addTCPPort(QWidget *parent = nullptr);
    ~addTCPPort() override;

    QString ip() const; // as typed
    QString port() const;
    QString slave() const;
    QString desc() const;
    // Fingerprint of desc(), port(), slave(), ip().
    QString hash() const;
    // The TCP connection the dialog holds.
    portValues values() const;

    void setIp(const QString &ip);
    void setPort(int port);
    void setSlave(int slave);
    void setDesc(const QString &desc);
    // Presets every control from a stored TCP connection.
    void setValues(const portValues &values);

private:
    Ui::addTCPPort *ui;
    QMetaObject::Connection acceptConnection;
    QMetaObject::Connection rejectConnection;
};
