#include "boardstartup.h"

#include "installedfiles.h"
#include "myproxystyle.h"
#include "qttranslation.h"
#include "settingscache.h"
#include "toolsetidentity.h"

#include <QApplication>
#include <QTranslator>

bool prepareBoardApplication(QApplication &application, QTranslator &translator)
{
    Q_INIT_RESOURCE(board);
    QCoreApplication::setApplicationName(QStringLiteral("qelWinRB4Init"));
    setToolSetOrganisation();
    const bool translated = loadToolSetTranslation(translator, QStringLiteral("qelWinRB4Init_pl"));
    if (translated)
        QCoreApplication::installTranslator(&translator);
    // Qt's own texts in Polish too; they live as long as the program.
    static QTranslator qtTexts;
    if (loadQtPolish(qtTexts))
        QCoreApplication::installTranslator(&qtTexts);
    application.setStyle(new MyProxyStyle);
    settingsCache::instance().load();
    return translated;
}
