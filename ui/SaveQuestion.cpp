#include "SaveQuestion.h"

#include "ByteText.h"
#include "MessageBoxes.h"

bool mayOverwrite(QWidget* parent, const std::string& question) {
    return question.empty() || messageBoxes().question(parent, textFromBytes(question));
}
