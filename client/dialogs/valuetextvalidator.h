#pragma once

#include <QValidator>

// What may be typed as the value of a write of a 64-bit type or a text: a
// U64 or S64 whole number in its range, a finite F64 (a decimal comma
// allowed, as the register driver reads it), or a text of at most a number
// of UTF-8 bytes without a double quote (the client passes it to the driver
// in double quotes). Text that could still become valid is Intermediate.
class valueTextValidator : public QValidator
{
    Q_OBJECT

public:
    explicit valueTextValidator(QObject *parent = nullptr);

    // The type whose values are checked and, for a text, its registers.
    void setType(const QString &type, int registers);

    State validate(QString &input, int &position) const override;

private:
    QString type;
    int maxBytes = 0;
};
