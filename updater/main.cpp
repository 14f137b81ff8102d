#include "UpdateFrm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantor Update");
    // The client passes one argument; a path with blanks that reached us in pieces is joined.
    const QString argument = QApplication::arguments().mid(1).join(' ');
    UpdateFrm updateFrm;
    return updateFrm.Start(argument) == UpdateFrm::Outcome::Failed ? 1 : 0;
}
