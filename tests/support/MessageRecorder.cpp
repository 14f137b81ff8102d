#include "MessageRecorder.h"

using namespace platform;

MessageRecorder::MessageRecorder(HWND hWnd, std::optional<LRESULT> answer,
                                 std::shared_ptr<QStringList> order, QString name)
    : m_record(std::make_shared<Record>())
{
    m_record->previous =
        SetWindowProc(hWnd, MakeWindowProc([record = m_record, answer, order,
                                            name](HWND h, UINT m, WPARAM w, LPARAM l) {
                          record->seen.append({m, w, l});
                          if (order) {
                              order->append(name);
                          }
                          const LRESULT result = CallWindowProc(record->previous, h, m, w, l);
                          return answer.value_or(result);
                      }));
}

QList<UINT> MessageRecorder::messages() const
{
    QList<UINT> list;
    for (const Seen &s : m_record->seen) {
        list.append(s.uMsg);
    }
    return list;
}
