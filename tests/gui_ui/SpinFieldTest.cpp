#include <climits>
#include <functional>

#include <QLineEdit>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "SpinField.h"

namespace {

struct Bounds {
    int min;
    int max;
};

// Two fields in a shown window, so the focus can really move from one to the other.
struct FieldWindow {
    QWidget window;
    SpinField* field = new SpinField(&window);
    SpinField* other = new SpinField(&window);

    explicit FieldWindow(Bounds bounds) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(field);
        layout->addWidget(other);
        field->setBounds(bounds.min, bounds.max);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        field->setFocus();
    }
    void retype(const QString& text) {
        field->lineEdit()->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    void leave() {
        other->setFocus();
        QApplication::processEvents();
    }
};

struct SetCase {
    Bounds bounds;
    int set;
    const char* shown;
};

TEST(SpinField, ProgramSetValueIsClampedAtOnce) {
    const SetCase cases[] = {
        {{1, 255}, 0, "1"},           {{1, 255}, 256, "255"},      {{1, 255}, 77, "77"},
        {{1, 2000}, 2500, "2000"},    {{1, 1000000}, 0, "1"},      {{0, 1000000}, -5, "0"},
        {{0, 0}, -123456, "-123456"}, {{0, 0}, INT_MAX, "2147483647"},
        {{0, 0}, INT_MIN, "-2147483648"},
    };
    for (const auto& c : cases) {
        SpinField field;
        field.setBounds(c.bounds.min, c.bounds.max);
        field.setValue(c.set);
        EXPECT_EQ(field.text(), QString::fromLatin1(c.shown)) << c.set;
        EXPECT_EQ(field.value(), field.text().toInt()) << c.set;
    }
}

TEST(SpinField, TextThatIsNotAWholeNumberReadsAsTheLowerBound) {
    struct Case {
        Bounds bounds;
        const char* text;
        int value;
    };
    const Case cases[] = {
        {{1, 255}, "", 1},     {{7, 90}, "-", 7},           {{0, 0}, "+", 0},
        {{0, 0}, "-2147483648", INT_MIN}, {{0, 0}, "+42", 42},   {{1, 2000}, "1999", 1999},
        // A number of any size is still a number: pulled into the bounds, or the 32-bit limits.
        {{5, 9}, "99999999999", 9}, {{5, 9}, "-99999999999", 5}, {{0, 0}, "2147483648", INT_MAX},
        {{0, 0}, "-99999999999999999999999", INT_MIN},
    };
    for (const auto& c : cases) {
        SpinField field;
        field.setBounds(c.bounds.min, c.bounds.max);
        field.lineEdit()->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(field.value(), c.value) << c.text;
    }
}

TEST(SpinField, TypedValueIsClampedWhenTheFieldLosesTheFocus) {
    FieldWindow w({1, 2000});
    w.retype(QStringLiteral("5000"));
    EXPECT_EQ(w.field->text(), QStringLiteral("5000"));  // not yet: the field still has the focus
    w.leave();
    EXPECT_EQ(w.field->text(), QStringLiteral("2000"));

    w.field->setFocus();
    w.retype(QStringLiteral("-3"));
    w.leave();
    EXPECT_EQ(w.field->text(), QStringLiteral("1"));
}

TEST(SpinField, EmptiedFieldStaysEmptyAndReadsAsLowerBound) {
    FieldWindow w({4, 10});
    w.field->setValue(8);
    w.retype(QString());
    w.leave();
    EXPECT_EQ(w.field->text(), QString());
    EXPECT_EQ(w.field->value(), 4);
}

TEST(SpinField, TypingAcceptsOnlySignAndDigits) {
    FieldWindow w({0, 0});
    w.retype(QStringLiteral("1a2.3 x"));
    EXPECT_EQ(w.field->text(), QStringLiteral("123"));
    w.retype(QStringLiteral("-45"));
    EXPECT_EQ(w.field->value(), -45);
}

TEST(SpinField, ArrowsStepByOneAndStopAtTheBounds) {
    struct Case {
        Bounds bounds;
        int start;
        Qt::Key key;
        int presses;
        int expected;
    };
    const Case cases[] = {
        {{1, 255}, 254, Qt::Key_Up, 3, 255},    {{1, 255}, 3, Qt::Key_Down, 5, 1},
        {{1, 255}, 10, Qt::Key_Up, 2, 12},      {{0, 0}, INT_MAX - 1, Qt::Key_Up, 3, INT_MAX},
        {{0, 0}, INT_MIN + 1, Qt::Key_Down, 3, INT_MIN}, {{0, 0}, 0, Qt::Key_Down, 2, -2},
    };
    for (const auto& c : cases) {
        FieldWindow w(c.bounds);
        w.field->setValue(c.start);
        for (int i = 0; i < c.presses; ++i) QTest::keyClick(w.field, c.key);
        EXPECT_EQ(w.field->value(), c.expected) << c.start;
    }
}

TEST(SpinField, ArrowsOnTextThatIsNotANumberStartFromTheLowerBound) {
    FieldWindow w({10, 20});
    w.retype(QString());
    QTest::keyClick(w.field, Qt::Key_Up);
    EXPECT_EQ(w.field->text(), QStringLiteral("11"));
}

TEST(SpinField, ChangedFiresSynchronouslyWhenTheShownTextChanges) {
    SpinField field;
    field.setBounds(1, 255);
    field.setValue(5);
    QSignalSpy spy(&field, &SpinField::changed);
    field.setValue(5);
    EXPECT_EQ(spy.count(), 0);
    field.setValue(6);
    EXPECT_EQ(spy.count(), 1);
    field.setValue(900);  // shown as 255: a change
    EXPECT_EQ(spy.count(), 2);
    field.setValue(1000);  // still 255: no change
    EXPECT_EQ(spy.count(), 2);
    {
        const QSignalBlocker blocker(&field);
        field.setValue(7);
    }
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(field.value(), 7);
    field.setBounds(1, 5);  // narrowing the bounds pulls the shown value in
    EXPECT_EQ(field.text(), QStringLiteral("5"));
    EXPECT_EQ(spy.count(), 3);
}

TEST(SpinField, ChangedFiresForTypingAndArrows) {
    FieldWindow w({0, 100});
    w.field->setValue(50);
    QSignalSpy spy(w.field, &SpinField::changed);
    QTest::keyClick(w.field, Qt::Key_Up);
    EXPECT_EQ(spy.count(), 1);
    QTest::keyClick(w.field, Qt::Key_End);
    QTest::keyClick(w.field, Qt::Key_Backspace);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(w.field->text(), QStringLiteral("5"));
}

// A number is committed once, when the operator is done with it: not at each keystroke,
// not when the program sets it, not when the focus passes through untouched.
TEST(SpinField, CommittedOnceWhenTheOperatorIsDoneWithANumber) {
    const struct {
        const char* name;
        std::function<void(FieldWindow&)> act;
        int commits;
        const char* shown;
    } cases[] = {
        {"typed, then left", [](FieldWindow& w) { w.retype("60"); w.leave(); }, 1, "60"},
        {"typed, then Enter", [](FieldWindow& w) { w.retype("60"); QTest::keyClick(w.field, Qt::Key_Return); }, 1, "60"},
        {"typed beyond the bound, then left", [](FieldWindow& w) { w.retype("999"); w.leave(); }, 1, "100"},
        {"typed, nothing else", [](FieldWindow& w) { w.retype("60"); }, 0, "60"},
        {"an arrow step", [](FieldWindow& w) { QTest::keyClick(w.field, Qt::Key_Up); }, 1, "51"},
        {"two arrow steps", [](FieldWindow& w) { QTest::keyClick(w.field, Qt::Key_Down); QTest::keyClick(w.field, Qt::Key_Down); }, 2, "48"},
        {"set by the program", [](FieldWindow& w) { w.field->setValue(70); w.leave(); }, 0, "70"},
        {"passed through", [](FieldWindow& w) { w.leave(); w.field->setFocus(); w.leave(); }, 0, "50"},
        {"typed, then commit()", [](FieldWindow& w) { w.retype("7"); w.field->commit(); w.field->commit(); }, 1, "7"},
    };
    for (const auto& c : cases) {
        FieldWindow w({0, 100});
        w.field->setValue(50);
        QSignalSpy spy(w.field, &SpinField::committed);
        c.act(w);
        EXPECT_EQ(spy.count(), c.commits) << c.name;
        EXPECT_EQ(w.field->text(), QString::fromLatin1(c.shown)) << c.name;
    }
}

TEST(SpinField, WithoutTypingOnlyTheArrowsChangeTheValue) {
    FieldWindow w({1, 255});
    w.field->setTypingAllowed(false);
    w.field->setValue(40);
    w.retype(QStringLiteral("9"));
    QTest::keyClick(w.field, Qt::Key_Backspace);
    EXPECT_EQ(w.field->text(), QStringLiteral("40"));
    QTest::keyClick(w.field, Qt::Key_Up);
    EXPECT_EQ(w.field->value(), 41);
    w.field->setValue(300);  // the program still sets it, clamped
    EXPECT_EQ(w.field->value(), 255);
}

}  // namespace
