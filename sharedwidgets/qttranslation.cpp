#include "qttranslation.h"

#include <QLibraryInfo>
#include <QTranslator>

bool loadQtPolish(QTranslator &translator)
{
    return translator.load(
        QStringLiteral("qt_pl"), QLibraryInfo::location(QLibraryInfo::TranslationsPath));
}
