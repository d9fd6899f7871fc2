#include "MessageRecorder.h"

namespace {
MessageRecorder* current = nullptr;
}

MessageRecorder::MessageRecorder() { current = this; }
MessageRecorder::~MessageRecorder() { current = nullptr; }

void MessageRecorder::error(QWidget*, const QString& text) { messages.push_back({true, {}, text}); }

void MessageRecorder::notice(QWidget*, const QString& caption, const QString& text) {
    messages.push_back({false, caption, text});
}

bool MessageRecorder::question(QWidget*, const QString& text) {
    messages.push_back({false, {}, text, true});
    return answerQuestions;
}

CloseAnswer MessageRecorder::askBeforeClosing(QWidget*, const QString& text) {
    messages.push_back({false, {}, text, true});
    return closeAnswer;
}

QStringList MessageRecorder::questions() const {
    QStringList list;
    for (const auto& message : messages)
        if (message.isQuestion) list << message.text;
    return list;
}

QStringList MessageRecorder::errors() const {
    QStringList list;
    for (const auto& message : messages)
        if (message.isError) list << message.text;
    return list;
}

MessageRecorder& recorder() { return *current; }
