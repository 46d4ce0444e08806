#pragma once

#include "projectelement.h"

namespace Ui {
class writeElement;
}

// A write request of the project, one row of the "Write" list: data type,
// register address, value and description.
class writeElement : public projectElement
{
    Q_OBJECT

public:
    explicit writeElement(QWidget *parent = nullptr);
    ~writeElement() override;

    QString type() const { return field(0); }
    QString addr() const { return field(1); }
    QString value() const { return field(2); }
    QString desc() const { return field(3); }
    void setType(const QString &type) { setField(0, type); }
    void setAddr(const QString &addr) { setField(1, addr); }
    void setValue(const QString &value) { setField(2, value); }
    void setDesc(const QString &desc) { setField(3, desc); }

    elementRequest request() const override;
    QDialog *createDialog(QWidget *parent, bool preset) const override;
    QStringList dialogValues(const QDialog *dialog) const override;

private:
    Ui::writeElement *ui;
};
