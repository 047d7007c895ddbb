#include "platform/anthy_converter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "words/kana_composer.h"

namespace pastel {
namespace {

TEST(AnthyConverter, ConvertsWordsAndPhrasesWithItsHomeInATemporaryFolder) {
  QTemporaryDir tmp;
  const QString home = tmp.path() + QStringLiteral("/anthy");
  AnthyConverter anthy(home);
  ASSERT_TRUE(anthy.start());

  const QStringList hanabi = kanaCandidates(&anthy, QStringLiteral("はなび"));
  EXPECT_TRUE(hanabi.contains(QStringLiteral("花火"))) << hanabi.join(' ').toStdString();
  ASSERT_GE(hanabi.size(), 3);
  EXPECT_EQ(hanabi.mid(hanabi.size() - 2),
            (QStringList{QStringLiteral("はなび"), QStringLiteral("ハナビ")}));

  const QStringList gakkou = kanaCandidates(&anthy, QStringLiteral("がっこう"));
  EXPECT_TRUE(gakkou.contains(QStringLiteral("学校"))) << gakkou.join(' ').toStdString();

  // Split into words by Anthy: the words' first candidates joined come first.
  const QStringList phrase = kanaCandidates(&anthy, QStringLiteral("がっこうにいく"));
  EXPECT_EQ(phrase.value(0), QStringLiteral("学校に行く")) << phrase.join(' ').toStdString();

  // Never handed what hangs or crashes it.
  EXPECT_TRUE(anthy.convert(QStringLiteral("123456789012")).word.isEmpty());
  EXPECT_TRUE(anthy.convert(QString(40, QChar(u'あ'))).word.isEmpty());

  // It learns nothing, so it writes nothing in its home.
  EXPECT_TRUE(
      QDir(home).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}

}  // namespace
}  // namespace pastel
