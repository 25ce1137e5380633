#include "registry/hive_format.h"

#include "registry/hex_digit.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace orvanex::reg {

namespace {

const char Hex[] = "0123456789abcdef";

// Length of the valid UTF-8 sequence at p (2..4), or 0.
int utf8Sequence(const unsigned char* p, qsizetype left) {
    const unsigned char c = p[0];
    const int n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
    if (n == 0 || left < n)
        return 0;
    return QByteArrayView(p, n).isValidUtf8() ? n : 0;
}

void appendQuoted(QByteArray& out, QByteArrayView bytes) {
    out += '"';
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size();) {
        const unsigned char c = p[i];
        if (c == '\\' || c == '"') {
            out += '\\';
            out += char(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (int n = c >= 0x80 ? utf8Sequence(p + i, bytes.size() - i) : 0) {
            out.append(reinterpret_cast<const char*>(p + i), n);
            i += n;
            continue;
        } else {
            out += "\\x";
            out += Hex[c >> 4];
            out += Hex[c & 15];
        }
        ++i;
    }
    out += '"';
}

// Reads one line's tokens: bare words and quoted strings separated by single blanks.
class LineReader {
public:
    explicit LineReader(QByteArrayView line) : m_line(line) {}

    bool word(QByteArrayView* out) {
        if (!separator())
            return false;
        qsizetype end = m_pos;
        while (end < m_line.size() && m_line[end] != ' ')
            ++end;
        *out = m_line.sliced(m_pos, end - m_pos);
        m_pos = end;
        return !out->isEmpty();
    }
    // A quoted string's bytes: a view of the line itself when it holds no escape, else decoded
    // into scratch.
    bool quoted(QByteArrayView* out, QByteArray& scratch) {
        if (!separator() || m_pos >= m_line.size() || m_line[m_pos] != '"')
            return false;
        const qsizetype start = m_pos + 1;
        qsizetype run = start;
        while (run < m_line.size() && m_line[run] != '"' && m_line[run] != '\\')
            ++run;
        if (run == m_line.size())
            return false;
        if (m_line[run] == '"') {
            *out = m_line.sliced(start, run - start);
            m_pos = run + 1;
            return true;
        }
        scratch.resize(0); // keeps the buffer
        scratch.append(m_line.data() + start, run - start);
        m_pos = run;
        if (!unescape(scratch))
            return false;
        *out = scratch;
        return true;
    }
    bool atEnd() const { return m_pos == m_line.size(); }
    QByteArrayView rest() const { return m_line.sliced(m_pos); }

private:
    // Goes on from an escape at m_pos, appending to scratch up to the closing quote.
    bool unescape(QByteArray& scratch) {
        // Written through a pointer: the text decoded is never longer than the line left.
        const qsizetype kept = scratch.size();
        scratch.resize(kept + m_line.size() - m_pos);
        char* out = scratch.data() + kept;
        const char* in = m_line.data();
        for (; m_pos < m_line.size(); ++m_pos) {
            char c = in[m_pos];
            if (c == '"') {
                ++m_pos;
                scratch.truncate(out - scratch.constData());
                return true;
            }
            if (c != '\\') {
                *out++ = c;
                continue;
            }
            if (++m_pos >= m_line.size())
                return false;
            c = in[m_pos];
            if (c == '\\' || c == '"') {
                *out++ = c;
            } else if (c == 'x' && m_pos + 2 < m_line.size()) {
                const int hi = hexDigit(in[m_pos + 1]), lo = hexDigit(in[m_pos + 2]);
                if (hi < 0 || lo < 0)
                    return false;
                *out++ = char(hi * 16 + lo);
                m_pos += 2;
            } else {
                return false;
            }
        }
        return false;
    }
    bool separator() {
        if (m_pos == 0 && !m_started) {
            m_started = true;
            return true;
        }
        if (m_pos >= m_line.size() || m_line[m_pos] != ' ')
            return false;
        ++m_pos;
        return true;
    }
    QByteArrayView m_line;
    qsizetype m_pos = 0;
    bool m_started = false;
};

bool parseNumber(QByteArrayView word, int base, std::uint64_t* out) {
    if (word.isEmpty() || word.size() > 20)
        return false;
    std::uint64_t v = 0;
    for (char c : word) {
        const int d = hexDigit(c);
        if (d < 0 || d >= base)
            return false;
        const std::uint64_t next = v * std::uint64_t(base) + std::uint64_t(d);
        if (next / std::uint64_t(base) != v)
            return false;
        v = next;
    }
    *out = v;
    return true;
}

// Compared in place (a fixed-size compare the compiler inlines): this runs once per line.
template <size_t N> bool isWord(QByteArrayView word, const char (&literal)[N]) {
    return word.size() == qsizetype(N - 1) && std::memcmp(word.data(), literal, N - 1) == 0;
}

// Decodes UTF-8 into out, reusing its buffer when it has one of its own.
void assignUtf8(QString& out, QByteArrayView text) {
    if (!isAscii(text)) {
        out = QString::fromUtf8(text);
        return;
    }
    out.resize(text.size());
    char16_t* to = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < text.size(); ++i)
        to[i] = char16_t(static_cast<unsigned char>(text[i]));
}

// Parses one op line; haveKey says whether the block had a key line before it. Names and data
// are made in arena when one is given.
bool parseOp(QByteArrayView line, bool haveKey, HiveOp* op, QByteArray& scratch,
             TextArena* arena = nullptr) {
    LineReader r(line);
    QByteArrayView text;
    QByteArrayView keyword;
    if (!r.word(&keyword))
        return false;
    if (isWord(keyword, "key") || isWord(keyword, "delkey")) {
        if (!r.quoted(&text, scratch) || !r.atEnd())
            return false;
        op->kind = isWord(keyword, "key") ? HiveOp::CreateKey : HiveOp::DeleteKey;
        assignUtf8(op->path, text);
        return !op->path.isEmpty();
    }
    if (!haveKey)
        return false;
    op->path.resize(0);
    const auto decodeName = [&] { op->name = arena ? arena->utf8(text) : QString::fromUtf8(text); };
    if (isWord(keyword, "delval")) {
        if (!r.quoted(&text, scratch) || !r.atEnd())
            return false;
        op->kind = HiveOp::DeleteValue;
        decodeName();
        return true;
    }
    if (!isWord(keyword, "val") || !r.quoted(&text, scratch))
        return false;
    op->kind = HiveOp::SetValue;
    decodeName();
    QByteArrayView typeWord, dataWord;
    std::uint64_t type = 0;
    if (!r.word(&typeWord) || !parseNumber(typeWord, 10, &type) || type > 0xFFFFFFFFu)
        return false;
    op->type = std::uint32_t(type);
    if (r.rest().startsWith(" dword:")) {
        std::uint64_t dw = 0;
        if (!r.word(&dataWord) || dataWord.size() != 14 ||
            !parseNumber(dataWord.sliced(6), 16, &dw) || !r.atEnd())
            return false;
        const auto v = std::uint32_t(dw);
        const char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
        op->data = arena ? arena->bytes(QByteArrayView(b, 4)) : QByteArray(b, 4);
        return true;
    }
    if (!r.quoted(&text, scratch) || !r.atEnd())
        return false;
    // Decoded in the scratch buffer, kept in one of its own size.
    op->data = text.isEmpty() ? QByteArray() : arena ? arena->bytes(text) : text.toByteArray();
    return true;
}

// Whether the partial last line of a tail can be the start of a line this format writes.
bool isLinePrefix(QByteArrayView part) {
    if (part.isEmpty())
        return true;
    const QByteArrayView commit("commit ");
    if (commit.startsWith(part))
        return true;
    if (part.startsWith(commit)) {
        // "commit <sequence> <crc>": digits, then a blank and up to 8 hex digits.
        qsizetype i = commit.size();
        while (i < part.size() && part[i] >= '0' && part[i] <= '9')
            ++i;
        if (i == part.size())
            return true;
        if (part[i] != ' ' || i == commit.size())
            return false;
        const QByteArrayView crc = part.sliced(i + 1);
        return crc.size() <= 8 &&
               std::all_of(crc.begin(), crc.end(), [](char c) { return hexDigit(c) >= 0; });
    }
    const qsizetype blank = part.indexOf(' ');
    const QByteArrayView word = blank < 0 ? part : part.first(blank);
    for (const char* keyword : {"key", "delkey", "val", "delval"})
        if (blank < 0 ? QByteArrayView(keyword).startsWith(word) : word == keyword)
            return true;
    return false;
}

// Whether the bytes after the last complete block can be a block whose write stopped part way:
// each complete line an op line and the last line cut short. A finished block whose commit line
// was damaged fails this; *badLine is then the line (counted from 0) that cannot be read.
bool couldBeUnfinished(QByteArrayView tail, qsizetype* badLine) {
    bool haveKey = false;
    HiveOp op;
    QByteArray scratch;
    qsizetype at = 0;
    for (*badLine = 0;; ++*badLine) {
        const qsizetype nl = tail.indexOf('\n', at);
        if (nl < 0)
            return isLinePrefix(tail.sliced(at));
        if (!parseOp(tail.sliced(at, nl - at), haveKey, &op, scratch))
            return false;
        haveKey = haveKey || op.kind == HiveOp::CreateKey;
        at = nl + 1;
    }
}

} // namespace

