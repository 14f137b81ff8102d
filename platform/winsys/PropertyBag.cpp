#include "PropertyBag.h"

#include <QDataStream>
#include <QIODevice>

namespace platform {
namespace {

// Form data starts with this tag and a format number, so foreign bytes are refused rather than
// read as properties.
const quint32 ContentsTag = 0x50624167; // "PbAg"
const quint16 ContentsFormat = 1;

QString keyOf(const QString &name)
{
    return name.toLower();
}

} // namespace

qsizetype PropertyBag::IndexOf(const QString &name) const
{
    const QString key = keyOf(name);
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].first == key) {
            return i;
        }
    }
    return -1;
}

QVariant PropertyBag::ReadProperty(const QString &name, const QVariant &defaultValue) const
{
    const qsizetype index = IndexOf(name);
    return index < 0 ? defaultValue : m_entries[index].second;
}

void PropertyBag::WriteProperty(const QString &name, const QVariant &value,
                                const QVariant &defaultValue)
{
    const qsizetype index = IndexOf(name);
    if (defaultValue.isValid() && value == defaultValue) {
        if (index >= 0) {
            m_entries.removeAt(index);
        }
        return;
    }
    if (index >= 0) {
        m_entries[index].second = value;
    } else {
        m_entries.append({keyOf(name), value});
    }
}

bool PropertyBag::Contains(const QString &name) const
{
    return IndexOf(name) >= 0;
}

QStringList PropertyBag::Keys() const
{
    QStringList keys;
    for (const auto &entry : m_entries) {
        keys.append(entry.first);
    }
    return keys;
}

QByteArray PropertyBag::Contents() const
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out << ContentsTag << ContentsFormat << quint32(m_entries.size());
    for (const auto &entry : m_entries) {
        out << entry.first << entry.second;
    }
    return data;
}

std::optional<PropertyBag> PropertyBag::FromContents(const QByteArray &data)
{
    QDataStream in(data);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 tag = 0;
    quint16 format = 0;
    quint32 count = 0;
    in >> tag >> format >> count;
    if (in.status() != QDataStream::Ok || tag != ContentsTag || format != ContentsFormat) {
        return std::nullopt;
    }
    PropertyBag bag;
    for (quint32 i = 0; i < count; ++i) {
        QString key;
        QVariant value;
        in >> key >> value;
        if (in.status() != QDataStream::Ok) {
            return std::nullopt;
        }
        bag.WriteProperty(key, value);
    }
    return in.atEnd() ? std::optional<PropertyBag>(bag) : std::nullopt;
}

} // namespace platform
