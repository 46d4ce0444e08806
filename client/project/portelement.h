#pragma once

#include "projectelement.h"

// A communication port of the project, one row of the "Communications" list.
// Its run button makes it the active port, the one all runs use; the file
// object carries its "type" and whether it is active.
class portElement : public projectElement
{
    Q_OBJECT

public:
    // Device address and description: the third and fourth value of every port.
    QString addr() const { return field(2); }
    QString desc() const { return field(3); }
    void setAddr(const QString &addr) { setField(2, addr); }
    void setDesc(const QString &desc) { setField(3, desc); }

    bool isActive() const override { return activePort; }
    // Marks this port as the active one or not, with the button's icon.
    void setActive(bool active) override;

    QJsonObject toJson() const override;
    void fromJson(const QJsonObject &object) override;
    // The port part of a driver command line: driverArguments() joined by
    // blanks.
    QString commandLine() const;

protected:
    portElement(const QString &type, QWidget *parent);
    void runPressed() override;

private:
    QString type; // "RTU" or "TCP"
    bool activePort = false;
};