std::uint32_t crc32(QByteArrayView bytes) {
    uLong c = ::crc32(0L, Z_NULL, 0);
    const auto* p = reinterpret_cast<const Bytef*>(bytes.data());
    // zlib takes lengths as uInt: feed files past 4 GiB in slices.
    for (qsizetype left = bytes.size(); left > 0;) {
        const auto n = uInt(std::min<qsizetype>(left, qsizetype(1) << 30));
        c = ::crc32(c, p, n);
        p += n;
        left -= n;
    }
    return std::uint32_t(c);
}

const std::vector<QString>& rootNames() {
    static const std::vector<QString> names = {
        QStringLiteral("HKEY_LOCAL_MACHINE"), QStringLiteral("HKEY_CURRENT_USER"),
        QStringLiteral("HKEY_USERS"), QStringLiteral("HKEY_CURRENT_CONFIG")};
    return names;
}

void ensureBaseKeys(KeyNode& top) {
    for (const QString& n : rootNames())
        top.ensureChild(n);
    top.child(u"HKEY_LOCAL_MACHINE")
        ->ensureChild(QStringLiteral("Software"))
        ->ensureChild(QStringLiteral("Classes"));
}

// Snapshots list keys depth first: a key is most often a child of the last key or of a key above
// it, found without walking its path from the top. Null when it is not (or the path needs the
// full checks); name and depth are then left alone.
KeyNode* OpApplier::parentFromLast(QStringView path, QStringView* name, int* depth) const {
    if (!m_node || m_path.endsWith(u'\\'))
        return nullptr;
    KeyNode* node = m_node;
    qsizetype length = m_path.size();
    for (int d = m_depth; d >= 1 && length > 0; --d, node = node->parent) {
        if (path.size() > length + 1 && path[length] == u'\\' &&
            path.first(length) == QStringView(m_path).first(length)) {
            const QStringView rest = path.sliced(length + 1);
            if (rest.contains(u'\\') || rest.size() > MaxKeyNameLength || d + 1 > MaxKeyDepth)
                return nullptr;
            *name = rest;
            *depth = d + 1;
            return node;
        }
        length = m_path.lastIndexOf(u'\\', length - 1);
    }
    return nullptr;
}

