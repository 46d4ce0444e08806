#pragma once

#include <QCoreApplication>
#include <QString>

// The texts of one translation context, for code outside a QObject. A
// file-scope "constexpr TranslationContext tr("Context");" lets tr("text")
// look a text up as QObject::tr() does. Console programs load no
// translation, so their texts read as written.
class TranslationContext
{
public:
    constexpr explicit TranslationContext(const char *context)
        : context(context)
    { }

    QString operator()(const char *text) const
    {
        return QCoreApplication::translate(context, text);
    }

private:
    const char *context;
};
