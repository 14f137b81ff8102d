#pragma once

#include "platform/winsys/LayeredWindow.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class KubDownLoadFile;

// The start-up window: the first object of the program. It checks that a network is there,
// honours the "/web" switch and shows the splash until the login page has loaded.
class LoadFrm : public platform::LayeredWindow {
    Q_OBJECT

public:
    enum class Outcome { Continue, EndProgram };

    LoadFrm();
    ~LoadFrm() override;

    // The whole start-up sequence up to the visible splash. EndProgram means the program has
    // done all it will do and must end now.
    Outcome Start(const QString &commandLine);

    Outcome Form_Initialize();
    Outcome Form_Load(const QString &commandLine);
    // Hides the splash and releases its pictures. Later requests do nothing.
    void Form_Unload();

    bool IsUnloaded() const { return m_unloaded; }

    // Where the start-up version check reads the manifest; the update server's by default.
    void SetManifestAddress(const QString &address) { m_manifestAddress = address; }
    // The key its manifest must be signed with; the build's by default.
    void SetUpdateKey(const QByteArray &publicKeyLine) { m_updateKey = publicKeyLine; }

signals:
    // The splash is up: the login window is to be loaded now (hidden; it shows itself).
    void LoadLoginWindow();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool CheckVersion();
    void BuildSplash();

    QImage m_Image; // the decoded splash picture
    std::unique_ptr<KubDownLoadFile> m_DownLoadFile;
    QString m_manifestAddress;
    std::optional<QByteArray> m_updateKey;
    bool m_unloaded = false;
};

// The command-line argument string: everything after the program name, blanks kept between
// arguments, so "/web" can be compared as a whole string.
QString CommandLineOf(const QStringList &arguments);
