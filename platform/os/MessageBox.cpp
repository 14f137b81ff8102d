#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace platform {
namespace {

QMessageBox::Icon iconFor(unsigned flags)
{
    switch (flags & mb::IconMask) {
    case mb::IconError:
        return QMessageBox::Critical;
    case mb::IconQuestion:
        return QMessageBox::Question;
    case mb::IconWarning:
        return QMessageBox::Warning;
    case mb::IconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct ButtonChoice {
    int id;
    const char *text;
    QMessageBox::ButtonRole role;
};

QList<ButtonChoice> buttonsFor(unsigned flags)
{
    // The players read Chinese; Qt's own button texts would come out in English.
    const ButtonChoice ok{id::Ok, "确定", QMessageBox::AcceptRole};
    const ButtonChoice cancel{id::Cancel, "取消", QMessageBox::RejectRole};
    const ButtonChoice yes{id::Yes, "是", QMessageBox::YesRole};
    const ButtonChoice no{id::No, "否", QMessageBox::NoRole};
    switch (flags & mb::ButtonsMask) {
    case mb::OkCancel:
        return {ok, cancel};
    case mb::YesNoCancel:
        return {yes, no, cancel};
    case mb::YesNo:
        return {yes, no};
    default:
        return {ok};
    }
}

int showQtMessageBox(const QString &text, const QString &title, unsigned flags)
{
    QMessageBox box(iconFor(flags), title, text, QMessageBox::NoButton);
    const QList<ButtonChoice> choices = buttonsFor(flags);
    QHash<QAbstractButton *, int> ids;
    for (const ButtonChoice &choice : choices) {
        ids.insert(box.addButton(QString::fromUtf8(choice.text), choice.role), choice.id);
    }
    box.setDefaultButton(static_cast<QPushButton *>(ids.key(choices.first().id)));
    box.exec();
    // Closing the box by its frame counts as the escape answer, like the system's boxes.
    return ids.value(box.clickedButton(), choices.size() == 1 ? id::Ok : choices.last().id);
}

} // namespace

MessageBoxService &MessageBoxProvider()
{
    static MessageBoxService service(showQtMessageBox);
    return service;
}

int MessageBox(const QString &text, const QString &title, unsigned flags)
{
    return MessageBoxProvider()(text, title, flags);
}

} // namespace platform
