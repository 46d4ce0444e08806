// qelApps: greets the user with the splash picture, then opens a command
// prompt in the directory of the installed programs and waits for it.
#include "splashfade.h"
#include "terminalcommand.h"

#include <QApplication>
#include <QPixmap>
#include <QSplashScreen>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QPixmap picture(QStringLiteral("startup.png"));
    QSplashScreen splash(picture);
    SplashFade(picture).run(splash);
    runTerminal(terminalCommand(QCoreApplication::applicationDirPath()));
    return 0;
}
