#include "app/form/RunQuorvane.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    return RunQuorvane(application, application.arguments());
}
