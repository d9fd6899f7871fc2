#pragma once
// Text of the files as JSON, for the JSON report and the SARIF log.

#include <string>
#include <string_view>

#include "VisibleText.h"

// A JSON string, quotes included, of the bytes made visible: valid UTF-8 whatever the
// bytes, and a byte that is not UTF-8 is the text \xNN, as on a text line.
inline std::string jsonString(std::string_view bytes) {
    const std::string visible = visibleText(bytes);  // no control character is left
    std::string text = "\"";
    text.reserve(visible.size() + 2);
    for (const char c : visible) {
        if (c == '"' || c == '\\') text.push_back('\\');
        text.push_back(c);
    }
    return text + "\"";
}
