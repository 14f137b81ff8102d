#include "UpdateFrm.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Vantor Update");
    // The client passes one argument; a path with blanks that reached us in pieces is joined.
    const QString argument = QApplication::arguments().mid(1).join(' ');
    UpdateFrm updateFrm;
    const UpdateFrm::Outcome outcome = updateFrm.Start(argument);
    return outcome == UpdateFrm::Outcome::Failed || outcome == UpdateFrm::Outcome::Unverified ? 1
                                                                                              : 0;
}
