// Every `#include "folder/…"` of the tree against the table of allowed arrows in layers.txt. A
// layer is a folder ("net") or a folder below one ("platform/os"); a file and an include each
// belong to the deepest layer whose folder holds them.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

const QString SourceDir = QStringLiteral(VANTOR_SOURCE_DIR);
const QString Everything = QStringLiteral("*");

// Folder -> the folders it may include, in the table's order.
struct Layers {
    QStringList folders;
    QHash<QString, QStringList> allowed;
};

Layers readLayers()
{
    Layers layers;
    QFile file(SourceDir + "/layers.txt");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return layers;
    }
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).section('#', 0, 0).simplified();
        if (line.isEmpty()) {
            continue;
        }
        QStringList words = line.split(' ');
        const QString folder = words.takeFirst();
        layers.folders << folder;
        layers.allowed.insert(folder, words);
    }
    return layers;
}

bool mayInclude(const Layers &layers, const QString &from, const QString &to)
{
    const QStringList allowed = layers.allowed.value(from);
    return from == to || allowed.contains(to) || allowed.contains(Everything);
}

// The deepest layer holding a path relative to the tree ("platform/os/Shell.h" ->
// "platform/os"); empty when no layer does.
QString layerOf(const Layers &layers, const QString &path)
{
    QString layer;
    for (const QString &folder : layers.folders) {
        if (path.startsWith(folder + '/') && folder.size() > layer.size()) {
            layer = folder;
        }
    }
    return layer;
}

// "file:line: from -> to" for every include of a folder the table does not allow.
QStringList wrongArrows(const Layers &layers, const QString &folder)
{
    const QDir tree(SourceDir);
    static const QRegularExpression include(R"(^\s*#\s*include\s*"([^"]+)\")");
    QStringList wrong;
    QDirIterator files(SourceDir + "/" + folder, {"*.h", "*.hpp", "*.cpp", "*.in"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (layerOf(layers, tree.relativeFilePath(path)) != folder) {
            continue; // a file of a deeper layer, checked against its own line
        }
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            wrong << path + ": cannot be read";
            continue;
        }
        for (int number = 1; !file.atEnd(); ++number) {
            const auto match = include.match(QString::fromUtf8(file.readLine()));
            const QString target = match.captured(1);
            if (!target.contains('/')) {
                continue;
            }
            const QString to = layerOf(layers, target);
            // A path below the including file's own folder ("support/PageForm.h").
            if (to.isEmpty() && QFileInfo(files.fileInfo().dir(), target).exists()) {
                continue;
            }
            if (!mayInclude(layers, folder, to.isEmpty() ? target.section('/', 0, 0) : to)) {
                wrong << QString("%1:%2: %3 -> %4")
                             .arg(tree.relativeFilePath(path))
                             .arg(number)
                             .arg(folder, to);
            }
        }
    }
    return wrong;
}

} // namespace

class LayeringTest : public QObject {
    Q_OBJECT

private slots:
    void tableNamesEveryFolder();
    void tableArrowsPointOneWay();
    void includesFollowTheTable_data();
    void includesFollowTheTable();
};

void LayeringTest::tableNamesEveryFolder()
{
    const Layers layers = readLayers();
    QVERIFY2(!layers.folders.isEmpty(), "layers.txt is missing or empty");
    QDirIterator folders(SourceDir, QDir::Dirs | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    const QDir tree(SourceDir);
    while (folders.hasNext()) {
        const QString folder = tree.relativeFilePath(folders.next());
        const QString top = folder.section('/', 0, 0);
        if (!top.startsWith("build") && layers.allowed.value(top) != QStringList{Everything} &&
            QFile::exists(SourceDir + "/" + folder + "/CMakeLists.txt")) {
            QVERIFY2(layers.allowed.contains(folder), qPrintable(folder + " has no line"));
        }
    }
    for (const QString &folder : layers.folders) {
        for (const QString &to : layers.allowed.value(folder)) {
            QVERIFY2(to == Everything || layers.allowed.contains(to),
                     qPrintable(folder + " allows an unknown folder " + to));
        }
    }
}

// Folders that may include each other, directly or round a circle, would be one layer: the
// table must put every folder below the ones that include it.
void LayeringTest::tableArrowsPointOneWay()
{
    const Layers layers = readLayers();
    QSet<QString> placed; // folders whose every allowed folder is placed already
    QStringList left;
    for (const QString &folder : layers.folders) {
        if (!layers.allowed.value(folder).contains(Everything)) {
            left << folder;
        }
    }
    for (bool progress = true; progress;) {
        progress = false;
        for (const QString &folder : QStringList(left)) {
            const QStringList below = layers.allowed.value(folder);
            if (std::all_of(below.begin(), below.end(),
                            [&](const QString &to) { return placed.contains(to); })) {
                placed << folder;
                left.removeOne(folder);
                progress = true;
            }
        }
    }
    QVERIFY2(left.isEmpty(), qPrintable("arrows run in a circle among " + left.join(' ')));
}

void LayeringTest::includesFollowTheTable_data()
{
    QTest::addColumn<QString>("folder");
    for (const QString &folder : readLayers().folders) {
        QTest::newRow(qPrintable(folder)) << folder;
    }
}

void LayeringTest::includesFollowTheTable()
{
    QFETCH(QString, folder);
    const QStringList wrong = wrongArrows(readLayers(), folder);
    QVERIFY2(wrong.isEmpty(),
             qPrintable("includes the table does not allow:\n" + wrong.join('\n')));
}

QTEST_APPLESS_MAIN(LayeringTest)
#include "tst_layering.moc"
