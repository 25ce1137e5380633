#include "registry/reg_state.h"

#include <cstring>

namespace orvanex::reg {

Status QueryValueEx(RegState& state, HKey key, const QString& valueName, RegValue& value) {
    if (!state.registry)
        return status::InvalidHandle;
    std::uint32_t valueType = 0;
    // Most values fit a small buffer: one call reads them, with nothing allocated.
    char small[256];
    std::uint32_t size = sizeof small;
    Status s = state.registry->queryValueEx(key, valueName, &valueType, small, &size);
    if (s != status::Success && s != status::MoreData)
        return s;
    if (valueType == type::Sz) {
        if (s == status::Success) {
            value = QString::fromUtf8(small, qsizetype(size));
            return s;
        }
        QByteArray buffer(qsizetype(size), '\0');
        std::uint32_t got = size;
        s = state.registry->queryValueEx(key, valueName, &valueType, buffer.data(), &got);
        if (s == status::Success)
            value = QString::fromUtf8(buffer.constData(), qsizetype(size));
        else
            value = std::monostate{};
        return s;
    }
    if (valueType == type::Dword) {
        if (s != status::Success || size > 4)
            return status::MoreData;
        unsigned char bytes[4] = {0, 0, 0, 0};
        std::memcpy(bytes, small, size);
        value = std::int32_t(bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) |
                             (std::uint32_t(bytes[3]) << 24));
        return s;
    }
    return -1;
}

void RegErrorText(RegState& state, Status code) {
    switch (code) {
    case 2:
    case 1010:
        state.ErrorText = QStringLiteral("Bad Key Name");
        break;
    case 4:
    case 1012:
        state.ErrorText = QStringLiteral("Can't Read Key");
        break;
    case 5:
        state.ErrorText = QStringLiteral("Access to this key is denied");
        break;
    case 8:
    case 14:
        state.ErrorText = QStringLiteral("Out of memory");
        break;
    case 87:
        state.ErrorText = QStringLiteral("Invalid Parameter");
        break;
    case 234:
        state.ErrorText =
            QStringLiteral("There is more data than the buffer has been allocated to hold.");
        break;
    case 1009:
    case 1015:
        state.ErrorText = QStringLiteral("The Registry Database is corrupt!");
        break;
    case 1011:
        state.ErrorText = QStringLiteral("Can't Open Key");
        break;
    case 1013:
        state.ErrorText = QStringLiteral("Can't Write Key");
        break;
    default:
        // A non-negative number is printed with a leading blank for its sign.
        state.ErrorText = QStringLiteral("Undefined Error Code:  ") +
                          (code >= 0 ? QStringLiteral(" ") : QString()) + QString::number(code);
        break;
    }
}

QString StripNull(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

QString StripQuotes(QString& text) {
    qsizetype front = 0;
    while (front < text.size() && text[front] == u'"')
        ++front;
    text.remove(0, front);
    while (text.endsWith(u'"'))
        text.chop(1);
    return text;
}

namespace {

// Opens keyPath below the root into state.OpenKey; every routine starts this way.
bool openPath(RegState& state, const QString& keyPath) {
    state.RootKey = HKEY_CLASSES_ROOT;
    state.KeyPath = keyPath;
    state.OpenKey = 0;
    if (!state.registry) {
        state.LastStatus = status::InvalidHandle;
        return false;
    }
    state.LastStatus =
        state.registry->openKeyEx(state.RootKey, keyPath, 0, KEY_ALL_USED, &state.OpenKey);
    return state.LastStatus == status::Success;
}

// Open, else create and open again; the first failing step leaves its status.
bool openOrCreate(RegState& state, const QString& keyPath) {
    if (openPath(state, keyPath))
        return true;
    if (!state.registry)
        return false;
    HKey created = 0;
    state.LastStatus = state.registry->createKey(state.RootKey, keyPath, &created);
    if (state.LastStatus != status::Success)
        return false;
    state.registry->closeKey(created);
    return openPath(state, keyPath);
}

QString trimBlanks(const QString& text) {
    qsizetype start = 0, end = text.size();
    while (start < end && text[start] == u' ')
        ++start;
    while (end > start && text[end - 1] == u' ')
        --end;
    return text.mid(start, end - start);
}

void closeAll(RegState& state) {
    if (!state.registry)
        return;
    if (state.OpenKey)
        state.registry->closeKey(state.OpenKey);
    state.registry->closeKey(state.RootKey);
    state.OpenKey = 0;
}

} // namespace

bool ReadText(RegState& state, const QString& keyPath, const QString& valueName, QString* text) {
    RegValue value;
    if (openPath(state, keyPath))
        state.LastStatus = QueryValueEx(state, state.OpenKey, valueName, value);
    closeAll(state);
    QString* read = std::get_if<QString>(&value);
    if (!read || read->size() <= 1)
        return false;
    read->chop(1);
    *text = std::move(*read);
    return true;
}

Status ReadValue(RegState& state, const QString& keyPath, const QString& valueName,
                 RegValue& value) {
    if (openPath(state, keyPath))
        state.LastStatus = QueryValueEx(state, state.OpenKey, valueName, value);
    closeAll(state);
    return state.LastStatus;
}

Status WriteText(RegState& state, const QString& keyPath, const QString& valueName,
                 const QString& text) {
    if (openOrCreate(state, keyPath)) {
        // The byte count is the text's own length: no terminator is stored. Counted in UTF-8
        // bytes, the store's code page, so no character is cut off.
        const QByteArray bytes = text.toUtf8();
        state.LastStatus = state.registry->setValueEx(
            state.OpenKey, valueName, type::Sz, bytes.constData(), std::uint32_t(bytes.size()));
    }
    closeAll(state);
    return state.LastStatus;
}

Status CreateKeyChain(RegState& state, const QStringList& keyPaths) {
    for (const QString& path : keyPaths) {
        const bool ok = openOrCreate(state, path);
        closeAll(state);
        if (!ok)
            break;
    }
    return state.LastStatus;
}

Status DeleteKeyTree(RegState& state, const QString& keyPath) {
    if (openPath(state, keyPath))
        state.LastStatus = state.registry->deleteKey(state.OpenKey, QString());
    closeAll(state);
    return state.LastStatus;
}

Status DeleteKeysInOrder(RegState& state, const QStringList& keyPaths) {
    for (const QString& path : keyPaths) {
        if (!openPath(state, path)) {
            closeAll(state);
            continue; // nothing to delete
        }
        state.LastStatus = state.registry->deleteKey(state.OpenKey, QString());
        closeAll(state);
        if (state.LastStatus != status::Success)
            break;
    }
    return state.LastStatus;
}

Status DeleteValueAt(RegState& state, const QString& keyPath, const QString& valueName) {
    if (openPath(state, keyPath))
        state.LastStatus = state.registry->deleteValue(state.OpenKey, valueName);
    closeAll(state);
    return state.LastStatus;
}

QStringList EnumerateSubkeys(RegState& state, const QString& keyPath) {
    QStringList names;
    if (openPath(state, keyPath))
        names = EnumerateSubkeys(state, state.OpenKey);
    closeAll(state);
    return names;
}

QStringList EnumerateSubkeys(RegState& state, HKey key) {
    QStringList names;
    ForEachSubkey(state, key, [&](const QString& name) { names << name; });
    return names;
}

QString ListedSubkeyName(const QString& name) {
    return trimBlanks(name.left(2000));
}

} // namespace orvanex::reg