void OpApplier::remember(KeyNode* node, QStringView path, int depth) {
    m_node = node;
    m_path.resize(path.size()); // a copy into the buffer it has, not a share of the op's
    std::copy(path.begin(), path.end(), m_path.data());
    m_depth = depth;
}

void OpApplier::flush() {
    if (!m_pending.empty())
        m_node->addValues(m_pending);
    m_pending.clear();
}

bool OpApplier::apply(HiveOp& op) {
    const bool onKeyLine =
        op.path.isEmpty() && op.kind != HiveOp::CreateKey && op.kind != HiveOp::DeleteKey;
    if (onKeyLine && m_atKeyLine && op.kind == HiveOp::SetValue) {
        if (op.name.size() > MaxValueNameLength)
            return false;
        m_pending.push_back({std::move(op.name), op.type, std::move(op.data)});
        return true;
    }
    flush();
    if (op.kind == HiveOp::CreateKey) {
        m_keyLine.resize(op.path.size());
        std::copy(op.path.begin(), op.path.end(), m_keyLine.data());
    }
    if (onKeyLine && m_atKeyLine)
        return applyToKey(op, m_node);
    const QStringView path = onKeyLine ? QStringView(m_keyLine) : QStringView(op.path);
    m_atKeyLine = false;
    if (op.kind != HiveOp::DeleteKey && m_node && path == m_path) {
        m_atKeyLine = op.kind == HiveOp::CreateKey || onKeyLine;
        return applyToKey(op, m_node);
    }
    QStringView name;
    int depth = 0;
    if (op.kind != HiveOp::DeleteKey)
        if (KeyNode* parent = parentFromLast(path, &name, &depth)) {
            remember(parent->ensureChild(name, m_arena), path, depth);
            m_atKeyLine = op.kind == HiveOp::CreateKey || onKeyLine;
            return applyToKey(op, m_node);
        }
    m_node = nullptr;
    std::vector<QStringView>& parts = m_parts;
    if (!splitKeyPath(path, &parts) || parts.empty() || int(parts.size()) > MaxKeyDepth)
        return false;
    if (!m_top.findChild(parts[0]))
        return false; // not one of the roots
    for (QStringView p : parts)
        if (p.size() > MaxKeyNameLength)
            return false;
    if (op.kind == HiveOp::DeleteKey) {
        KeyNode* node = &m_top;
        for (size_t i = 0; i + 1 < parts.size() && node; ++i)
            node = node->findChild(parts[i]);
        if (node && parts.size() > 1)
            node->removeChild(foldName(parts.back()));
        return true;
    }
    KeyNode* node = &m_top;
    for (QStringView p : parts)
        node = node->ensureChild(p, m_arena);
    remember(node, path, int(parts.size()));
    m_atKeyLine = op.kind == HiveOp::CreateKey || onKeyLine;
    return applyToKey(op, node);
}

