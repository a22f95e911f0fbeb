#pragma once
// File-name patterns as the classic desktop's directory search reads them:
// "*" and "?" without regard to case, with the dot rules that make "*.*"
// match every name and "*." match names without an extension.
#include <QString>
#include <QStringList>
#include <vector>

namespace vcl::fs {

class WildcardPattern {
public:
    explicit WildcardPattern(const QString& pattern);
    bool matches(const QString& name) const;
    bool matchesNothing() const { return m_empty; }

private:
    enum class Tok : unsigned char { Literal, Star, DosStar, DosQm, DosDot };
    struct Token {
        Tok kind;
        QChar ch; // folded, for Literal
    };
    enum class Shape : unsigned char { Empty, Everything, Suffix, General };

    bool matchGeneral(const QString& name) const;

    std::vector<Token> m_tokens;
    QString m_suffix; // folded, for Shape::Suffix
    Shape m_shape = Shape::General;
    bool m_empty = false;
};

// A mask such as "*.bmp;*.ico": split at every ";" and only there. Blanks are
// part of the pieces and an empty piece matches nothing.
class FileMask {
public:
    explicit FileMask(const QString& mask);
    // How many pieces the name matches; a name matching two pieces is listed
    // twice by the file list.
    int matchCount(const QString& name) const;
    bool matches(const QString& name) const { return matchCount(name) > 0; }

private:
    std::vector<WildcardPattern> m_pieces;
};

bool matchesWildcard(const QString& name, const QString& pattern);

} // namespace vcl::fs
