#include "framework/Text.h"
#include "framework/Dc.h"
#include "framework/Edit.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

// Device names (ASCII), UTF-8 names and paths, and 8-bit names written by other systems.
const std::vector<std::string> kTexts = {
    "Sub L-1",               // the device character set
    "caf\xC3\xA9",           // "café" in UTF-8
    "Caf\xE9 Main",          // "Café" in an 8-bit code page: not UTF-8
    "\xE9t\xC3\xA9",         // both in one name
    "\xE2\x82",              // a sequence cut short
    "\xC0\xAF",              // an overlong form
    "\xED\xA0\x80",          // a surrogate written as UTF-8
    "\xF0\x9D\x84\x9E clef", // a character outside the basic plane
    std::string("a\0b", 3),  // a zero byte inside
};

TEST(TextConversion, EveryTextComesBackByteForByte) {
    for (const std::string& text : kTexts) {
        EXPECT_EQ(FromQString(ToQString(text)), text);
    }
    std::string everyByte;
    for (int b = 0; b < 256; ++b) {
        everyByte += static_cast<char>(b);
    }
    EXPECT_EQ(FromQString(ToQString(everyByte)), everyByte);
}

TEST(TextConversion, UTF8IsReadAsTextAndAStrayByteShowsAsItsLatin1Character) {
    EXPECT_EQ(ToQString("caf\xC3\xA9"), QString::fromUtf8("caf\xC3\xA9"));
    EXPECT_EQ(ToQString("caf\xC3\xA9").size(), 4);
    EXPECT_EQ(ToQString("Caf\xE9").size(), 4);
    EXPECT_EQ(ToDisplayString("Caf\xE9"), QString::fromUtf8("Caf\xC3\xA9"));
    // Text typed into Qt comes out as UTF-8.
    EXPECT_EQ(FromQString(QString::fromUtf8("\xC3\xA9")), "\xC3\xA9");
}

TEST(TextConversion, AnEightBitNameGoesThroughAnEditAndATitleUnchanged) {
    const std::string name = "Caf\xE9";
    CWnd frame;
    ASSERT_TRUE(frame.CreateFrame(name, CRect(0, 0, 200, 100)));
    EXPECT_EQ(frame.GetWindowText(), name);
    CEdit edit;
    ASSERT_TRUE(edit.Create(ES_LEFT, CRect(10, 10, 110, 30), frame, 1));
    edit.SetWindowText(name);
    EXPECT_EQ(edit.GetWindowText(), name);
    EXPECT_EQ(edit.GetWindowText().size(), 4u);
}

TEST(TextConversion, AFilePathNamesTheSameBytesOnDisk) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = FromQString(dir.path()) + "/caf\xC3\xA9.dat";
    QFile file(ToQString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
}

// Whether any pixel in rows top .. bottom - 1 is black.
bool HasInk(const QImage& image, int top, int bottom) {
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == Qt::black) {
                return true;
            }
        }
    }
    return false;
}

constexpr int kCanvasHeight = 120;

struct Drawn {
    int height;
    QImage image;
};

// The controls' 12-pixel "MS Sans Serif", selected into `dc` while it lives.
class TestFont {
public:
    explicit TestFont(CDC& dc) : dc_(dc) {
        font_.CreateFont(-12, 0, 0, 0, 500, 0, 0, 0, 0, 0, 0, 0, 32, "MS Sans Serif");
        dc_.SelectObject(&font_);
    }
    ~TestFont() { dc_.SelectObject(static_cast<const CFont*>(nullptr)); }

private:
    CDC& dc_;
    CFont font_;
};

// Draws `text` in black into a rectangle `width` wide and returns DrawText's height and the image.
Drawn Draw(const std::string& text, int width, UINT format) {
    QImage image(width, kCanvasHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc(&image);
    const TestFont font(dc);
    dc.SetBkMode(TRANSPARENT);
    return {dc.DrawText(text, CRect(0, 0, width, kCanvasHeight), format), image};
}

int TextWidth(const std::string& text) {
    QImage image(1, 1, QImage::Format_RGB32);
    CDC dc(&image);
    const TestFont font(dc);
    return dc.GetTextExtent(text).cx;
}

TEST(DrawTextWordBreak, LinesBreakBetweenWordsThatDoNotFit) {
    const int lineHeight = Draw("WWW", 200, DT_LEFT).height;
    ASSERT_GT(lineHeight, 0);
    const int word = TextWidth("WWW");
    const int pair = TextWidth("WWW WWW");

    // Room for one word a line: three lines; without word breaking one line, cut off.
    const Drawn wrapped = Draw("WWW WWW WWW", word + 2, DT_LEFT | DT_WORDBREAK);
    EXPECT_EQ(wrapped.height, 3 * lineHeight);
    EXPECT_TRUE(HasInk(wrapped.image, 2 * lineHeight, 3 * lineHeight));
    EXPECT_FALSE(HasInk(wrapped.image, 3 * lineHeight, kCanvasHeight));
    EXPECT_EQ(Draw("WWW WWW WWW", word + 2, DT_LEFT).height, lineHeight);
    // Room for two: the third goes to the next line.
    EXPECT_EQ(Draw("WWW WWW WWW", pair + 1, DT_CENTER | DT_WORDBREAK).height, 2 * lineHeight);
    // A line break starts a new line; a word wider than the rectangle keeps its own line.
    EXPECT_EQ(Draw("WWW\r\nWWW", 200, DT_WORDBREAK).height, 2 * lineHeight);
    EXPECT_EQ(Draw("W WWWWWWWWW W", word, DT_WORDBREAK).height, 3 * lineHeight);
    // A single line ignores both.
    EXPECT_EQ(Draw("WWW WWW\nWWW", word, DT_WORDBREAK | DT_SINGLELINE).height, lineHeight);
}

} // namespace
