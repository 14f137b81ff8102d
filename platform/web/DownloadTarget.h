#pragma once

#include <QSet>
#include <QString>

// Where a page's download goes and under which name: the user's download folder, a plain name
// of that folder that a server or a page can neither point elsewhere nor hide, and never one
// that is there already.
namespace platform::DownloadTarget {

// The user's download folder: XDG's DOWNLOAD dir, or ~/Downloads when none is set.
QString Folder();

// `suggested` (a server's or a page's name, possibly a path) as one plain file name: only its
// last part, without control characters, leading dots or trailing dots and spaces, short enough
// for any file system, and "下载" when nothing is left.
QString SafeName(const QString &suggested);

// `name`, or "name (2).ext", "name (3).ext"…: the first that is neither in `folder` (nor half
// written there) nor among the `reserved` paths.
QString FreeName(const QString &folder, const QString &name, const QSet<QString> &reserved = {});

// The name a download has while it is written; the finished file takes its own name only once
// it is whole.
QString PartialName(const QString &name);

} // namespace platform::DownloadTarget
