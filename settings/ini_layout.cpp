#include "settings/ini_layout.h"

#include <algorithm>

namespace tunvell {

namespace {

const QByteArray UTF8_SIGNATURE("\xEF\xBB\xBF");
// Starts a comment for the parser and occurs in no text file in practice.
const QByteArray MARK(";\x01\x02");

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsComment(char c) {
    return c == ';' || c == '#';
}

const char* SkipBlanks(const char* begin, const char* end) {
    while (begin != end && IsBlank(*begin)) {
        ++begin;
    }
    return begin;
}

// Whether the parser is to take this line (without its line break) as a
// section header or a key: "[name]" closed on the same line, or a non-empty
// key before '='. Anything else is a comment, a blank or a stray line.
bool IsEntryLine(const char* begin, const char* end) {
    begin = SkipBlanks(begin, end);
    if (begin == end || IsComment(*begin)) {
        return false;
    }
    if (*begin == '[') {
        // "[]" would name the section before all others, which a save writes
        // without a header; such a line is kept as stray text instead.
        const char* close = std::find(begin, end, ']');
        return close != end && SkipBlanks(begin + 1, close) != close;
    }
    const char* equals = std::find(begin, end, '=');
    return equals != end && equals != begin;
}

// Calls visit(lineBegin, lineEnd, nextLine) for each line of [begin, end);
// "\r\n", "\n" and a lone "\r" each end a line, as the parser reads them.
template <typename Visit>
void ForEachLine(const char* begin, const char* end, Visit visit) {
    const char* line = begin;
    while (line != end) {
        const char* lineEnd = line;
        while (lineEnd != end && *lineEnd != '\n' && *lineEnd != '\r') {
            ++lineEnd;
        }
        const char* next = lineEnd;
        if (next != end && *next == '\r') {
            ++next;
        }
        if (next != end && *next == '\n') {
            ++next;
        }
        visit(line, lineEnd, next);
        line = next;
    }
}

// The parser stops at the first NUL; what follows is neither parsed nor marked.
qsizetype ParsedLength(const QByteArray& text) {
    const qsizetype nul = text.indexOf('\0');
    return nul < 0 ? text.size() : nul;
}

// Every non-blank line that is neither a section nor a key becomes a marked
// comment: consecutive ones form one comment block, which the parser keeps.
QByteArray MarkNonEntries(const QByteArray& text) {
    QByteArray marked;
    marked.reserve(text.size() + text.size() / 8);
    const char* begin = text.constData();
    const char* end = begin + ParsedLength(text);
    ForEachLine(begin, end, [&](const char* line, const char* lineEnd, const char* next) {
        if (SkipBlanks(line, lineEnd) != lineEnd && !IsEntryLine(line, lineEnd)) {
            marked += MARK;
        }
        marked.append(line, next - line);
    });
    marked.append(end, text.constData() + text.size() - end);
    return marked;
}

// Where the text that the parser keeps ends: after the last section or key,
// or after the opening comment block, which it keeps as the file's comment (a
// run of comment lines from the first character of the file).
qsizetype KeptTextEnd(const QByteArray& text) {
    const char* begin = text.constData();
    const char* end = begin + ParsedLength(text);
    const char* keptEnd = begin;
    bool inOpeningComment = begin != end && IsComment(*begin);
    ForEachLine(begin, end, [&](const char* line, const char* lineEnd, const char* next) {
        if (inOpeningComment && line != lineEnd && IsComment(*line)) {
            keptEnd = next;
            return;
        }
        inOpeningComment = false;
        if (IsEntryLine(line, lineEnd)) {
            keptEnd = next;
        }
    });
    return keptEnd - begin;
}

}  // namespace

PreparedIniText PrepareIniText(const QByteArray& original) {
    PreparedIniText prepared;
    IniLayout& layout = prepared.layout;
    QByteArray text = original;
    if (text.startsWith(UTF8_SIGNATURE)) {
        layout.signature = true;
        text.remove(0, UTF8_SIGNATURE.size());
    }
    const qsizetype firstBreak = text.indexOf('\n');
    layout.crlf = firstBreak > 0 && text.at(firstBreak - 1) == '\r';
    // A file that already holds the mark is read as it is, so that removing
    // the marks never touches its own text.
    layout.marked = !text.contains(MARK);
    if (layout.marked) {
        text = MarkNonEntries(text);
    }
    layout.tail = text.mid(KeptTextEnd(text));
    prepared.text = text;
    return prepared;
}

QByteArray RestoreIniText(const std::string& saved, const IniLayout& layout) {
    QByteArray text = layout.signature ? UTF8_SIGNATURE : QByteArray();
    QByteArray body = QByteArray::fromStdString(saved);
    // The parser writes the platform's line break; bring every break to one style.
    body.replace("\r\n", "\n");
    if (layout.crlf) {
        body.replace("\n", "\r\n");
    }
    text += body;
    if (!layout.tail.isEmpty() && !text.isEmpty() && !text.endsWith('\n') && !text.endsWith('\r')) {
        text += layout.crlf ? "\r\n" : "\n";
    }
    text += layout.tail;
    if (layout.marked) {
        text.replace(MARK, QByteArray());
    }
    return text;
}

}  // namespace tunvell
