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

TypedValuesAnswer MessageRecorder::askAboutTypedValues(QWidget*, const QString& text) {
    messages.push_back({false, {}, text, true});
    return typedValuesAnswer;
}

std::optional<int> MessageRecorder::askNumber(QWidget*, const QString&, const QString& label, int value, int, int) {
    messages.push_back({false, {}, label, true});
    offeredValue = value;
    return answer;
}

std::optional<int> MessageRecorder::askChoice(QWidget*, const QString&, const QString& label, const QStringList& items,
                                              int current) {
    messages.push_back({false, {}, label, true});
    offered = items;
    offeredValue = current;
    return answer;
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
