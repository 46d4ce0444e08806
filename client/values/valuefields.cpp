#include "valuefields.h"

bool valueFields::hasControlCharacter(const QString &text, QChar *found)
{
    for (const QChar c : text) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph) {
            if (found)
                *found = c;
            return true;
        }
    }
    return false;
}

QString valueFields::problem(const QVector<valueField> &fields)
{
    for (const valueField &field : fields) {
        const QString key = QString::fromLatin1(field.key);
        QChar control;
        if (hasControlCharacter(field.text, &control))
            return tr("\"%1\" holds a control character (U+%2)")
                .arg(key, QString::number(control.unicode(), 16).toUpper().rightJustified(4, '0'));
        if (field.use == valueField::DriverValue && field.text.startsWith(QLatin1String("--")))
            return tr("\"%1\" begins with \"--\", which a driver would take for an option")
                .arg(key);
    }
    return QString();
}
