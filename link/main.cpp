#include "link/LinkCommand.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString message;
    const int status = LinkCommand::Run(QCoreApplication::arguments().mid(1), message);
    if (!message.isEmpty()) {
        QTextStream(status == LinkCommand::Accepted ? stdout : stderr) << message << Qt::endl;
    }
    return status;
}
