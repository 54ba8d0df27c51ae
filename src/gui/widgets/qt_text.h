#pragma once
// 8-bit program texts to and from Qt strings.
#include <QFile>
#include <QString>
#include <string>

#include "core/platform/text.h"

namespace widgets {

// Pack, built-in and message texts: UTF-8 when valid, else Windows-1252.
inline QString ToQ(const std::string& text) {
    return QString::fromStdString(platform::DecodeForDisplay(text));
}

// File and folder names: the file-system encoding, both ways.
inline QString PathToQ(const std::string& path) {
    return QFile::decodeName(path.c_str());
}
inline std::string PathFromQ(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace widgets
