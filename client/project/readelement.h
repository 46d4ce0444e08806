#pragma once

#include "projectelement.h"

namespace Ui {
class readElement;
}

// A read request of the project, one row of the "Read" list: its trend
// mark, data type, register address, display format, the last value read
// and description. A click on the mark asks for the mark to change
// (trendMarkRequested()); the row shows it once it has changed.
class readElement : public projectElement
{
    Q_OBJECT

public:
    explicit readElement(const readValues &values = readValues(), QWidget *parent = nullptr);
    ~readElement() override;

    const readValues &request() const { return std::get<readValues>(values()); }

    QString value() const; // the last result, not stored
    void setValue(const QString &value);

    // Whether the row's values are plotted in the trend; stored in the
    // project file only when set, as "trend": true.
    bool isTrendMarked() const;
    void setTrendMarked(bool marked);

    QJsonObject toJson() const override;
    void readState(const QJsonObject &object) override;
    void showResult(bool ok, const QString &shown, const QString &cause) override;

signals:
    // The user clicked the mark: it is to be set or cleared.
    void trendMarkRequested(bool marked);
    // The trend mark was set or cleared.
    void trendMarkChanged();

protected:
    void showValues() override;
    std::optional<rowValues> askValues(userPrompts &prompts) const override;

private slots:
    void commandMark(bool marked);

private:
    Ui::readElement *ui;
};
