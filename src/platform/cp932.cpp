#include "platform/cp932.h"

#include <iconv.h>

#include <QVector>
#include <array>
#include <cerrno>

namespace pastel {

namespace {

// One pair of strict converters; iconv handles are not shared between calls.
class Cp932 {
 public:
  Cp932() : to_(iconv_open("CP932", "UTF-32LE")), from_(iconv_open("UTF-32LE", "CP932")) {}
  ~Cp932() {
    if (to_ != kBad) iconv_close(to_);
    if (from_ != kBad) iconv_close(from_);
  }
  Cp932(const Cp932&) = delete;
  Cp932& operator=(const Cp932&) = delete;

  // The bytes of c when they read back as c; empty otherwise.
  QByteArray faithful(char32_t c) {
    if (c < 0x80) return QByteArray(1, char(c));
    if (to_ == kBad || from_ == kBad) return {};
    std::array<char, 4> in{char(c & 0xff), char((c >> 8) & 0xff), char((c >> 16) & 0xff),
                           char((c >> 24) & 0xff)};
    std::array<char, 8> out{};
    if (!run(to_, in.data(), in.size(), out.data(), out.size())) return {};
    const size_t n = used_;
    std::array<char, 8> back{};
    if (!run(from_, out.data(), n, back.data(), back.size()) || used_ != 4) return {};
    const char32_t r = char32_t(static_cast<unsigned char>(back[0])) |
                       char32_t(static_cast<unsigned char>(back[1])) << 8 |
                       char32_t(static_cast<unsigned char>(back[2])) << 16 |
                       char32_t(static_cast<unsigned char>(back[3])) << 24;
    if (r != c) return {};
    return QByteArray(out.data(), int(n));
  }

 private:
  static inline const iconv_t kBad = reinterpret_cast<iconv_t>(-1);

  bool run(iconv_t cd, char* in, size_t inLen, char* out, size_t outLen) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* ip = in;
    char* op = out;
    size_t il = inLen, ol = outLen;
    // EILSEQ (no form in the code page) and every other error: not held.
    const size_t r = iconv(cd, &ip, &il, &op, &ol);
    used_ = outLen - ol;
    return r != size_t(-1) && il == 0;
  }

  iconv_t to_;
  iconv_t from_;
  size_t used_ = 0;
};

}  // namespace

bool cp932Holds(char32_t c) {
  Cp932 cp;
  return !cp.faithful(c).isEmpty();
}

QByteArray toCp932WithReferences(const QString& text) {
  Cp932 cp;
  QByteArray out;
  out.reserve(text.size() * 2);
  for (const char32_t c : text.toUcs4()) {
    const QByteArray b = cp.faithful(c);
    if (b.isEmpty())
      out += "&#" + QByteArray::number(quint32(c)) + ';';
    else
      out += b;
  }
  return out;
}

}  // namespace pastel
