#pragma once

#include <string>

#include <QByteArray>

namespace tunvell {

// The INI parser keeps sections, keys and the comments before them, but not
// everything of a file's text: it drops the UTF-8 signature, the line-break
// style, stray lines and the lines after the last key, and a line such as
// "[color" (no closing bracket) upsets the sections that follow it. So the
// parser reads a prepared copy in which every line that is not a section or a
// key is a marked comment, kept in place by the parser and given back as it
// was by RestoreIniText.
struct IniLayout {
    bool signature = false;
    bool crlf = false;
    bool marked = false;
    QByteArray tail;  // the prepared text after the last line the parser keeps
};

struct PreparedIniText {
    QByteArray text;  // what the parser reads
    IniLayout layout;
};

PreparedIniText PrepareIniText(const QByteArray& original);

// The text the parser saved from a prepared copy, brought back to the
// original's signature, line breaks, stray lines and tail.
QByteArray RestoreIniText(const std::string& saved, const IniLayout& layout);

}  // namespace tunvell
