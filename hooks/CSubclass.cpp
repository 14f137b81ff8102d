#include "CSubclass.h"

#include "HookRecord.h"
#include "platform/os/EventLog.h"

#include <QMetaType>

using namespace platform;
using hooks::HookRecord;

namespace {

const char OverflowText[] = "Message table overflow. Either increase the value of Const "
                            "MSG_ENTRIES or use ALL_MESSAGES instead of specific message values";

// Message arguments count only when they are 8-, 16- or 32-bit integers.
bool isMessageNumber(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
        return true;
    default:
        return false;
    }
}

} // namespace

CSubclass::CSubclass(QObject *parent) : QObject(parent) {}

CSubclass::~CSubclass()
{
    ssc_Terminate();
}

QString CSubclass::KeyOf(HWND lng_hWnd)
{
    return QString::number(lng_hWnd) + "h";
}

void CSubclass::ReportError(const QString &routine, const QString &message) const
{
    WriteEventLog(QString("CSubclass.") + routine + ": " + message);
}

bool CSubclass::ssc_Subclass(HWND lng_hWnd, LPARAM lParamUser, int nOrdinal, bool bIdeSafety,
                             bool *bUnicode, bool bIsAPIwindow)
{
    Q_UNUSED(bIdeSafety);
    if (!IsWindow(lng_hWnd)) {
        ReportError("ssc_Subclass", "Invalid window handle");
        return false;
    }
    // Handles are issued per process, so a live handle is always one of ours.
    if (nOrdinal != 1) {
        ReportError("ssc_Subclass", "Callback method not found");
        return false;
    }
    if (!m_hooks) {
        m_hooks = std::make_unique<std::vector<Entry>>();
    }
    if (IsHooked(lng_hWnd)) {
        ReportError("ssc_Subclass", "Window handle is already subclassed");
        return false;
    }
    // Every window here takes Unicode text.
    const bool unicode = bUnicode && *bUnicode;
    auto record = std::make_shared<HookRecord>(this, lng_hWnd, lParamUser, unicode, bIsAPIwindow);
    WNDPROC previous = SetWindowProc(lng_hWnd, record);
    if (!previous) {
        ReportError("ssc_Subclass", "SetWindowLong failed, error #0");
        return false;
    }
    record->previousProcedure = std::move(previous);
    m_hooks->emplace_back(KeyOf(lng_hWnd), std::move(record));
    return true;
}

bool CSubclass::IsHooked(HWND lng_hWnd) const
{
    if (!m_hooks) {
        return false;
    }
    const QString key = KeyOf(lng_hWnd);
    return std::any_of(m_hooks->begin(), m_hooks->end(),
                       [&key](const Entry &entry) { return entry.first == key; });
}

HookRecord *CSubclass::zMap_VFunction(HWND lng_hWnd, bool bSilent)
{
    if (!m_hooks) {
        ReportError("zMap_VFunction", "Thunk hasn't been initialized");
        return nullptr;
    }
    if (m_hooks->empty()) {
        return nullptr;
    }
    const QString key = KeyOf(lng_hWnd);
    for (const Entry &entry : *m_hooks) {
        if (entry.first == key) {
            return entry.second->IsValid() ? entry.second.get() : nullptr;
        }
    }
    if (!bSilent) {
        // The key was never part of this text; the report keeps its words as they always were.
        ReportError("zMap_VFunction", "Thunk type for  does not exist");
    }
    return nullptr;
}

void CSubclass::ReleaseHook(HWND lng_hWnd)
{
    if (!m_hooks) {
        return;
    }
    const QString key = KeyOf(lng_hWnd);
    auto it = std::find_if(m_hooks->begin(), m_hooks->end(),
                           [&key](const Entry &entry) { return entry.first == key; });
    if (it == m_hooks->end()) {
        return;
    }
    std::shared_ptr<HookRecord> record = it->second;
    m_hooks->erase(it);
    record->ShutDown(HookRecord::ReasonUnhooked);
}

void CSubclass::ssc_UnSubclass(HWND lng_hWnd)
{
    ReleaseHook(lng_hWnd);
}

void CSubclass::ssc_Terminate()
{
    if (!m_hooks) {
        return;
    }
    while (!m_hooks->empty()) {
        const Entry &last = m_hooks->back();
        if (last.second->IsValid()) {
            ReleaseHook(last.second->window);
        } else {
            m_hooks->pop_back();
        }
    }
    m_hooks.reset();
}

CSubclass::LRESULT CSubclass::ssc_CallOrigWndProc(HWND lng_hWnd, UINT uMsg, WPARAM wParam,
                                                  LPARAM lParam)
{
    HookRecord *record = zMap_VFunction(lng_hWnd);
    return record ? record->CallPrevious(uMsg, wParam, lParam) : 0;
}

void CSubclass::ssc_AddMsg(HWND lng_hWnd, qint32 uMsg, int When)
{
    HookRecord *record = zMap_VFunction(lng_hWnd);
    if (!record) {
        return;
    }
    const auto add = [this, uMsg](hooks::MessageTable &table) {
        if (!table.Add(uMsg)) {
            ReportError("zAddMsg", OverflowText);
        }
    };
    if (When & MSG_BEFORE) {
        add(record->beforeTable);
    }
    if (When & MSG_AFTER) {
        add(record->afterTable);
    }
}

void CSubclass::ssc_DelMsg(HWND lng_hWnd, int When, const QVariantList &messages)
{
    HookRecord *record = zMap_VFunction(lng_hWnd);
    if (!record) {
        return;
    }
    for (const QVariant &message : messages) {
        if (!isMessageNumber(message)) {
            continue;
        }
        const qint32 number = message.toInt();
        if (When & MSG_BEFORE) {
            record->beforeTable.Remove(number);
        }
        if (When & MSG_AFTER) {
            record->afterTable.Remove(number);
        }
    }
}

void CSubclass::zSet_lParamUser(HWND hWnd_Hook_ID, LPARAM NewValue)
{
    if (HookRecord *record = zMap_VFunction(hWnd_Hook_ID)) {
        record->userValue = NewValue;
    }
}

CSubclass::LPARAM CSubclass::zGet_lParamUser(HWND hWnd_Hook_ID)
{
    HookRecord *record = zMap_VFunction(hWnd_Hook_ID);
    return record ? record->userValue : 0;
}

void CSubclass::TrackMouseTracking(HWND lng_hWnd)
{
    TrackMouseLeave(lng_hWnd);
}
