#pragma once
// Records message boxes instead of showing them. The test main installs one;
// recorder() reaches it, clear() forgets what was recorded.

#include <QString>
#include <QStringList>
#include <vector>

#include "MessageBoxes.h"

struct RecordedMessage {
    bool isError = false;
    QString caption;  // empty for errors and questions
    QString text;
    bool isQuestion = false;
};

class MessageRecorder final : public MessageBoxes {
public:
    MessageRecorder();
    ~MessageRecorder() override;
    void error(QWidget* parent, const QString& text) override;
    void notice(QWidget* parent, const QString& caption, const QString& text) override;
    // Recorded, and answered with answerQuestions (No unless a test says otherwise).
    bool question(QWidget* parent, const QString& text) override;
    // Recorded as a question, and answered with closeAnswer (Cancel unless a test says
    // otherwise).
    CloseAnswer askBeforeClosing(QWidget* parent, const QString& text) override;

    std::vector<RecordedMessage> messages;
    QStringList errors() const;
    QStringList questions() const;
    void clear() {
        messages.clear();
        answerQuestions = false;
        closeAnswer = CloseAnswer::Cancel;
    }
    bool answerQuestions = false;
    CloseAnswer closeAnswer = CloseAnswer::Cancel;
};

MessageRecorder& recorder();
