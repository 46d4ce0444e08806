// qelApps: greets the user with the splash picture, then opens a command
// prompt in the directory of the installed programs and waits for it.
#include "installedfiles.h"
#include "splashfade.h"
#include "terminalcommand.h"

#include <QApplication>
#include <QFileInfo>
#include <QPixmap>
#include <QSplashScreen>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    // The working directory's splash picture, else the installed one.
    QString pictureFile = QStringLiteral("startup.png");
    if (!QFileInfo(pictureFile).isFile())
        pictureFile = installedDataFolder() + QStringLiteral("/startup.png");
    const QPixmap picture(pictureFile);
    QSplashScreen splash(picture);
    SplashFade(picture).run(splash);
    runTerminal(terminalCommand(QCoreApplication::applicationDirPath()));
    return 0;
}
