// The programs as a player starts them: their command lines, answered before any display is
// needed.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Ran {
    int status = -1;
    QProcess::ExitStatus how = QProcess::CrashExit;
    QString out;
    QString err;
};

// Runs a program with no display named at all, unless the extra variables name one.
Ran runWithoutDisplay(const QString &program, const QStringList &arguments,
                      const QStringList &extra = {})
{
    static QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        environment.remove(name);
    }
    environment.insert("XDG_RUNTIME_DIR", runtime.path());
    for (const QString &variable : extra) {
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    }
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitCode(), process.exitStatus(),
            QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
            QString::fromUtf8(process.readAllStandardError()).trimmed()};
}

} // namespace

class ProgramsTest : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
};

void ProgramsTest::commandLine_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("environment");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");

    const auto row = [](const char *name, const QString &program, const QStringList &arguments,
                        const QStringList &environment, int status, const QString &out,
                        const QString &err) {
        QTest::newRow(name) << program << arguments << environment << status << out << err;
    };
    const QString client = VANTOR_CLIENT_PROGRAM;
    const QString link = VANTOR_LINK_PROGRAM;
    const QString version = VANTOR_VERSION;
    const QString noDisplay = "vantor-client: no display to show the client on";
    const QString clientUsage = "usage: vantor-client [/web]";
    row("client --version", client, {"--version"}, {}, 0, "vantor-client " + version, {});
    row("client -v", client, {"-v"}, {}, 0, "vantor-client " + version, {});
    row("client --help", client, {"--help"}, {}, 0, clientUsage, {});
    row("client -h after /web", client, {"/web", "-h"}, {}, 0, clientUsage, {});
    row("client unknown option", client, {"--bogus"}, {}, 64, {},
        "vantor-client: unknown option '--bogus'");
    row("client without a display", client, {}, {}, 1, {}, noDisplay);
    row("client with a display that is not there", client, {},
        {"WAYLAND_DISPLAY=nowhere-to-be-found"}, 1, {}, noDisplay);
    row("link --version", link, {"--version"}, {}, 0, "vantor-link " + version, {});
    row("link --help", link, {"--help"}, {}, 0, "usage: vantor-link ADDRESS | vantor-link --toggle",
        {});
    row("link unknown option", link, {"--bogus"}, {}, 64, {},
        "vantor-link: unknown option '--bogus'");
}

void ProgramsTest::commandLine()
{
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, environment);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);

    const Ran ran = runWithoutDisplay(program, arguments, environment);
    QCOMPARE(ran.how, QProcess::NormalExit);
    QCOMPARE(ran.status, status);
    QVERIFY2(ran.out.startsWith(out) && (out.isEmpty() || !ran.out.isEmpty()), qPrintable(ran.out));
    QVERIFY2(ran.err.startsWith(err), qPrintable(ran.err));
    // One clear line, never a page of the window system's complaints.
    QVERIFY2(ran.err.count('\n') <= 1 || status == 64, qPrintable(ran.err));
}

QTEST_GUILESS_MAIN(ProgramsTest)
#include "tst_programs.moc"
