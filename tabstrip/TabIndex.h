#pragma once

#include <QString>

#include <memory>
#include <optional>
#include <type_traits>

class CTabItem;
class ITabForm;

// What a caller may name a tab by: a key, a number, the tab's form or the tab's item, or
// nothing. The kind is the stored type, never the content: the text "3" is a key, the number 3
// an index.
class TabIndex {
public:
    enum Kind { Missing, Key, Number, Form, Item };

    TabIndex() = default;
    TabIndex(const QString &key) : m_Kind(Key), m_Key(key) {}
    TabIndex(const char *key) : m_Kind(Key), m_Key(QString::fromUtf8(key)) {}
    template <typename T>
    requires std::is_arithmetic_v<T> TabIndex(T number) : m_Kind(Number), m_Number(double(number))
    {
    }
    TabIndex(ITabForm *form) : m_Kind(Form), m_Form(form) {}
    TabIndex(const CTabItem *item) : m_Kind(Item), m_Item(item) {}
    TabIndex(const std::shared_ptr<CTabItem> &item) : TabIndex(item.get()) {}

    Kind StoredKind() const { return m_Kind; }
    bool IsMissing() const { return m_Kind == Missing; }
    bool IsNumeric() const { return m_Kind == Number; }
    QString KeyText() const { return m_Key; }
    ITabForm *FormRef() const { return m_Form; }
    const CTabItem *ItemRef() const { return m_Item; }

    // The number as a 32-bit integer, rounded half to even; nothing when this is no number or
    // the number does not fit.
    std::optional<int> ToInt32() const;

private:
    Kind m_Kind = Missing;
    QString m_Key;
    double m_Number = 0;
    ITabForm *m_Form = nullptr;
    const CTabItem *m_Item = nullptr;
};
