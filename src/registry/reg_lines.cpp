#include "registry/reg_lines.h"
#include "registry/win1252.h"

#include <QStringDecoder>

namespace orvanex::reg {

namespace {

template <typename View> qsizetype countKeyAndValueLines(View text) {
    qsizetype lines = 0;
    for (qsizetype at = 0; at < text.size();) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        if (at < text.size() && (text[at] == '[' || text[at] == '"' || text[at] == '@'))
            ++lines;
        const qsizetype end = text.indexOf('\n', at);
        if (end < 0)
            break;
        at = end + 1;
    }
    return lines;
}

// A REGEDIT4 line into out, whose buffer is reused from line to line: most lines are ASCII.
void decodeReg4Into(QByteArrayView bytes, QString* out) {
    out->resize(bytes.size());
    QChar* d = out->data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (std::uint8_t(bytes[i]) >= 0x80) {
            *out = decodeReg4Line(bytes);
            return;
        }
        d[i] = QChar(char16_t(bytes[i]));
    }
}

} // namespace

qsizetype skipRegBlanks(QStringView s, qsizetype pos) {
    while (pos < s.size() && isRegBlank(s[pos]))
        ++pos;
    return pos;
}

QStringView regBlankTrimmed(QStringView s) {
    const qsizetype start = skipRegBlanks(s, 0);
    qsizetype end = s.size();
    while (end > start && isRegBlank(s[end - 1]))
        --end;
    return s.sliced(start, end - start);
}

RegLineReader::RegLineReader(const QByteArray& bytes) {
    if (bytes.startsWith("\xff\xfe")) {
        QStringDecoder utf16(QStringDecoder::Utf16LE);
        m_utf16 = utf16(QByteArrayView(bytes).sliced(2));
        m_encoding = Utf16;
    } else if (bytes.startsWith("\xef\xbb\xbf")) {
        m_bytes = QByteArrayView(bytes).sliced(3);
        m_encoding = Utf8;
    } else {
        m_bytes = QByteArrayView(bytes);
    }
}

bool RegLineReader::next(RegLine* line) {
    line->number = ++m_number;
    if (m_encoding == Utf16)
        return take(QStringView(m_utf16), line, [](QStringView s, QString* out) {
            out->resize(0);
            out->append(s);
        });
    if (m_encoding == Utf8)
        return take(m_bytes, line,
                    [](QByteArrayView s, QString* out) { *out = QString::fromUtf8(s); });
    return take(m_bytes, line, decodeReg4Into);
}

qsizetype RegLineReader::keyAndValueLines() const {
    return m_encoding == Utf16 ? countKeyAndValueLines(QStringView(m_utf16))
                               : countKeyAndValueLines(m_bytes);
}

template <typename View, typename Decode>
bool RegLineReader::take(View text, RegLine* line, Decode decode) {
    if (m_pos >= text.size())
        return false;
    qsizetype end = m_pos;
    while (end < text.size() && text[end] != '\r' && text[end] != '\n')
        ++end;
    decode(text.sliced(m_pos, end - m_pos), &line->text);
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
        ++end;
    m_pos = end + 1;
    return true;
}

void readWin31Lines(RegLineReader& reader, const std::function<void(RegFileOp&&)>& add,
                    QStringList* warnings) {
    RegLine line;
    while (reader.next(&line)) {
        const QStringView text = regBlankTrimmed(line.text);
        if (text.isEmpty() || text.startsWith(u';'))
            continue;
        const qsizetype equals = text.indexOf(u'=');
        const QStringView keyName = regBlankTrimmed(equals < 0 ? text : text.first(equals));
        HKey root = 0;
        QString rootName;
        QStringView subPath;
        // Windows 3.1 had this one root, always written out in full.
        const bool classes =
            keyName.startsWith(QLatin1String("HKEY_CLASSES_ROOT"), Qt::CaseInsensitive) &&
            splitRegKeyName(keyName, &root, &rootName, &subPath) && root == HKEY_CLASSES_ROOT;
        if (!classes) {
            *warnings << QStringLiteral("line %1: a Windows 3.1 registry file holds only "
                                        "\"HKEY_CLASSES_ROOT\\key = value\" lines")
                             .arg(line.number);
            continue;
        }
        RegFileOp op;
        op.kind = RegFileOp::CreateKey;
        op.line = line.number;
        op.key = keyName.toString();
        add(RegFileOp(op));
        if (equals < 0)
            continue;
        op.kind = RegFileOp::SetValue;
        op.type = type::Sz;
        op.data = regBlankTrimmed(text.sliced(equals + 1)).toUtf8();
        add(std::move(op));
    }
}

} // namespace orvanex::reg
