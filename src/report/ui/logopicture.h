#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <optional>

// The practitioner's logo as Report Settings shows it: an SVG or PNG file,
// read and checked as the report reads it (report/logo.h).
namespace report::ui {

// "svg" or "png" for a file that reads as such a picture; nothing for any
// other file, one that cannot be read, or one too large to be a logo.
std::optional<QByteArray> logoFormat(const QString &path);

// The logo drawn to fit within the size (its proportions kept); null when
// the file is no logo.
QImage logoImage(const QString &path, QSize fitInto);

} // namespace report::ui
