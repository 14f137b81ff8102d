#pragma once

#include <QString>

namespace platform {

// Marks a file hidden where the file system keeps such an attribute (Windows). Elsewhere hidden
// files are a naming convention, not an attribute, and this does nothing. Returns whether the
// attribute is now set (always true where there is none to set).
bool SetHiddenAttribute(const QString &path);

} // namespace platform
