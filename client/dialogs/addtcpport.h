#pragma once

#include "portvalues.h"

#include <QDialog>

#include <memory>

class QLineEdit;
class userPrompts;

namespace Ui {
class addTCPPort;
}

// The TCP connection of a project: IP address, TCP port, device address,
// framing (MBAP, or RTU or ASCII through a serial gateway), TLS with the
// client's certificate and key and the authorities' certificates, and
// description. With TLS the frames are MBAP and the framing is not offered;
// the port 502 becomes 802, the port of Modbus/TCP Security, and back.
// Frames through a gateway take an RTU address: the address 255 (any unit)
// becomes 1 when RTU or ASCII is chosen.
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
    // "RTU" or "ASCII", or empty for MBAP.
    QString framing() const;
    bool tls() const;
    // The TLS files as typed or chosen; empty without TLS.
    QString certificate() const;
    QString privateKey() const;
    QString authorities() const;
    // Whether one driver keeps the line open for every request.
    bool keepOpen() const;
    // Fingerprint of desc(), port(), slave(), ip() and of the framing and
    // TLS files that are not the defaults.
    QString hash() const;
    // The TCP connection the dialog holds.
    portValues values() const;

    void setIp(const QString &ip);
    void setPort(int port);
    void setSlave(int slave);
    void setDesc(const QString &desc);
    void setFraming(const QString &framing);
    void setTls(bool on);
    void setFiles(
        const QString &certificate, const QString &privateKey, const QString &authorities);
    void setKeepOpen(bool on);
    // Presets every control from a stored TCP connection.
    void setValues(const portValues &values);
    // Where the file choosers ask (borrowed); a plain userPrompts of its own
    // until one is given.
    void setPrompts(userPrompts *prompts);

private:
    void framingChanged(int index);
    void tlsToggled(bool on);
    // OK takes TLS only with its three files named.
    void updateAcceptance();
    void chooseFile(QLineEdit *field, const QString &caption);

    Ui::addTCPPort *ui;
    std::unique_ptr<userPrompts> ownPrompts;
    userPrompts *prompts;
    QMetaObject::Connection acceptConnection;
    QMetaObject::Connection rejectConnection;
};
