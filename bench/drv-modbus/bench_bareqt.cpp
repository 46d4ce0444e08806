// The yardstick of start-up costs: a Qt console program that creates its
// application object and ends.

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    return 0;
}
