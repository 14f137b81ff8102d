#include "login/LoginCommand.h"

#include <QTest>

class LoginCommandTest : public QObject {
    Q_OBJECT

private slots:
    void fromAddress_data();
    void fromAddress();
};

void LoginCommandTest::fromAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("game");

    using C = LoginCommand;
    QTest::newRow("exit") << "app://exitgame" << int(C::Exit) << "";
    QTest::newRow("minimise") << "app://minimize" << int(C::Minimize) << "";
    QTest::newRow("load") << "app://loadgame|http://h/game/" << int(C::LoadGame)
                          << "http://h/game/";
    QTest::newRow("further bar dropped") << "app://loadgame|https://h:8080/g?a=1|extra|more"
                                         << int(C::LoadGame) << "https://h:8080/g?a=1";
    QTest::newRow("command inside a query")
        << "http://login/page?next=app://minimize" << int(C::Minimize) << "";
    QTest::newRow("exit wins over load")
        << "app://loadgame|http://h/?app://exitgame" << int(C::Exit) << "";
    QTest::newRow("minimise wins over load")
        << "app://loadgame|http://h/app://minimize" << int(C::Minimize) << "";
    QTest::newRow("case matters") << "APP://EXITGAME" << int(C::None) << "";
    QTest::newRow("plain page") << "http://login/qvmrwd/" << int(C::None) << "";
    QTest::newRow("no bar") << "app://loadgame" << int(C::Refused) << "";
    QTest::newRow("empty address") << "app://loadgame|" << int(C::Refused) << "";
    QTest::newRow("javascript") << "app://loadgame|javascript:alert(1)" << int(C::Refused) << "";
    QTest::newRow("file") << "app://loadgame|file:///etc/passwd" << int(C::Refused) << "";
    QTest::newRow("data") << "app://loadgame|data:text/html,x" << int(C::Refused) << "";
    QTest::newRow("other scheme") << "app://loadgame|ftp://h/x" << int(C::Refused) << "";
    QTest::newRow("no host") << "app://loadgame|http:///x" << int(C::Refused) << "";
}

void LoginCommandTest::fromAddress()
{
    QFETCH(QString, address);
    QFETCH(int, kind);
    QFETCH(QString, game);
    const LoginCommand command = LoginCommand::FromAddress(address);
    QCOMPARE(int(command.kind), kind);
    QCOMPARE(command.gameAddress, game);
}

QTEST_APPLESS_MAIN(LoginCommandTest)
#include "tst_logincommand.moc"
