#pragma once
// The one place a save asks before it replaces a file that another program changed
// since the editor read or last wrote it. The tables decide whether to ask
// (checkSave); the windows only put the question.

#include <functional>
#include <string>

class QWidget;

// True when the save may go on: there is no question, or the operator answered Yes.
// No, the default, keeps the file as the other program left it.
bool mayOverwrite(QWidget* parent, const std::string& question);

// The same, as the question a save takes.
std::function<bool(const std::string&)> askBeforeOverwrite(QWidget* parent);
