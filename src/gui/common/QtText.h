#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace torrenta::gui {

// The core speaks UTF-8 std::string; the widgets speak QString.
inline QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string FromQ(const QString& text) {
    return text.toStdString();
}

}  // namespace torrenta::gui
