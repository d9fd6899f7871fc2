// Whatever a message quotes, its box fits the screen and is laid out at once: the text
// is cut past so many lines or characters, and a long run without a blank is given
// places where the box may break it.

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTimer>
#include <gtest/gtest.h>

#include "FittedMessage.h"
#include "MessageBoxes.h"

namespace {

const QChar kBreak(0x200B);
const QString kCut(QChar(0x2026));

QString repeated(const QString& line, int times, const QString& between) {
    QStringList lines;
    for (int i = 0; i < times; ++i) lines << line;
    return lines.join(between);
}

TEST(FittedMessage, CutsLongTextsAndBreaksLongRuns) {
    const QString word100(100, QLatin1Char('w'));
    const struct {
        const char* name;
        QString text;
        QString fitted;
    } cases[] = {
        {"a short message stays as it is", QStringLiteral("Nothing was pasted.\nRow 2, column 3."),
         QStringLiteral("Nothing was pasted.\nRow 2, column 3.")},
        {"as many lines as a box takes", repeated(QStringLiteral("a"), kMessageLines, QStringLiteral("\n")),
         repeated(QStringLiteral("a"), kMessageLines, QStringLiteral("\n"))},
        {"one line more", repeated(QStringLiteral("a"), kMessageLines + 1, QStringLiteral("\n")),
         repeated(QStringLiteral("a"), kMessageLines, QStringLiteral("\n")) + kCut},
        {"as many characters as a box takes", repeated(QStringLiteral("abcd"), 300, QStringLiteral(" ")).left(kMessageCharacters),
         repeated(QStringLiteral("abcd"), 300, QStringLiteral(" ")).left(kMessageCharacters)},
        {"more characters", repeated(QStringLiteral("abcd"), 400, QStringLiteral(" ")),
         repeated(QStringLiteral("abcd"), 400, QStringLiteral(" ")).left(kMessageCharacters) + kCut},
        {"a run as long as may stand unbroken", word100 + QStringLiteral(" ") + word100,
         word100 + QStringLiteral(" ") + word100},
        {"longer runs are broken after every 100 characters", word100 + word100 + QStringLiteral("w\n") + word100 + QStringLiteral("x"),
         word100 + kBreak + word100 + kBreak + QStringLiteral("w\n") + word100 + kBreak + QStringLiteral("x")},
        {"a character of two halves stays whole at a cut",
         QString(kMessageCharacters - 1, QLatin1Char(' ')) + QString::fromUcs4(U"\U0001F600") ,
         QString(kMessageCharacters - 1, QLatin1Char(' ')) + kCut},
    };
    for (const auto& c : cases) EXPECT_EQ(fittedMessage(c.text), c.fitted) << c.name;
    // Only what is kept is looked at: a text of 50 million characters costs no more.
    const QString huge(50'000'000, QLatin1Char('x'));
    const QString fitted = fittedMessage(huge);
    EXPECT_EQ(fitted.size(), kMessageCharacters + 1);
    EXPECT_TRUE(fitted.endsWith(kCut));
}

// Each kind of box the program shows, with texts no screen could hold, opened for real.
TEST(FittedMessage, EveryBoxFitsTheScreen) {
    const QString texts[] = {
        QString(20'000, QLatin1Char('x')),
        repeated(QStringLiteral("99 (line 12), ") + QString(60, QLatin1Char('y')), 1000, QStringLiteral("\n")),
        repeated(QStringLiteral("a few words of a long reason"), 2000, QStringLiteral(" ")),
    };
    const std::function<void(const QString&)> boxes[] = {
        [](const QString& text) { messageBoxes().error(nullptr, text); },
        [](const QString& text) { messageBoxes().notice(nullptr, QStringLiteral("Notice"), text); },
        [](const QString& text) { messageBoxes().question(nullptr, text); },
        [](const QString& text) { messageBoxes().askBeforeClosing(nullptr, text); },
    };
    MessageBoxes& recorder = messageBoxes();
    installMessageBoxes(nullptr);
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    for (const QString& text : texts) {
        for (std::size_t kind = 0; kind < std::size(boxes); ++kind) {
            QSize shown;
            QTimer::singleShot(0, [&] {
                if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    shown = box->frameGeometry().size();
                    box->reject();
                }
            });
            boxes[kind](text);
            EXPECT_TRUE(shown.isValid()) << "box " << kind;
            EXPECT_LE(shown.width(), screen.width()) << "box " << kind << " of " << text.left(20).toStdString();
            EXPECT_LE(shown.height(), screen.height()) << "box " << kind << " of " << text.left(20).toStdString();
        }
    }
    installMessageBoxes(&recorder);
}

}  // namespace
