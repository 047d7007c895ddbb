#include "platform/anthy_converter.h"

#include <anthy/anthy.h>

#include <QDir>
#include <QStandardPaths>

namespace pastel {

namespace {

int anthyUsers = 0;

// More are never shown to a child; it also bounds the work per conversion.
constexpr int kMaxCandidates = 40;

QString segmentText(anthy_context_t ctx, int segment, int candidate) {
  char buf[1024];
  const int n = anthy_get_segment(ctx, segment, candidate, buf, sizeof buf);
  if (n <= 0 || n >= int(sizeof buf) - 1) return QString();
  return QString::fromUtf8(buf, n);
}

}  // namespace

AnthyConverter::AnthyConverter(QString home) : home_(std::move(home)) {}

AnthyConverter::~AnthyConverter() {
  if (context_) anthy_release_context(static_cast<anthy_context_t>(context_));
  if (started_ && --anthyUsers == 0) anthy_quit();
}

bool AnthyConverter::start() {
  if (tried_) return context_ != nullptr;
  tried_ = true;
  if (anthyUsers == 0) {
    // Anthy reads the passwd home, not $HOME, unless told otherwise.
    QDir().mkpath(home_);
    const QByteArray home = QFile::encodeName(home_);
    anthy_conf_override("HOME", home.constData());
    if (anthy_init() != 0) return false;
  }
  ++anthyUsers;
  started_ = true;
  anthy_set_personality("");
  anthy_context_t ctx = anthy_create_context();
  if (!ctx) return false;
  anthy_context_set_encoding(ctx, ANTHY_UTF8_ENCODING);
  context_ = ctx;
  return true;
}

KanaConversion AnthyConverter::convert(const QString& reading) {
  KanaConversion r;
  // Invalid UTF-8 crashes Anthy and digit runs take minutes.
  if (!isConvertibleKana(reading) || !start()) return r;
  auto* ctx = static_cast<anthy_context_t>(context_);
  if (anthy_set_string(ctx, reading.toUtf8().constData()) != 0) return r;
  anthy_conv_stat stat;
  if (anthy_get_stat(ctx, &stat) != 0 || stat.nr_segment < 1) return r;

  if (stat.nr_segment > 1) {
    for (int s = 0; s < stat.nr_segment; ++s) r.phrase += segmentText(ctx, s, 0);
  }
  // The whole reading as one segment gives its candidates as one word.
  for (int guard = 0; stat.nr_segment > 1 && guard < kMaxReadingKana; ++guard) {
    anthy_segment_stat second;
    if (anthy_get_segment_stat(ctx, 1, &second) != 0) break;
    anthy_resize_segment(ctx, 0, second.seg_len);
    if (anthy_get_stat(ctx, &stat) != 0) return r;
  }
  if (stat.nr_segment != 1) return r;
  anthy_segment_stat one;
  if (anthy_get_segment_stat(ctx, 0, &one) != 0) return r;
  for (int c = 0; c < one.nr_candidate && c < kMaxCandidates; ++c) {
    const QString t = segmentText(ctx, 0, c);
    if (!t.isEmpty() && !r.word.contains(t)) r.word << t;
  }
  return r;
}

QString anthyHomeFolder() {
  const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  if (data.isEmpty()) return QDir::tempPath() + QStringLiteral("/pastelboard-anthy");
  return data + QStringLiteral("/pastelboard/anthy");
}

}  // namespace pastel
