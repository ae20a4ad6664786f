#include "native_name.h"

#include <QStringDecoder>

namespace native_name {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscape(QChar c) {
    return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF;
}

// The length of the well-formed UTF-8 sequence at bytes[i], or 0.
int sequenceLength(QByteArrayView bytes, qsizetype i, char32_t& code) {
    const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char lead = byte(i);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    for (int k = 1; k < length; ++k) {
        const unsigned char next = byte(i + k);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and code points past Unicode are not well-formed.
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    return length;
}

void appendUtf8(QByteArray& out, char32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

} // namespace

QString fromBytes(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t code = 0;
        const int length = sequenceLength(bytes, i, code);
        if (length == 0) {
            text += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i])));
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            const char32_t pair[] = {code};
            text += QString::fromUcs4(pair, 1);
        } else {
            text += QChar(char16_t(code));
        }
        i += length;
    }
    return text;
}

QByteArray toBytes(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            appendUtf8(out, QChar::surrogateToUcs4(c, text[i + 1]));
            ++i;
        } else if (isEscape(c)) {
            out += char(c.unicode() - kEscapeBase);
        } else if (c.isSurrogate()) {
            appendUtf8(out, 0xFFFD); // a stray surrogate not of our making
        } else {
            appendUtf8(out, c.unicode());
        }
    }
    return out;
}

bool hasEscapes(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        } else if (isEscape(text[i])) {
            return true;
        }
    }
    return false;
}

QString forDisplay(const QString& text) {
    if (!hasEscapes(text)) {
        return text;
    }
    const QByteArray bytes = toBytes(text);
    QStringDecoder shiftJis("Shift_JIS", QStringDecoder::Flag::Stateless);
    if (shiftJis.isValid()) {
        const QString decoded = shiftJis(bytes);
        if (!shiftJis.hasError()) {
            return decoded;
        }
    }
    // Latin-1 gives every byte a character; valid UTF-8 parts were never escaped.
    QString shown;
    for (QChar c : text) {
        shown += isEscape(c) ? QChar(char16_t(c.unicode() - kEscapeBase)) : c;
    }
    return shown;
}

QString forMessage(const QString& path, qsizetype maxLength) {
    const QString shown = forDisplay(path);
    if (shown.size() <= maxLength || maxLength < 3) {
        return shown;
    }
    const QChar ellipsis(0x2026);
    const qsizetype kept = maxLength - 1;
    qsizetype head = (kept + 1) / 2;
    qsizetype tail = kept - head;
    // Never between the two halves of a character outside the basic plane.
    if (head > 0 && shown[head - 1].isHighSurrogate()) {
        --head;
    }
    if (tail > 0 && shown[shown.size() - tail].isLowSurrogate()) {
        --tail;
    }
    return shown.left(head) + ellipsis + shown.right(tail);
}

} // namespace native_name
