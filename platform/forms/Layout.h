#pragma once
// Stored window layouts. A layout is a small text file:
//
//   form TImageForm ImageForm          window class and instance name
//     Caption = "Kelpora"              a property: Key = value
//     ActiveControl -> FileEdit        a link to a control: Key -> Name
//     OnCreate = FormCreate            an event bound to a handler by name
//   control TPanel Panel1              a control: class and name
//   control TImage Image1 in Panel1    a control placed inside an earlier one
//
// Properties are indented under the form or control they belong to; "#"
// starts a comment line. Strings are in double quotes ("" for a quote).
#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

namespace vcl {

struct LayoutEntry {
    enum class Kind { Property, Link, Event };
    Kind kind;
    QString key;
    QString value;   // property value as written, link target, or handler name
    int line = 0;
};

struct LayoutObject {
    QString className;
    QString name;
    QString parentName;   // empty: the form itself
    int line = 0;
    std::vector<LayoutEntry> entries;
};

struct Layout {
    QString source;       // where it came from, for messages
    LayoutObject form;
    std::vector<LayoutObject> controls;
};

class LayoutError : public std::runtime_error {
public:
    explicit LayoutError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString& message() const { return m_message; }

private:
    QString m_message;
};

// Parses layout text; throws LayoutError naming the source and line.
Layout parseLayout(const QString& text, const QString& source);
// Reads a layout built into the program (a resource path such as
// ":/browser/ImageForm.layout"); throws LayoutError when it is not there.
Layout loadLayout(const QString& resourcePath);

} // namespace vcl
