#pragma once

#include "engineeringscale.h"

#include <QGroupBox>

class QLabel;
class QLineEdit;

// The engineering value of a request in its dialog: scale, offset and unit,
// with a line that says what is wrong with them. The fields apply to the
// integer and float types only; for another type they are disabled and give
// no scaling.
class scalingFields : public QGroupBox
{
    Q_OBJECT

public:
    explicit scalingFields(QWidget *parent = nullptr);

    // The fields as typed, a decimal comma as a point; none while disabled.
    engineeringScale values() const;
    void setValues(const engineeringScale &values);
    // Enables the fields for a type that takes them; changed() when that
    // enables or disables them.
    void setType(const QString &type);
    // Why the fields cannot be taken, empty when they can; shown under them.
    void showProblem(const QString &problem);

signals:
    void changed();

private:
    QLineEdit *scale;
    QLineEdit *offset;
    QLineEdit *unit;
    QLabel *problem;
};
