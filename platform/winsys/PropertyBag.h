#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace platform {

// The persisted properties of one control in its form's data. Keys are matched without regard
// to case and stored in lower case; a value written equal to its default is not stored, so a
// form only carries what differs from a new control. Values are QVariants: numbers, text,
// booleans, QImage pictures, QFont fonts.
class PropertyBag {
public:
    // The stored value under the key, or the default when none is stored.
    QVariant ReadProperty(const QString &name, const QVariant &defaultValue = {}) const;

    // Stores the value, or forgets the key when the value equals a given default.
    void WriteProperty(const QString &name, const QVariant &value,
                       const QVariant &defaultValue = {});

    bool Contains(const QString &name) const;

    // Stored keys, lower case, in the order they were first written.
    QStringList Keys() const;

    bool IsEmpty() const { return m_entries.isEmpty(); }

    // The form data: the stored entries, in order. Contents() of the bag read back from it
    // equals the original.
    QByteArray Contents() const;
    // Nothing when the data is not a property bag or is cut short.
    static std::optional<PropertyBag> FromContents(const QByteArray &data);

private:
    qsizetype IndexOf(const QString &name) const;

    QList<QPair<QString, QVariant>> m_entries;
};

} // namespace platform
