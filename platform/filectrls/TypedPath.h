#pragma once
// Text typed into the file list's entry line: a folder, a drive, a file name
// or a mask, split into where to go and what to pick there.
#include <QChar>
#include <QString>
#include <optional>

namespace vcl {

class TFileListBox;

struct TypedPath {
    // The drive letter as typed (case kept), the current folder's letter when
    // the text names no drive, null for a network root.
    QChar drive;
    QString folderPart; // without the drive: "\", "\pics\sub", "sub", ...
    QString folder;     // where that leads: absolute drive form
    QString name;       // a mask, a file name, or empty
};

// Splits the text from the current folders, which it leaves as they were:
//  - "[text]" drops the brackets and stays on the current drive;
//  - otherwise "C:" or "\\server\share" in front names the drive, and a text
//    without one is on the current folder's drive;
//  - the name is what follows the last "\"; before it is the folder part,
//    "\" when that is empty; a lone name (or a bare drive) is in the current
//    folder of its drive;
//  - a name without "*" or "?" that is not an existing file there is one
//    more folder level, whether or not that folder exists;
//  - "/" separates folders too, and a text that starts with "/" is a real
//    path (pasted from a terminal), read as its drive form.
// None for text that can't name anything: control characters, a ":" after
// the drive, a network root without server or share, an unmappable real
// path, or text longer than any path.
std::optional<TypedPath> splitTypedPath(const QString& text);

// Applies a split text to the file list and, through the folder list that
// feeds it, to the folder and drive lists. `typed` is the whole text, for
// the message when the name is no longer there. Raises EInvalidFileName.
void applyTypedPath(TFileListBox& list, const QString& typed, const TypedPath& path);

} // namespace vcl
