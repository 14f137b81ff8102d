#pragma once

#include <QString>

#include <stdexcept>

// The numbered run-time error of the tab strip and the code that uses it: the tab collection's
// argument, range and key errors and the drawing buffers that cannot be made. One type carries
// the number and the text, so a caller can tell the cases apart by number and show the text.
class TabError : public std::runtime_error {
public:
    static constexpr int InvalidArgument = 5;
    static constexpr int SubscriptOutOfRange = 9;
    static constexpr int ObjectNotSet = 91;
    static constexpr int DuplicateKey = 457;
    // A user-defined error number (vbObjectError + 513): the buffer failures carry only a text.
    static constexpr int DrawingFailed = int(0x80040201u);

    // The standard text of a numbered error.
    explicit TabError(int number);
    TabError(int number, const QString &description);

    int Number() const { return m_Number; }
    QString Description() const { return m_Description; }

    static QString StandardText(int number);

private:
    int m_Number;
    QString m_Description;
};
