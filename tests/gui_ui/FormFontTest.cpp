#include <gtest/gtest.h>

#include <QFontInfo>

#include "FormFont.h"

// The font is handed fewer families than the design lists; it must still come to the
// face the whole list comes to, in the same style and size.
TEST(FormFont, ComesToTheFaceTheWholeListOfFamiliesComesTo) {
    const QFont design = formFont();
    QFont wholeList = design;
    wholeList.setFamilies(formFontFamilies());
    const QFontInfo chosen(design), expected(wholeList);
    EXPECT_EQ(chosen.family().toStdString(), expected.family().toStdString());
    EXPECT_EQ(chosen.styleName().toStdString(), expected.styleName().toStdString());
    EXPECT_EQ(chosen.pixelSize(), expected.pixelSize());
    EXPECT_EQ(design.stretch(), wholeList.stretch());
}
