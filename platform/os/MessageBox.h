#pragma once

#include "Replaceable.h"

#include <QString>

namespace platform {

// Flag and answer values keep their Win32 numbers so that code reads like the dialogs it shows.
namespace mb {
inline constexpr unsigned Ok = 0x0;
inline constexpr unsigned OkCancel = 0x1;
inline constexpr unsigned YesNoCancel = 0x3;
inline constexpr unsigned YesNo = 0x4;
inline constexpr unsigned IconError = 0x10;
inline constexpr unsigned IconQuestion = 0x20;
inline constexpr unsigned IconWarning = 0x30;
inline constexpr unsigned IconInformation = 0x40;
inline constexpr unsigned ButtonsMask = 0xF;
inline constexpr unsigned IconMask = 0xF0;
} // namespace mb

namespace id {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
} // namespace id

using MessageBoxService =
    Replaceable<int(const QString &text, const QString &title, unsigned flags)>;

// Every message box of the client goes through here; tests replace it with a scripted answerer.
MessageBoxService &MessageBoxProvider();

// Shows a modal message box and returns the id of the button pressed.
int MessageBox(const QString &text, const QString &title, unsigned flags);

} // namespace platform
