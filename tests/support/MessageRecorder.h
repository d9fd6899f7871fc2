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
    // Recorded as a question, and answered with typedValuesAnswer (Cancel unless a test
    // says otherwise).
    TypedValuesAnswer askAboutTypedValues(QWidget* parent, const QString& text) override;
    // Recorded as questions (their labels), and answered with `answer` (nothing: as
    // Cancel); a choice records its items too.
    std::optional<int> askNumber(QWidget* parent, const QString& title, const QString& label, int value, int min,
                                 int max) override;
    std::optional<int> askChoice(QWidget* parent, const QString& title, const QString& label,
                                 const QStringList& items, int current) override;

    std::vector<RecordedMessage> messages;
    QStringList errors() const;
    QStringList questions() const;
    void clear() {
        messages.clear();
        answerQuestions = false;
        closeAnswer = CloseAnswer::Cancel;
        typedValuesAnswer = TypedValuesAnswer::Cancel;
        answer.reset();
        offered.clear();
        offeredValue = 0;
    }
    bool answerQuestions = false;
    CloseAnswer closeAnswer = CloseAnswer::Cancel;
    TypedValuesAnswer typedValuesAnswer = TypedValuesAnswer::Cancel;
    std::optional<int> answer;
    QStringList offered;   // the last choice's items
    int offeredValue = 0;  // the value or item the last number or choice started at
};

MessageRecorder& recorder();
