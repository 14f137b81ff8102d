#pragma once

#include <QString>
#include <QUrl>
#include <QWebEnginePage>

#include <optional>

class QWebEngineSettings;

namespace platform {

// What a page may do, decided here and nowhere else, by the kind of page it is. A game page gets
// what games use; any other page (the login page, the start page) gets none of it. Every request
// a page makes is answered: none is left waiting.
class PagePolicy {
public:
    enum class Kind {
        Plain, // the login page and the start page: nothing beyond showing itself
        Game,  // a game page in a tab of the main window
    };
    enum class Answer { Refuse, Grant, AskOncePerOrigin };

    // The engine's requests, by feature. Features not named in the table are refused.
    static Answer ForFeature(Kind kind, QWebEnginePage::Feature feature);

    // The question put to the player for a feature that is asked for.
    static QString Question(QWebEnginePage::Feature feature);

    // Alert, confirm and prompt appear in the client's dialog; otherwise they answer at once
    // (confirm false, prompt null) and nothing shows.
    static bool ShowsDialogs(Kind kind);

    // Ctrl+wheel and the zoom keys are kept per site, across restarts.
    static bool ZoomsPerSite(Kind kind);

    // A download is saved into the user's download folder; otherwise it is cancelled at once.
    static bool SavesDownloads(Kind kind);

    // What is a setting of the page rather than a question: fullscreen, writing the clipboard
    // (reading it never).
    static void ApplySettings(Kind kind, QWebEngineSettings &settings);

    // The player's answer to a question, for this run of the client.
    static std::optional<bool> Remembered(const QUrl &origin, QWebEnginePage::Feature feature);
    static void Remember(const QUrl &origin, QWebEnginePage::Feature feature, bool granted);
    static void ForgetAnswers();
};

} // namespace platform
