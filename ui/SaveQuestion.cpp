#include "SaveQuestion.h"

#include "ByteText.h"
#include "MessageBoxes.h"

bool mayOverwrite(QWidget* parent, const std::string& question) {
    return question.empty() || messageBoxes().question(parent, textFromBytes(question));
}

std::function<bool(const std::string&)> askBeforeOverwrite(QWidget* parent) {
    return [parent](const std::string& question) { return mayOverwrite(parent, question); };
}
