#pragma once
// Names and other texts are bytes in the table files. They are shown decoded as
// UTF-8 where they are valid UTF-8, else as Latin-1, and never written back from
// the decoded form.

#include <string_view>

#include <QString>

QString textFromBytes(std::string_view bytes);