bool OpApplier::applyToKey(HiveOp& op, KeyNode* node) {
    if (op.name.size() > MaxValueNameLength)
        return false;
    if (op.kind == HiveOp::SetValue)
        node->setValue(std::move(op.name), op.type, std::move(op.data));
    else if (op.kind == HiveOp::DeleteValue)
        node->removeValue(op.name);
    return true;
}

HiveParse applyHiveText(QByteArrayView text, bool withHeader, KeyNode& top) {
    HiveParse result;
    const QByteArrayView header(HiveHeader, sizeof(HiveHeader) - 1);
    qsizetype pos = 0;
    if (withHeader) {
        if (text.isEmpty())
            return result;
        if (!text.startsWith(header)) {
            if (header.startsWith(text))
                return result.tornTail = true, result; // a creation that never finished
            return {false, QStringLiteral("it does not start with the hive header"), 0, 0, false};
        }
        pos = header.size();
    }
    result.committedEnd = pos;
    qsizetype lineNo = text.first(pos).count('\n');
    QByteArray scratch;
    HiveOp op;
    KeyArena arena;
    while (pos < text.size()) {
        // A block runs up to its commit line; without a complete one it never finished.
        qsizetype commitAt = pos;
        if (!text.sliced(pos).startsWith("commit ")) {
            commitAt = text.indexOf("\ncommit ", pos);
            if (commitAt < 0)
                break;
            ++commitAt;
        }
        const qsizetype commitEnd = text.indexOf('\n', commitAt);
        if (commitEnd < 0)
            break;
        const QByteArrayView block = text.sliced(pos, commitAt - pos);
        LineReader r(text.sliced(commitAt, commitEnd - commitAt));
        QByteArrayView word, seqWord, crcWord;
        std::uint64_t seq = 0, crc = 0;
        if (!r.word(&word) || !r.word(&seqWord) || !r.word(&crcWord) || !r.atEnd() ||
            !parseNumber(seqWord, 10, &seq) || crcWord.size() != 8 ||
            !parseNumber(crcWord, 16, &crc) || crc != crc32(block)) {
            result.ok = false;
            result.error =
                QStringLiteral("line %1: a damaged block").arg(lineNo + block.count('\n') + 1);
            return result;
        }
        OpApplier applier(top, &arena);
        bool haveKey = false;
        for (qsizetype at = pos; at < commitAt;) {
            const qsizetype nl = text.indexOf('\n', at);
            const QByteArrayView line = text.sliced(at, nl - at);
            ++lineNo;
            at = nl + 1;
            if (!parseOp(line, haveKey, &op, scratch, &arena.texts) || !applier.apply(op)) {
                result.ok = false;
                result.error = QStringLiteral("line %1 cannot be read").arg(lineNo);
                return result;
            }
            haveKey = haveKey || op.kind == HiveOp::CreateKey;
        }
        ++lineNo;
        pos = commitEnd + 1;
        result.committedEnd = pos;
        result.lastSequence = seq;
    }
    // A snapshot is written whole and renamed into place: without its commit line the file was
    // cut short, not left by an unfinished write.
    if (withHeader && result.committedEnd == header.size()) {
        result.ok = false;
        result.error = QStringLiteral("it was cut short inside its first block");
        return result;
    }
    result.tornTail = result.committedEnd < text.size();
    if (!result.tornTail)
        return result;
    qsizetype badLine = 0;
    if (!couldBeUnfinished(text.sliced(result.committedEnd), &badLine)) {
        result.ok = false;
        result.error = QStringLiteral("line %1: a block without a readable commit line")
                           .arg(lineNo + badLine + 1);
    }
    return result;
}

