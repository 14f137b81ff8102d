#include "TabError.h"

TabError::TabError(int number) : TabError(number, StandardText(number)) {}

TabError::TabError(int number, const QString &description)
    : std::runtime_error(description.toStdString()), m_Number(number), m_Description(description)
{
}

QString TabError::StandardText(int number)
{
    switch (number) {
    case InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case ObjectNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case DuplicateKey:
        return QStringLiteral("This key is already associated with an element of this "
                              "collection");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}
