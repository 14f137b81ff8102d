#include "PagePolicy.h"

#include <QHash>
#include <QWebEngineSettings>

namespace platform {
namespace {

using Feature = QWebEnginePage::Feature;

struct FeatureRow {
    Feature feature;
    PagePolicy::Answer game;
    const char *question; // for the features that are asked for
};

// What a game page gets when the engine asks. A page of any other kind gets none of it.
const FeatureRow FeatureTable[] = {
    {QWebEnginePage::MouseLock, PagePolicy::Answer::Grant, nullptr},
    {QWebEnginePage::Notifications, PagePolicy::Answer::Grant, nullptr},
    {QWebEnginePage::MediaAudioCapture, PagePolicy::Answer::AskOncePerOrigin, "使用你的麦克风"},
    {QWebEnginePage::MediaVideoCapture, PagePolicy::Answer::AskOncePerOrigin, "使用你的摄像头"},
    {QWebEnginePage::MediaAudioVideoCapture, PagePolicy::Answer::AskOncePerOrigin,
     "使用你的麦克风和摄像头"},
    {QWebEnginePage::Geolocation, PagePolicy::Answer::Refuse, nullptr},
    {QWebEnginePage::DesktopVideoCapture, PagePolicy::Answer::Refuse, nullptr},
    {QWebEnginePage::DesktopAudioVideoCapture, PagePolicy::Answer::Refuse, nullptr},
};

struct SettingRow {
    QWebEngineSettings::WebAttribute attribute;
    bool game;
};

const SettingRow SettingTable[] = {
    {QWebEngineSettings::FullScreenSupportEnabled, true},
    {QWebEngineSettings::JavascriptCanAccessClipboard, true},
    {QWebEngineSettings::JavascriptCanPaste, false},
};

const FeatureRow *rowOf(Feature feature)
{
    for (const FeatureRow &row : FeatureTable) {
        if (row.feature == feature) {
            return &row;
        }
    }
    return nullptr;
}

using AnswerKey = QPair<QString, int>;

QHash<AnswerKey, bool> &answers()
{
    static QHash<AnswerKey, bool> table;
    return table;
}

AnswerKey keyOf(const QUrl &origin, Feature feature)
{
    const QUrl bare = origin.adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                                      QUrl::RemoveUserInfo);
    return {bare.toString(QUrl::StripTrailingSlash).toLower(), int(feature)};
}

} // namespace

PagePolicy::Answer PagePolicy::ForFeature(Kind kind, Feature feature)
{
    const FeatureRow *row = rowOf(feature);
    return kind == Kind::Game && row ? row->game : Answer::Refuse;
}

QString PagePolicy::Question(Feature feature)
{
    const FeatureRow *row = rowOf(feature);
    return row && row->question
               ? QString::fromUtf8("此页面想%1，允许吗？").arg(QString::fromUtf8(row->question))
               : QString();
}

bool PagePolicy::ShowsDialogs(Kind kind)
{
    return kind == Kind::Game;
}

bool PagePolicy::ZoomsPerSite(Kind kind)
{
    return kind == Kind::Game;
}

bool PagePolicy::SavesDownloads(Kind kind)
{
    return kind == Kind::Game;
}

void PagePolicy::ApplySettings(Kind kind, QWebEngineSettings &settings)
{
    for (const SettingRow &row : SettingTable) {
        settings.setAttribute(row.attribute, kind == Kind::Game && row.game);
    }
}

std::optional<bool> PagePolicy::Remembered(const QUrl &origin, Feature feature)
{
    const auto found = answers().constFind(keyOf(origin, feature));
    return found == answers().constEnd() ? std::nullopt : std::optional<bool>(*found);
}

void PagePolicy::Remember(const QUrl &origin, Feature feature, bool granted)
{
    answers().insert(keyOf(origin, feature), granted);
}

void PagePolicy::ForgetAnswers()
{
    answers().clear();
}

} // namespace platform