namespace {

void appendKeyLine(QByteArray& out, const char* keyword, const QString& path) {
    out += keyword;
    out += ' ';
    appendQuoted(out, path.toUtf8());
    out += '\n';
}

void appendValueLine(QByteArray& out, const QString& name, std::uint32_t type,
                     const QByteArray& data) {
    out += "val ";
    appendQuoted(out, name.toUtf8());
    out += ' ';
    out += QByteArray::number(type);
    if (type == 4 && data.size() == 4) {
        const auto* b = reinterpret_cast<const unsigned char*>(data.data());
        const std::uint32_t v = b[0] | (b[1] << 8) | (b[2] << 16) | (std::uint32_t(b[3]) << 24);
        out += " dword:";
        out += QByteArray::number(v, 16).rightJustified(8, '0');
    } else {
        out += ' ';
        appendQuoted(out, data);
    }
    out += '\n';
}

void appendCommit(QByteArray& out, qsizetype blockStart, std::uint64_t sequence) {
    const std::uint32_t crc = crc32(QByteArrayView(out).sliced(blockStart));
    out += "commit " + QByteArray::number(sequence) + ' ' +
           QByteArray::number(crc, 16).rightJustified(8, '0') + '\n';
}

void appendTree(QByteArray& out, const KeyNode& node) {
    appendKeyLine(out, "key", node.path());
    for (const StoredValue& v : node.values())
        appendValueLine(out, v.name, v.type, v.data);
    for (const auto& c : node.children())
        appendTree(out, *c);
}

} // namespace

QByteArray encodeBlock(const std::vector<HiveOp>& ops, std::uint64_t sequence) {
    QByteArray out;
    QString current;
    for (const HiveOp& op : ops) {
        if (op.kind == HiveOp::DeleteKey) {
            appendKeyLine(out, "delkey", op.path);
            current.clear();
            continue;
        }
        if (op.kind == HiveOp::CreateKey || op.path != current) {
            appendKeyLine(out, "key", op.path);
            current = op.path;
        }
        if (op.kind == HiveOp::SetValue) {
            appendValueLine(out, op.name, op.type, op.data);
        } else if (op.kind == HiveOp::DeleteValue) {
            out += "delval ";
            appendQuoted(out, op.name.toUtf8());
            out += '\n';
        }
    }
    appendCommit(out, 0, sequence);
    return out;
}

QByteArray encodeSnapshot(const KeyNode& top, std::uint64_t sequence) {
    QByteArray out(HiveHeader);
    const qsizetype start = out.size();
    for (const auto& root : top.children())
        appendTree(out, *root);
    appendCommit(out, start, sequence);
    return out;
}

} // namespace orvanex::reg
