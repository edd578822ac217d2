#include "core/shift_jis.h"

#include <QList>
#include <QStringDecoder>
#include <cerrno>
#include <iconv.h>
#include <string>

namespace skyloom {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// CP932 is the Windows form of Shift-JIS the index files are written in;
// plain SHIFT_JIS serves where the C library lacks it.
iconv_t openShiftJisConverter()
{
    for (const char* name : {"CP932", "SHIFT_JIS"}) {
        const iconv_t handle = iconv_open("UTF-8", name);
        if (handle != kNoConverter)
            return handle;
    }
    return kNoConverter;
}

class IconvHandle {
  public:
    IconvHandle() : handle_(openShiftJisConverter()) {}
    ~IconvHandle()
    {
        if (valid())
            iconv_close(handle_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    bool valid() const { return handle_ != kNoConverter; }
    iconv_t get() const { return handle_; }

  private:
    iconv_t handle_;
};

} // namespace

QString decodeShiftJisWithIconv(const QByteArray& bytes)
{
    IconvHandle converter;
    if (!converter.valid())
        return QString::fromLatin1(bytes);

    std::string in(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::string out;
    std::string chunk(4096, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    while (inLeft > 0) {
        char* outPtr = chunk.data();
        std::size_t outLeft = chunk.size();
        const std::size_t rc = iconv(converter.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(chunk.data(), chunk.size() - outLeft);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An invalid or truncated sequence: mark it and step over one byte.
            out.append("\xEF\xBF\xBD");
            ++inPtr;
            --inLeft;
        }
    }
    return QString::fromUtf8(out.data(), static_cast<qsizetype>(out.size()));
}

QString decodeShiftJis(const QByteArray& bytes)
{
    QStringDecoder decoder("Shift_JIS");
    if (!decoder.isValid())
        return decodeShiftJisWithIconv(bytes);
    return decoder.decode(bytes);
}

int shiftJisByteCount(const QString& text)
{
    int bytes = 0;
    for (const char32_t c : text.toUcs4()) {
        const bool ascii = c < 0x80;
        const bool halfWidthKatakana = c >= 0xFF61 && c <= 0xFF9F;
        bytes += (ascii || halfWidthKatakana) ? 1 : 2;
    }
    return bytes;
}

} // namespace skyloom
