#include "storage/value_formats.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

namespace pastel {
namespace {

TEST(ValueFormats, TwipsAreShortestTextThatReadsBackToTheSameFloat) {
  EXPECT_EQ(twipsText(1785), "1785");
  EXPECT_EQ(twipsText(1785.5f), "1785.5");
  EXPECT_EQ(twipsText(3998.4f), "3998.4");
  EXPECT_EQ(twipsText(-120), "-120");
  EXPECT_EQ(twipsText(-0.0f), "0");
  EXPECT_EQ(twipsText(1234567.f), "1234567");  // no grouping, no exponent
  // Every value a drag can produce reads back bit for bit.
  for (float v : {0.1f, 13200.f, 2520.f + 720.f * 3, 1785.f * 2.24f, 1335.f * 1.1f * 0.9f, -7.25f,
                  32767.f, 1e-3f}) {
    const auto back = parseTwips(twipsText(v));
    ASSERT_TRUE(back) << twipsText(v).toStdString();
    EXPECT_EQ(*back, v);
  }
  EXPECT_EQ(parseTwips(" 1785 "), 1785.f);
  EXPECT_EQ(parseTwips("+12.5"), 12.5f);
  for (const char* bad : {"", "abc", "1,785", "12x", "inf", "nan", "1e40"})
    EXPECT_FALSE(parseTwips(QString::fromLatin1(bad))) << bad;
}

TEST(ValueFormats, ColoursAreSigned32BitAndFontSizesFixedPoint) {
  EXPECT_EQ(colourText(kWhite), "16777215");
  EXPECT_EQ(colourText(kBlack), "0");
  EXPECT_EQ(colourText(kSysWindowBackground), "-2147483643");
  for (ColourValue c : {kWhite, kBlack, kSysWindowBackground, kSysButtonFace, rgb(1, 2, 3)})
    EXPECT_EQ(parseColour(colourText(c)), c);
  EXPECT_FALSE(parseColour("4294967296"));
  EXPECT_FALSE(parseColour("12.5"));
  EXPECT_FALSE(parseColour(""));

  EXPECT_EQ(fontSizeText(14), "14");
  EXPECT_EQ(fontSizeText(10.5f), "10.5");
  EXPECT_EQ(fontSizeText(14.25f), "14.25");
  EXPECT_EQ(fontSizeText(8.123456f), "8.1235");
  for (float s : {14.f, 10.5f, 14.25f, 36.f}) EXPECT_EQ(parseFontSize(fontSizeText(s)), s);
  EXPECT_FALSE(parseFontSize("0"));
  EXPECT_FALSE(parseFontSize("-3"));
  EXPECT_FALSE(parseFontSize("100000"));

  EXPECT_EQ(colourCodeOf(rgb(0xff, 0x80, 0x0a)), "#ff800a");
  EXPECT_EQ(colourCodeOf(kWhite), "#ffffff");
}

TEST(ValueFormats, StoredPathsResolveOnlyToFilesInsideThePosterFolder) {
  QTemporaryDir dir;
  const QString base = dir.path() + "/ぽすたー 1";
  ASSERT_TRUE(QDir().mkpath(base + "/natsu"));
  QFile photo(base + "/natsu/うみ.jpg");
  ASSERT_TRUE(photo.open(QIODevice::WriteOnly));
  photo.close();
  QFile outside(dir.path() + "/secret.txt");
  ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
  outside.close();
  ASSERT_TRUE(QFile::link(dir.path() + "/secret.txt", base + "/natsu/link.jpg"));

  EXPECT_EQ(storedRelativePath("natsu", "うみ.jpg"), "natsu\\うみ.jpg");
  const QString expected = QDir(base).canonicalPath() + "/natsu/うみ.jpg";
  EXPECT_EQ(resolveStoredPath(base, "natsu\\うみ.jpg"), expected);
  EXPECT_EQ(resolveStoredPath(base, "natsu/うみ.jpg"), expected);
  for (const QString& bad :
       {QString("natsu\\..\\..\\secret.txt"), QString("..\\secret.txt"), QString("/etc/passwd"),
        QString("\\etc\\passwd"), QString("C:\\x.jpg"), QString("c:x.jpg"),
        QString("natsu\\link.jpg"), QString("natsu"), QString("natsu\\missing.jpg"),
        QString("natsu\\うみ.jpg") + QChar(0) + "x", QString()})
    EXPECT_FALSE(resolveStoredPath(base, bad)) << bad.toStdString();
}

}  // namespace
}  // namespace pastel
