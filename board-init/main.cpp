// qelWinRB4Init: prepares the controller board of a device over SSH.
#include "boardstartup.h"
#include "mainwindow.h"

#include <QApplication>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QTranslator translator;
    prepareBoardApplication(application, translator);
    MainWindow window;
    window.show();
    return application.exec();
}
