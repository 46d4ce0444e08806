#include "clientenvironment.h"
#include "filenames.h"
#include "installedfiles.h"
#include "mainwindow.h"
#include "myproxystyle.h"
#include "qttranslation.h"
#include "toolsetidentity.h"

#include <QApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTranslator>

// qelWinModbusClient [project.json]
int main(int argc, char *argv[])
{
    FileNames::keepBytesAsGiven(); // project and record names as given, also when not UTF-8
    setClientEnvironment();
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qelWinModbusClient"));
    setToolSetOrganisation();

    // Polish unless the setting asks for another language; a translator that
    // loaded nothing leaves the built-in English texts. An installed
    // translation file comes before the compiled-in one. Qt's own texts
    // follow the same choice.
    QTranslator translator;
    QTranslator qtTexts;
    const QString language = QSettings().value(QStringLiteral("language")).toString();
    if (language == QLatin1String("pl") || language.isEmpty()) {
        loadToolSetTranslation(translator, QStringLiteral("qelWinModbusClient_pl"));
        loadQtPolish(qtTexts);
    }
    QCoreApplication::installTranslator(&qtTexts);
    QCoreApplication::installTranslator(&translator);

    QApplication::setStyle(new MyProxyStyle);

    int status = 0;
    {
        MainWindow window;
        window.show();
        const QStringList arguments = QCoreApplication::arguments();
        if (arguments.size() > 1)
            window.loadFile(QFileInfo(arguments.at(1)).absoluteFilePath());
        status = QApplication::exec();
    }
    QCoreApplication::removeTranslator(&translator);
    QCoreApplication::removeTranslator(&qtTexts);
    return status;
}
