#pragma once

#include "projectelement.h"

namespace Ui {
class readElement;
}

// A read request of the project, one row of the "Read" list: data type,
// register address, display format, the last value read and description.
class readElement : public projectElement
{
    Q_OBJECT

public:
    explicit readElement(QWidget *parent = nullptr);
    ~readElement() override;

    QString type() const { return field(0); }
    QString addr() const { return field(1); }
    QString format() const { return field(2); }
    QString desc() const { return field(3); }
    QString value() const; // the last result, not stored
    void setType(const QString &type) { setField(0, type); }
    void setAddr(const QString &addr) { setField(1, addr); }
    void setFormat(const QString &format) { setField(2, format); }
    void setDesc(const QString &desc) { setField(3, desc); }
    void setValue(const QString &value);

    // Whether the row's values are plotted in the trend; stored in the
    // project file only when set, as "trend": true.
    bool isTrendMarked() const;
    void setTrendMarked(bool marked);

    QJsonObject toJson() const override;
    void fromJson(const QJsonObject &object) override;
    elementRequest request() const override;
    void showResult(bool ok, const QString &shown, const QString &cause) override;
    QDialog *createDialog(QWidget *parent, bool preset) const override;
    QStringList dialogValues(const QDialog *dialog) const override;

signals:
    // The trend mark was set or cleared.
    void trendMarkChanged();

private slots:
    void commandMark(bool marked);

private:
    Ui::readElement *ui;
};
